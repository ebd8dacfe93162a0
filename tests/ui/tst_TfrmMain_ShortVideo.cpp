#include "TestScreen.h"
#include "TfrmMainFixture.h"

#include <QDir>
#include <QImageReader>
#include <QtTest>

// Videos of a frame or two, shorter than the first-frame rest, and a video
// played to its end: their picture stays on screen, and S saves that picture.
class tst_TfrmMain_ShortVideo : public QObject
{
    Q_OBJECT

private:
    // Matching frames on screen differ by about 3 of 255 (scaling); the
    // frames of these videos differ from each other by more than 20.
    static constexpr double SameFrameOnScreen = 10;

    TfrmMainFixture F;
    QTemporaryDir FMedia;
    int FClips = 0;

    QWidget* PanelMedia() const { return F.Control("PanelMedia"); }

    // The index of the frame on screen, or -1 when none of AFrames is there.
    int FrameOnScreen(const QList<QImage>& AFrames) const
    {
        const QImage screen = TestScreen::grab(PanelMedia());
        for (int i = 0; i < AFrames.size(); ++i) {
            const TestScreen::TShownFrame shown(AFrames[i], PanelMedia(), F.Control("tbVolume"));
            if (shown.DiffFrom(screen) < SameFrameOnScreen)
                return i;
        }
        return -1;
    }

    static int NearestFrame(const QImage& AImage, const QList<QImage>& AFrames)
    {
        int nearest = -1;
        double nearestDiff = 0;
        for (int i = 0; i < AFrames.size(); ++i) {
            const double diff = TestMedia::meanAbsDiff(AImage, AFrames[i]);
            if (nearest < 0 || diff < nearestDiff) {
                nearest = i;
                nearestDiff = diff;
            }
        }
        return nearest;
    }

    QStringList Screenshots() const { return QDir(FMedia.path()).entryList({QStringLiteral("*.png")}, QDir::Files); }

private slots:
    void initTestCase()
    {
        F.Start();
        F.FreshWindow();
    }

    void cleanupTestCase() { F.Finish(); }

    void savesThePictureOnScreen_data()
    {
        QTest::addColumn<int>("frames");
        QTest::addColumn<int>("fps");
        QTest::addColumn<QString>("action");
        // The frame on screen: a video that ended rests on its last frame.
        QTest::addColumn<int>("frameShown");
        QTest::newRow("one frame") << 1 << 5 << "" << 0;
        QTest::newRow("one frame, after a step") << 1 << 5 << "step" << 0;
        QTest::newRow("five frames in 0.2 s") << 5 << 25 << "" << 0;
        QTest::newRow("two seconds, played to the end") << 10 << 5 << "play" << 9;
    }

    void savesThePictureOnScreen()
    {
        QFETCH(int, frames);
        QFETCH(int, fps);
        QFETCH(QString, action);
        QFETCH(int, frameShown);
        // A video of its own for each row: each is chosen anew.
        const QString video = FMedia.filePath(QStringLiteral("clip%1.avi").arg(++FClips));
        const TestMedia::VideoFormat format = TestMedia::distinctFrames(frames, fps);
        QVERIFY(TestMedia::makeVideo(video, format));
        QList<QImage> frameImages;
        for (int i = 0; i < frames; ++i)
            frameImages << TestMedia::ffmpegFrameAt(video, i * 1000 / fps);

        if (action == QLatin1String("play")) {
            F.ChooseAndRest(video);
            F.PressKey(Qt::Key_P);
            F.WaitState(vlcPlayer_Ended);
        } else {
            // The shortest may end before the rest pauses it.
            F.Choose(video);
            QVERIFY(TestLoop::waitFor([&] { return F.Access().FileName() == video && !F.CoverShown(); }, 15000));
        }
        if (action == QLatin1String("step"))
            F.PressKey(Qt::Key_Right);
        int shown = -1;
        QVERIFY2(TestLoop::waitFor(
                     [&] {
                         shown = FrameOnScreen(frameImages);
                         return shown == frameShown;
                     },
                     10000),
                 qPrintable(QStringLiteral("frame on screen: %1").arg(shown)));

        const QStringList before = Screenshots();
        F.PressKey(Qt::Key_S);
        QVERIFY(TestLoop::waitFor([&] { return F.Access().ScreenshotsPending() == 0; }, 15000));
        QCOMPARE(F.Text("LabelStatusMessage"), QString());
        QCOMPARE(Screenshots().size(), before.size() + 1);
        QString written;
        for (const QString& file : Screenshots())
            if (!before.contains(file))
                written = FMedia.filePath(file);
        QVERIFY2(written.startsWith(video.chopped(4) + QLatin1Char('_')), qPrintable(written));
        const QImage saved = QImageReader(written).read().convertToFormat(QImage::Format_RGB32);
        QCOMPARE(saved.size(), format.size);
        // The picture is one of the video's frames, whole, and the one on
        // screen, which S leaves there.
        const int savedFrame = NearestFrame(saved, frameImages);
        QString why;
        QVERIFY2(TestMedia::framesMatch(saved, frameImages[savedFrame], &why), qPrintable(why));
        QVERIFY2(savedFrame == frameShown && (shown = FrameOnScreen(frameImages)) == savedFrame,
                 qPrintable(QStringLiteral("frame %1 saved, frame %2 on screen; the player %3 at %4 ms")
                                .arg(savedFrame)
                                .arg(shown)
                                .arg(F.Player()->GetStateName())
                                .arg(F.Player()->GetVideoPosInMs())));
    }
};

QTEST_MAIN(tst_TfrmMain_ShortVideo)
#include "tst_TfrmMain_ShortVideo.moc"
