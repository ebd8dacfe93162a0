#include "TestScreen.h"
#include "TfrmMainFixture.h"

#include <QDir>
#include <QImageReader>
#include <QRegularExpression>
#include <QtTest>

// One frame at rest: however a video comes to rest, the picture on screen,
// the elapsed-time label and the PNG that S writes are the same frame, on
// every codec AVI files hold. Each frame of the videos shows its own number,
// read from the X server's pixels, from the saved file and from the label's
// time.
class tst_TfrmMain_Frames : public QObject
{
    Q_OBJECT

private:
    // The videos have fewer than 256 frames: the first eight cells of a
    // frame's number tell it, and the volume bar over the picture's right
    // edge hides none of them.
    static constexpr int ReadCells = 8;

    TfrmMainFixture F;
    QTemporaryDir FMedia;

    struct TClip
    {
        QString name;
        TestMedia::VideoFormat format;
        bool cutIndex = false;
    };

    static QList<TClip> Clips()
    {
        using namespace TestMedia;
        return {
            {"mjpeg.avi", withCodec(numberedFrames(100, 25), mjpegFullRange())},
            {"xvid.avi", withCodec(numberedFrames(200, 50, QSize(640, 360)), xvidWithBFrames())},
            {"h264.avi", withCodec(numberedFrames(200, 50, QSize(640, 360)), h264LongGop())},
            {"h264-1080p.avi", withCodec(numberedFrames(100, 25, QSize(1920, 1080)), h264LongGop())},
            {"h264-no-index.avi", withCodec(numberedFrames(200, 50, QSize(640, 360)), h264LongGop()), true},
        };
    }

    QWidget* PanelMedia() const { return F.Control("PanelMedia"); }

    // The frame on screen: the video fitted into PanelMedia and centred.
    int ScreenFrame(QSize AVideo) const
    {
        const QSize area = PanelMedia()->size();
        const QSize shown = AVideo.scaled(area, Qt::KeepAspectRatio);
        const QRectF picture(QPointF((area.width() - shown.width()) / 2.0, (area.height() - shown.height()) / 2.0),
                             shown);
        return TestMedia::frameNumberOf(TestScreen::grab(PanelMedia()), picture, ReadCells);
    }

    // The frame whose interval holds the elapsed-time label's time.
    int LabelFrame(int AFrameMs) const
    {
        static const QRegularExpression time(QStringLiteral("^(\\d+)\\D(\\d\\d)\\D(\\d\\d)-(\\d\\d\\d)$"));
        const QRegularExpressionMatch match = time.match(F.Text("LabelMediaTime"));
        if (!match.hasMatch())
            return -1;
        const qint64 ms = ((match.captured(1).toLongLong() * 60 + match.captured(2).toLongLong()) * 60
                           + match.captured(3).toLongLong())
                              * 1000
                          + match.captured(4).toLongLong();
        return int(ms / AFrameMs);
    }

    QStringList Screenshots() const { return QDir(FMedia.path()).entryList({QStringLiteral("*.png")}, QDir::Files); }

    // The screen, the label and what S saves name the same frame, AExpected
    // when it is not -1; S leaves the screen as it was.
    void VerifyOneFrame(const TClip& AClip, int AExpected, const char* AWay)
    {
        const int frameMs = 1000 / AClip.format.fps;
        const QSize size = AClip.format.size;
        int screen = -1;
        int label = -1;
        const bool agreed = TestLoop::waitFor(
            [&] {
                screen = ScreenFrame(size);
                label = LabelFrame(frameMs);
                return screen >= 0 && screen == label && (AExpected < 0 || screen == AExpected);
            },
            20000);
        QVERIFY2(agreed, qPrintable(QStringLiteral("%1: frame %2 on screen, %3 by the label (%4), %5 expected")
                                        .arg(QLatin1String(AWay))
                                        .arg(screen)
                                        .arg(label)
                                        .arg(F.Text("LabelMediaTime"))
                                        .arg(AExpected)));

        const QStringList before = Screenshots();
        F.PressKey(Qt::Key_S);
        QVERIFY(TestLoop::waitFor([&] { return F.Access().ScreenshotsPending() == 0; }, 20000));
        QCOMPARE(F.Access().StatusMessage(), QString());
        QStringList added = Screenshots();
        for (const QString& file : before)
            added.removeOne(file);
        QCOMPARE(added.size(), 1);
        const QImage saved = QImageReader(FMedia.filePath(added.first())).read();
        QCOMPARE(saved.size(), size);
        QVERIFY2(TestMedia::frameNumberOf(saved) == screen,
                 qPrintable(QStringLiteral("%1: frame %2 on screen, frame %3 saved")
                                .arg(QLatin1String(AWay))
                                .arg(screen)
                                .arg(TestMedia::frameNumberOf(saved))));
        QCOMPARE(ScreenFrame(size), screen);
        QCOMPARE(LabelFrame(frameMs), screen);
    }

    void Step(Qt::Key AKey, Qt::KeyboardModifiers AModifiers = {}) { F.PressKey(AKey, AModifiers); }

    // Plays a while, then pauses with AHow.
    void PlayAndPause(const std::function<void()>& AHow)
    {
        AHow();
        F.WaitState(vlcPlayer_Playing);
        const float from = F.Access().Timeline_Value();
        QVERIFY(TestLoop::waitFor([&] { return F.Access().Timeline_Value() > from + 300; }, 10000));
        AHow();
        F.WaitState(vlcPlayer_Paused);
    }

private slots:
    void initTestCase()
    {
        F.Start();
        for (const TClip& clip : Clips()) {
            QVERIFY(TestMedia::makeVideo(FMedia.filePath(clip.name), clip.format));
            if (clip.cutIndex)
                QVERIFY(TestMedia::cutIndex(FMedia.filePath(clip.name)));
        }
    }

    void cleanupTestCase() { F.Finish(); }

    void oneFrameAtRest_data()
    {
        QTest::addColumn<int>("clip");
        const QList<TClip> clips = Clips();
        for (int i = 0; i < clips.size(); ++i)
            QTest::newRow(qPrintable(clips[i].name)) << i;
    }

    void oneFrameAtRest()
    {
        QFETCH(int, clip);
        const TClip c = Clips()[clip];
        const int frameMs = 1000 / c.format.fps;
        const int frames = c.format.durationMs / frameMs;
        const auto frameAt = [frameMs](int AMs) { return AMs / frameMs; };

        F.FreshWindow();
        F.ChooseAndRest(FMedia.filePath(c.name));
        VerifyOneFrame(c, 0, "the first-frame rest");

        // Steps of every size, from the frame's time, as the timeline holds it.
        Step(Qt::Key_Right);
        VerifyOneFrame(c, frameAt(20), "a 20 ms step");
        Step(Qt::Key_Right);
        VerifyOneFrame(c, frameAt(40), "another 20 ms step");
        Step(Qt::Key_Right, Qt::ShiftModifier);
        VerifyOneFrame(c, frameAt(45), "a 5 ms step");
        Step(Qt::Key_Right, Qt::ControlModifier);
        VerifyOneFrame(c, frameAt(1045), "a 1 s step");
        Step(Qt::Key_Left);
        VerifyOneFrame(c, frameAt(1025), "a 20 ms step back");
        Step(Qt::Key_Left, Qt::ControlModifier);
        VerifyOneFrame(c, frameAt(25), "a 1 s step back");
        Step(Qt::Key_Right, Qt::ControlModifier | Qt::ShiftModifier);
        VerifyOneFrame(c, frames - 1, "a 10 s step, past the end");
        Step(Qt::Key_Left, Qt::ControlModifier);
        VerifyOneFrame(c, frames - 1 - 1000 / frameMs, "a 1 s step back from the last frame");
        Step(Qt::Key_Left, Qt::ControlModifier);
        Step(Qt::Key_Left, Qt::ControlModifier);
        VerifyOneFrame(c, frames - 1 - 3000 / frameMs, "two 1 s steps back at once");

        PlayAndPause([&] { F.PressKey(Qt::Key_P); });
        VerifyOneFrame(c, -1, "P");
        PlayAndPause([&] { QTest::mouseClick(F.Control("bPlay"), Qt::LeftButton); });
        VerifyOneFrame(c, -1, "the play button");

        const int resting = ScreenFrame(c.format.size);
        F.ClickTab(1);
        QVERIFY(TestLoop::waitFor([&] { return F.Header()->currentIndex() == 1; }));
        F.ClickTab(0);
        VerifyOneFrame(c, resting, "back from the Screenshot tab");

        F.Window->resize(F.Window->size() + QSize(160, 90));
        VerifyOneFrame(c, resting, "a larger window");

        F.PressKey(Qt::Key_P);
        F.WaitState(vlcPlayer_Ended);
        VerifyOneFrame(c, frames - 1, "the end of the video");
    }
};

QTEST_MAIN(tst_TfrmMain_Frames)
#include "tst_TfrmMain_Frames.moc"
