// Drives the real main window with the real engine and prints how long the
// user waits:
//   click -> rest: a click on a file other than the one shown, until the
//                  player rests paused on its first frames with the busy
//                  cover gone (200 ms of it is the window's settling delay);
//   step -> report: an arrow key while paused, until the new time is reported
//                  to the window.
// The click figure is also split into its parts: the engine starting to
// play, the window pausing it again (50 ms of it is the window's delay), and
// the engine confirming the pause.
// Run under an X server, e.g.
//   xvfb-run -a -s "-screen 0 1280x1024x24" bench_window [runs]
// No polling timer runs while measuring, so the event loop wakes only as it
// does for a user.

#include "TestMedia.h"
#include "TfrmMainAccess.h"

#include "app/OrvStartup.h"
#include "engine/TVlcPlayer.h"
#include "ui/TOpenDialog.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QLabel>
#include <QListWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <optional>
#include <vector>

namespace {

constexpr int DefaultRuns = 12;
// How long one moment is waited for: a loaded machine makes the engine slow
// to start, and a slow run is still a run to measure.
constexpr int WaitLimitMs = 60000;

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

    void Print(const char* AName) const
    {
        if (Values.empty()) {
            std::printf("%-34s no samples\n", AName);
            return;
        }
        std::vector<double> sorted = Values;
        std::sort(sorted.begin(), sorted.end());
        const size_t n = sorted.size();
        const double median = n % 2 ? sorted[n / 2] : (sorted[n / 2 - 1] + sorted[n / 2]) / 2;
        std::printf("%-34s median %8.2f ms   min %8.2f   max %8.2f   runs %zu\n", AName, median, sorted.front(),
                    sorted.back(), n);
    }
};

double Ms(const QElapsedTimer& AClock)
{
    return double(AClock.nsecsElapsed()) / 1e6;
}

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
        if (!TestMedia::makeVideo(media.filePath(name), format)) {
            std::fprintf(stderr, "cannot make the test videos (ffmpeg)\n");
            return 1;
        }
    }

    std::optional<QString> answer = media.filePath(names.first());
    TOpenDialog::SetRunner([&](QWidget*, const QString&, const QString&) { return answer; });

    int rc = 0;
    {
        TfrmMain window;
        window.show();
        if (!QTest::qWaitForWindowExposed(&window)) {
            std::fprintf(stderr, "no window (is an X server running?)\n");
            return 1;
        }
        TfrmMainAccess access {window};
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
        player->OnMediaPlayerPaused = [&](QObject*) {
            pausedAt = Ms(clock);
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

        std::printf("bench_window: 640x360 MJPEG, %d click runs, %d step runs\n", runs, runs * 3);
        clickToRest.Print("click -> rest");
        clickToPlaying.Print("  of it click -> engine playing");
        playingToCoverHidden.Print("  playing -> paused by the window");
        coverHiddenToPaused.Print("  -> engine reports paused");
        stepToReport.Print("step -> time reported");
    }
    TOpenDialog::SetRunner({});
    OrvStartup_ModuleFinalize();
    return rc;
}
