// The player control against the machine's libvlc 3.0, under a real X server.
#include <QGuiApplication>
#include <QProcess>
#include <QScreen>
#include <QUrl>
#include <QtTest>

#include <memory>

#include "TestMedia.h"
#include "TestPlayer.h"
#include "engine/TVlc.h"
#include "engine/TVlcPlayer.h"
#include "engine/VlcLoader.h"

namespace {

constexpr int VideoLengthMs = 10000;
constexpr int VideoFps = 25;
const QSize VideoSize(640, 360);

using TestPlayer::waitForState;

// What the X server shows over the player: the video window and anything
// stacked above it, the input overlay included.
QImage grabScreenOver(QWidget* widget)
{
    const QPoint origin = widget->mapToGlobal(QPoint(0, 0));
    return QGuiApplication::primaryScreen()
        ->grabWindow(0, origin.x(), origin.y(), widget->width(), widget->height())
        .toImage()
        .convertToFormat(QImage::Format_RGB32);
}

// A real button click through the X server (XTEST), at a point of widget.
bool xClick(QWidget* widget, QPoint pos)
{
    const QPoint global = widget->mapToGlobal(pos);
    return QProcess::execute(QStringLiteral("xdotool"),
                             {QStringLiteral("mousemove"), QString::number(global.x()),
                              QString::number(global.y()), QStringLiteral("click"), QStringLiteral("1")})
        == 0;
}

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
    void pauseAndResumeDoNotToggle();
    void seekWhilePausedShowsTheFrame();
    void seekWhilePlayingReportsNothingItself();
    void clickOnVideo_data();
    void clickOnVideo();
    void snapshotWithoutVideo();
    void snapshotNotWritten();
    void audioVolumeRange();
    void playUnmutes();
    void missingMedia_data();
    void missingMedia();

private:
    TestPlayer::TClipFixture FClip;
};

void TVlcPlayerTest::initTestCase()
{
    TestMedia::VideoFormat format;
    format.durationMs = VideoLengthMs;
    format.size = VideoSize;
    format.fps = VideoFps;
    format.audioTonesHz = {440};
    FClip.start(QStringLiteral("clip.avi"), format);
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
    QVERIFY(!player.Snapshot(FClip.filePath(QStringLiteral("none.png"))));
    QVERIFY(!QFile::exists(FClip.filePath(QStringLiteral("none.png"))));
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
    TestPlayer::TEmbeddedPlayer e(VideoSize);
    e.player->Play(FClip.video);
    QVERIFY(waitForState(e.player, vlcPlayer_Playing));
    QCOMPARE(e.player->GetStateName(), QStringLiteral("Playing"));
    QTRY_VERIFY_WITH_TIMEOUT(e.player->GetVideoLenInMs() > 0, 10000);
    QVERIFY2(qAbs(e.player->GetVideoLenInMs() - VideoLengthMs) <= 1000 / VideoFps,
             qPrintable(QString::number(e.player->GetVideoLenInMs())));
    QCOMPARE(e.player->GetMediaMrl(), QUrl::fromLocalFile(FClip.video).toString(QUrl::FullyEncoded));
}

void TVlcPlayerTest::pauseAndResumeDoNotToggle()
{
    TestPlayer::TEmbeddedPlayer e(VideoSize);
    e.player->Play(FClip.video);
    QVERIFY(waitForState(e.player, vlcPlayer_Playing));

    // Resume while playing leaves it playing.
    e.player->Resume();
    QTest::qWait(300);
    QCOMPARE(e.player->GetState(), vlcPlayer_Playing);

    e.player->Pause();
    QVERIFY(waitForState(e.player, vlcPlayer_Paused));
    QCOMPARE(e.player->GetStateName(), QStringLiteral("Paused"));
    QVERIFY(e.player->IsPause());
    // Pause while paused does not play again.
    e.player->Pause();
    QTest::qWait(300);
    QCOMPARE(e.player->GetState(), vlcPlayer_Paused);

    e.player->Resume();
    QVERIFY(waitForState(e.player, vlcPlayer_Playing));
    QVERIFY(e.player->IsPlay());
}

void TVlcPlayerTest::seekWhilePausedShowsTheFrame()
{
    constexpr qint64 Target = 5000;
    TestPlayer::TEmbeddedPlayer e(VideoSize);
    e.player->Play(FClip.video);
    QVERIFY(waitForState(e.player, vlcPlayer_Playing));
    // Snapshots need the video output, which the engine makes with the first
    // frame; the frame sought to below is looked for on screen too.
    QTRY_VERIFY_WITH_TIMEOUT(TestPlayer::showsPicture(e.player), 15000);
    e.player->Pause();
    QVERIFY(waitForState(e.player, vlcPlayer_Paused));

    QList<qint64> reported;
    QList<QObject*> senders;
    e.player->OnMediaPlayerTimeChanged = [&](QObject* sender, qint64 time) {
        senders << sender;
        reported << time;
    };
    const QImage expected = TestMedia::ffmpegFrameAt(FClip.video, Target);
    QVERIFY(!expected.isNull());
    const QString still = FClip.filePath(QStringLiteral("paused.png"));

    // libvlc 3.0 reads paused before its pause has reached the decoders, and
    // loses the frame of a seek that arrives in between; the seek is made
    // again until the engine shows the frame.
    QString why;
    bool matched = false;
    QDeadlineTimer deadline(30000);
    while (!matched && !deadline.hasExpired()) {
        reported.clear();
        senders.clear();
        e.player->SetVideoPosInMs(Target);
        // Raised inside the call, before any event is handled.
        QCOMPARE(reported, QList<qint64>({Target}));
        QCOMPARE(senders, QList<QObject*>({e.player}));
        QTRY_COMPARE_WITH_TIMEOUT(e.player->GetVideoPosInMs(), Target, 10000);
        QCOMPARE(e.player->GetState(), vlcPlayer_Paused);
        // Without a frame to show the engine writes nothing.
        if (e.player->Snapshot(still))
            matched = TestMedia::framesMatch(QImage(still), expected, &why);
        else
            why = QStringLiteral("no snapshot written");
    }
    QVERIFY2(matched, qPrintable(why));

    // On screen the frame shows through the input overlay. The engine takes
    // its snapshot of a frame before it draws it.
    QTRY_VERIFY2_WITH_TIMEOUT(TestMedia::framesMatch(grabScreenOver(e.player), expected, &why), qPrintable(why),
                              10000);
}

void TVlcPlayerTest::seekWhilePlayingReportsNothingItself()
{
    TestPlayer::TEmbeddedPlayer e(VideoSize);
    e.player->Play(FClip.video);
    QVERIFY(waitForState(e.player, vlcPlayer_Playing));
    bool reported = false;
    e.player->OnMediaPlayerTimeChanged = [&](QObject*, qint64) { reported = true; };
    e.player->SetVideoPosInMs(2000);
    QVERIFY(!reported);
    // The engine's own reports follow through the event loop.
    QTRY_VERIFY_WITH_TIMEOUT(reported, 10000);
}

void TVlcPlayerTest::clickOnVideo_data()
{
    QTest::addColumn<bool>("playing");
    QTest::newRow("stopped") << false;
    QTest::newRow("playing") << true;
}

void TVlcPlayerTest::clickOnVideo()
{
    QFETCH(bool, playing);
    TestPlayer::TEmbeddedPlayer e(VideoSize);
    QVERIFY(QTest::qWaitForWindowExposed(&e.window));
    if (playing) {
        e.player->Play(FClip.video);
        QVERIFY(waitForState(e.player, vlcPlayer_Playing));
        QTRY_VERIFY_WITH_TIMEOUT(e.player->HasVout(), 15000);
    }
    QList<QObject*> clicks;
    QList<QPoint> presses;
    e.player->OnClick = [&](QObject* sender) { clicks << sender; };
    e.player->OnMouseDown = [&](QObject* sender, Qt::MouseButton button, Qt::KeyboardModifiers, int x, int y) {
        QCOMPARE(sender, e.player);
        QCOMPARE(button, Qt::LeftButton);
        presses << QPoint(x, y);
    };

    // With the engine handling the mouse the overlay steps aside. The X
    // server delivers both clicks in order, so once the second one has
    // arrived the first would have been seen.
    const QPoint first(100, 80);
    const QPoint second(VideoSize.width() / 2, VideoSize.height() / 2);
    e.player->SetMouseEventsHandler(mehVideoLAN);
    QVERIFY(xClick(e.player, first));
    e.player->SetMouseEventsHandler(mehComponent);
    QVERIFY(xClick(e.player, second));
    QTRY_COMPARE_WITH_TIMEOUT(presses, QList<QPoint>({second}), 10000);
    QTRY_COMPARE_WITH_TIMEOUT(clicks, QList<QObject*>({e.player}), 10000);
}

void TVlcPlayerTest::snapshotWithoutVideo()
{
    TestPlayer::TEmbeddedPlayer e(VideoSize);
    QVERIFY(e.player->GetPlayerHandle());
    const QString still = FClip.filePath(QStringLiteral("nothing.png"));
    QVERIFY(!e.player->Snapshot(still));
    QVERIFY(!e.player->Snapshot(still, 64, 36));
    QVERIFY(!QFile::exists(still));
}

void TVlcPlayerTest::snapshotNotWritten()
{
    TestPlayer::TEmbeddedPlayer e(VideoSize);
    e.player->Play(FClip.video);
    // The engine writes a snapshot only of a picture it has drawn.
    QTRY_VERIFY_WITH_TIMEOUT(TestPlayer::showsPicture(e.player), 15000);
    // The engine answers success here as well; no file, no snapshot.
    QVERIFY(!e.player->Snapshot(FClip.filePath(QStringLiteral("no-such-folder/still.png"))));
    // A written file, also one that replaces an older one, is a snapshot.
    const QString still = FClip.filePath(QStringLiteral("replaced.png"));
    QFile old(still);
    QVERIFY(old.open(QIODevice::WriteOnly));
    old.write("old");
    QVERIFY(old.flush());
    QVERIFY(old.setFileTime(QDateTime::currentDateTime().addSecs(-60), QFileDevice::FileModificationTime));
    old.close();
    QVERIFY(e.player->Snapshot(still));
    QCOMPARE(QImage(still).size(), VideoSize);
}

void TVlcPlayerTest::audioVolumeRange()
{
    // The dummy output has no volume; ALSA's null device has one and plays nowhere.
    TestPlayer::TEmbeddedPlayer e(VideoSize);
    e.player->SetAudioOutput(aoDefault);
    e.player->SetStartOptions(TestPlayer::StartOptions
                              + QStringList {QStringLiteral("--aout=alsa"), QStringLiteral("--alsa-audio-device=null")});
    e.player->SetAudioVolume(0);
    QCOMPARE(e.player->GetAudioVolume(), -1);
    QList<float> reports;
    e.player->OnMediaPlayerAudioVolume = [&](QObject*, float volume) { reports << volume; };
    e.player->Play(FClip.video);
    QVERIFY(waitForState(e.player, vlcPlayer_Playing));
    // The engine reports -1 while it has no audio output, then its own
    // volume; the 0 given before the first play never reached it.
    QTRY_VERIFY_WITH_TIMEOUT(!reports.isEmpty() && reports.last() >= 0 && e.player->GetAudioVolume() >= 0, 10000);
    for (const float volume : std::as_const(reports))
        QVERIFY2(volume == -1.0f || (volume >= 0 && volume <= 2), qPrintable(QString::number(volume)));
    QCOMPARE(e.player->GetAudioVolume(), 100);
    // While its output starts up (again) the engine may refuse a volume or
    // go back to its own, so a value is set until the engine holds it.
    const auto holds = [&](int volume) {
        e.player->SetAudioVolume(volume);
        return e.player->GetAudioVolume() == volume;
    };
    QTRY_VERIFY_WITH_TIMEOUT(holds(50), 10000);
    // Out of range, nothing reaches the engine (the calls themselves are
    // counted against the recording fake).
    e.player->SetAudioVolume(201);
    QVERIFY(e.player->GetAudioVolume() != 201);
    QTRY_VERIFY_WITH_TIMEOUT(holds(200), 10000);
    QTRY_VERIFY_WITH_TIMEOUT(holds(0), 10000);
}

void TVlcPlayerTest::playUnmutes()
{
    TestPlayer::TEmbeddedPlayer e(VideoSize);
    e.player->SetAudioMute(true);
    QVERIFY(!e.player->GetAudioMute());
    e.player->Play(FClip.video);
    QVERIFY(waitForState(e.player, vlcPlayer_Playing));
    e.player->SetAudioMute(true);
    QVERIFY(e.player->GetAudioMute());
    e.player->Play(FClip.video);
    QVERIFY(!e.player->GetAudioMute());
}

void TVlcPlayerTest::missingMedia_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("mrl");
    // A location keeps its text; a path reads back as a file URL.
    const QString missing = FClip.filePath(QStringLiteral("missing.avi"));
    const QString url = QUrl::fromLocalFile(missing).toString(QUrl::FullyEncoded);
    QTest::newRow("location") << url << url;
    QTest::newRow("unknown scheme") << QStringLiteral("nosuch://clip.avi") << QStringLiteral("nosuch://clip.avi");
    // Without a scheme the engine would take the text for a network address.
    QTest::newRow("missing path") << missing << url;
}

void TVlcPlayerTest::missingMedia()
{
    QFETCH(QString, text);
    QFETCH(QString, mrl);
    auto e = std::make_unique<TestPlayer::TEmbeddedPlayer>(VideoSize);
    bool failed = false;
    e->player->OnMediaPlayerEncounteredError = [&](QObject*) { failed = true; };
    e->player->Play(text);
    QCOMPARE(e->player->GetMediaMrl(), mrl);
    QTRY_VERIFY_WITH_TIMEOUT(failed, 10000);
    QVERIFY(!e->player->IsPlay());
    // Nothing is left opening: the control stops the engine and goes.
    e.reset();
}

QTEST_MAIN(TVlcPlayerTest)
#include "TVlcPlayerTest.moc"
