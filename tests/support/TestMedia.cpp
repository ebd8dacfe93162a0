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
// The cells of a frame's number in numberedFrames.
constexpr int NumberBits = 10;

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

VideoFormat numberedFrames(int AFrames, int AFps, QSize ASize)
{
    VideoFormat format;
    format.durationMs = AFrames * 1000 / AFps;
    format.fps = AFps;
    format.size = ASize;
    format.source = QStringLiteral("testsrc");
    QString filters = QStringLiteral("hue=H=1.2*n,drawbox=x=0:y=0:w=iw:h=ih/3:color=black:t=fill");
    for (int bit = 0; bit < NumberBits; ++bit) {
        filters += QStringLiteral(",drawbox=x=iw*%1/%2:y=0:w=iw/%2:h=ih/3:color=white:t=fill"
                                  ":enable='mod(floor(n/pow(2\\,%1))\\,2)'")
                       .arg(bit)
                       .arg(NumberBits);
    }
    format.extraArgs = {QStringLiteral("-vf"), filters, QStringLiteral("-frames:v"), QString::number(AFrames)};
    return format;
}

int frameNumberOf(const QImage& AImage, const QRectF& APicture, int ACells)
{
    const QImage image = AImage.convertToFormat(QImage::Format_RGB32);
    const QRectF picture = APicture.isEmpty() ? QRectF(image.rect()) : APicture;
    if (image.isNull() || picture.isEmpty())
        return -1;
    int number = 0;
    for (int bit = 0; bit < std::min(ACells, NumberBits); ++bit) {
        // The middle of the cell, a few pixels each way.
        const QPointF centre(picture.left() + (bit + 0.5) * picture.width() / NumberBits,
                             picture.top() + picture.height() / 6);
        const int reach = std::max(1, int(std::min(picture.width() / NumberBits, picture.height() / 3) / 8));
        double sum = 0;
        int count = 0;
        for (int y = int(centre.y()) - reach; y <= int(centre.y()) + reach; ++y) {
            for (int x = int(centre.x()) - reach; x <= int(centre.x()) + reach; ++x) {
                if (!image.valid(x, y))
                    return -1;
                sum += qGray(image.pixel(x, y));
                ++count;
            }
        }
        const double level = sum / count;
        if (level > 190)
            number |= 1 << bit;
        else if (level >= 60)
            return -1;
    }
    return number;
}

Codec mjpegFullRange()
{
    return {QStringLiteral("mjpeg"), {QStringLiteral("-pix_fmt"), QStringLiteral("yuvj420p")}};
}

Codec xvidWithBFrames()
{
    return {QStringLiteral("mpeg4"),
            {"-vtag", "xvid", "-bf", "2", "-g", "250", "-q:v", "3", "-pix_fmt", "yuv420p"}};
}

Codec h264LongGop()
{
    return {QStringLiteral("libx264"),
            {"-bf", "3", "-b-pyramid", "normal", "-g", "250", "-crf", "23", "-preset", "veryfast", "-pix_fmt",
             "yuv420p"}};
}

VideoFormat withCodec(VideoFormat AFormat, const Codec& ACodec)
{
    AFormat.codec = ACodec.codec;
    AFormat.extraArgs += ACodec.args;
    return AFormat;
}

bool cutIndex(const QString& filePath)
{
    QFile file(filePath);
    if (!file.open(QIODevice::ReadWrite))
        return false;
    const QByteArray bytes = file.readAll();
    const qsizetype index = bytes.lastIndexOf("idx1");
    return index > 0 && file.resize(index);
}

QImage ffmpegFrameNumber(const QString& videoPath, int AFrame)
{
    QTemporaryDir dir;
    const QString out = dir.filePath(QStringLiteral("frame.png"));
    QString error;
    const QStringList args {"-i", videoPath, "-vf", QStringLiteral("select=eq(n\\,%1)").arg(AFrame),
                            "-frames:v", "1", out};
    if (!runFfmpeg(args, &error)) {
        qWarning("ffmpegFrameNumber failed: %s", qPrintable(error));
        return {};
    }
    return QImage(out).convertToFormat(QImage::Format_RGB32);
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
