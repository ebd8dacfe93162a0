#include "TfrmMainFixture.h"
#include "TestScreen.h"

#include "app/OrvPlatform.h"

#include <QDir>
#include <QProcess>
#include <QRegularExpression>
#include <QScreen>

// The window in a Wayland session with Xwayland (tests/support/WaylandSession.sh
// makes one): it starts on the platform the program chooses, is an X window
// on the Xwayland display, and its video is on weston's output, drawn by the
// program at rest and by the engine while playing.
class tst_TfrmMain_Wayland : public QObject
{
    Q_OBJECT

    TfrmMainFixture F;
    QTemporaryDir FMedia;

    QString Video() const { return FMedia.filePath(QStringLiteral("bars.avi")); }

    // A window on weston's output: its title and where it lies there, its
    // frame included.
    struct TOutputWindow
    {
        QString Title;
        QRect Rect;
    };

    // The top-level windows on weston's output, as its scene graph lists them.
    static QList<TOutputWindow> OutputWindows()
    {
        QProcess debug;
        debug.start(QStringLiteral("weston-debug"), {QStringLiteral("scene-graph")});
        if (!debug.waitForFinished(10000))
            return {};
        static const QRegularExpression view(
            QStringLiteral(R"(top-level window '([^']*)'.*\n\s*position: \((-?\d+), (-?\d+)\) -> \((-?\d+), (-?\d+)\))"));
        QList<TOutputWindow> windows;
        for (const QRegularExpressionMatch& m : view.globalMatch(QString::fromUtf8(debug.readAllStandardOutput()))) {
            const QPoint from(m.captured(2).toInt(), m.captured(3).toInt());
            const QPoint to(m.captured(4).toInt(), m.captured(5).toInt());
            windows << TOutputWindow {m.captured(1), QRect(from, to - QPoint(1, 1))};
        }
        return windows;
    }

    // What weston shows of the program's window on its output, read by its
    // screenshooter into a folder of its own. Null unless the program's
    // window is the only one there: the engine, given no window it can draw
    // into, opens one of its own.
    QImage OutputOfWindow(QString* sWhy) const
    {
        const QList<TOutputWindow> windows = OutputWindows();
        QStringList titles;
        for (const TOutputWindow& window : windows)
            titles << window.Title;
        if (windows.size() != 1 || windows.first().Title != F.Window->windowTitle()) {
            *sWhy = QStringLiteral("windows on the output: '%1'").arg(titles.join(QStringLiteral("', '")));
            return {};
        }
        QTemporaryDir dir;
        QProcess shooter;
        shooter.setWorkingDirectory(dir.path());
        shooter.start(QStringLiteral("weston-screenshooter"), {});
        const QStringList shots = shooter.waitForFinished(10000)
                                      ? QDir(dir.path()).entryList({QStringLiteral("*.png")}, QDir::Files)
                                      : QStringList();
        if (shots.isEmpty()) {
            *sWhy = QStringLiteral("weston-screenshooter read nothing: %1").arg(QString::fromLocal8Bit(shooter.readAllStandardError()));
            return {};
        }
        return QImage(dir.filePath(shots.first())).copy(windows.first().Rect).convertToFormat(QImage::Format_RGB32);
    }

    // Shares of the window's pixels on the output counted in sizes of the
    // video area.
    double VideoAreas(double AShareOfWindow, const QImage& AWindow) const
    {
        const QSize area = F.Control("PanelMedia")->size();
        return AShareOfWindow * AWindow.width() * AWindow.height() / (double(area.width()) * area.height());
    }

    // Every bar is in the window on the output, each over about 7 % of the
    // video area's size, as a 4:3 picture letterboxed into it shows them.
    bool BarsOnOutput(QString* sSeen) const
    {
        const QImage window = OutputOfWindow(sSeen);
        if (window.isNull())
            return false;
        QStringList each;
        bool all = true;
        for (double share : TestScreen::barShares(window)) {
            const double areas = VideoAreas(share, window);
            each << QString::number(areas * 100, 'f', 1);
            all = all && areas >= 0.02;
        }
        *sSeen = QStringLiteral("bar colours in %ages of the video area: %1").arg(each.join(u' '));
        return all;
    }

    // The video's orange part covers most of the video area in the window on
    // the output.
    bool OrangeOnOutput(QString* sSeen) const
    {
        const QImage window = OutputOfWindow(sSeen);
        if (window.isNull())
            return false;
        qint64 orange = 0;
        for (int y = 0; y < window.height(); ++y) {
            const auto* line = reinterpret_cast<const QRgb*>(window.constScanLine(y));
            for (int x = 0; x < window.width(); ++x)
                orange += qRed(line[x]) >= 200 && qAbs(qGreen(line[x]) - 165) <= 40 && qBlue(line[x]) <= 70;
        }
        const double areas = VideoAreas(double(orange) / (double(window.width()) * window.height()), window);
        *sSeen = QStringLiteral("orange over %1 % of the video area").arg(areas * 100, 0, 'f', 1);
        return areas >= 0.3;
    }

public:
    // Before the application object, as the program starts.
    static void initMain() { OrvPlatform_Apply(OrvPlatform_Choose(OrvPlatform_Session())); }

private slots:
    void initTestCase()
    {
        QVERIFY2(!qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"), "not in a Wayland session (tests/support/WaylandSession.sh)");
        F.Start();
        // Colour bars for 4 seconds, then orange: the engine alone can show the orange.
        TestMedia::VideoFormat bars;
        bars.durationMs = 20000;
        bars.size = QSize(320, 240);
        bars.fps = 5;
        bars.source = QStringLiteral("smptebars");
        bars.extraArgs = QStringList {QStringLiteral("-vf"), QStringLiteral("drawbox=color=orange:t=fill:enable='gte(t,4)'")};
        QVERIFY(TestMedia::makeVideo(Video(), bars));
    }

    void cleanupTestCase() { F.Finish(); }

    void init() { F.FreshWindow(); }

    void cleanup() { F.CloseWindow(); }

    void windowIsAnXWindowOnXwayland()
    {
        QCOMPARE(QGuiApplication::platformName(), QStringLiteral("xcb"));
        // Xwayland names its screens after itself.
        QVERIFY2(F.Window->screen()->name().startsWith(QStringLiteral("XWAYLAND")), qPrintable(F.Window->screen()->name()));
    }

    void videoIsOnTheOutput()
    {
        QString seen;
        F.ChooseAndRest(Video());
        QVERIFY2(TestLoop::waitFor([&] { return BarsOnOutput(&seen); }, 15000), qPrintable(seen));

        F.PressKey(Qt::Key_P);
        F.WaitState(vlcPlayer_Playing);
        QVERIFY2(TestLoop::waitFor([&] { return OrangeOnOutput(&seen); }, 20000), qPrintable(seen));
    }
};

QTEST_MAIN(tst_TfrmMain_Wayland)
#include "tst_TfrmMain_Wayland.moc"
