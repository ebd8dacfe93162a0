// The screenshot list of the real main window with a folder of 300
// screenshots of 1920 x 1080 beside one video, and taking a screenshot with
// the real engine. Prints:
//   cold rebuild: listing the 300 with nothing decoded yet, and until every
//                 thumbnail is in its row;
//   warm rebuild: listing them again with the thumbnails cached;
//   the longest stretch the GUI thread was kept from its event loop while
//   the list was filled and rebuilt, and, for comparison, while it had
//   nothing to do (a shared or loaded machine stalls it now and then);
//   resident memory once the list is filled, and the thumbnails' pixel data;
//   S on a paused frame reached by a step (an exact frame), at 640 x 360 in
//   a folder of its own and at 1920 x 1080 beside the 300: S -> the whole
//   PNG on disk and S -> its row listed, the longest GUI block during S,
//   next to ffmpeg writing the same frame (`ffmpeg -ss T -i video -frames:v
//   1 out.png`) and to mpv paused on it (`seek T absolute+exact`, then
//   `screenshot-to-file F video` with PNG compression 1, over its IPC
//   socket; skipped when mpv is not installed), median of 10 each; whether
//   the three wrote the same frame; and where the time of S goes, its parts
//   called one by one on a thread of their own;
//   a valid 20000 x 20000 PNG (orange, 8-bit palette, about 389 KB) listed
//   and shown in the viewer: the peak growth of resident memory, the time
//   until it shows, and the longest GUI block, for each step.
// Run under an X server, e.g.
//   xvfb-run -a -s "-screen 0 1280x1024x24" bench_screenshots

#include "BenchMedian.h"
#include "BenchMpv.h"
#include "TestMedia.h"
#include "TestPng.h"
#include "TestScreen.h"
#include "TfrmMainBenchAccess.h"

#include "app/OrvStartup.h"
#include "engine/TVlcPlayer.h"
#include "engine/VlcLoader.h"
#include "services/OrvPath.h"
#include "ui/TImageViewer.h"
#include "ui/TOpenDialog.h"
#include "ui/TScreenshotListModel.h"
#include "ui/TScreenshotListView.h"
#include "ui/TScreenshotThumbnails.h"

#include <QAbstractItemModel>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QFuture>
#include <QImageReader>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLocalSocket>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QtConcurrent>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdio>
#include <functional>
#include <memory>
#include <optional>
#include <thread>
#include <vector>

namespace {

constexpr int ScreenshotCount = 300;
constexpr int DistinctFrames = 30;
constexpr int WarmRuns = 20;
constexpr int ShotRuns = 10;
constexpr int WaitLimitMs = 60000;
// Presses of S in one run before a screenshot that is never written counts
// as a failure; libvlc gives up on a snapshot it has no picture for in time.
constexpr int ShotTries = 5;
// S is pressed on the frame at ShotAtMs, reached by a one-second step from
// the one before: frame times at 25 frames a second.
constexpr qint64 ShotAtMs = 5000;
constexpr qint64 FrameMs = 40;
// A screen read shows the stepped-to frame when it lies this close to it
// (mean absolute difference per channel, 0..255).
constexpr double ShowsFrameDiff = 12;
// The size of the small snapshot that shows what the engine's wait costs
// without the PNG of the whole frame.
constexpr QSize SmallSnapshot {64, 36};

// Keeps asking the GUI thread, from a thread of its own, to answer a queued
// call, and keeps the longest time an answer took: the longest stretch the
// GUI thread could not get back to its event loop.
class THeartbeat : public QObject
{
public:
    ~THeartbeat() override
    {
        if (FPinger.joinable())
            StopMs();
    }

    void Start()
    {
        FLongestNs = 0;
        FClock.start();
        FRunning = true;
        FPinger = std::thread([this] { Ping(); });
    }

    double StopMs()
    {
        FRunning = false;
        FPinger.join();
        // A question still unanswered has waited until now.
        if (!FAnswered)
            FLongestNs = std::max<qint64>(FLongestNs, FClock.nsecsElapsed() - FAskedNs);
        return FLongestNs / 1e6;
    }

private:
    void Ping()
    {
        while (FRunning) {
            FAnswered = false;
            FAskedNs = FClock.nsecsElapsed();
            QMetaObject::invokeMethod(this, [this] { FAnswered = true; }, Qt::QueuedConnection);
            while (!FAnswered && FRunning)
                std::this_thread::sleep_for(std::chrono::microseconds(200));
            if (FAnswered)
                FLongestNs = std::max<qint64>(FLongestNs, FClock.nsecsElapsed() - FAskedNs);
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    }

    QElapsedTimer FClock;
    std::thread FPinger;
    std::atomic<bool> FRunning = false;
    std::atomic<bool> FAnswered = true;
    std::atomic<qint64> FAskedNs = 0;
    std::atomic<qint64> FLongestNs = 0;
};

bool RunUntil(const std::function<bool()>& done, int limitMs = WaitLimitMs)
{
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > limitMs)
            return false;
        QEventLoop loop;
        QTimer::singleShot(2, &loop, &QEventLoop::quit);
        loop.exec();
    }
    return true;
}

// A figure of /proc/self/status in MiB: VmRSS, the resident memory now, or
// VmHWM, its peak.
double StatusMiB(const QByteArray& AKey = "VmRSS")
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith(AKey + ':'))
            return line.mid(AKey.size() + 1).trimmed().split(' ').first().toDouble() / 1024.0;
    }
    return -1;
}

double ResidentMiB()
{
    return StatusMiB();
}

// Starts the peak (VmHWM) afresh from the resident memory now.
bool ResetResidentPeak()
{
    QFile clear(QStringLiteral("/proc/self/clear_refs"));
    return clear.open(QIODevice::WriteOnly) && clear.write("5") == 1;
}

bool RunFfmpeg(const QStringList& args)
{
    QProcess ffmpeg;
    ffmpeg.start(QStringLiteral("ffmpeg"), QStringList {"-hide_banner", "-loglevel", "error", "-y"} + args);
    return ffmpeg.waitForFinished(120000) && ffmpeg.exitStatus() == QProcess::NormalExit && ffmpeg.exitCode() == 0;
}

double Min(const std::vector<double>& values)
{
    return *std::min_element(values.begin(), values.end());
}

double Max(const std::vector<double>& values)
{
    return *std::max_element(values.begin(), values.end());
}

// "median 12 ms (10 to 15)"
QString Spread(const std::vector<double>& values)
{
    if (values.empty())
        return QStringLiteral("no samples");
    return QStringLiteral("median %1 ms (%2 to %3)")
        .arg(BenchMedian(values), 0, 'f', 1)
        .arg(Min(values), 0, 'f', 1)
        .arg(Max(values), 0, 'f', 1);
}

QString LoadAverage()
{
    QFile file(QStringLiteral("/proc/loadavg"));
    return file.open(QIODevice::ReadOnly) ? QString::fromLatin1(file.readAll()).section(u' ', 0, 2)
                                          : QStringLiteral("unknown");
}

// True when sPath holds a whole PNG: the file ends with the IEND chunk.
bool PngComplete(const QString& sPath)
{
    static const QByteArray iend = QByteArray::fromHex("0000000049454e44ae426082");
    QFile file(sPath);
    if (!file.open(QIODevice::ReadOnly) || file.size() < 8 + iend.size() || !file.seek(file.size() - iend.size()))
        return false;
    return file.read(iend.size()) == iend;
}

// Watches, from a thread of its own, for a file to hold a whole PNG, and
// notes when it first did on the given clock.
class TPngWatch
{
public:
    ~TPngWatch()
    {
        if (FThread.joinable())
            StopMs();
    }

    void Start(const QString& sPath, const QElapsedTimer& AClock)
    {
        FDoneNs = -1;
        FRunning = true;
        // The file is looked at once more after the watch is stopped: a
        // thread that starts late may find the screenshot written already.
        FThread = std::thread([this, sPath, &AClock] {
            for (;;) {
                const bool stopped = !FRunning;
                if (PngComplete(sPath)) {
                    FDoneNs = AClock.nsecsElapsed();
                    return;
                }
                if (stopped)
                    return;
                std::this_thread::sleep_for(std::chrono::microseconds(500));
            }
        });
    }

    std::optional<double> StopMs()
    {
        FRunning = false;
        FThread.join();
        return FDoneNs >= 0 ? std::optional<double>(FDoneNs / 1e6) : std::nullopt;
    }

private:
    std::thread FThread;
    std::atomic<bool> FRunning = false;
    std::atomic<qint64> FDoneNs = -1;
};

// S's parts, called one by one on a thread as the window's S calls them, on
// the frame the engine rests on.
struct TShotParts
{
    std::vector<double> Frame;
    std::vector<double> Write;
    std::vector<double> Publish;
    std::vector<double> Engine;
};

struct TBench
{
    QTemporaryDir FMedia;
    std::unique_ptr<TfrmMain> FWindow;
    std::optional<QString> FAnswer;

    TfrmMainBenchAccess Access() { return TfrmMainBenchAccess {*FWindow}; }
    TScreenshotListModel* Model() { return FWindow->findChild<TScreenshotListView*>("ListViewScreenshots")->Model(); }
    QString Video() const { return FMedia.filePath(QStringLiteral("clip.avi")); }

    bool MakeFolder()
    {
        TestMedia::VideoFormat format;
        format.durationMs = 12000;
        format.size = QSize(1920, 1080);
        if (!TestMedia::makeVideo(Video(), format))
            return false;
        // Real frames, so that decoding costs what it costs for screenshots.
        QTemporaryDir frames;
        if (!RunFfmpeg({"-i", Video(), "-frames:v", QString::number(DistinctFrames), frames.filePath("f_%02d.png")}))
            return false;
        for (int n = 1; n <= ScreenshotCount; ++n) {
            const QString frame = frames.filePath(QStringLiteral("f_%1.png").arg((n - 1) % DistinctFrames + 1, 2, 10, QLatin1Char('0')));
            if (!QFile::copy(frame, FMedia.filePath(QStringLiteral("clip_%1.png").arg(n, 4, 10, QLatin1Char('0')))))
                return false;
        }
        return true;
    }

    bool AllThumbnailsShown()
    {
        if (Access().Thumbnails()->PendingCount() != 0)
            return false;
        for (int i = 1; i < Model()->Count(); ++i) {
            if (Model()->Row(i).Image.isNull())
                return false;
        }
        return true;
    }

    double ThumbnailMiB()
    {
        qint64 bytes = 0;
        for (int i = 0; i < Model()->Count(); ++i)
            bytes += Model()->Row(i).Image.sizeInBytes();
        return bytes / (1024.0 * 1024.0);
    }

    int Run()
    {
        std::printf("making %d screenshots of 1920x1080 beside one video...\n", ScreenshotCount);
        if (!MakeFolder()) {
            std::printf("could not make the folder\n");
            return 1;
        }
        TOpenDialog::SetRunner([this](QWidget*, const QString&, const QString&) { return FAnswer; });
        FWindow = std::make_unique<TfrmMain>();
        FWindow->show();
        if (!QTest::qWaitForWindowExposed(FWindow.get()))
            return 1;
        RunUntil([] { return false; }, 300);
        const double residentBefore = ResidentMiB();

        THeartbeat heartbeat;
        // What this machine itself holds the event loop up for, with nothing to do.
        heartbeat.Start();
        RunUntil([] { return false; }, 3000);
        const double idleBlockMs = heartbeat.StopMs();
        heartbeat.Start();
        QElapsedTimer clock;
        clock.start();
        Access().Screenshots_UpdateFromFile(Video());
        const double coldCallMs = clock.nsecsElapsed() / 1e6;
        if (!RunUntil([&] { return AllThumbnailsShown(); })) {
            std::printf("the thumbnails did not all arrive within %d s (%d still pending)\n", WaitLimitMs / 1000,
                        Access().Thumbnails()->PendingCount());
            return 1;
        }
        const double coldFillMs = clock.nsecsElapsed() / 1e6;
        const double fillBlockMs = heartbeat.StopMs();
        const double residentFilled = ResidentMiB();
        const double thumbnailMiB = ThumbnailMiB();

        std::vector<double> warm;
        heartbeat.Start();
        for (int run = 0; run < WarmRuns; ++run) {
            clock.restart();
            Access().Screenshots_UpdateFromFile(Video());
            warm.push_back(clock.nsecsElapsed() / 1e6);
            if (!AllThumbnailsShown()) {
                std::printf("a warm rebuild decoded again\n");
                return 1;
            }
            RunUntil([] { return false; }, 20);
        }
        const double warmBlockMs = heartbeat.StopMs();

        std::printf("rows: %d screenshots under the header\n", Model()->Count() - 1);
        std::printf("cold rebuild: %.1f ms on the GUI thread; every thumbnail in its row after %.0f ms\n", coldCallMs,
                    coldFillMs);
        std::printf("warm rebuild: median %.2f ms, longest %.2f ms (%d runs)\n", BenchMedian(warm),
                    *std::max_element(warm.begin(), warm.end()), WarmRuns);
        std::printf("longest GUI block: %.1f ms while filling, %.1f ms while rebuilding warm (%.1f ms with nothing to do)\n",
                    fillBlockMs, warmBlockMs, idleBlockMs);
        std::printf("resident memory: %.1f MiB with the list filled (%.1f MiB before it); thumbnail pixels %.2f MiB\n",
                    residentFilled, residentBefore, thumbnailMiB);

        TestMedia::VideoFormat small;
        small.durationMs = 12000;
        QTemporaryDir smallFolder;
        const QString smallVideo = smallFolder.filePath(QStringLiteral("small.avi"));
        if (!TestMedia::makeVideo(smallVideo, small)) {
            std::printf("could not make the 640x360 video\n");
            return 1;
        }
        std::printf("load average before S: %s\n", qPrintable(LoadAverage()));
        if (!ShotSeries(heartbeat, smallVideo, "640x360, alone in its folder")
            || !ShotSeries(heartbeat, Video(), "1920x1080, beside its 300 screenshots"))
            return 1;
        std::printf("load average after S: %s\n", qPrintable(LoadAverage()));
        if (!LargePicture(heartbeat))
            return 1;
        FWindow.reset();
        TOpenDialog::SetRunner({});
        return 0;
    }

    // Chooses sVideo, has it rest on the frame at ShotAtMs reached by a step,
    // and measures S there against ffmpeg and mpv.
    bool ShotSeries(THeartbeat& AHeartbeat, const QString& sVideo, const char* AWhat)
    {
        FAnswer = sVideo;
        Access().Button1Click();
        QWidget* cover = FWindow->findChild<QWidget*>(QStringLiteral("RectangleCover"));
        if (!RunUntil([&] {
                return Access().FileName() == sVideo && Access().Player()->GetState() == vlcPlayer_Paused
                    && !cover->isVisible();
            })) {
            std::printf("%s did not come to rest within %d s (state %s, busy cover %s)\n", qPrintable(sVideo),
                        WaitLimitMs / 1000, qPrintable(Access().Player()->GetStateName()),
                        cover->isVisible() ? "shown" : "hidden");
            return false;
        }
        RunUntil([&] { return AllThumbnailsShown(); });

        // The window steps from its timeline's value; the frame is on screen
        // before S is pressed.
        const QImage frame = TestMedia::ffmpegFrameAt(sVideo, ShotAtMs);
        const TestScreen::TShownFrame shown(frame, FWindow->findChild<QWidget*>(QStringLiteral("PanelMedia")),
                                            FWindow->findChild<QWidget*>(QStringLiteral("tbVolume")));
        const auto onScreen = [&] {
            return shown.DiffFrom(TestScreen::grab(FWindow->findChild<QWidget*>(QStringLiteral("PanelMedia"))));
        };
        Access().Timeline_SetValue(float(ShotAtMs - 1000));
        QTest::keyClick(FWindow.get(), Qt::Key_Right, Qt::ControlModifier);
        if (!RunUntil([&] { return onScreen() < ShowsFrameDiff; })) {
            std::printf("the frame at %lld ms of %s did not show within %d s (it lies %.1f from it)\n", ShotAtMs,
                        qPrintable(sVideo), WaitLimitMs / 1000, onScreen());
            return false;
        }
        // The window seeks once more 400 ms after a step while paused.
        RunUntil([] { return false; }, 600);

        const QFileInfo video(sVideo);
        const QString folder = video.absolutePath();
        const QString prefix = video.completeBaseName() + u'_';
        std::vector<double> onDisk;
        std::vector<double> listedAt;
        std::vector<double> blocks;
        int repeated = 0;
        QString lastShot;
        QElapsedTimer clock;
        TPngWatch pngWatch;
        for (int run = 0; run < ShotRuns; ++run) {
            const qsizetype number = AutoFileIn_LiteralFiles(folder, prefix, QStringLiteral(".png")).size() + 1;
            const QString expected =
                QDir(folder).filePath(prefix + QStringLiteral("%1.png").arg(number, 4, 10, QLatin1Char('0')));
            const auto listed = [&] {
                return Model()->Count() > 1 && Model()->Row(1).Detail == QFileInfo(expected).fileName();
            };
            // The row is listed inside the window's handler of the written
            // screenshot; the moment is taken as the row goes in.
            std::optional<double> rowAt;
            const QMetaObject::Connection rows =
                QObject::connect(Model(), &QAbstractItemModel::rowsInserted, [&] {
                    if (!rowAt && listed())
                        rowAt = clock.nsecsElapsed() / 1e6;
                });
            std::optional<double> pngAt;
            for (int attempt = 0; attempt < ShotTries && !rowAt; ++attempt) {
                if (attempt > 0) {
                    ++repeated;
                    RunUntil([] { return false; }, 500);
                }
                AHeartbeat.Start();
                clock.restart();
                pngWatch.Start(expected, clock);
                QTest::keyClick(FWindow.get(), Qt::Key_S);
                const bool answered = RunUntil([&] { return Access().ScreenshotsPending() == 0; });
                pngAt = pngWatch.StopMs();
                blocks.push_back(AHeartbeat.StopMs());
                if (!answered) {
                    std::printf("screenshot %s was not answered within %d s\n", qPrintable(expected), WaitLimitMs / 1000);
                    return false;
                }
            }
            QObject::disconnect(rows);
            if (!rowAt || !pngAt) {
                std::printf("screenshot %s was not written after %d presses of S (%s)\n", qPrintable(expected),
                            ShotTries, qPrintable(Access().StatusMessage()));
                return false;
            }
            onDisk.push_back(*pngAt);
            listedAt.push_back(*rowAt);
            lastShot = expected;
            RunUntil([&] { return AllThumbnailsShown(); });
        }

        QTemporaryDir scratch;
        const QString at = QString::number(ShotAtMs / 1000.0, 'f', 3);
        const QString ffmpegShot = scratch.filePath(QStringLiteral("ffmpeg.png"));
        std::vector<double> ffmpeg;
        for (int run = 0; run < ShotRuns; ++run) {
            clock.restart();
            if (!RunFfmpeg({"-ss", at, "-i", sVideo, "-frames:v", "1", ffmpegShot})) {
                std::printf("ffmpeg failed\n");
                return false;
            }
            ffmpeg.push_back(clock.nsecsElapsed() / 1e6);
        }

        std::vector<double> mpv;
        const QString mpvShot = scratch.filePath(QStringLiteral("mpv.png"));
        QString mpvNote;
        if (!TMpv::Installed()) {
            mpvNote = QStringLiteral("skipped, mpv is not installed");
        } else {
            TMpv player;
            if (!player.Start(sVideo) || !player.SeekExact(ShotAtMs / 1000.0)) {
                std::printf("mpv did not come to rest on %s s of %s\n", qPrintable(at), qPrintable(sVideo));
                return false;
            }
            for (int run = 0; run < ShotRuns; ++run) {
                QFile::remove(mpvShot);
                clock.restart();
                if (!player.Screenshot(mpvShot)) {
                    std::printf("mpv wrote no screenshot\n");
                    return false;
                }
                while (!PngComplete(mpvShot)) {
                    if (clock.elapsed() > WaitLimitMs) {
                        std::printf("mpv's screenshot never held a whole PNG\n");
                        return false;
                    }
                    std::this_thread::sleep_for(std::chrono::microseconds(500));
                }
                mpv.push_back(clock.nsecsElapsed() / 1e6);
            }
        }

        const TShotParts parts = SnapshotParts(sVideo, scratch.path());
        std::vector<double> rebuild;
        for (int run = 0; run < ShotRuns; ++run) {
            clock.restart();
            Access().Screenshots_UpdateFromFile(sVideo);
            rebuild.push_back(clock.nsecsElapsed() / 1e6);
            RunUntil([&] { return AllThumbnailsShown(); });
        }

        std::printf("\nS on the paused frame at %s s after a step, %s, %d runs each:\n", qPrintable(at), AWhat,
                    ShotRuns);
        std::printf("  S -> whole PNG on disk       %s\n", qPrintable(Spread(onDisk)));
        std::printf("  S -> its row listed          %s\n", qPrintable(Spread(listedAt)));
        std::printf("  longest GUI block during S   %s\n", qPrintable(Spread(blocks)));
        if (repeated > 0)
            std::printf("  S pressed again %d times: nothing was written\n", repeated);
        std::printf("  ffmpeg -ss %s -i video -frames:v 1 out.png   %s\n", qPrintable(at), qPrintable(Spread(ffmpeg)));
        if (mpv.empty()) {
            std::printf("  mpv screenshot-to-file: %s\n", qPrintable(mpvNote));
        } else {
            std::printf("  mpv screenshot-to-file F video, PNG compression 1, paused on the frame   %s\n",
                        qPrintable(Spread(mpv)));
        }
        std::printf("  S -> PNG on disk against ffmpeg: %.2fx", BenchMedian(onDisk) / BenchMedian(ffmpeg));
        if (!mpv.empty())
            std::printf(", against mpv: %.2fx", BenchMedian(onDisk) / BenchMedian(mpv));
        std::printf("\n");

        // The same frame, and not one next to it: ffmpeg's frames before and
        // after lie only a few steps of 255 away.
        const QImage before = TestMedia::ffmpegFrameAt(sVideo, ShotAtMs - FrameMs);
        const QImage after = TestMedia::ffmpegFrameAt(sVideo, ShotAtMs + FrameMs);
        const auto tellFrame = [&](const char* AWhose, const QImage& AShot) {
            QString why;
            const bool same = TestMedia::framesMatch(AShot, frame, &why);
            const double diff = TestMedia::meanAbsDiff(AShot, frame);
            const bool nearest =
                diff < TestMedia::meanAbsDiff(AShot, before) && diff < TestMedia::meanAbsDiff(AShot, after);
            std::printf("  frame: %s %s ffmpeg's at %s s (%s; mean abs diff %.1f from the frame before, %.1f from the one "
                        "after)\n",
                        AWhose, same && nearest ? "is" : "is NOT", qPrintable(at), qPrintable(why),
                        TestMedia::meanAbsDiff(AShot, before), TestMedia::meanAbsDiff(AShot, after));
        };
        tellFrame("Scenora's", QImage(lastShot));
        if (!mpv.empty())
            tellFrame("mpv's", QImage(mpvShot));

        std::printf("  where S's time goes, each part called alone on a thread:\n");
        std::printf("    taking the frame shown                        %s\n", qPrintable(Spread(parts.Frame)));
        std::printf("    writing it as PNG into a file of its own      %s\n", qPrintable(Spread(parts.Write)));
        std::printf("    publishing that under the next number         %s\n", qPrintable(Spread(parts.Publish)));
        std::printf("    for comparison, the engine's own snapshot     %s\n", qPrintable(Spread(parts.Engine)));
        std::printf("    listing the screenshots on the GUI thread     %s\n", qPrintable(Spread(rebuild)));
        return true;
    }

    // Calls S's parts one by one on a thread of their own, as the window's S
    // does, on the frame the window rests on; the files go to the video's
    // folder and sScratch.
    TShotParts SnapshotParts(const QString& sVideo, const QString& sScratch)
    {
        TVlcPlayer* const player = Access().Player();
        libvlc_media_player_t* const engine = player->GetPlayerHandle();
        unsigned width = 0;
        unsigned height = 0;
        player->GetVideoDimension(width, height);
        const QFileInfo video(sVideo);
        const QString prefix = video.completeBaseName() + u'_';
        const std::function<TFrameReader::TFrame()> shown = player->ShownFrame();
        TShotParts parts;
        QFuture<void> done = QtConcurrent::run([&] {
            QElapsedTimer clock;
            const auto timed = [&clock](std::vector<double>& AInto, const std::function<void()>& APart) {
                clock.restart();
                APart();
                AInto.push_back(clock.nsecsElapsed() / 1e6);
            };
            const QByteArray engineShot = QDir(sScratch).filePath(QStringLiteral("engine.png")).toUtf8();
            for (int run = 0; run < ShotRuns; ++run) {
                QImage picture;
                timed(parts.Frame, [&] { picture = shown().Image; });
                QString temp;
                timed(parts.Write, [&] {
                    QFile file;
                    QString error;
                    if (PathOpenTemp(file, video.absolutePath(), temp, error))
                        picture.save(&file, "PNG");
                });
                timed(parts.Publish, [&] {
                    QFile::remove(AutoFileIn_LiteralPublish(video.absolutePath(), prefix, QStringLiteral(".png"), temp)
                                      .FileName);
                });
                timed(parts.Engine, [&] {
                    LibVlcEntries.libvlc_video_take_snapshot(engine, 0, engineShot.constData(), width, height);
                });
            }
        });
        RunUntil([&] { return done.isFinished(); });
        return parts;
    }

    bool LargePicture(THeartbeat& AHeartbeat)
    {
        QTemporaryDir folder;
        const QString video = folder.filePath(QStringLiteral("big.avi"));
        if (!QFile::copy(Video(), video)
            || !TestPng::writeStripes(folder.filePath(QStringLiteral("big_0001.png")), QSize(20000, 20000),
                                      {QColor(255, 165, 0)}, TestPng::Format {3, 8, false})) {
            std::printf("could not write the 20000 x 20000 picture\n");
            return false;
        }
        const qint64 fileKiB = QFileInfo(folder.filePath(QStringLiteral("big_0001.png"))).size() / 1024;
        RunUntil([] { return false; }, 300);
        const double before = ResidentMiB();
        if (!ResetResidentPeak()) {
            std::printf("the peak resident memory cannot be started afresh\n");
            return false;
        }
        AHeartbeat.Start();
        QElapsedTimer clock;
        clock.start();
        Access().Screenshots_UpdateFromFile(video);
        if (!RunUntil([&] { return Model()->Count() == 2 && !Model()->Row(1).Image.isNull(); })) {
            std::printf("the thumbnail of the 20000 x 20000 picture did not arrive\n");
            return false;
        }
        const double listMs = clock.nsecsElapsed() / 1e6;
        const double listBlockMs = AHeartbeat.StopMs();
        const double listPeak = StatusMiB("VmHWM") - before;

        // The viewer decodes on the GUI thread: the time it takes is the time the window is held up.
        ResetResidentPeak();
        clock.restart();
        Access().Screenshot_Display(1);
        const double showMs = clock.nsecsElapsed() / 1e6;
        const double showPeak = StatusMiB("VmHWM") - before;
        const QImage shown = FWindow->findChild<TImageViewer*>("ImageViewerScreenshot")->Picture();
        std::printf("20000x20000 PNG (%lld KiB): thumbnail in its row after %.0f ms, peak +%.0f MiB, longest GUI block "
                    "%.0f ms\n",
                    fileKiB, listMs, listPeak, listBlockMs);
        std::printf("20000x20000 PNG shown as %dx%d: %.0f ms on the GUI thread, peak +%.0f MiB (resident %.0f MiB before "
                    "listing)\n",
                    shown.width(), shown.height(), showMs, showPeak, before);
        return true;
    }
};

} // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "xcb");
    QApplication app(argc, argv);
    // Each figure shows as soon as it is known.
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    QTemporaryDir home;
    TestMedia::isolateHome(home.path());
    OrvStartup_ModuleInit();
    const int result = TBench().Run();
    OrvStartup_ModuleFinalize();
    return result;
}
