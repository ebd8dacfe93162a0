#include "TestMedia.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <cmath>
#include <limits>

namespace TestMedia {

namespace {
bool runFfmpeg(const QStringList& args, QString* errorText)
{
    QProcess proc;
    proc.setProcessChannelMode(QProcess::MergedChannels);
    proc.start(QStringLiteral("ffmpeg"), QStringList {"-hide_banner", "-loglevel", "error", "-y"} + args);
    if (!proc.waitForStarted(10000)) {
        *errorText = QStringLiteral("ffmpeg could not be started");
        return false;
    }
    proc.waitForFinished(120000);
    if (proc.exitStatus() != QProcess::NormalExit || proc.exitCode() != 0) {
        *errorText = QString::fromLocal8Bit(proc.readAll());
        return false;
    }
    return true;
}
} // namespace

VideoFormat distinctFrames(int AFrames, int AFps)
{
    VideoFormat format;
    format.durationMs = AFrames * 1000 / AFps;
    format.fps = AFps;
    format.size = QSize(320, 240);
    format.source = QStringLiteral("testsrc");
    format.extraArgs = {QStringLiteral("-vf"), QStringLiteral("hue=H=1.2*n"), QStringLiteral("-frames:v"),
                        QString::number(AFrames)};
    return format;
}

bool makeVideo(const QString& filePath, const VideoFormat& format)
{
    QDir().mkpath(QFileInfo(filePath).absolutePath());
    // A source given with options of its own ("color=c=red") takes the rest after them.
    const QString source = QStringLiteral("%1%2size=%3x%4:rate=%5:duration=%6")
                               .arg(format.source, format.source.contains(u'=') ? QStringLiteral(":") : QStringLiteral("="))
                               .arg(format.size.width())
                               .arg(format.size.height())
                               .arg(format.fps)
                               .arg(format.durationMs / 1000.0, 0, 'f', 3);
    QStringList args {"-f", "lavfi", "-i", source};
    for (const int hz : format.audioTonesHz) {
        args << QStringLiteral("-f") << QStringLiteral("lavfi") << QStringLiteral("-i")
             << QStringLiteral("sine=frequency=%1:duration=%2").arg(hz).arg(format.durationMs / 1000.0, 0, 'f', 3);
    }
    if (!format.audioTonesHz.isEmpty()) {
        args << QStringLiteral("-map") << QStringLiteral("0:v");
        for (int i = 1; i <= format.audioTonesHz.size(); ++i)
            args << QStringLiteral("-map") << QStringLiteral("%1:a").arg(i);
        args << QStringLiteral("-c:a") << QStringLiteral("pcm_s16le");
    }
    args << QStringLiteral("-c:v") << format.codec;
    if (format.codec == QLatin1String("mjpeg"))
        args << QStringLiteral("-q:v") << QStringLiteral("3");
    args << format.extraArgs << filePath;
    QString error;
    if (!runFfmpeg(args, &error)) {
        qWarning("makeVideo(%s) failed: %s", qPrintable(filePath), qPrintable(error));
        return false;
    }
    return QFileInfo::exists(filePath);
}

QImage ffmpegFrameAt(const QString& videoPath, qint64 timeMs)
{
    QTemporaryDir dir;
    const QString out = dir.filePath(QStringLiteral("frame.png"));
    QString error;
    const QStringList args {"-ss", QString::number(timeMs / 1000.0, 'f', 3), "-i", videoPath,
                            "-frames:v", "1", out};
    if (!runFfmpeg(args, &error)) {
        qWarning("ffmpegFrameAt failed: %s", qPrintable(error));
        return {};
    }
    return QImage(out).convertToFormat(QImage::Format_RGB32);
}

double meanAbsDiff(const QImage& a0, const QImage& b0)
{
    const QImage a = a0.convertToFormat(QImage::Format_RGB32);
    const QImage b = b0.convertToFormat(QImage::Format_RGB32);
    if (a.size() != b.size() || a.isNull())
        return std::numeric_limits<double>::infinity();
    double sum = 0;
    for (int y = 0; y < a.height(); ++y) {
        const QRgb* la = reinterpret_cast<const QRgb*>(a.constScanLine(y));
        const QRgb* lb = reinterpret_cast<const QRgb*>(b.constScanLine(y));
        for (int x = 0; x < a.width(); ++x) {
            sum += std::abs(qRed(la[x]) - qRed(lb[x])) + std::abs(qGreen(la[x]) - qGreen(lb[x]))
                 + std::abs(qBlue(la[x]) - qBlue(lb[x]));
        }
    }
    return sum / (3.0 * a.width() * a.height());
}

double psnr(const QImage& a0, const QImage& b0)
{
    const QImage a = a0.convertToFormat(QImage::Format_RGB32);
    const QImage b = b0.convertToFormat(QImage::Format_RGB32);
    if (a.size() != b.size() || a.isNull())
        return 0;
    double se = 0;
    for (int y = 0; y < a.height(); ++y) {
        const QRgb* la = reinterpret_cast<const QRgb*>(a.constScanLine(y));
        const QRgb* lb = reinterpret_cast<const QRgb*>(b.constScanLine(y));
        for (int x = 0; x < a.width(); ++x) {
            const int dr = qRed(la[x]) - qRed(lb[x]);
            const int dg = qGreen(la[x]) - qGreen(lb[x]);
            const int db = qBlue(la[x]) - qBlue(lb[x]);
            se += dr * dr + dg * dg + db * db;
        }
    }
    const double mse = se / (3.0 * a.width() * a.height());
    if (mse == 0)
        return std::numeric_limits<double>::infinity();
    return 10.0 * std::log10(255.0 * 255.0 / mse);
}

bool framesMatch(const QImage& a, const QImage& b, QString* why)
{
    const double mad = meanAbsDiff(a, b);
    const double p = psnr(a, b);
    if (why)
        *why = QStringLiteral("size %1x%2 vs %3x%4, mean abs diff %5, PSNR %6 dB")
                   .arg(a.width()).arg(a.height()).arg(b.width()).arg(b.height())
                   .arg(mad).arg(p);
    return mad < 4.0 || p >= 30.0;
}

void isolateHome(const QString& dir)
{
    qputenv("HOME", dir.toLocal8Bit());
    qputenv("XDG_DATA_HOME", QDir(dir).filePath(QStringLiteral(".local/share")).toLocal8Bit());
    qputenv("XDG_CONFIG_HOME", QDir(dir).filePath(QStringLiteral(".config")).toLocal8Bit());
    qputenv("XDG_CACHE_HOME", QDir(dir).filePath(QStringLiteral(".cache")).toLocal8Bit());
    QDir(dir).mkpath(QStringLiteral("Documents"));
}

} // namespace TestMedia
