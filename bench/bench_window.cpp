// Drives the real main window with the real engine and prints how long the
// user waits:
//   click -> rest: a click on a file other than the one shown, until the
//                  player rests paused on its first frames with the busy
//                  cover gone (200 ms of it is the window's settling delay);
//   step -> report: an arrow key while paused, until the new time is reported
//                  to the window.
// The click figure is also split into its parts: the engine starting to
// play, the window pausing it again (50 ms of it is the window's delay), and
// the engine confirming the pause. No polling timer runs while these are
// measured, so the event loop wakes only as it does for a user.
//
// Then what the user sees, read from the X server's pixels over the video
// area in passes of their own, since reading the screen costs time itself:
//   click -> first picture: until the new file's first frame shows, scaled
//                  and centred as the engine shows it; the two videos are
//                  negatives of each other, so the picture before (the other
//                  file's, or black) never passes for it;
//   step -> new picture: a step of one second while paused, until the frame
//                  at the new time (ffmpeg's own decode of it) shows.
// The screen is read on a timer; the output says how often it was read, which
// is how late a figure of these passes may be.
// Run under an X server, e.g.
//   xvfb-run -a -s "-screen 0 1280x1024x24" bench_window [runs]

#include "BenchMedian.h"
#include "TestMedia.h"
#include "TestScreen.h"
#include "TfrmMainBenchAccess.h"

#include "app/OrvStartup.h"
#include "engine/TVlcPlayer.h"
#include "ui/TOpenDialog.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QListWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>
#include <optional>
#include <vector>

namespace {

constexpr int DefaultRuns = 12;
// How long one moment is waited for: a loaded machine makes the engine slow
// to start, and a slow run is still a run to measure.
constexpr int WaitLimitMs = 60000;
// How often the screen is read in the passes that watch it.
constexpr int ScreenReadMs = 5;
// A screen read shows a frame when it lies this close to it (mean absolute
// difference per channel, 0..255) and at most half as far as from the
// picture before; frames of the test video one second apart lie about 15
// apart, a frame and its negative about 240.
constexpr double ShowsFrameDiff = 12;
// The time a step is given to show its picture, and the time left after it:
// a step while paused is sought once more 400 ms later, which must not fall
// into the next step.
constexpr int PictureLimitMs = 10000;
constexpr int AfterStepMs = 600;
// The steps of the screen pass go between these times, frame times at 25
// frames a second.
constexpr qint64 StepFromMs = 4000;
constexpr qint64 StepToMs = 5000;
// A step while paused, and the frame the first-frame rest pauses on, are
// sought once more this long after it (TVlcPlayer).
constexpr int SettledSeekMs = 400;

// Runs the event loop until done() holds, re-checked whenever a watched
// moment calls Wake(); false when the limit passed first.
class TWaiter
{
public:
    bool Until(const std::function<bool()>& done)
    {
        if (done())
            return true;
        FDone = done;
        QTimer limit;
        limit.setSingleShot(true);
        QObject::connect(&limit, &QTimer::timeout, &FLoop, &QEventLoop::quit);
        limit.start(WaitLimitMs);
        FLoop.exec();
        FDone = nullptr;
        return done();
    }

    void Wake()
    {
        if (FDone && FDone())
            FLoop.quit();
    }

private:
    QEventLoop FLoop;
    std::function<bool()> FDone;
};

struct TFigures
{
    std::vector<double> Values;

    void Add(double AMs) { Values.push_back(AMs); }

    double Median() const { return BenchMedian(Values); }

    void Print(const char* AName) const
    {
        if (Values.empty()) {
            std::printf("%-40s no samples\n", AName);
            return;
        }
        std::printf("%-40s median %8.2f ms   min %8.2f   max %8.2f   runs %zu\n", AName, Median(),
                    *std::min_element(Values.begin(), Values.end()), *std::max_element(Values.begin(), Values.end()),
                    Values.size());
    }
};

QString LoadAverage()
{
    QFile file(QStringLiteral("/proc/loadavg"));
    return file.open(QIODevice::ReadOnly) ? QString::fromLatin1(file.readAll()).section(u' ', 0, 2)
                                          : QStringLiteral("unknown");
}

double Ms(const QElapsedTimer& AClock)
{
    return double(AClock.nsecsElapsed()) / 1e6;
}

// Reads the X server's pixels over the video area on a timer while it runs,
// and notes when they first show the awaited frame rather than the one
// before; AOnRead follows each read.
class TScreenWatch
{
public:
    TScreenWatch(QWidget* AArea, const QElapsedTimer& AClock, const std::function<void()>& AOnRead)
        : FArea(AArea), FClock(AClock)
    {
        FTimer.setTimerType(Qt::PreciseTimer);
        FTimer.setInterval(ScreenReadMs);
        QObject::connect(&FTimer, &QTimer::timeout, [this, AOnRead] {
            Read();
            AOnRead();
        });
    }

    // Starts watching for ANew (and no longer for ABefore); both must live
    // until Stop.
    void Start(const TestScreen::TShownFrame& ANew, const TestScreen::TShownFrame& ABefore)
    {
        FNew = &ANew;
        FBefore = &ABefore;
        ShownAt.reset();
        FLastReadAt.reset();
        FTimer.start();
    }

    void Stop() { FTimer.stop(); }

    // When the awaited frame was first read off the screen (the start of
    // that read), in ms of the clock.
    std::optional<double> ShownAt;
    // The last read's distance from the awaited frame and from the one before.
    double DiffNew = 0;
    double DiffBefore = 0;
    // Time between the starts of two reads, and what one read costs.
    TFigures Intervals;
    TFigures Costs;

private:
    void Read()
    {
        const double at = Ms(FClock);
        const QImage screen = TestScreen::grab(FArea);
        DiffNew = FNew->DiffFrom(screen);
        DiffBefore = FBefore->DiffFrom(screen);
        if (!ShownAt && DiffNew < ShowsFrameDiff && DiffNew * 2 < DiffBefore)
            ShownAt = at;
        if (FLastReadAt)
            Intervals.Add(at - *FLastReadAt);
        FLastReadAt = at;
        Costs.Add(Ms(FClock) - at);
    }

    QWidget* FArea;
    const QElapsedTimer& FClock;
    QTimer FTimer;
    const TestScreen::TShownFrame* FNew = nullptr;
    const TestScreen::TShownFrame* FBefore = nullptr;
    std::optional<double> FLastReadAt;
};

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(10, atoi(argv[1])) : DefaultRuns;

    QTemporaryDir home;
    QTemporaryDir media;
    TestMedia::isolateHome(home.path());
    OrvStartup_ModuleInit();

    TestMedia::VideoFormat format;
    format.durationMs = 20000;
    format.size = QSize(640, 360);
    format.fps = 25;
    const QStringList names {QStringLiteral("a.avi"), QStringLiteral("b.avi")};
    for (const QString& name : names) {
        // The second is the first one's negative: the same to decode, and
        // plainly another picture.
        format.extraArgs = name == names.first() ? QStringList() : QStringList {"-vf", "negate"};
        if (!TestMedia::makeVideo(media.filePath(name), format)) {
            std::fprintf(stderr, "cannot make the test videos (ffmpeg)\n");
            return 1;
        }
    }
    // ffmpeg's own frames: each file's first, and the two the steps go between.
    QList<QImage> firstFrames;
    for (const QString& name : names)
        firstFrames << TestMedia::ffmpegFrameAt(media.filePath(name), 0);
    const QImage stepFrom = TestMedia::ffmpegFrameAt(media.filePath(names.first()), StepFromMs);
    const QImage stepTo = TestMedia::ffmpegFrameAt(media.filePath(names.first()), StepToMs);
    if (std::any_of(firstFrames.cbegin(), firstFrames.cend(), [](const QImage& frame) { return frame.isNull(); })
        || stepFrom.isNull() || stepTo.isNull()) {
        std::fprintf(stderr, "cannot decode the test videos' frames (ffmpeg)\n");
        return 1;
    }

    std::optional<QString> answer = media.filePath(names.first());
    TOpenDialog::SetRunner([&](QWidget*, const QString&, const QString&) { return answer; });

    const QString loadBefore = LoadAverage();
    int rc = 0;
    {
        TfrmMain window;
        window.show();
        if (!QTest::qWaitForWindowExposed(&window)) {
            std::fprintf(stderr, "no window (is an X server running?)\n");
            return 1;
        }
        TfrmMainBenchAccess access {window};
        TVlcPlayer* player = access.Player();
        QWidget* cover = window.findChild<QWidget*>(QStringLiteral("RectangleCover"));
        auto* timeLabel = window.findChild<QLabel*>(QStringLiteral("LabelMediaTime"));
        QListWidget* list = access.ListBoxFiles();

        // Watched moments, taken from the engine's reports as the window gets
        // them; the window's own handlers keep running.
        TWaiter waiter;
        QElapsedTimer clock;
        std::optional<double> playingAt;
        std::optional<double> coverHiddenAt;
        std::optional<double> pausedAt;
        const TNotifyEvent windowPlaying = player->OnMediaPlayerPlaying;
        player->OnMediaPlayerPlaying = [&](QObject* Sender) {
            playingAt = Ms(clock);
            windowPlaying(Sender);
        };
        const TNotifyEvent windowPaused = player->OnMediaPlayerPaused;
        player->OnMediaPlayerPaused = [&](QObject* Sender) {
            pausedAt = Ms(clock);
            windowPaused(Sender);
            waiter.Wake();
        };
        struct THideWatch : QObject
        {
            std::function<void()> OnHide;
            bool eventFilter(QObject*, QEvent* event) override
            {
                if (event->type() == QEvent::Hide)
                    OnHide();
                return false;
            }
        } hideWatch;
        hideWatch.OnHide = [&] {
            coverHiddenAt = Ms(clock);
            waiter.Wake();
        };
        cover->installEventFilter(&hideWatch);

        const auto resting = [&] { return cover->isHidden() && player->GetState() == vlcPlayer_Paused; };

        // The folder is chosen once; its first file is the first one shown.
        access.Button1Click();
        if (!waiter.Until(resting)) {
            std::fprintf(stderr, "the first file did not come to rest within %d s (state %s, busy cover %s)\n",
                         WaitLimitMs / 1000, qPrintable(player->GetStateName()), cover->isHidden() ? "hidden" : "shown");
            return 1;
        }

        TFigures clickToRest;
        TFigures clickToPlaying;
        TFigures playingToCoverHidden;
        TFigures coverHiddenToPaused;
        for (int run = 0; run < runs; ++run) {
            QListWidgetItem* item = list->findItems(names.at((run + 1) % 2), Qt::MatchExactly).first();
            playingAt.reset();
            coverHiddenAt.reset();
            pausedAt.reset();
            clock.start();
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(item).center());
            // The click first raises the cover; rest is when it has gone again.
            if (!waiter.Until([&] { return playingAt && resting(); })) {
                std::fprintf(stderr, "run %d did not come to rest within %d s (state %s, busy cover %s, %s)\n", run,
                             WaitLimitMs / 1000, qPrintable(player->GetStateName()),
                             cover->isHidden() ? "hidden" : "shown",
                             playingAt ? "the engine reported playing" : "the engine never reported playing");
                rc = 1;
                break;
            }
            clickToRest.Add(Ms(clock));
            clickToPlaying.Add(*playingAt);
            if (coverHiddenAt)
                playingToCoverHidden.Add(*coverHiddenAt - *playingAt);
            if (coverHiddenAt && pausedAt)
                coverHiddenToPaused.Add(*pausedAt - *coverHiddenAt);
        }

        TFigures stepToReport;
        QWidget* focus = list;
        for (int run = 0; run < runs * 3; ++run) {
            const bool back = run % 2;
            const QString before = timeLabel->text();
            clock.start();
            QTest::keyClick(focus, back ? Qt::Key_Left : Qt::Key_Right, Qt::ControlModifier);
            if (!waiter.Until([&] { return timeLabel->text() != before; })) {
                std::fprintf(stderr, "step %d was not reported within %d s (state %s, time %s)\n", run,
                             WaitLimitMs / 1000, qPrintable(player->GetStateName()), qPrintable(before));
                rc = 1;
                break;
            }
            stepToReport.Add(Ms(clock));
            // The engine gets to carry out the seek before the next step, as
            // between a user's key presses.
            QEventLoop settle;
            QTimer::singleShot(100, &settle, &QEventLoop::quit);
            settle.exec();
        }

        // What is on screen: a click on the other file until its first frame
        // shows, then steps until the frame at the new time shows.
        QWidget* panel = window.findChild<QWidget*>(QStringLiteral("PanelMedia"));
        QWidget* volume = window.findChild<QWidget*>(QStringLiteral("tbVolume"));
        std::vector<TestScreen::TShownFrame> firstShown;
        for (const QImage& frame : firstFrames)
            firstShown.emplace_back(frame, panel, volume);
        // The engine opening the new file and making its video output, as
        // reported to the window.
        std::optional<double> openingAt;
        std::optional<double> voutAt;
        const TNotifyEvent windowOpening = player->OnMediaPlayerOpening;
        player->OnMediaPlayerOpening = [&](QObject* Sender) {
            openingAt = Ms(clock);
            if (windowOpening)
                windowOpening(Sender);
        };
        const TNotifyVideoOutChanged windowVout = player->OnMediaPlayerVideoOutChanged;
        player->OnMediaPlayerVideoOutChanged = [&](QObject* Sender, int AVideoOut) {
            if (AVideoOut > 0 && openingAt && !voutAt)
                voutAt = Ms(clock);
            if (windowVout)
                windowVout(Sender, AVideoOut);
        };
        TScreenWatch watch(panel, clock, [&] { waiter.Wake(); });
        int shown = names.indexOf(QFileInfo(access.FileName()).fileName());
        TFigures clickToPicture;
        TFigures clickToOpening;
        TFigures openingToPlaying;
        TFigures playingToVout;
        TFigures voutToPicture;
        TFigures coverHiddenToPicture;
        int clicksAfterResettle = 0;
        for (int run = 0; run < runs && rc == 0; ++run) {
            const int next = 1 - shown;
            QListWidgetItem* item = list->findItems(names.at(next), Qt::MatchExactly).first();
            playingAt.reset();
            coverHiddenAt.reset();
            openingAt.reset();
            voutAt.reset();
            clock.start();
            watch.Start(firstShown.at(next), firstShown.at(shown));
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(item).center());
            const bool done = waiter.Until([&] { return watch.ShownAt && playingAt && resting(); });
            watch.Stop();
            if (!done) {
                std::fprintf(stderr,
                             "run %d: the new file's first picture did not show within %d s (it lies %.1f from it, "
                             "%.1f from the other file's; state %s)\n",
                             run, WaitLimitMs / 1000, watch.DiffNew, watch.DiffBefore,
                             qPrintable(player->GetStateName()));
                rc = 1;
                break;
            }
            clickToPicture.Add(*watch.ShownAt);
            if (openingAt) {
                clickToOpening.Add(*openingAt);
                openingToPlaying.Add(*playingAt - *openingAt);
            }
            if (voutAt) {
                playingToVout.Add(*voutAt - *playingAt);
                voutToPicture.Add(*watch.ShownAt - *voutAt);
            }
            if (coverHiddenAt) {
                coverHiddenToPicture.Add(*watch.ShownAt - *coverHiddenAt);
                clicksAfterResettle += *watch.ShownAt - *coverHiddenAt > SettledSeekMs;
            }
            shown = next;
        }

        // Steps between two known frames of the file shown: the window steps
        // from its timeline's value.
        const QString stepVideo = media.filePath(names.at(shown));
        const TestScreen::TShownFrame fromShown(TestMedia::ffmpegFrameAt(stepVideo, StepFromMs), panel, volume);
        const TestScreen::TShownFrame toShown(TestMedia::ffmpegFrameAt(stepVideo, StepToMs), panel, volume);
        const auto stepAndWatch = [&](bool AForward, const TestScreen::TShownFrame& ANew,
                                      const TestScreen::TShownFrame& ABefore) {
            clock.start();
            watch.Start(ANew, ABefore);
            QTest::keyClick(focus, AForward ? Qt::Key_Right : Qt::Key_Left, Qt::ControlModifier);
            QTimer limit;
            limit.setSingleShot(true);
            limit.start(PictureLimitMs);
            waiter.Until([&] { return watch.ShownAt || !limit.isActive(); });
            watch.Stop();
            const std::optional<double> shownAt = watch.ShownAt;
            QEventLoop settle;
            QTimer::singleShot(AfterStepMs, &settle, &QEventLoop::quit);
            settle.exec();
            return shownAt;
        };
        TFigures stepToPicture;
        int stepsAfterResettle = 0;
        int stepsNotShown = 0;
        if (rc == 0) {
            access.Timeline_SetValue(float(StepFromMs - 1000));
            if (!stepAndWatch(true, fromShown, firstShown.at(shown))) {
                std::fprintf(stderr, "the frame at %lld ms did not show within %d s (it lies %.1f from it)\n",
                             StepFromMs, PictureLimitMs / 1000, watch.DiffNew);
                rc = 1;
            }
        }
        for (int run = 0; run < runs * 3 && rc == 0; ++run) {
            const bool forward = run % 2 == 0;
            const std::optional<double> shownAt =
                forward ? stepAndWatch(true, toShown, fromShown) : stepAndWatch(false, fromShown, toShown);
            if (!shownAt) {
                ++stepsNotShown;
                continue;
            }
            stepToPicture.Add(*shownAt);
            stepsAfterResettle += *shownAt > SettledSeekMs;
        }

        std::printf("bench_window: 640x360 MJPEG, %d click runs, %d step runs; load average %s before, %s after\n",
                    runs, runs * 3, qPrintable(loadBefore), qPrintable(LoadAverage()));
        clickToRest.Print("click -> rest");
        clickToPlaying.Print("  of it click -> engine playing");
        playingToCoverHidden.Print("  playing -> paused by the window");
        coverHiddenToPaused.Print("  -> engine reports paused");
        stepToReport.Print("step -> time reported");
        std::printf("on screen, read from the X server every %d ms (reads started %.1f ms apart, median; one read "
                    "takes %.1f ms):\n",
                    ScreenReadMs, watch.Intervals.Median(), watch.Costs.Median());
        clickToPicture.Print("click -> first picture on screen");
        clickToOpening.Print("  of it click -> engine opening");
        openingToPlaying.Print("  opening -> engine playing");
        playingToVout.Print("  playing -> engine video output");
        voutToPicture.Print("  video output -> picture on screen");
        coverHiddenToPicture.Print("  busy cover gone -> picture on screen");
        if (clicksAfterResettle > 0)
            std::printf("  %d of the clicks showed their picture only after the window's second seek, %d ms after the "
                        "rest\n",
                        clicksAfterResettle, SettledSeekMs);
        stepToPicture.Print("step -> new picture on screen");
        if (stepsAfterResettle > 0)
            std::printf("  %d of the steps showed their picture only after the window's second seek, %d ms after the "
                        "step\n",
                        stepsAfterResettle, SettledSeekMs);
        if (stepsNotShown > 0) {
            std::printf("  %d of the steps did not show their picture within %d s\n", stepsNotShown,
                        PictureLimitMs / 1000);
            rc = 1;
        }
    }
    TOpenDialog::SetRunner({});
    OrvStartup_ModuleFinalize();
    return rc;
}
