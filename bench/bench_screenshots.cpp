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
//   S -> PNG on disk and row listed, next to ffmpeg writing the same frame
//   (`ffmpeg -ss T -i video -frames:v 1 out.png`), median of 10 each;
//   a valid 20000 x 20000 PNG (orange, 8-bit palette, about 389 KB) listed
//   and shown in the viewer: the peak growth of resident memory, the time
//   until it shows, and the longest GUI block, for each step.
// Run under an X server, e.g.
//   xvfb-run -a -s "-screen 0 1280x1024x24" bench_screenshots

#include "TestMedia.h"
#include "TestPng.h"
#include "TfrmMainAccess.h"

#include "app/OrvStartup.h"
#include "engine/TVlcPlayer.h"
#include "ui/TImageViewer.h"
#include "ui/TOpenDialog.h"
#include "ui/TScreenshotListModel.h"
#include "ui/TScreenshotListView.h"
#include "ui/TScreenshotThumbnails.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>
#include <optional>
#include <vector>
#include <atomic>
#include <thread>

namespace {

constexpr int ScreenshotCount = 300;
constexpr int DistinctFrames = 30;
constexpr int WarmRuns = 20;
constexpr int ShotRuns = 10;
constexpr int WaitLimitMs = 60000;
// Presses of S in one run before a screenshot that is never written counts
// as a failure; libvlc gives up on a snapshot it has no picture for in time.
constexpr int ShotTries = 5;

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

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
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

struct TBench
{
    QTemporaryDir FMedia;
    std::unique_ptr<TfrmMain> FWindow;
    std::optional<QString> FAnswer;

    TfrmMainAccess Access() { return TfrmMainAccess {*FWindow}; }
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

    // The engine's picture, read through a snapshot into a scratch file.
    bool EngineShowsAPicture(const QString& sScratch)
    {
        QFile::remove(sScratch);
        Access().Player()->Snapshot(sScratch);
        return !QImage(sScratch).isNull();
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
        std::printf("warm rebuild: median %.2f ms, longest %.2f ms (%d runs)\n", Median(warm),
                    *std::max_element(warm.begin(), warm.end()), WarmRuns);
        std::printf("longest GUI block: %.1f ms while filling, %.1f ms while rebuilding warm (%.1f ms with nothing to do)\n",
                    fillBlockMs, warmBlockMs, idleBlockMs);
        std::printf("resident memory: %.1f MiB with the list filled (%.1f MiB before it); thumbnail pixels %.2f MiB\n",
                    residentFilled, residentBefore, thumbnailMiB);

        // S on the resting video, with the list of 300 beside it.
        FAnswer = Video();
        Access().Button1Click();
        if (!RunUntil([&] {
                return Access().FileName() == Video() && Access().Player()->GetState() == vlcPlayer_Paused
                    && !FWindow->findChild<QWidget*>("RectangleCover")->isVisible();
            })) {
            std::printf("the video did not come to rest within %d s (state %s, busy cover %s)\n", WaitLimitMs / 1000,
                        qPrintable(Access().Player()->GetStateName()),
                        FWindow->findChild<QWidget*>("RectangleCover")->isVisible() ? "shown" : "hidden");
            return 1;
        }
        QTemporaryDir scratch;
        const QString probe = scratch.filePath(QStringLiteral("probe.png"));
        if (!EngineShowsAPicture(probe))
            QTest::keyClick(FWindow.get(), Qt::Key_Left);
        if (!RunUntil([&] { return EngineShowsAPicture(probe); })) {
            std::printf("the engine showed no picture within %d s (state %s)\n", WaitLimitMs / 1000,
                        qPrintable(Access().Player()->GetStateName()));
            return 1;
        }
        RunUntil([&] { return AllThumbnailsShown(); });

        std::vector<double> shots;
        double shotBlockMs = 0;
        int repeated = 0;
        for (int run = 0; run < ShotRuns; ++run) {
            const QString expected = FMedia.filePath(QStringLiteral("clip_%1.png").arg(ScreenshotCount + run + 1, 4, 10, QLatin1Char('0')));
            const auto listed = [&] {
                return Model()->Count() > 1 && Model()->Row(1).Detail == QFileInfo(expected).fileName();
            };
            // The engine writes the file before S returns, or not at all when
            // it had no picture ready in time (a loaded machine); then it is
            // given the time to show one and S is pressed again.
            bool written = false;
            for (int attempt = 0; attempt < ShotTries && !written; ++attempt) {
                if (attempt > 0 && !RunUntil([&] { return EngineShowsAPicture(probe); })) {
                    std::printf("the engine shows no picture again before screenshot %s (state %s)\n", qPrintable(expected),
                                qPrintable(Access().Player()->GetStateName()));
                    return 1;
                }
                heartbeat.Start();
                clock.restart();
                QTest::keyClick(FWindow.get(), Qt::Key_S);
                written = QFile::exists(expected);
                if (!written) {
                    heartbeat.StopMs();
                    ++repeated;
                }
            }
            if (!written) {
                std::printf("screenshot %s was not written after %d presses of S (state %s)\n", qPrintable(expected),
                            ShotTries, qPrintable(Access().Player()->GetStateName()));
                return 1;
            }
            if (!listed() && !RunUntil(listed, 10000)) {
                std::printf("screenshot %s was written but not listed\n", qPrintable(expected));
                return 1;
            }
            shots.push_back(clock.nsecsElapsed() / 1e6);
            shotBlockMs = std::max(shotBlockMs, heartbeat.StopMs());
            RunUntil([&] { return AllThumbnailsShown(); });
        }

        const QString at = QString::number(Access().Player()->GetVideoPosInMs() / 1000.0, 'f', 3);
        std::vector<double> ffmpeg;
        for (int run = 0; run < ShotRuns; ++run) {
            clock.restart();
            if (!RunFfmpeg({"-ss", at, "-i", Video(), "-frames:v", "1", scratch.filePath(QStringLiteral("out.png"))})) {
                std::printf("ffmpeg failed\n");
                return 1;
            }
            ffmpeg.push_back(clock.nsecsElapsed() / 1e6);
        }
        std::printf("S -> PNG on disk and row listed: median %.0f ms (%.0f to %.0f, %d runs); longest GUI block %.0f ms\n",
                    Median(shots), *std::min_element(shots.begin(), shots.end()),
                    *std::max_element(shots.begin(), shots.end()), ShotRuns, shotBlockMs);
        if (repeated > 0)
            std::printf("  S pressed again %d times: the engine had no picture ready and wrote nothing\n", repeated);
        std::printf("ffmpeg -ss %s -i video -frames:v 1 out.png: median %.0f ms (%.0f to %.0f, %d runs)\n",
                    qPrintable(at), Median(ffmpeg), *std::min_element(ffmpeg.begin(), ffmpeg.end()),
                    *std::max_element(ffmpeg.begin(), ffmpeg.end()), ShotRuns);
        if (!LargePicture(heartbeat))
            return 1;
        FWindow.reset();
        TOpenDialog::SetRunner({});
        return 0;
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
