#include "TestPlayer.h"

#include "engine/TVlc.h"
#include "engine/TVlcFrameGrab.h"
#include "engine/VlcOwners.h"
#include "services/OrvPath.h"

#include <QtTest>

#include <memory>

// Frames decoded into memory by a player of their own, compared with ffmpeg's
// decode of the same frames.
class TVlcFrameGrabTest : public QObject
{
    Q_OBJECT

private:
    static constexpr int Frames = 10;
    static constexpr int Fps = 5;

    TestPlayer::TClipFixture FClip;
    std::unique_ptr<TVlc> FVlc;
    TVlcMediaRef FMedia;
    QList<QImage> FFrames;

    // The index of the frame AImage matches, or -1.
    int FrameOf(const QImage& AImage) const
    {
        const QImage rgb = AImage.convertToFormat(QImage::Format_RGB32);
        for (int i = 0; i < FFrames.size(); ++i) {
            if (TestMedia::framesMatch(rgb, FFrames[i]))
                return i;
        }
        return -1;
    }

private slots:
    void initTestCase()
    {
        FClip.start(QStringLiteral("frames.avi"), TestMedia::distinctFrames(Frames, Fps));
        for (int i = 0; i < Frames; ++i)
            FFrames << TestMedia::ffmpegFrameAt(FClip.video, i * 1000 / Fps);
        FVlc = std::make_unique<TVlc>();
        for (const char* option : {"--ignore-config", "--intf=dummy", "--quiet", "--no-audio"})
            FVlc->AddOption(QString::fromLatin1(option));
        QVERIFY(FVlc->GetHandle());
        FMedia.reset(LibVlcEntries.libvlc_media_new_path(FVlc->GetHandle(), PathNative(FClip.video).c_str()));
        QVERIFY(FMedia);
    }

    void cleanupTestCase()
    {
        FMedia.reset();
        FVlc.reset();
        LibVlcUnload();
    }

    void takesTheFrame_data()
    {
        QTest::addColumn<int>("fromMs");
        QTest::addColumn<int>("which");
        // libvlc may or may not draw the very last frame before it reports
        // the end: the last two frames are both the end's picture.
        QTest::addColumn<int>("firstAccepted");
        QTest::addColumn<int>("lastAccepted");
        QTest::newRow("first frame") << 0 << int(TVlcFrameGrab::FirstFrom) << 0 << 0;
        QTest::newRow("from a frame's start") << 600 << int(TVlcFrameGrab::FirstFrom) << 3 << 3;
        QTest::newRow("from between two frames") << 500 << int(TVlcFrameGrab::FirstFrom) << 3 << 3;
        QTest::newRow("last, from the start") << 0 << int(TVlcFrameGrab::LastFrom) << Frames - 2 << Frames - 1;
        QTest::newRow("last, from near the end") << 1500 << int(TVlcFrameGrab::LastFrom) << Frames - 2 << Frames - 1;
    }

    void takesTheFrame()
    {
        QFETCH(int, fromMs);
        QFETCH(int, which);
        QFETCH(int, firstAccepted);
        QFETCH(int, lastAccepted);
        const QImage frame = TVlcFrameGrab(FMedia.get())
                                 .Take(fromMs, TVlcFrameGrab::TWhich(which), QDeadlineTimer(10000));
        QVERIFY(!frame.isNull());
        QCOMPARE(frame.size(), QSize(320, 240));
        const int index = FrameOf(frame);
        QVERIFY2(index >= firstAccepted && index <= lastAccepted, qPrintable(QString::number(index)));
    }

    // What did not come in time is no picture, not another one.
    void nothingInTimeIsNull()
    {
        QVERIFY(TVlcFrameGrab(FMedia.get())
                    .Take(0, TVlcFrameGrab::LastFrom, QDeadlineTimer(100))
                    .isNull());
        QVERIFY(TVlcFrameGrab(nullptr).Take(0, TVlcFrameGrab::FirstFrom, QDeadlineTimer(1000)).isNull());
    }

    // A video file that holds no video gives no picture, and no wait to its limit.
    void fileWithoutPictureIsNull()
    {
        const QString empty = FClip.filePath(QStringLiteral("empty.avi"));
        QFile file(empty);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        const TVlcMediaRef media {LibVlcEntries.libvlc_media_new_path(FVlc->GetHandle(), PathNative(empty).c_str())};
        for (const TVlcFrameGrab::TWhich which : {TVlcFrameGrab::FirstFrom, TVlcFrameGrab::LastFrom}) {
            QElapsedTimer waited;
            waited.start();
            QVERIFY(TVlcFrameGrab(media.get()).Take(0, which, QDeadlineTimer(60000)).isNull());
            QVERIFY2(waited.elapsed() < 30000, qPrintable(QString::number(waited.elapsed())));
        }
    }
};

QTEST_MAIN(TVlcFrameGrabTest)
#include "TVlcFrameGrabTest.moc"
