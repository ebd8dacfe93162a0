#include "TestMedia.h"

#include "engine/TFrameReader.h"
#include "engine/TFrameSource.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>

#include <thread>

// Exact frames of the codecs AVI files hold: each frame shows its own number,
// so a picture tells which frame it is.
class TFrameReaderTest : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir FDir;

    struct TClip
    {
        QString name;
        TestMedia::VideoFormat format;
        // Frames the decoder holds back to reorder them.
        int reorderedFrames = 0;
        bool cutIndex = false;
    };

    static QList<TClip> Clips()
    {
        using namespace TestMedia;
        return {
            {"mjpeg.avi", withCodec(numberedFrames(60, 25), mjpegFullRange()), 0, false},
            {"xvid.avi", withCodec(numberedFrames(120, 50, QSize(640, 360)), xvidWithBFrames()), 1, false},
            {"h264.avi", withCodec(numberedFrames(120, 50, QSize(640, 360)), h264LongGop()), 2, false},
            {"h264-1080p.avi", withCodec(numberedFrames(60, 25, QSize(1920, 1080)), h264LongGop()), 2, false},
            {"h264-no-index.avi", withCodec(numberedFrames(120, 50, QSize(640, 360)), h264LongGop()), 2, true},
        };
    }

    QString Path(const QString& sName) const { return FDir.filePath(sName); }

private slots:
    void initTestCase()
    {
        QVERIFY(FDir.isValid());
        for (const TClip& clip : Clips()) {
            QVERIFY(TestMedia::makeVideo(Path(clip.name), clip.format));
            if (clip.cutIndex)
                QVERIFY(TestMedia::cutIndex(Path(clip.name)));
        }
    }

    // Times asked for in an order that decodes on, seeks back, seeks past a
    // key frame and goes to the end and back to the start, each answered
    // with the frame whose interval holds it.
    void frameAtEveryTime_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("fps");
        QTest::addColumn<int>("frames");
        QTest::addColumn<int>("reorderedFrames");
        QTest::addColumn<QSize>("size");
        for (const TClip& clip : Clips())
            QTest::newRow(qPrintable(clip.name)) << clip.name << clip.format.fps
                                                 << clip.format.durationMs * clip.format.fps / 1000
                                                 << clip.reorderedFrames << clip.format.size;
    }

    void frameAtEveryTime()
    {
        QFETCH(QString, name);
        QFETCH(int, fps);
        QFETCH(int, frames);
        QFETCH(int, reorderedFrames);
        QFETCH(QSize, size);
        const qint64 frameMs = 1000 / fps;
        const qint64 lastStart = (frames - 1) * frameMs;

        TFrameReader reader(Path(name));
        QVERIFY(reader.IsOpen());
        QCOMPARE(reader.ReorderDelayMs(), reorderedFrames * frameMs);

        const QList<qint64> times {0,
                                   frameMs - 1,
                                   frameMs,
                                   frameMs * 5 / 2,
                                   1000,
                                   1000 + frameMs / 2,
                                   1000 - 1,
                                   lastStart / 2,
                                   3,
                                   lastStart - 1,
                                   lastStart,
                                   lastStart + frameMs - 1,
                                   TFrameReader::EndOfVideo,
                                   -5,
                                   1000 + frameMs};
        for (const qint64 time : times) {
            const TFrameReader::TFrame frame = reader.FrameAt(time);
            const int expected = int(std::clamp<qint64>(time, 0, lastStart) / frameMs);
            const QString at = QStringLiteral("at %1 ms").arg(time);
            QVERIFY2(!frame.IsNull(), qPrintable(at));
            QCOMPARE(frame.Image.size(), size);
            QCOMPARE(frame.Image.format(), QImage::Format_RGB32);
            QVERIFY2(TestMedia::frameNumberOf(frame.Image) == expected,
                     qPrintable(QStringLiteral("%1: frame %2, not %3").arg(at).arg(TestMedia::frameNumberOf(frame.Image)).arg(expected)));
            QCOMPARE(frame.StartMs, expected * frameMs);
            QCOMPARE(frame.EndMs, (expected + 1) * frameMs);
        }
    }

    // Steps back frame by frame from a frame reached by decoding on, past
    // as many frames as the reader keeps of the way there.
    void stepsBackFrameByFrame_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("fps");
        QTest::newRow("H.264, 640x360") << "h264.avi" << 50;
        QTest::newRow("H.264, 1920x1080") << "h264-1080p.avi" << 25;
    }

    void stepsBackFrameByFrame()
    {
        QFETCH(QString, name);
        QFETCH(int, fps);
        const int frameMs = 1000 / fps;
        TFrameReader reader(Path(name));
        for (int frame = 0; frame <= 2 * fps; frame += 5)
            QCOMPARE(TestMedia::frameNumberOf(reader.FrameAt(frame * frameMs).Image), frame);
        for (int frame = 2 * fps - 1; frame >= fps / 2; --frame) {
            const TFrameReader::TFrame taken = reader.FrameAt(frame * frameMs + frameMs / 2);
            QCOMPARE(TestMedia::frameNumberOf(taken.Image), frame);
            QCOMPARE(taken.StartMs, qint64(frame * frameMs));
            QCOMPARE(taken.EndMs, qint64((frame + 1) * frameMs));
        }
    }

    // The picture in the video's own colours: its tagged colour matrix and
    // its range, as ffmpeg converts it. An untagged HD video has the HD
    // matrix, as players take it, where ffmpeg takes the SD one.
    void colours_data()
    {
        QTest::addColumn<QString>("source");
        QTest::addColumn<QSize>("size");
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<bool>("asFfmpeg");
        QTest::addColumn<QList<QRgb>>("bars");
        const QStringList h264 = TestMedia::h264LongGop().args;
        // The 75 % bars of the HD bars picture: yellow, cyan, green.
        const QList<QRgb> hdBars {qRgb(191, 191, 0), qRgb(0, 191, 191), qRgb(0, 191, 0)};
        QTest::newRow("HD tagged BT.709")
            << "smptehdbars" << QSize(1280, 720)
            << h264 + QStringList {"-colorspace", "bt709", "-color_primaries", "bt709", "-color_trc", "bt709"}
            << true << hdBars;
        QTest::newRow("HD untagged") << "smptehdbars" << QSize(1280, 720) << h264 << false << hdBars;
        QTest::newRow("SD tagged BT.601") << "smptebars" << QSize(640, 480)
                                          << h264 + QStringList {"-colorspace", "smpte170m"} << true
                                          << QList<QRgb> {};
        QTest::newRow("MJPEG full range") << "smptebars" << QSize(640, 480) << TestMedia::mjpegFullRange().args
                                          << true << QList<QRgb> {};
    }

    void colours()
    {
        QFETCH(QString, source);
        QFETCH(QSize, size);
        QFETCH(QStringList, args);
        QFETCH(bool, asFfmpeg);
        QFETCH(QList<QRgb>, bars);
        TestMedia::VideoFormat format;
        format.durationMs = 1000;
        format.size = size;
        format.source = source;
        format.codec = args == TestMedia::mjpegFullRange().args ? QStringLiteral("mjpeg") : QStringLiteral("libx264");
        format.extraArgs = args;
        const QString video = Path(QStringLiteral("bars-%1.avi").arg(QTest::currentDataTag()).replace(u' ', u'-'));
        QVERIFY(TestMedia::makeVideo(video, format));
        TFrameReader reader(video);
        const QImage ours = reader.FrameAt(400).Image;
        const QImage theirs = TestMedia::ffmpegFrameNumber(video, 10);
        QVERIFY2(!asFfmpeg || TestMedia::meanAbsDiff(ours, theirs) < 2.0,
                 qPrintable(QString::number(TestMedia::meanAbsDiff(ours, theirs))));
        // The bars' middles, where the picture is flat: the HD picture has a
        // grey eighth at each side and seven bars between, white first.
        for (int i = 0; i < bars.size(); ++i) {
            const QRgb shown = ours.pixel(int(ours.width() * (1.0 / 8 + (i + 1.5) * 0.75 / 7)), ours.height() / 3);
            QVERIFY2(std::abs(qRed(shown) - qRed(bars[i])) <= 3 && std::abs(qGreen(shown) - qGreen(bars[i])) <= 3
                         && std::abs(qBlue(shown) - qBlue(bars[i])) <= 3,
                     qPrintable(QStringLiteral("bar %1: %2 instead of %3")
                                    .arg(i)
                                    .arg(QColor(shown).name(), QColor(bars[i]).name())));
        }
    }

    // The same frame asked for again is the very same picture, also after
    // the reader has been elsewhere.
    void sameFrameSamePicture()
    {
        TFrameReader reader(Path(QStringLiteral("h264.avi")));
        const TFrameReader::TFrame first = reader.FrameAt(1010);
        QCOMPARE(reader.FrameAt(1019).Image.cacheKey(), first.Image.cacheKey());
        reader.FrameAt(200);
        const TFrameReader::TFrame again = reader.FrameAt(1000);
        QCOMPARE(again.StartMs, first.StartMs);
        QVERIFY(again.Image == first.Image);
    }

    // What holds no video gives no frame, at once.
    void noVideoNoFrame_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("empty file") << "empty.avi";
        QTest::newRow("missing file") << "missing.avi";
        QTest::newRow("not a video") << "text.avi";
        QTest::newRow("a pipe") << "pipe.avi";
        QTest::newRow("a folder") << "folder.avi";
    }

    void noVideoNoFrame()
    {
        QFETCH(QString, name);
        const QString path = Path(name);
        if (name == QLatin1String("empty.avi")) {
            QVERIFY(QFile(path).open(QIODevice::WriteOnly));
        } else if (name == QLatin1String("text.avi")) {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(QByteArray(4096, 'x'));
        } else if (name == QLatin1String("pipe.avi")) {
            QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        } else if (name == QLatin1String("folder.avi")) {
            QVERIFY(QDir(FDir.path()).mkdir(name));
        }
        QElapsedTimer waited;
        waited.start();
        TFrameReader reader(path);
        QVERIFY(!reader.IsOpen());
        QVERIFY(reader.FrameAt(0).IsNull());
        QCOMPARE(reader.ReorderDelayMs(), qint64(0));
        QVERIFY2(waited.elapsed() < 10000, qPrintable(QString::number(waited.elapsed())));
    }

    // Names FFmpeg could take for something else: a protocol, an escape, an
    // image sequence's pattern.
    void namesAreTakenAsTheyAre_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("colon") << "http:clip.avi";
        QTest::newRow("percent") << "100%25 %d.avi";
        QTest::newRow("non-ASCII") << "Überblick é.avi";
    }

    void namesAreTakenAsTheyAre()
    {
        QFETCH(QString, name);
        const QString path = Path(name);
        QFile::remove(path);
        QVERIFY(QFile::copy(Path(QStringLiteral("mjpeg.avi")), path));
        TFrameReader reader(path);
        QVERIFY(reader.IsOpen());
        QCOMPARE(TestMedia::frameNumberOf(reader.FrameAt(200).Image), 5);
    }

    // The source decodes on its own thread: the newest request is answered,
    // and another thread taking the same frame gets the same picture.
    void sourceAnswersTheNewestRequest()
    {
        TFrameSource source;
        QSignalSpy ready(&source, &TFrameSource::frameReady);
        source.SetFile(Path(QStringLiteral("h264.avi")));
        source.Request(100);
        source.Request(2000);
        source.Request(600);
        QVERIFY(ready.wait(30000));
        WaitUntilQuiet(ready);
        QCOMPARE(ready.size(), 1);
        QCOMPARE(ready.first().at(0).toLongLong(), qint64(600));
        const auto shown = ready.first().at(1).value<TFrameReader::TFrame>();
        QCOMPARE(TestMedia::frameNumberOf(shown.Image), 30);
        QCOMPARE(source.ReorderDelayMs(), qint64(40));

        TFrameReader::TFrame taken;
        std::thread other([&] { taken = source.Take(610); });
        other.join();
        QCOMPARE(taken.Image.cacheKey(), shown.Image.cacheKey());

        // Another file: nothing asked for before comes, the delay is the new one's.
        source.Request(1000);
        source.SetFile(Path(QStringLiteral("mjpeg.avi")));
        ready.clear();
        QTRY_COMPARE_WITH_TIMEOUT(source.ReorderDelayMs(), qint64(0), 10000);
        WaitUntilQuiet(ready);
        QCOMPARE(ready.size(), 0);
        QCOMPARE(TestMedia::frameNumberOf(source.Take(1000).Image), 25);
    }

    // A stop ends reading for good: a stopped reader opens nothing and
    // decodes nothing more, so its thread is free at once.
    void stopEndsReading()
    {
        std::stop_source stop;
        TFrameReader reader(Path(QStringLiteral("h264-1080p.avi")), stop.get_token());
        QVERIFY(reader.IsOpen());
        QCOMPARE(TestMedia::frameNumberOf(reader.FrameAt(400).Image), 10);
        stop.request_stop();
        QVERIFY(reader.FrameAt(2000).IsNull());

        std::stop_source stopped;
        stopped.request_stop();
        QVERIFY(!TFrameReader(Path(QStringLiteral("h264.avi")), stopped.get_token()).IsOpen());
    }

private:
    // Lets queued deliveries arrive.
    static void WaitUntilQuiet(QSignalSpy& ASpy)
    {
        int before = -1;
        while (before != ASpy.size()) {
            before = int(ASpy.size());
            ASpy.wait(300);
        }
    }
};

QTEST_MAIN(TFrameReaderTest)
#include "TFrameReaderTest.moc"
