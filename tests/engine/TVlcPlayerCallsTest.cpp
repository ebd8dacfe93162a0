// What the player control hands to libvlc, read back call by call from a
// recording fake libvlc.so.5, and how engine reports travel from a foreign
// thread through the callback the control registered to its handlers. The
// fake answers neutrally: nothing is playing, and every object it creates is
// the same block.
#include <QTemporaryDir>
#include <QtTest>

#include <atomic>
#include <functional>
#include <memory>
#include <thread>

#include "FakeLibVlc.h"
#include "engine/TVlcPlayer.h"
#include "engine/VlcEventMessage.h"
#include "engine/VlcLoader.h"

namespace {

const QString Fake = QStringLiteral("fakevlc_player");

QStringList names(const QList<FakeLibVlc::Call>& calls)
{
    QStringList result;
    for (const FakeLibVlc::Call& call : calls)
        result.append(call.name);
    return result;
}

// The recorded calls of the given entry points, one text each: the name and
// the arguments after the first (the engine player, the same fake block for
// every object).
QStringList callsOf(const QStringList& entries)
{
    QStringList result;
    for (const FakeLibVlc::Call& call : FakeLibVlc::calls(Fake)) {
        if (entries.contains(call.name))
            result.append((QStringList {call.name} + call.arguments.mid(1)).join(QLatin1Char(' ')));
    }
    return result;
}

QString eventCall(const char* entry, int type)
{
    return QStringLiteral("%1 %2").arg(QLatin1String(entry)).arg(type);
}

// The 25 attach calls, ascending, and the 25 detach calls, descending, with
// the callback and user data left out.
QStringList attachCalls()
{
    QStringList result;
    for (const int type : VlcAttachedEventTypes)
        result.append(eventCall("libvlc_event_attach", type));
    return result;
}

QStringList detachCalls()
{
    QStringList result;
    for (auto type = VlcAttachedEventTypes.rbegin(); type != VlcAttachedEventTypes.rend(); ++type)
        result.append(eventCall("libvlc_event_detach", *type));
    return result;
}

// Attach and detach calls as above: name and event type only.
QStringList eventCalls()
{
    QStringList result;
    for (const FakeLibVlc::Call& call : FakeLibVlc::calls(Fake)) {
        if (call.name == QLatin1String("libvlc_event_attach") || call.name == QLatin1String("libvlc_event_detach"))
            result.append(call.name + QLatin1Char(' ') + call.arguments.value(1));
    }
    return result;
}

void* pointerOf(const QString& text)
{
    bool ok = false;
    const quintptr value = QString(text).remove(QStringLiteral("0x")).toULongLong(&ok, 16);
    return ok ? reinterpret_cast<void*>(value) : nullptr;
}

// The callback and the user data of the last attach call.
struct TRegistration {
    libvlc_callback_t callback = nullptr;
    void* data = nullptr;
};

TRegistration lastRegistration()
{
    const QList<FakeLibVlc::Call> attaches = FakeLibVlc::callsOf(Fake, QStringLiteral("libvlc_event_attach"));
    if (attaches.isEmpty())
        return {};
    const QStringList& arguments = attaches.last().arguments;
    return {reinterpret_cast<libvlc_callback_t>(pointerOf(arguments.value(2))), pointerOf(arguments.value(3))};
}

// Runs the registered callback on a thread of its own, as the engine does.
void reportFromEngineThread(const TRegistration& registration, const libvlc_event_t& event)
{
    QVERIFY(registration.callback);
    std::thread engine([&] { registration.callback(&event, registration.data); });
    engine.join();
}

// A shown window that owns a player placed inside it.
struct TPlacedPlayer {
    QWidget window;
    std::unique_ptr<TVlcPlayer> player;

    TPlacedPlayer()
    {
        window.resize(320, 240);
        window.show();
        player = std::make_unique<TVlcPlayer>(&window);
        player->SetParentFromHWND(window.winId(), 0, 0, 320, 240);
    }
};

// Every handler of the player writes what it got to one list: the handler's
// name and its value.
void recordAllHandlers(TVlcPlayer& player, QStringList* log)
{
    const auto notify = [&player, log](const char* name) {
        return [&player, log, name](QObject* sender) {
            log->append(QLatin1String(name) + (sender == &player ? QString() : QStringLiteral(" wrong sender")));
        };
    };
    const auto value = [&player, log](const char* name) {
        return [&player, log, name](QObject* sender, auto v) {
            QString text;
            if constexpr (std::is_same_v<decltype(v), QString>)
                text = v;
            else
                text = QVariant::fromValue(v).toString();
            log->append(QLatin1String(name) + QLatin1Char(' ') + text
                        + (sender == &player ? QString() : QStringLiteral(" wrong sender")));
        };
    };
    player.OnMediaPlayerMediaChanged = value("MediaChanged");
    player.OnMediaPlayerNothingSpecial = notify("NothingSpecial");
    player.OnMediaPlayerOpening = notify("Opening");
    player.OnMediaPlayerBuffering = notify("Buffering");
    player.OnMediaPlayerPlaying = notify("Playing");
    player.OnMediaPlayerPaused = notify("Paused");
    player.OnMediaPlayerStopped = notify("Stopped");
    player.OnMediaPlayerForward = notify("Forward");
    player.OnMediaPlayerBackward = notify("Backward");
    player.OnMediaPlayerEndReached = notify("EndReached");
    player.OnMediaPlayerEncounteredError = notify("EncounteredError");
    player.OnMediaPlayerTimeChanged = value("TimeChanged");
    player.OnMediaPlayerPositionChanged = value("PositionChanged");
    player.OnMediaPlayerSeekableChanged = value("SeekableChanged");
    player.OnMediaPlayerPausableChanged = value("PausableChanged");
    player.OnMediaPlayerTitleChanged = value("TitleChanged");
    player.OnMediaPlayerSnapshotTaken = value("SnapshotTaken");
    player.OnMediaPlayerLengthChanged = value("LengthChanged");
    player.OnMediaPlayerVideoOutChanged = value("VideoOutChanged");
    player.OnMediaPlayerScrambledChanged = value("ScrambledChanged");
    player.OnMediaPlayerCorked = notify("Corked");
    player.OnMediaPlayerUnCorked = notify("UnCorked");
    player.OnMediaPlayerMuted = notify("Muted");
    player.OnMediaPlayerUnMuted = notify("UnMuted");
    player.OnMediaPlayerAudioVolume = value("AudioVolume");
}

using TFillEvent = std::function<void(libvlc_event_t&)>;
using TPlayerOperation = std::function<void(TVlcPlayer&)>;

} // namespace

Q_DECLARE_METATYPE(TFillEvent)
Q_DECLARE_METATYPE(TPlayerOperation)

class TVlcPlayerCallsTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();

    void noEngineCallWithoutPlay();
    void firstHandleStartsTheEngine();
    void everyHandleReappliesTitleAndEvents();
    void withoutUseEventsNothingIsAttached();
    void destroyStopsAndReleasesInOrder();
    void playNormalSequence_data();
    void playNormalSequence();
    void rangesGuarded_data();
    void rangesGuarded();

    void reportReachesItsHandler_data();
    void reportReachesItsHandler();
    void engineHandlerRunsOnTheReportingThread();
    void reportsOutsideTheTableAndWithoutDataPostNothing();
    void reportAfterDisablePostsNothing();
    void reportsAboutAnEarlierMediaAreDropped();
    void disableWhileTheEngineReports();
    void snapshotNameIsCopied();
    void discardedMediaReportReleasesItsReference();
};

void TVlcPlayerCallsTest::initTestCase()
{
    LibVlcLoad(FakeLibVlc::dir(Fake));
    QVERIFY2(LibVlcLastError().isEmpty(), qPrintable(LibVlcLastError()));
}

void TVlcPlayerCallsTest::init()
{
    FakeLibVlc::clearCalls(Fake);
}

void TVlcPlayerCallsTest::noEngineCallWithoutPlay()
{
    {
        TPlacedPlayer p;
        TVlcPlayer& player = *p.player;
        player.SetParentLocation(5, 5, 200, 100);
        player.SetMouseEventsHandler(mehVideoLAN);
        player.SetTitleShow(true);
        player.SetDeinterlaceFilter(deON);
        player.SetSpuShow(false);
        player.EventsEnable();
        player.EventsDisable();
        player.Pause();
        player.Resume();
        player.Stop();
        player.NextFrame();
        player.SetVideoPosInMs(1000);
        player.SetVideoPosInPercent(50);
        player.SetAudioMute(true);
        player.SetAudioVolume(50);
        player.SetPlayRate(100);
        QVERIFY(!player.Snapshot(QStringLiteral("/tmp/none.png")));
        QCOMPARE(player.GetStateName(), QStringLiteral("Player not initialised"));
        QCOMPARE(player.GetMediaMrl(), QString());
        QVERIFY(!player.GetAudioMute());
    }
    QCOMPARE(names(FakeLibVlc::calls(Fake)), QStringList());
}

void TVlcPlayerCallsTest::firstHandleStartsTheEngine()
{
    TVlcPlayer player;
    libvlc_media_player_t* handle = player.GetPlayerHandle();
    QVERIFY(handle);

    const QStringList started = names(FakeLibVlc::calls(Fake));
    const qsizetype created = started.indexOf(QStringLiteral("libvlc_media_player_new"));
    QVERIFY(started.indexOf(QStringLiteral("libvlc_new")) >= 0);
    QVERIFY(created > started.indexOf(QStringLiteral("libvlc_new")));
    QCOMPARE(FakeLibVlc::callsOf(Fake, QStringLiteral("libvlc_media_player_new")).size(), 1);

    const QStringList expected = QStringList {"libvlc_video_set_mouse_input 1", "libvlc_video_set_key_input 1",
                                              "libvlc_media_player_set_video_title_display -1 2000"}
                               + attachCalls();
    QCOMPARE(callsOf({"libvlc_video_set_mouse_input", "libvlc_video_set_key_input",
                      "libvlc_media_player_set_video_title_display"})
                 + eventCalls(),
             expected);
    // Every registration names the same callback and the control.
    const QList<FakeLibVlc::Call> attaches = FakeLibVlc::callsOf(Fake, QStringLiteral("libvlc_event_attach"));
    for (const FakeLibVlc::Call& attach : attaches) {
        QCOMPARE(attach.arguments.value(2), attaches.first().arguments.value(2));
        QCOMPARE(pointerOf(attach.arguments.value(3)), static_cast<void*>(&player));
    }
}

void TVlcPlayerCallsTest::everyHandleReappliesTitleAndEvents()
{
    TVlcPlayer player;
    QVERIFY(player.GetPlayerHandle());
    player.SetTitleShow(true);
    player.SetTitleShowPos(vlcPosBottomRight);
    player.SetTitleShowTimeOut(500);
    FakeLibVlc::clearCalls(Fake);

    QVERIFY(player.GetPlayerHandle());
    QCOMPARE(FakeLibVlc::callsOf(Fake, QStringLiteral("libvlc_media_player_new")).size(), 0);
    QCOMPARE(callsOf({"libvlc_media_player_set_video_title_display"}),
             QStringList({"libvlc_media_player_set_video_title_display 8 500"}));
    // Detached first, so each event stays attached once.
    QCOMPARE(eventCalls(), detachCalls() + attachCalls());

    FakeLibVlc::clearCalls(Fake);
    player.EventsEnable();
    player.EventsEnable();
    QCOMPARE(eventCalls(), detachCalls() + attachCalls() + detachCalls() + attachCalls());
}

void TVlcPlayerCallsTest::withoutUseEventsNothingIsAttached()
{
    TVlcPlayer player;
    player.SetUseEvents(false);
    QVERIFY(player.GetPlayerHandle());
    QCOMPARE(FakeLibVlc::callsOf(Fake, QStringLiteral("libvlc_media_player_event_manager")).size(), 0);
    QCOMPARE(eventCalls(), QStringList());
}

void TVlcPlayerCallsTest::destroyStopsAndReleasesInOrder()
{
    auto player = std::make_unique<TVlcPlayer>();
    QVERIFY(player->GetPlayerHandle());
    FakeLibVlc::clearCalls(Fake);
    player.reset();
    const QStringList expected = detachCalls()
                               + QStringList {"libvlc_media_player_stop", "libvlc_media_player_is_playing",
                                              "libvlc_media_player_release", "libvlc_release"};
    QStringList seen;
    for (const FakeLibVlc::Call& call : FakeLibVlc::calls(Fake)) {
        const bool event = call.name == QLatin1String("libvlc_event_detach");
        seen.append(event ? call.name + QLatin1Char(' ') + call.arguments.value(1) : call.name);
    }
    QCOMPARE(seen, expected);
}

void TVlcPlayerCallsTest::playNormalSequence_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("media");
    const QString existing = QFINDTESTDATA("TVlcPlayerCallsTest.cpp");
    QTest::newRow("existing file") << existing << QStringLiteral("libvlc_media_new_path ") + existing;
    QTest::newRow("missing file") << QStringLiteral("/nowhere/clip.avi")
                                  << QStringLiteral("libvlc_media_new_path /nowhere/clip.avi");
    QTest::newRow("location") << QStringLiteral("http://example.com/clip.avi")
                              << QStringLiteral("libvlc_media_new_location http://example.com/clip.avi");
}

void TVlcPlayerCallsTest::playNormalSequence()
{
    QFETCH(QString, text);
    QFETCH(QString, media);
    TPlacedPlayer p;
    p.player->SetDeinterlaceFilter(deON);
    p.player->SetDeinterlaceMode(dmYADIF);
    // The fake's one block stands for every object, the new media included.
    const QString block = QString::asprintf("%p", static_cast<void*>(p.player->GetPlayerHandle()));
    p.player->SetAudioMute(true);
    FakeLibVlc::clearCalls(Fake);

    p.player->Play(text);
    const QString window = QString::number(p.player->PlayerWinCtrl()->winId());
    QCOMPARE(callsOf({"libvlc_media_player_stop", "libvlc_media_player_is_playing", "libvlc_media_new_path",
                      "libvlc_media_new_location", "libvlc_media_add_option", "libvlc_media_player_set_media",
                      "libvlc_media_release", "libvlc_media_player_set_xwindow",
                      "libvlc_media_player_set_video_title_display", "libvlc_media_player_play"}),
             QStringList({"libvlc_media_player_set_video_title_display -1 2000", "libvlc_media_player_stop",
                          "libvlc_media_player_is_playing", media, "libvlc_media_add_option deinterlace=1",
                          "libvlc_media_add_option deinterlace-mode=yadif",
                          // Decoded in software on every machine; an AVI's missing index is built.
                          "libvlc_media_add_option avcodec-hw=none", "libvlc_media_add_option avi-index=3",
                          "libvlc_media_player_set_media " + block,
                          "libvlc_media_release", "libvlc_media_player_set_xwindow " + window,
                          "libvlc_media_player_set_video_title_display -1 2000", "libvlc_media_player_play"}));
    QVERIFY(!p.player->GetAudioMute());
}

void TVlcPlayerCallsTest::rangesGuarded_data()
{
    QTest::addColumn<TPlayerOperation>("operation");
    QTest::addColumn<QStringList>("expected");
    const auto volume = [](int v) { return TPlayerOperation([v](TVlcPlayer& p) { p.SetAudioVolume(v); }); };
    const auto rate = [](int r) { return TPlayerOperation([r](TVlcPlayer& p) { p.SetPlayRate(r); }); };
    QTest::newRow("volume -1") << volume(-1) << QStringList();
    QTest::newRow("volume 0") << volume(0) << QStringList {"libvlc_audio_set_volume 0"};
    QTest::newRow("volume 200") << volume(200) << QStringList {"libvlc_audio_set_volume 200"};
    QTest::newRow("volume 201") << volume(201) << QStringList();
    QTest::newRow("rate 0") << rate(0) << QStringList();
    QTest::newRow("rate 1") << rate(1) << QStringList {"libvlc_media_player_set_rate 0.01"};
    QTest::newRow("rate 1000") << rate(1000) << QStringList {"libvlc_media_player_set_rate 10"};
    QTest::newRow("rate 1001") << rate(1001) << QStringList();
    // The fake's player is never playing or paused.
    QTest::newRow("pause when not playing") << TPlayerOperation([](TVlcPlayer& p) { p.Pause(); }) << QStringList();
    QTest::newRow("resume when not paused") << TPlayerOperation([](TVlcPlayer& p) { p.Resume(); }) << QStringList();
}

void TVlcPlayerCallsTest::rangesGuarded()
{
    QFETCH(TPlayerOperation, operation);
    QFETCH(QStringList, expected);
    TVlcPlayer player;
    QVERIFY(player.GetPlayerHandle());
    FakeLibVlc::clearCalls(Fake);
    operation(player);
    QCOMPARE(callsOf({"libvlc_audio_set_volume", "libvlc_media_player_set_rate", "libvlc_media_player_pause",
                      "libvlc_media_player_play"}),
             expected);
}

void TVlcPlayerCallsTest::reportReachesItsHandler_data()
{
    QTest::addColumn<TFillEvent>("fill");
    QTest::addColumn<QString>("handled");
    const auto plain = [](int type, const char* handled) {
        QTest::newRow(handled) << TFillEvent([type](libvlc_event_t& e) { e.type = type; }) << QString::fromLatin1(handled);
    };
    plain(libvlc_MediaPlayerNothingSpecial, "NothingSpecial");
    plain(libvlc_MediaPlayerOpening, "Opening");
    plain(libvlc_MediaPlayerBuffering, "Buffering");
    plain(libvlc_MediaPlayerPlaying, "Playing");
    plain(libvlc_MediaPlayerPaused, "Paused");
    plain(libvlc_MediaPlayerStopped, "Stopped");
    plain(libvlc_MediaPlayerForward, "Forward");
    plain(libvlc_MediaPlayerBackward, "Backward");
    plain(libvlc_MediaPlayerEndReached, "EndReached");
    plain(libvlc_MediaPlayerEncounteredError, "EncounteredError");
    plain(libvlc_MediaPlayerCorked, "Corked");
    plain(libvlc_MediaPlayerUncorked, "UnCorked");
    plain(libvlc_MediaPlayerMuted, "Muted");
    plain(libvlc_MediaPlayerUnmuted, "UnMuted");

    QTest::newRow("time beyond 2^32") << TFillEvent([](libvlc_event_t& e) {
        e.type = libvlc_MediaPlayerTimeChanged;
        e.u.media_player_time_changed.new_time = 0x2'8000'0001;
    }) << QStringLiteral("TimeChanged 10737418241");
    QTest::newRow("length of 2^31") << TFillEvent([](libvlc_event_t& e) {
        e.type = libvlc_MediaPlayerLengthChanged;
        e.u.media_player_length_changed.new_length = 0x8000'0000;
    }) << QStringLiteral("LengthChanged 2147483648");
    QTest::newRow("position") << TFillEvent([](libvlc_event_t& e) {
        e.type = libvlc_MediaPlayerPositionChanged;
        e.u.media_player_position_changed.new_position = 0.5f;
    }) << QStringLiteral("PositionChanged 0.5");
    QTest::newRow("seekable") << TFillEvent([](libvlc_event_t& e) {
        e.type = libvlc_MediaPlayerSeekableChanged;
        e.u.media_player_seekable_changed.new_seekable = 1;
    }) << QStringLiteral("SeekableChanged true");
    QTest::newRow("not pausable") << TFillEvent([](libvlc_event_t& e) {
        e.type = libvlc_MediaPlayerPausableChanged;
        e.u.media_player_pausable_changed.new_pausable = 0;
    }) << QStringLiteral("PausableChanged false");
    QTest::newRow("title") << TFillEvent([](libvlc_event_t& e) {
        e.type = libvlc_MediaPlayerTitleChanged;
        e.u.media_player_title_changed.new_title = 3;
    }) << QStringLiteral("TitleChanged 3");
    QTest::newRow("video outputs") << TFillEvent([](libvlc_event_t& e) {
        e.type = libvlc_MediaPlayerVout;
        e.u.media_player_vout.new_count = 2;
    }) << QStringLiteral("VideoOutChanged 2");
    QTest::newRow("scrambled") << TFillEvent([](libvlc_event_t& e) {
        e.type = libvlc_MediaPlayerScrambledChanged;
        e.u.media_player_scrambled_changed.new_scrambled = 1;
    }) << QStringLiteral("ScrambledChanged 1");
    QTest::newRow("volume") << TFillEvent([](libvlc_event_t& e) {
        e.type = libvlc_MediaPlayerAudioVolume;
        e.u.media_player_audio_volume.volume = 1.25f;
    }) << QStringLiteral("AudioVolume 1.25");
    QTest::newRow("no audio output") << TFillEvent([](libvlc_event_t& e) {
        e.type = libvlc_MediaPlayerAudioVolume;
        e.u.media_player_audio_volume.volume = -1.0f;
    }) << QStringLiteral("AudioVolume -1");
    QTest::newRow("no new media") << TFillEvent([](libvlc_event_t& e) {
        e.type = libvlc_MediaPlayerMediaChanged;
        e.u.media_player_media_changed.new_media = nullptr;
    }) << QStringLiteral("MediaChanged ");
    QTest::newRow("snapshot") << TFillEvent([](libvlc_event_t& e) {
        static const char name[] = "/tmp/Schnappschuss \xc3\xa4.png";
        e.type = libvlc_MediaPlayerSnapshotTaken;
        e.u.media_player_snapshot_taken.psz_filename = const_cast<char*>(name);
    }) << QStringLiteral("SnapshotTaken /tmp/Schnappschuss \u00e4.png");
}

void TVlcPlayerCallsTest::reportReachesItsHandler()
{
    QFETCH(TFillEvent, fill);
    QFETCH(QString, handled);
    TVlcPlayer player;
    QVERIFY(player.GetPlayerHandle());
    QStringList log;
    recordAllHandlers(player, &log);
    libvlc_event_t event {};
    fill(event);

    reportFromEngineThread(lastRegistration(), event);
    // Posted, not called: the handler runs once the GUI thread handles events.
    QCOMPARE(log, QStringList());
    QCoreApplication::sendPostedEvents(&player);
    QCOMPARE(log, QStringList({handled}));
}

void TVlcPlayerCallsTest::engineHandlerRunsOnTheReportingThread()
{
    TVlcPlayer player;
    QVERIFY(player.GetPlayerHandle());
    QStringList log;
    recordAllHandlers(player, &log);
    std::thread::id seenOn;
    TVlcPlayer* seenData = nullptr;
    int seenType = 0;
    int postedBefore = -1;
    player.SetOnMediaPlayerEvent([&](const libvlc_event_t* p_event, TVlcPlayer* data) {
        seenOn = std::this_thread::get_id();
        seenData = data;
        seenType = p_event->type;
        // The report is posted only after this handler has returned.
        postedBefore = int(log.size());
    });
    libvlc_event_t event {};
    event.type = libvlc_MediaPlayerPlaying;
    std::thread::id engineThread;
    const TRegistration registration = lastRegistration();
    std::thread engine([&] {
        engineThread = std::this_thread::get_id();
        registration.callback(&event, registration.data);
    });
    engine.join();
    QCOMPARE(seenOn, engineThread);
    QVERIFY(seenOn != std::this_thread::get_id());
    QCOMPARE(seenData, &player);
    QCOMPARE(seenType, int(libvlc_MediaPlayerPlaying));
    QCOMPARE(postedBefore, 0);
    QCoreApplication::sendPostedEvents(&player);
    QCOMPARE(log, QStringList({"Playing"}));
}

void TVlcPlayerCallsTest::reportsOutsideTheTableAndWithoutDataPostNothing()
{
    TVlcPlayer player;
    QVERIFY(player.GetPlayerHandle());
    QStringList log;
    recordAllHandlers(player, &log);
    const TRegistration registration = lastRegistration();
    for (const int type : {int(libvlc_MediaPlayerESAdded), int(libvlc_MediaPlayerESDeleted),
                           int(libvlc_MediaPlayerESSelected), int(libvlc_MediaPlayerAudioDevice),
                           int(libvlc_MediaStateChanged)}) {
        libvlc_event_t event {};
        event.type = type;
        reportFromEngineThread(registration, event);
    }
    libvlc_event_t playing {};
    playing.type = libvlc_MediaPlayerPlaying;
    reportFromEngineThread({registration.callback, nullptr}, playing);
    QCoreApplication::sendPostedEvents(&player);
    QCOMPARE(log, QStringList());
}

void TVlcPlayerCallsTest::reportAfterDisablePostsNothing()
{
    TVlcPlayer player;
    QVERIFY(player.GetPlayerHandle());
    QStringList log;
    recordAllHandlers(player, &log);
    bool engineHandlerRan = false;
    player.SetOnMediaPlayerEvent([&](const libvlc_event_t*, TVlcPlayer*) { engineHandlerRan = true; });
    const TRegistration registration = lastRegistration();
    player.EventsDisable();
    // A report the engine was already delivering when the events were detached.
    libvlc_event_t event {};
    event.type = libvlc_MediaPlayerPlaying;
    reportFromEngineThread(registration, event);
    QCoreApplication::sendPostedEvents(&player);
    QVERIFY(!engineHandlerRan);
    QCOMPARE(log, QStringList());
}

// A report the engine made about the media before the current one, still on
// its way when the new media was played, reaches no handler; the new media's
// reports do.
void TVlcPlayerCallsTest::reportsAboutAnEarlierMediaAreDropped()
{
    TPlacedPlayer p;
    QStringList log;
    recordAllHandlers(*p.player, &log);
    p.player->Play(QStringLiteral("/nowhere/first.avi"));
    const TRegistration registration = lastRegistration();
    libvlc_event_t playing {};
    playing.type = libvlc_MediaPlayerPlaying;
    libvlc_event_t ended {};
    ended.type = libvlc_MediaPlayerEndReached;
    reportFromEngineThread(registration, playing);
    reportFromEngineThread(registration, ended);

    p.player->Play(QStringLiteral("/nowhere/second.avi"));
    QCoreApplication::sendPostedEvents(p.player.get());
    QCOMPARE(log, QStringList());

    reportFromEngineThread(lastRegistration(), playing);
    QCoreApplication::sendPostedEvents(p.player.get());
    QCOMPARE(log, QStringList({QStringLiteral("Playing")}));
}

void TVlcPlayerCallsTest::disableWhileTheEngineReports()
{
    TVlcPlayer player;
    QVERIFY(player.GetPlayerHandle());
    int handled = 0;
    player.OnMediaPlayerTimeChanged = [&](QObject*, qint64) { ++handled; };
    std::atomic<int> engineHandled {0};
    std::atomic<int> reports {0};
    std::atomic<bool> stop {false};
    const TRegistration registration = lastRegistration();
    QVERIFY(registration.callback);

    // The engine reports without pause while the GUI thread replaces the
    // engine-thread handler and finally detaches.
    std::thread engine([&] {
        libvlc_event_t event {};
        event.type = libvlc_MediaPlayerTimeChanged;
        while (!stop) {
            event.u.media_player_time_changed.new_time = reports;
            registration.callback(&event, registration.data);
            ++reports;
        }
    });
    const auto waitForReports = [&](int more) {
        const int target = reports + more;
        QDeadlineTimer deadline(10000);
        while (reports < target && !deadline.hasExpired())
            std::this_thread::yield();
        return reports >= target;
    };
    for (int i = 0; i < 20; ++i) {
        player.SetOnMediaPlayerEvent([&engineHandled](const libvlc_event_t*, TVlcPlayer*) { ++engineHandled; });
        QVERIFY(waitForReports(10));
        QCoreApplication::sendPostedEvents(&player);
    }
    player.EventsDisable();
    // What was posted before the detach returned is still handled; after it
    // nothing runs and nothing is posted.
    QCoreApplication::sendPostedEvents(&player);
    const int handledAtDisable = handled;
    const int engineHandledAtDisable = engineHandled;
    QVERIFY(waitForReports(1000));
    stop = true;
    engine.join();
    QCoreApplication::sendPostedEvents(&player);
    QCOMPARE(handled, handledAtDisable);
    QCOMPARE(int(engineHandled), engineHandledAtDisable);
    QVERIFY(handled > 0);
    QVERIFY(engineHandledAtDisable > 0);
}

void TVlcPlayerCallsTest::snapshotNameIsCopied()
{
    TVlcPlayer player;
    QVERIFY(player.GetPlayerHandle());
    QStringList log;
    recordAllHandlers(player, &log);
    // The engine's text is valid only while its callback runs.
    QByteArray name("/tmp/still_0001.png");
    libvlc_event_t event {};
    event.type = libvlc_MediaPlayerSnapshotTaken;
    event.u.media_player_snapshot_taken.psz_filename = name.data();
    reportFromEngineThread(lastRegistration(), event);
    name.fill('x');
    QCoreApplication::sendPostedEvents(&player);
    QCOMPARE(log, QStringList({"SnapshotTaken /tmp/still_0001.png"}));
}

void TVlcPlayerCallsTest::discardedMediaReportReleasesItsReference()
{
    // The fake hands out one block for every object; any address serves as a media.
    alignas(std::max_align_t) static unsigned char mediaBlock[64];
    auto* media = reinterpret_cast<libvlc_media_t*>(mediaBlock);
    const QString mediaText = QString::asprintf("%p", static_cast<void*>(media));
    libvlc_event_t event {};
    event.type = libvlc_MediaPlayerMediaChanged;
    event.u.media_player_media_changed.new_media = media;

    // Handled: the handler reads the location, then the reference goes.
    auto player = std::make_unique<TVlcPlayer>();
    QVERIFY(player->GetPlayerHandle());
    QStringList log;
    recordAllHandlers(*player, &log);
    const TRegistration registration = lastRegistration();
    QVERIFY(registration.callback);
    FakeLibVlc::clearCalls(Fake);
    reportFromEngineThread(registration, event);
    QCOMPARE(callsOf({"libvlc_media_retain", "libvlc_media_release"}), QStringList({"libvlc_media_retain"}));
    QCOMPARE(FakeLibVlc::callsOf(Fake, QStringLiteral("libvlc_media_retain")).first().arguments,
             QStringList({mediaText}));
    QCoreApplication::sendPostedEvents(player.get());
    QCOMPARE(log, QStringList({"MediaChanged "}));
    QCOMPARE(callsOf({"libvlc_media_retain", "libvlc_media_get_mrl", "libvlc_media_release"}),
             QStringList({"libvlc_media_retain", "libvlc_media_get_mrl", "libvlc_media_release"}));

    // Discarded unhandled with the control: the reference goes all the same.
    FakeLibVlc::clearCalls(Fake);
    reportFromEngineThread(registration, event);
    player.reset();
    QCOMPARE(log, QStringList({"MediaChanged "}));
    QCOMPARE(FakeLibVlc::callsOf(Fake, QStringLiteral("libvlc_media_retain")).size(), 1);
    const QList<FakeLibVlc::Call> releases = FakeLibVlc::callsOf(Fake, QStringLiteral("libvlc_media_release"));
    QCOMPARE(releases.size(), 1);
    QCOMPARE(releases.first().arguments, QStringList({mediaText}));
}

QTEST_MAIN(TVlcPlayerCallsTest)
#include "TVlcPlayerCallsTest.moc"
