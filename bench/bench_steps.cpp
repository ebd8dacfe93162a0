// Steps and opening as the user sees them, read from the X server's pixels,
// beside mpv (skipped when mpv is not installed), on a 1920 x 1080 H.264 AVI
// at 50 frames a second with B-frames, a GOP of 250 and film grain, so that
// decoding costs what real video costs. Every frame shows its number
// (TestMedia::numberedFrames), so a screen read tells which frame is on
// screen. Prints, median of the runs each:
//   step +20 ms / -20 ms: the key, until the next / the previous frame is on
//                  screen, from frame 150 (3 s into the GOP) on; mpv gets
//                  the same step as an exact relative seek over its socket;
//   click -> first picture: a click on the other file until its first frame
//                  is on screen (the window's 200 ms settling delay shown
//                  apart), against mpv's loadfile until its first frame.
// Run under an X server, e.g.
//   xvfb-run -a -s "-screen 0 1920x1200x24" bench_steps [runs]

#include "BenchMedian.h"
#include "BenchMpv.h"
#include "TestMedia.h"
#include "TfrmMainBenchAccess.h"

#include "app/OrvStartup.h"
#include "engine/TVlcPlayer.h"
#include "ui/TOpenDialog.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QListWidget>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

constexpr int DefaultRuns = 10;
constexpr int Fps = 50;
constexpr int Frames = 300;
constexpr QSize VideoSize(1920, 1080);
// Where the steps start: 3 s into the GOP that starts with the first frame.
constexpr int StepFromFrame = 150;
constexpr int WaitLimitMs = 60000;
// The window's settling delay before the first-frame rest.
constexpr double SettleMs = 200;
// mpv's window, at the screen's top left corner (no window manager moves it).
constexpr QRect MpvWindow(0, 0, 960, 540);

// The number of the frame on screen in AArea (global pixels), or -1 while
// no picture of the video shows there: a black window reads as frame 0, so
// the test picture under the number must show too.
int FrameOnScreen(const QRect& AArea)
{
    const QImage screen = QGuiApplication::primaryScreen()
                              ->grabWindow(0, AArea.x(), AArea.y(), AArea.width(), AArea.height())
                              .toImage()
                              .convertToFormat(QImage::Format_RGB32);
    const QImage below = screen.copy(0, screen.height() / 2, screen.width(), screen.height() / 2)
                             .scaled(32, 16, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    double grey = 0;
    for (int y = 0; y < below.height(); ++y) {
        for (int x = 0; x < below.width(); ++x)
            grey += qGray(below.pixel(x, y));
    }
    if (grey / (below.width() * below.height()) < 20)
        return -1;
    // The cells at the right edge may lie under the volume bar.
    return TestMedia::frameNumberOf(screen, QRectF(), 8);
}

// Runs the event loop until ADone holds, asked every 2 ms; false after
// WaitLimitMs. The loop blocks between the checks as it does for a user: the
// window's idle-time work runs only then.
bool RunUntil(const std::function<bool()>& ADone)
{
    if (ADone())
        return true;
    QEventLoop loop;
    QTimer check;
    check.setTimerType(Qt::PreciseTimer);
    QObject::connect(&check, &QTimer::timeout, &loop, [&] {
        if (ADone())
            loop.quit();
    });
    check.start(2);
    QTimer::singleShot(WaitLimitMs, &loop, &QEventLoop::quit);
    loop.exec();
    return ADone();
}

double Ms(const QElapsedTimer& AClock)
{
    return AClock.nsecsElapsed() / 1e6;
}

void Print(const char* AName, const std::vector<double>& AScenora, const std::vector<double>& AMpv,
           double AScenoraLess = 0)
{
    if (AScenora.empty()) {
        std::printf("  %-28s no figures\n", AName);
        return;
    }
    const double ours = BenchMedian(AScenora) - AScenoraLess;
    if (AMpv.empty()) {
        std::printf("  %-28s Scenora %8.1f ms   mpv    -\n", AName, ours);
        return;
    }
    const double theirs = BenchMedian(AMpv);
    std::printf("  %-28s Scenora %8.1f ms   mpv %8.1f ms   %.2fx mpv\n", AName, ours, theirs, ours / theirs);
}

// The video area of the window: the picture fitted into PanelMedia, centred,
// in global pixels.
QRect PictureArea(const TfrmMain& AWindow)
{
    const QWidget* panel = AWindow.findChild<QWidget*>(QStringLiteral("PanelMedia"));
    const QSize fitted = VideoSize.scaled(panel->size(), Qt::KeepAspectRatio);
    const QPoint topLeft = panel->mapToGlobal(
        QPoint((panel->width() - fitted.width()) / 2, (panel->height() - fitted.height()) / 2));
    return QRect(topLeft, fitted).adjusted(2, 2, -2, -2);
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(3, atoi(argv[1])) : DefaultRuns;

    QTemporaryDir home;
    QTemporaryDir media;
    TestMedia::isolateHome(home.path());
    OrvStartup_ModuleInit();

    TestMedia::VideoFormat format =
        TestMedia::withCodec(TestMedia::numberedFrames(Frames, Fps, VideoSize), TestMedia::h264LongGop());
    // Film grain, new in every frame.
    const qsizetype filters = format.extraArgs.indexOf(QStringLiteral("-vf")) + 1;
    format.extraArgs[filters] += QStringLiteral(",noise=alls=16:allf=t");
    const QStringList names {QStringLiteral("a.avi"), QStringLiteral("b.avi")};
    std::printf("making two 1920x1080 H.264 videos of %d frames at %d fps...\n", Frames, Fps);
    std::fflush(stdout);
    if (!TestMedia::makeVideo(media.filePath(names[0]), format)
        || !QFile::copy(media.filePath(names[0]), media.filePath(names[1]))) {
        std::fprintf(stderr, "cannot make the test videos (ffmpeg)\n");
        return 1;
    }

    std::vector<double> forward, back, click;
    {
        std::optional<QString> answer = media.filePath(names[0]);
        TOpenDialog::SetRunner([&](QWidget*, const QString&, const QString&) { return answer; });
        TfrmMain window;
        window.resize(1280, 860);
        window.show();
        if (!QTest::qWaitForWindowExposed(&window)) {
            std::fprintf(stderr, "no window (is an X server running?)\n");
            return 1;
        }
        TfrmMainBenchAccess access {window};
        QListWidget* list = access.ListBoxFiles();
        access.Button1Click();
        const QRect area = PictureArea(window);
        if (!RunUntil([&] { return FrameOnScreen(area) == 0; })) {
            std::fprintf(stderr, "the first frame did not show\n");
            return 1;
        }
        QElapsedTimer clock;
        const auto measuredStep = [&](Qt::Key AKey, Qt::KeyboardModifiers AModifiers, int AExpected,
                                      std::vector<double>* AFigures) {
            clock.start();
            QTest::keyClick(list, AKey, AModifiers);
            if (!RunUntil([&] { return FrameOnScreen(area) == AExpected; })) {
                std::fprintf(stderr, "frame %d did not show (frame %d does)\n", AExpected, FrameOnScreen(area));
                return false;
            }
            if (AFigures)
                AFigures->push_back(Ms(clock));
            return true;
        };
        for (int second = 1; second <= StepFromFrame / Fps; ++second) {
            if (!measuredStep(Qt::Key_Right, Qt::ControlModifier, second * Fps, nullptr))
                return 1;
        }
        int frame = StepFromFrame;
        for (int run = 0; run < runs; ++run) {
            if (!measuredStep(Qt::Key_Right, Qt::NoModifier, ++frame, &forward))
                return 1;
        }
        for (int run = 0; run < runs; ++run) {
            if (!measuredStep(Qt::Key_Left, Qt::NoModifier, --frame, &back))
                return 1;
        }
        for (int run = 0; run < runs; ++run) {
            // The file shown rests away from its first frame, so that the
            // other file's first frame is plainly another picture.
            if (!measuredStep(Qt::Key_Right, Qt::NoModifier, access.Player()->GetVideoPosInMs() / 20 + 1, nullptr))
                return 1;
            const QString other = names[(names.indexOf(QFileInfo(access.FileName()).fileName()) + 1) % 2];
            QListWidgetItem* item = list->findItems(other, Qt::MatchExactly).first();
            clock.start();
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(item).center());
            if (!RunUntil([&] { return FrameOnScreen(area) == 0; })) {
                std::fprintf(stderr, "the first frame of %s did not show\n", qPrintable(other));
                return 1;
            }
            click.push_back(Ms(clock));
        }
        window.hide();
    }

    std::vector<double> mpvForward, mpvBack, mpvOpen;
    if (TMpv::Installed()) {
        TMpv mpv;
        const QStringList output {"--vo=x11", "--hwdec=no", "--no-border", "--force-window=immediate",
                                  "--keep-open=always",
                                  QStringLiteral("--geometry=%1x%2+%3+%4")
                                      .arg(MpvWindow.width())
                                      .arg(MpvWindow.height())
                                      .arg(MpvWindow.x())
                                      .arg(MpvWindow.y())};
        const QRect area = MpvWindow.adjusted(2, 2, -2, -2);
        QElapsedTimer clock;
        const auto measured = [&](const QJsonArray& ACommand, int AExpected, std::vector<double>* AFigures) {
            clock.start();
            mpv.Send(ACommand);
            const bool shown = RunUntil([&] {
                mpv.Drain();
                return FrameOnScreen(area) == AExpected;
            });
            if (!shown) {
                std::fprintf(stderr, "mpv: frame %d did not show (frame %d does)\n", AExpected, FrameOnScreen(area));
                return false;
            }
            if (AFigures)
                AFigures->push_back(Ms(clock));
            return true;
        };
        bool ok = mpv.Start(QString(), output);
        for (int run = 0; ok && run < runs; ++run) {
            if (run > 0)
                ok = measured({QStringLiteral("seek"), 1.0, QStringLiteral("absolute+exact")}, Fps, nullptr);
            ok = ok && measured({QStringLiteral("loadfile"), media.filePath(names[run % 2])}, 0, &mpvOpen);
        }
        ok = ok
            && measured({QStringLiteral("seek"), StepFromFrame / double(Fps), QStringLiteral("absolute+exact")},
                        StepFromFrame, nullptr);
        int frame = StepFromFrame;
        for (int run = 0; ok && run < runs; ++run)
            ok = measured({QStringLiteral("seek"), 0.02, QStringLiteral("relative+exact")}, ++frame, &mpvForward);
        for (int run = 0; ok && run < runs; ++run)
            ok = measured({QStringLiteral("seek"), -0.02, QStringLiteral("relative+exact")}, --frame, &mpvBack);
        if (!ok)
            std::printf("mpv could not be measured\n");
    } else {
        std::printf("mpv is not installed: Scenora's figures only\n");
    }

    std::printf("1920x1080 H.264, %d fps, GOP 250, B-frames, grain; screen read; medians of %d runs\n", Fps, runs);
    Print("step +20 ms -> picture", forward, mpvForward);
    Print("step -20 ms -> picture", back, mpvBack);
    Print("click -> first picture", click, mpvOpen);
    Print("  less the 200 ms settling", click, mpvOpen, SettleMs);
    return 0;
}
