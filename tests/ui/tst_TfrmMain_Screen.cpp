#include "TfrmMainFixture.h"
#include "TestScreen.h"

#include <QApplication>
#include <QFile>
#include <QClipboard>
#include <QFileDialog>
#include <QLineEdit>
#include <QTimer>
#include <QFileInfo>
#include <QScopeGuard>
#include <QUrl>
#include <QSlider>
#include <QSplitter>

// What a person sees of the video: the X server's pixels over PanelMedia, read
// while the window is used, compared with the colour bars the video shows.
class tst_TfrmMain_Screen : public QObject
{
    Q_OBJECT

private:
    TfrmMainFixture F;
    QTemporaryDir FMedia;

    QString MediaPath(const QString& sName) const { return FMedia.filePath(sName); }
    QWidget* PanelMedia() const { return F.Control("PanelMedia"); }

    // Every bar is on screen over PanelMedia. A 4:3 picture letterboxed into
    // the panel shows each bar on about 7 % of it.
    bool BarsOnScreen() const
    {
        for (double share : TestScreen::barShares(TestScreen::grab(PanelMedia()))) {
            if (share < 0.02)
                return false;
        }
        return true;
    }

    QString DescribeScreen() const
    {
        QStringList each;
        double total = 0;
        for (double share : TestScreen::barShares(TestScreen::grab(PanelMedia()))) {
            each << QString::number(share * 100, 'f', 1);
            total += share;
        }
        return QStringLiteral("bar colours cover %1 % of the video area (each: %2), player %3")
            .arg(total * 100, 0, 'f', 1)
            .arg(each.join(QStringLiteral(" ")), F.Player()->GetStateName());
    }

    // The rows of the volume bar whose middle shows on screen as the bar
    // draws it: its groove runs down there.
    int VolumeRowsOnScreen() const
    {
        auto* volume = F.Control<QSlider>("tbVolume");
        const QImage screen = TestScreen::grab(volume);
        const QImage drawn = volume->grab().toImage().convertToFormat(QImage::Format_RGB32);
        if (screen.size() != drawn.size())
            return 0;
        const int x = drawn.width() / 2;
        int rows = 0;
        for (int y = 0; y < drawn.height(); ++y)
            rows += TestMedia::meanAbsDiff(screen.copy(x, y, 1, 1), drawn.copy(x, y, 1, 1)) < 8;
        return rows;
    }

    void VerifyBarsOnScreen()
    {
        QVERIFY2(TestLoop::waitFor([&] { return BarsOnScreen(); }, 10000), qPrintable(DescribeScreen()));
        // The volume bar floats over the video's right edge, above it.
        const int height = F.Control("tbVolume")->height();
        QVERIFY2(TestLoop::waitFor([&] { return VolumeRowsOnScreen() > height * 9 / 10; }, 10000),
                 qPrintable(QStringLiteral("the volume bar shows on %1 of %2 rows").arg(VolumeRowsOnScreen()).arg(height)));
    }

    // Chooses sPath in Qt's own folder dialog as a user does: its path pasted
    // into the dialog's file name box, then Enter. Typed key by key, the
    // path would race the box's completion list, which comes up while the
    // dialog still reads the folder and takes the keys that follow.
    void ChooseInTheFolderDialog(const QString& sPath)
    {
        TOpenDialog::SetRunner({});
        const auto answeredByTheTest = qScopeGuard([this] {
            TOpenDialog::SetRunner([this](QWidget*, const QString&, const QString&) { return F.DialogAnswer; });
        });
        bool typed = false;
        QTimer typist;
        typist.setInterval(100);
        connect(&typist, &QTimer::timeout, this, [&] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            auto* name = dialog ? dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit")) : nullptr;
            if (!name || !name->isVisible())
                return;
            typed = true;
            if (name->text() != sPath) {
                name->setFocus();
                QGuiApplication::clipboard()->setText(sPath);
                QTest::keyClick(name, Qt::Key_A, Qt::ControlModifier);
                QTest::keyClick(name, Qt::Key_V, Qt::ControlModifier);
                return;
            }
            // The first Enter may only take the completion the box offers.
            QTest::keyClick(name, Qt::Key_Return);
        });
        typist.start();
        F.Access().Button1Click();
        QVERIFY2(typed, "the folder dialog did not come up");
    }

    void ClickTab(int AIndex)
    {
        THeaderTabBar* header = F.Header();
        QTest::mouseClick(header, Qt::LeftButton, {}, header->tabRect(AIndex).center());
    }

    void DragSplitter(int ADx)
    {
        QWidget* handle = F.Control<QSplitter>("Splitter1")->handle(1);
        QWindow* window = F.Window->windowHandle();
        QPoint at = handle->mapTo(F.Window.get(), handle->rect().center());
        QTest::mousePress(window, Qt::LeftButton, {}, at);
        for (int step = 0; step < 4; ++step) {
            at.rx() += ADx / 4;
            QTest::mouseMove(window, at);
        }
        QTest::mouseRelease(window, Qt::LeftButton, {}, at);
    }

    // How far what is on screen lies from AFrame, as the engine shows it in
    // PanelMedia, left of the volume bar that floats over its right edge.
    double ScreenDiff(const QImage& AFrame) const
    {
        const TestScreen::TShownFrame shown(AFrame, PanelMedia(), F.Control("tbVolume"));
        return shown.DiffFrom(TestScreen::grab(PanelMedia()));
    }

    // The screen shows AFrame, and plainly not AOther.
    void VerifyFrameOnScreen(const QString& sWhen, const QImage& AFrame, const QImage& AOther)
    {
        const bool shown = TestLoop::waitFor([&] { return ScreenDiff(AFrame) < 12 && ScreenDiff(AFrame) * 2 < ScreenDiff(AOther); }, 10000);
        QVERIFY2(shown,
                 qPrintable(QStringLiteral("%1: the screen differs by %2 from the frame, by %3 from another")
                                .arg(sWhen)
                                .arg(ScreenDiff(AFrame))
                                .arg(ScreenDiff(AOther))));
    }

private slots:
    void initTestCase()
    {
        F.Start();
        TestMedia::VideoFormat bars;
        bars.durationMs = 20000;
        bars.size = QSize(320, 240);
        bars.fps = 5;
        bars.source = QStringLiteral("smptebars");
        QVERIFY(TestMedia::makeVideo(MediaPath(QStringLiteral("bars.avi")), bars));
        QVERIFY(QFile::copy(MediaPath(QStringLiteral("bars.avi")), MediaPath(QStringLiteral("bars2.avi"))));
        TestMedia::VideoFormat moving;
        moving.durationMs = 20000;
        moving.size = QSize(320, 180);
        moving.fps = 25;
        QVERIFY(TestMedia::makeVideo(MediaPath(QStringLiteral("moving.avi")), moving));
        TestMedia::VideoFormat plain;
        plain.durationMs = 6000;
        plain.size = QSize(160, 120);
        plain.fps = 10;
        plain.source = QStringLiteral("color=c=red");
        for (const char* name : {"clip.avi", "a%20b.avi"})
            QVERIFY(TestMedia::makeVideo(MediaPath(QLatin1String(name)), plain));
        plain.source = QStringLiteral("color=c=blue");
        for (const char* name : {"clip.avi.avi", "a b.avi"})
            QVERIFY(TestMedia::makeVideo(MediaPath(QLatin1String(name)), plain));
        QImage photo(64, 48, QImage::Format_RGB32);
        photo.fill(Qt::darkCyan);
        QVERIFY(photo.save(MediaPath(QStringLiteral("photo.jpg"))));
    }

    void cleanupTestCase() { F.Finish(); }

    void init() { F.FreshWindow(); }

    void cleanup() { F.CloseWindow(); }

    // The video is on screen in every state the window places it in.
    void videoIsOnScreen_data()
    {
        QTest::addColumn<QString>("state");
        QTest::newRow("first-frame rest") << "rest";
        QTest::newRow("playing") << "playing";
        QTest::newRow("paused again") << "paused";
        QTest::newRow("step while paused") << "step";
        QTest::newRow("Screenshot tab, then Video") << "tabs";
        QTest::newRow("window resized") << "resize";
        QTest::newRow("splitter dragged") << "splitter";
        QTest::newRow("another file chosen") << "another";
        QTest::newRow("picture chosen, then a video") << "picture";
        QTest::newRow("picture chosen in the folder dialog, then a video clicked and played") << "picture, click";
    }

    void videoIsOnScreen()
    {
        QFETCH(QString, state);
        F.ChooseAndRest(MediaPath(QStringLiteral("bars.avi")));
        if (state == QLatin1String("playing") || state == QLatin1String("paused")) {
            F.PressKey(Qt::Key_P);
            F.WaitState(vlcPlayer_Playing);
            if (state == QLatin1String("paused")) {
                F.PressKey(Qt::Key_P);
                F.WaitState(vlcPlayer_Paused);
            }
        } else if (state == QLatin1String("step")) {
            const float before = F.Access().Timeline_Value();
            F.PressKey(Qt::Key_Right);
            QVERIFY(TestLoop::waitFor([&] { return F.Access().Timeline_Value() != before; }));
        } else if (state == QLatin1String("tabs")) {
            F.ClickTab(1);
            QVERIFY(TestLoop::waitFor([&] { return !BarsOnScreen(); }));
            F.ClickTab(0);
        } else if (state == QLatin1String("resize")) {
            F.Window->resize(1000, 760);
        } else if (state == QLatin1String("splitter")) {
            DragSplitter(80);
        } else if (state == QLatin1String("another")) {
            F.ChooseAndRest(MediaPath(QStringLiteral("bars2.avi")));
        } else if (state == QLatin1String("picture")) {
            F.Choose(MediaPath(QStringLiteral("photo.jpg")));
            QVERIFY(TestLoop::waitFor([&] { return !BarsOnScreen(); }));
            F.ChooseAndRest(MediaPath(QStringLiteral("bars.avi")));
        } else if (state == QLatin1String("picture, click")) {
            ChooseInTheFolderDialog(MediaPath(QStringLiteral("photo.jpg")));
            QVERIFY(TestLoop::waitFor([&] { return !BarsOnScreen(); }));
            F.ClickFile(QStringLiteral("bars2.avi"));
            F.WaitResting(MediaPath(QStringLiteral("bars2.avi")));
            F.PressKey(Qt::Key_P);
            F.WaitState(vlcPlayer_Playing);
        }
        VerifyBarsOnScreen();
    }

    // The frame a paused video rests on is on screen, and comes back when
    // the Video view is shown again.
    void pausedFrameComesBack_data()
    {
        QTest::addColumn<int>("from");
        QTest::addColumn<int>("steps");
        QTest::newRow("first-frame rest") << 0 << 0;
        QTest::newRow("one step") << 4000 << 1;
        QTest::newRow("three quick steps") << 2000 << 3;
    }

    void pausedFrameComesBack()
    {
        QFETCH(int, from);
        QFETCH(int, steps);
        const QString video = MediaPath(QStringLiteral("moving.avi"));
        F.ChooseAndRest(video);
        if (steps > 0) {
            F.Access().Timeline_SetValue(float(from));
            for (int step = 0; step < steps; ++step)
                F.PressKey(Qt::Key_Right, Qt::ControlModifier);
        }
        // The frame the engine rests on, at 25 frames a second.
        const qint64 frameTime = F.Player()->GetVideoPosInMs() / 40 * 40;
        QCOMPARE(frameTime, qint64(steps > 0 ? from + steps * 1000 : frameTime));
        const QImage frame = TestMedia::ffmpegFrameAt(video, frameTime);
        const QImage other = TestMedia::ffmpegFrameAt(video, frameTime + 3000);
        VerifyFrameOnScreen(QStringLiteral("paused"), frame, other);

        F.ClickTab(1);
        QVERIFY(TestLoop::waitFor([&] { return ScreenDiff(frame) > 30; }));
        F.ClickTab(0);
        VerifyFrameOnScreen(QStringLiteral("shown again"), frame, other);
        QCOMPARE(F.Player()->GetState(), vlcPlayer_Paused);
    }

    // The share of a picture's pixels that are plainly of AColor's hue.
    static double ShareOf(const QImage& AImage, QColor AColor)
    {
        qint64 matching = 0;
        for (int y = 0; y < AImage.height(); ++y)
            for (int x = 0; x < AImage.width(); ++x) {
                const QColor pixel = AImage.pixelColor(x, y);
                matching += qAbs(pixel.red() - AColor.red()) < 60 && qAbs(pixel.green() - AColor.green()) < 60
                            && qAbs(pixel.blue() - AColor.blue()) < 60;
            }
        return AImage.isNull() ? 0 : double(matching) / (double(AImage.width()) * AImage.height());
    }

    // A video chosen while another rests paused plays, and is what is on
    // screen and in its screenshot, also when one name holds the other.
    void chosenVideoIsTheOneShown_data()
    {
        QTest::addColumn<QString>("paused");
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<QColor>("color");
        QTest::addColumn<QString>("screenshot");
        QTest::newRow("clip.avi after clip.avi.avi") << "clip.avi.avi" << "clip.avi" << QColor(Qt::red) << "clip_0001.png";
        QTest::newRow("a%20b.avi after a b.avi") << "a b.avi" << "a%20b.avi" << QColor(Qt::red) << "a%20b_0001.png";
        QTest::newRow("a b.avi after a%20b.avi") << "a%20b.avi" << "a b.avi" << QColor(Qt::blue) << "a b_0001.png";
    }

    void chosenVideoIsTheOneShown()
    {
        QFETCH(QString, paused);
        QFETCH(QString, chosen);
        QFETCH(QColor, color);
        QFETCH(QString, screenshot);
        F.ChooseAndRest(MediaPath(paused));
        F.ChooseAndRest(MediaPath(chosen));
        QVERIFY2(TestLoop::waitFor([&] { return ShareOf(TestScreen::grab(PanelMedia()), color) > 0.3; }, 10000),
                 qPrintable(F.Player()->GetMediaMrl()));

        F.PressKey(Qt::Key_S);
        QVERIFY(TestLoop::waitFor([&] { return F.Access().ScreenshotsPending() == 0; }, 10000));
        const QString file = MediaPath(screenshot);
        const auto removeShot = qScopeGuard([&] { QFile::remove(file); });
        QVERIFY(QFileInfo::exists(file));
        QVERIFY(ShareOf(QImage(file), color) > 0.9);

        // P plays the chosen video on from where it rests.
        F.PressKey(Qt::Key_P);
        F.WaitState(vlcPlayer_Playing);
        QCOMPARE(QUrl(F.Player()->GetMediaMrl()).toLocalFile(), MediaPath(chosen));
    }

    // While a video plays, what is on screen changes with it.
    void playingVideoMovesOnScreen()
    {
        F.ChooseAndRest(MediaPath(QStringLiteral("moving.avi")));
        F.PressKey(Qt::Key_P);
        F.WaitState(vlcPlayer_Playing);
        QImage first;
        QVERIFY(TestLoop::waitFor(
            [&] {
                first = TestScreen::grab(PanelMedia());
                QImage black(first.size(), QImage::Format_RGB32);
                black.fill(Qt::black);
                return TestMedia::meanAbsDiff(first, black) > 20;
            },
            10000));
        QVERIFY(TestLoop::waitFor(
            [&] { return TestMedia::meanAbsDiff(TestScreen::grab(PanelMedia()), first) > 5; }, 10000));
    }
};

QTEST_MAIN(tst_TfrmMain_Screen)
#include "tst_TfrmMain_Screen.moc"
