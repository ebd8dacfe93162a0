// The player control against the machine's libvlc 3.0, under a real X server.
#include <QProcess>
#include <QScreen>
#include <QTemporaryDir>
#include <QUrl>
#include <QtTest>

#include <memory>

#include "TestMedia.h"
#include "engine/TVlc.h"
#include "engine/TVlcPlayer.h"
#include "engine/VlcLoader.h"

namespace {

constexpr int VideoLengthMs = 10000;
constexpr int VideoFps = 25;
const QSize VideoSize(640, 360);

// Xvfb has no GPU: the plain X11 output works there.
const QStringList TestStartOptions {QStringLiteral("--gl=none"), QStringLiteral("--gles2=none"), QStringLiteral("--aout=alsa"), QStringLiteral("--alsa-audio-device=null"), QStringLiteral("--file-logging"), QStringLiteral("--logfile=/tmp/vlclog.txt"), QStringLiteral("--log-verbose=2")};

// A shown top-level window with a player embedded over its whole area.
struct TEmbeddedPlayer {
    QWidget window;
    TVlcPlayer* player;

    TEmbeddedPlayer()
    {
        window.resize(VideoSize);
        window.move(0, 0);
        window.show();
        player = new TVlcPlayer(&window);
        player->SetStartOptions(TestStartOptions);
        player->SetParentFromHWND(window.winId(), 0, 0, VideoSize.width(), VideoSize.height());
    }
};

} // namespace

class TVlcPlayerTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();

    void startOptions_data();
    void startOptions();
    void parentLocationTruncates();
    void parentOnlyOnce();
    void mouseEventsHandlerMovesOverlay();
    void snapShotFmt_data();
    void snapShotFmt();
    void videoServiceRouting_data();
    void videoServiceRouting();
    void operationsWithoutPlayer();

    void playReachesPlaying();
    void audioVolumeRange();

private:
    bool waitForState(TVlcPlayer* player, TVlcPlayerState state, int timeoutMs = 10000);
    // Pauses at timeMs and waits until the engine shows that frame.
    bool pauseAt(TVlcPlayer* player, qint64 timeMs);

    QTemporaryDir FDir;
    QString FVideo;
};

void TVlcPlayerTest::initTestCase()
{
    QVERIFY(FDir.isValid());
    TestMedia::isolateHome(FDir.filePath(QStringLiteral("home")));
    FVideo = FDir.filePath(QStringLiteral("clip.avi"));
    TestMedia::VideoSpec spec;
    spec.durationMs = VideoLengthMs;
    spec.size = VideoSize;
    spec.fps = VideoFps;
    spec.audioTonesHz = {440};
    QVERIFY(TestMedia::makeVideo(FVideo, spec));
    LibVlcLoadInstalled();
    QVERIFY2(LibVlcLastError().isEmpty(), qPrintable(LibVlcLastError()));
}

bool TVlcPlayerTest::waitForState(TVlcPlayer* player, TVlcPlayerState state, int timeoutMs)
{
    QDeadlineTimer deadline(timeoutMs);
    while (player->GetState() != state && !deadline.hasExpired())
        QTest::qWait(10);
    return player->GetState() == state;
}

bool TVlcPlayerTest::pauseAt(TVlcPlayer* player, qint64 timeMs)
{
    return false;
}

void TVlcPlayerTest::startOptions_data()
{
    QTest::addColumn<QStringList>("user");
    QTest::addColumn<bool>("spuShow");
    QTest::addColumn<int>("videoOutput");
    QTest::addColumn<QStringList>("expected");

    const QStringList fixed {"--ignore-config", "--no-one-instance", "--intf=dummy", "--quiet", "--drop-late-frames"};
    const QStringList flags {"--osd", "--no-video-on-top", "--no-overlay", "--no-snapshot-preview"};
    QTest::newRow("defaults") << QStringList() << true << int(voDefault)
                              << fixed + QStringList {"--spu"} + flags;
    QTest::newRow("user lines first, duplicate kept in the user's place")
        << QStringList {"--verbose=0", "--quiet"} << true << int(voDefault)
        << QStringList {"--verbose=0", "--quiet", "--ignore-config", "--no-one-instance", "--intf=dummy",
                        "--drop-late-frames", "--spu"}
               + flags;
    QTest::newRow("no subtitles") << QStringList() << false << int(voDefault)
                                  << fixed + QStringList {"--no-spu"} + flags;
    QTest::newRow("opengl output") << QStringList() << true << int(voOpenGl)
                                   << fixed + QStringList {"--spu"} + flags + QStringList {"--vout=opengl"};
}

void TVlcPlayerTest::startOptions()
{
    QFETCH(QStringList, user);
    QFETCH(bool, spuShow);
    QFETCH(int, videoOutput);
    QFETCH(QStringList, expected);

    TVlcPlayer player;
    player.SetStartOptions(user);
    player.SetSpuShow(spuShow);
    player.SetVideoOutput(static_cast<TVideoOutput>(videoOutput));
    QCOMPARE(player.GetVLC()->StartOptions(), expected);
    // The list is built once: later settings do not reach it.
    player.SetSpuShow(!spuShow);
    QCOMPARE(player.GetVLC()->StartOptions(), expected);
}

void TVlcPlayerTest::parentLocationTruncates()
{
    QWidget window;
    window.resize(800, 600);
    window.show();
    TVlcPlayer player(&window);
    player.SetParentLocation(1, 2, 3, 4);
    QCOMPARE(player.parentWidget(), nullptr);

    player.SetParentFromHWND(window.winId(), 0, 0, 100, 100);
    QWidget* container = player.parentWidget();
    QVERIFY(container);
    QCOMPARE(container->parentWidget(), &window);
    QVERIFY(container->isVisible());
    QVERIFY(player.isVisible());

    player.SetParentLocation(10.9f, 20.2f, 640.7f, 360.5f);
    QCOMPARE(container->geometry(), QRect(10, 20, 640, 360));
    QCOMPARE(player.geometry(), QRect(0, 0, 640, 360));
    QCOMPARE(player.PlayerWinCtrl()->geometry(), QRect(0, 0, 640, 360));
    QCOMPARE(player.MouseEventWinCtrl()->Bounds(), QRect(0, 0, 640, 360));
}

void TVlcPlayerTest::parentOnlyOnce()
{
    QWidget window;
    window.resize(400, 300);
    window.show();
    auto* player = new TVlcPlayer(&window);
    player->SetParentFromHWND(window.winId(), 0, 0, 100, 100);
    QWidget* container = player->parentWidget();
    player->SetParentFromHWND(window.winId(), 5, 5, 50, 50);
    QCOMPARE(player->parentWidget(), container);
    QCOMPARE(window.findChildren<TVlcPlayer*>().size(), 1);
    QCOMPARE(container->geometry(), QRect(0, 0, 100, 100));
}

void TVlcPlayerTest::mouseEventsHandlerMovesOverlay()
{
    QWidget window;
    window.resize(400, 300);
    window.show();
    TVlcPlayer player(&window);
    player.SetParentFromHWND(window.winId(), 0, 0, 200, 100);
    QCOMPARE(player.MouseEventsHandler(), mehComponent);

    player.SetMouseEventsHandler(mehVideoLAN);
    QCOMPARE(player.MouseEventWinCtrl()->Bounds(), QRect(-1, -1, 1, 1));
    player.SetBounds(0, 0, 300, 150);
    QCOMPARE(player.MouseEventWinCtrl()->Bounds(), QRect(-1, -1, 1, 1));
    QCOMPARE(player.PlayerWinCtrl()->geometry(), QRect(0, 0, 300, 150));

    player.SetMouseEventsHandler(mehComponent);
    QCOMPARE(player.MouseEventWinCtrl()->Bounds(), QRect(0, 0, 300, 150));
}

void TVlcPlayerTest::snapShotFmt_data()
{
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("stored");
    QTest::newRow("upper-case JPG") << "png" << "JPG" << "jpg";
    QTest::newRow("jpg") << "png" << "jpg" << "jpg";
    QTest::newRow("upper-case PNG") << "jpg" << "PNG" << "png";
    QTest::newRow("jpeg is not jpg") << "jpg" << "jpeg" << "png";
    QTest::newRow("other format") << "jpg" << "bmp" << "png";
    QTest::newRow("empty") << "jpg" << "" << "png";
}

void TVlcPlayerTest::snapShotFmt()
{
    QFETCH(QString, before);
    QFETCH(QString, value);
    QFETCH(QString, stored);
    TVlcPlayer player;
    QCOMPARE(player.SnapShotFmt(), QStringLiteral("png"));
    player.SetSnapShotFmt(before);
    player.SetSnapShotFmt(value);
    QCOMPARE(player.SnapShotFmt(), stored);
}

void TVlcPlayerTest::videoServiceRouting_data()
{
    QTest::addColumn<QString>("mrl");
    QTest::addColumn<bool>("servicePage");
    QTest::newRow("bare host") << "https://youtube.com/watch?v=x" << true;
    QTest::newRow("www host") << "http://www.youtube.com/watch?v=x" << true;
    QTest::newRow("upper case") << "HTTPS://WWW.YOUTUBE.COM/WATCH?V=X" << true;
    QTest::newRow("surrounding blanks") << "  \thttps://www.youtube.com/watch?v=x \n" << true;
    QTest::newRow("host only") << "https://youtube.com" << true;
    QTest::newRow("other host") << "https://www.example.com/youtube.com" << false;
    QTest::newRow("sub-domain") << "https://m.youtube.com/watch?v=x" << false;
    QTest::newRow("other scheme") << "rtsp://youtube.com/x" << false;
    QTest::newRow("no scheme") << "youtube.com/watch?v=x" << false;
    QTest::newRow("local path") << "/videos/youtube.com.avi" << false;
}

void TVlcPlayerTest::videoServiceRouting()
{
    QFETCH(QString, mrl);
    QFETCH(bool, servicePage);
    QCOMPARE(TVlcPlayer::IsVideoServicePage(mrl), servicePage);
}

void TVlcPlayerTest::operationsWithoutPlayer()
{
    TVlcPlayer player;
    QCOMPARE(player.GetStateName(), QStringLiteral("Player not initialised"));
    QCOMPARE(player.GetState(), vlcPlayer_NothingSpecial);
    QVERIFY(!player.Snapshot(FDir.filePath(QStringLiteral("none.png"))));
    QVERIFY(!QFile::exists(FDir.filePath(QStringLiteral("none.png"))));
    player.SetAudioVolume(0);
    QCOMPARE(player.GetAudioVolume(), -1);
    QCOMPARE(player.GetVideoLenInMs(), 0);
    QCOMPARE(player.GetVideoFps(), -1.0f);
    QCOMPARE(player.GetPlayRate(), -1);
    QCOMPARE(player.GetMediaMrl(), QString());
    bool reported = false;
    player.OnMediaPlayerTimeChanged = [&](QObject*, qint64) { reported = true; };
    player.SetVideoPosInMs(5000);
    QVERIFY(!reported);
}

void TVlcPlayerTest::playReachesPlaying()
{
    TEmbeddedPlayer e;
    e.player->Play(FVideo);
    QVERIFY(waitForState(e.player, vlcPlayer_Playing));
    QCOMPARE(e.player->GetStateName(), QStringLiteral("Playing"));
    QTRY_VERIFY(e.player->GetVideoLenInMs() > 0);
    QVERIFY2(qAbs(e.player->GetVideoLenInMs() - VideoLengthMs) <= 1000 / VideoFps,
             qPrintable(QString::number(e.player->GetVideoLenInMs())));
    QCOMPARE(e.player->GetMediaMrl(), QUrl::fromLocalFile(FVideo).toString(QUrl::FullyEncoded));
}

void TVlcPlayerTest::audioVolumeRange()
{
    TEmbeddedPlayer e;
    e.player->SetAudioVolume(0);
    QCOMPARE(e.player->GetAudioVolume(), -1);
    e.player->Play(FVideo);
    QVERIFY(waitForState(e.player, vlcPlayer_Playing));
    qDebug() << e.player->GetAudioVolume();
    e.player->SetAudioVolume(50);
    qDebug() << e.player->GetAudioVolume();
    QTest::qWait(200);
    qDebug() << e.player->GetAudioVolume();
}

QTEST_MAIN(TVlcPlayerTest)
#include "TVlcPlayerTest.moc"
