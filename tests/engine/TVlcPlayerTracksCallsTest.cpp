// What the player's track, equalizer, output, teletext, logo and marquee
// operations hand to libvlc, read back call by call from a recording fake
// libvlc.so.5. The fake answers neutrally: nothing is playing, every list it
// returns is one blank entry, and every object it creates is the same block.
#include <QtTest>

#include <functional>
#include <memory>

#include "FakeLibVlc.h"
#include "engine/TVlcPlayer.h"
#include "engine/VlcLoader.h"

namespace {

const QString Fake = QStringLiteral("fakevlc_player_tracks");

using TPlayerOperation = std::function<void(TVlcPlayer&)>;

// The recorded calls, one text each: the entry point's name and its
// arguments, a first argument that is the player's engine player written as
// "mp". (The fake hands out one block for every object, so an equalizer or
// an instance as first argument reads "mp" as well.)
QStringList recordedCalls(TVlcPlayer& player)
{
    const QList<FakeLibVlc::Call> calls = FakeLibVlc::calls(Fake);
    const QString handle = QString::asprintf("%p", static_cast<void*>(player.GetPlayerHandle()));
    QStringList result;
    for (const FakeLibVlc::Call& call : calls) {
        QStringList arguments = call.arguments;
        if (!arguments.isEmpty() && arguments.first() == handle)
            arguments.first() = QStringLiteral("mp");
        result.append((QStringList {call.name} + arguments).join(QLatin1Char(' ')));
    }
    return result;
}

QStringList names(const QList<FakeLibVlc::Call>& calls)
{
    QStringList result;
    for (const FakeLibVlc::Call& call : calls)
        result.append(call.name);
    return result;
}

// A player whose engine player exists; the calls made so far are forgotten.
std::unique_ptr<TVlcPlayer> playerWithEngine()
{
    auto player = std::make_unique<TVlcPlayer>();
    if (player->GetPlayerHandle())
        FakeLibVlc::clearCalls(Fake);
    return player;
}

} // namespace

Q_DECLARE_METATYPE(TPlayerOperation)

class TVlcPlayerTracksCallsTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();

    void withoutEnginePlayerNothingIsCalled_data();
    void withoutEnginePlayerNothingIsCalled();
    void descriptionListsAreReleased_data();
    void descriptionListsAreReleased();
    void idsPassedOn_data();
    void idsPassedOn();
    void namelessEntries();

    void presetQueriesStartOnlyTheInstance();
    void equalizerRemoved_data();
    void equalizerRemoved();
    void equalizerFromPreset();
    void equalizerCreatedBeforeTheEngine();

    void audioOutputs();
    void teletextNotPlaying();

    void marqueeShowText_data();
    void marqueeShowText();
    void marqueeAtPositionCode();
    void marqueeTextAndHide();
    void logoSetFiles_data();
    void logoSetFiles();
    void logoShowFiles();
    void logoHide();
};

void TVlcPlayerTracksCallsTest::initTestCase()
{
    LibVlcLoad(FakeLibVlc::dir(Fake));
    QVERIFY2(LibVlcLastError().isEmpty(), qPrintable(LibVlcLastError()));
}

void TVlcPlayerTracksCallsTest::init()
{
    FakeLibVlc::clearCalls(Fake);
}

void TVlcPlayerTracksCallsTest::withoutEnginePlayerNothingIsCalled_data()
{
    using Op = TPlayerOperation;
    QTest::addColumn<TPlayerOperation>("operation");
    QTest::newRow("audio track list") << Op([](TVlcPlayer& p) { QVERIFY(p.GetAudioTrackList().isEmpty()); });
    QTest::newRow("audio track count") << Op([](TVlcPlayer& p) { QCOMPARE(p.GetAudioTrackCount(), -1); });
    QTest::newRow("audio track id") << Op([](TVlcPlayer& p) { QCOMPARE(p.GetAudioTrackId(), -1); });
    QTest::newRow("audio track by id") << Op([](TVlcPlayer& p) { p.SetAudioTrackById(2); });
    QTest::newRow("audio track position") << Op([](TVlcPlayer& p) { QCOMPARE(p.GetAudioTrackNo(), 0); });
    QTest::newRow("audio track by position") << Op([](TVlcPlayer& p) { p.SetAudioTrackByNo(0); });
    QTest::newRow("audio name by id") << Op([](TVlcPlayer& p) { QCOMPARE(p.GetAudioTrackDescriptionById(0), QString()); });
    QTest::newRow("audio name by position") << Op([](TVlcPlayer& p) { QCOMPARE(p.GetAudioTrackDescriptionByNo(0), QString()); });
    QTest::newRow("subtitle list") << Op([](TVlcPlayer& p) { QVERIFY(p.GetVideoSubtitleList().isEmpty()); });
    QTest::newRow("subtitle count") << Op([](TVlcPlayer& p) { QCOMPARE(p.GetVideoSubtitleCount(), -1); });
    QTest::newRow("subtitle id") << Op([](TVlcPlayer& p) { QCOMPARE(p.GetVideoSubtitleId(), -1); });
    QTest::newRow("subtitle by id") << Op([](TVlcPlayer& p) { p.SetVideoSubtitleById(-1); });
    QTest::newRow("subtitle position") << Op([](TVlcPlayer& p) { QCOMPARE(p.GetVideoSubtitleNo(), 0); });
    QTest::newRow("subtitle by position") << Op([](TVlcPlayer& p) { p.SetVideoSubtitleByNo(0); });
    QTest::newRow("subtitle name by id") << Op([](TVlcPlayer& p) { QCOMPARE(p.GetVideoSubtitleDescriptionById(0), QString()); });
    QTest::newRow("subtitle name") << Op([](TVlcPlayer& p) { QCOMPARE(p.GetVideoSubtitleDescriptionByNo(0), QString()); });
    QTest::newRow("subtitle file") << Op([](TVlcPlayer& p) { p.SetVideoSubtitleFile(QStringLiteral("/tmp/a.srt")); });
    QTest::newRow("title list") << Op([](TVlcPlayer& p) { QVERIFY(p.GetVideoTitleList().isEmpty()); });
    QTest::newRow("title count") << Op([](TVlcPlayer& p) { QCOMPARE(p.GetVideoTitleCount(), -1); });
    QTest::newRow("title id") << Op([](TVlcPlayer& p) { QCOMPARE(p.GetVideoTitleId(), -1); });
    QTest::newRow("title by id") << Op([](TVlcPlayer& p) { p.SetVideoTitleById(1); });
    QTest::newRow("title position") << Op([](TVlcPlayer& p) { QCOMPARE(p.GetVideoTitleNo(), 0); });
    QTest::newRow("title by position") << Op([](TVlcPlayer& p) { p.SetVideoTitleByNo(0); });
    QTest::newRow("title name by id") << Op([](TVlcPlayer& p) { QCOMPARE(p.GetVideoTitleDescriptionById(0), QString()); });
    QTest::newRow("title name by position") << Op([](TVlcPlayer& p) { QCOMPARE(p.GetVideoTitleDescriptionByNo(0), QString()); });
    QTest::newRow("chapter") << Op([](TVlcPlayer& p) { QCOMPARE(p.GetVideoChapter(), -1); });
    QTest::newRow("chapter count") << Op([](TVlcPlayer& p) { QCOMPARE(p.GetVideoChapterCount(), -1); });
    QTest::newRow("chapter count of a title") << Op([](TVlcPlayer& p) { QCOMPARE(p.GetVideoChapterCountByTitleId(0), -1); });
    QTest::newRow("set chapter") << Op([](TVlcPlayer& p) { p.SetVideoChapter(2); });
    QTest::newRow("teletext page") << Op([](TVlcPlayer& p) { p.SetTeleText(100); });
    QTest::newRow("teletext page read") << Op([](TVlcPlayer& p) { QCOMPARE(p.GetTeleText(), -1); });
    QTest::newRow("show teletext") << Op([](TVlcPlayer& p) { QVERIFY(!p.ShowTeleText()); });
    QTest::newRow("hide teletext") << Op([](TVlcPlayer& p) { QVERIFY(!p.HideTeleText()); });
    QTest::newRow("view teletext") << Op([](TVlcPlayer& p) { p.SetViewTeletext(true); QVERIFY(!p.ViewTeletext()); });
    QTest::newRow("logo file") << Op([](TVlcPlayer& p) { p.LogoSetFile(QStringLiteral("a.png")); });
    QTest::newRow("logo files") << Op([](TVlcPlayer& p) { p.LogoSetFiles({QStringLiteral("a.png")}, 100, true); });
    QTest::newRow("logo x and y") << Op([](TVlcPlayer& p) { p.LogoSetPosition(1, 2); });
    QTest::newRow("logo position code") << Op([](TVlcPlayer& p) { p.LogoSetPosition(qint8(5)); });
    QTest::newRow("logo opacity") << Op([](TVlcPlayer& p) { p.LogoSetOpacity(128); });
    QTest::newRow("logo delay") << Op([](TVlcPlayer& p) { p.LogoSetDelay(100); });
    QTest::newRow("logo repeat") << Op([](TVlcPlayer& p) { p.LogoSetRepeat(true); });
    QTest::newRow("logo enable") << Op([](TVlcPlayer& p) { p.LogoSetEnable(true); });
    QTest::newRow("logo show file") << Op([](TVlcPlayer& p) { p.LogoShowFile(QStringLiteral("a.png"), 0, 0, 255); });
    QTest::newRow("logo show file at code") << Op([](TVlcPlayer& p) { p.LogoShowFile(QStringLiteral("a.png"), qint8(5), 255); });
    QTest::newRow("logo") << Op([](TVlcPlayer& p) { p.LogoShowFiles({QStringLiteral("a.png")}, 0, 0, 255, 100, true); });
    QTest::newRow("logo at code") << Op([](TVlcPlayer& p) { p.LogoShowFiles({QStringLiteral("a.png")}, qint8(5), 255, 100, true); });
    QTest::newRow("logo hide") << Op([](TVlcPlayer& p) { p.LogoHide(); });
    QTest::newRow("marquee text") << Op([](TVlcPlayer& p) { p.MarqueeSetText(QStringLiteral("x")); });
    QTest::newRow("marquee x and y") << Op([](TVlcPlayer& p) { p.MarqueeSetPosition(1, 2); });
    QTest::newRow("marquee position code") << Op([](TVlcPlayer& p) { p.MarqueeSetPosition(qint8(5)); });
    QTest::newRow("marquee colour") << Op([](TVlcPlayer& p) { p.MarqueeSetColor(0xFF0000); });
    QTest::newRow("marquee font size") << Op([](TVlcPlayer& p) { p.MarqueeSetFontSize(20); });
    QTest::newRow("marquee opacity") << Op([](TVlcPlayer& p) { p.MarqueeSetOpacity(128); });
    QTest::newRow("marquee time-out") << Op([](TVlcPlayer& p) { p.MarqueeSetTimeOut(1000); });
    QTest::newRow("marquee refresh") << Op([](TVlcPlayer& p) { p.MarqueeSetRefresh(1000); });
    QTest::newRow("marquee enable") << Op([](TVlcPlayer& p) { p.MarqueeSetEnable(true); });
    QTest::newRow("marquee") << Op([](TVlcPlayer& p) { p.MarqueeShowText(QStringLiteral("%S"), 0, 0, 0, 20, 255, 0); });
    QTest::newRow("marquee at code") << Op([](TVlcPlayer& p) { p.MarqueeShowText(QStringLiteral("%S"), qint8(5), 0, 20, 255, 0); });
    QTest::newRow("marquee hide") << Op([](TVlcPlayer& p) { p.MarqueeHide(); });
}

void TVlcPlayerTracksCallsTest::withoutEnginePlayerNothingIsCalled()
{
    QFETCH(TPlayerOperation, operation);
    TVlcPlayer player;
    operation(player);
    QCOMPARE(names(FakeLibVlc::calls(Fake)), QStringList());
}

void TVlcPlayerTracksCallsTest::descriptionListsAreReleased_data()
{
    QTest::addColumn<TPlayerOperation>("operation");
    QTest::addColumn<QString>("describe");
    const QString audio = QStringLiteral("libvlc_audio_get_track_description");
    const QString spu = QStringLiteral("libvlc_video_get_spu_description");
    const QString title = QStringLiteral("libvlc_video_get_title_description");
    QTest::newRow("audio list") << TPlayerOperation([](TVlcPlayer& p) { p.GetAudioTrackList(); }) << audio;
    QTest::newRow("audio position") << TPlayerOperation([](TVlcPlayer& p) { p.GetAudioTrackNo(); }) << audio;
    QTest::newRow("audio by position") << TPlayerOperation([](TVlcPlayer& p) { p.SetAudioTrackByNo(5); }) << audio;
    QTest::newRow("audio name by id") << TPlayerOperation([](TVlcPlayer& p) { p.GetAudioTrackDescriptionById(0); }) << audio;
    QTest::newRow("audio name by position") << TPlayerOperation([](TVlcPlayer& p) { p.GetAudioTrackDescriptionByNo(0); }) << audio;
    QTest::newRow("subtitle list") << TPlayerOperation([](TVlcPlayer& p) { p.GetVideoSubtitleList(); }) << spu;
    QTest::newRow("subtitle position") << TPlayerOperation([](TVlcPlayer& p) { p.GetVideoSubtitleNo(); }) << spu;
    QTest::newRow("subtitle by position") << TPlayerOperation([](TVlcPlayer& p) { p.SetVideoSubtitleByNo(0); }) << spu;
    QTest::newRow("subtitle name by id") << TPlayerOperation([](TVlcPlayer& p) { p.GetVideoSubtitleDescriptionById(0); }) << spu;
    QTest::newRow("subtitle name by position") << TPlayerOperation([](TVlcPlayer& p) { p.GetVideoSubtitleDescriptionByNo(0); }) << spu;
    QTest::newRow("title list") << TPlayerOperation([](TVlcPlayer& p) { p.GetVideoTitleList(); }) << title;
    QTest::newRow("title position") << TPlayerOperation([](TVlcPlayer& p) { p.GetVideoTitleNo(); }) << title;
    QTest::newRow("title by position") << TPlayerOperation([](TVlcPlayer& p) { p.SetVideoTitleByNo(0); }) << title;
    QTest::newRow("title name by id") << TPlayerOperation([](TVlcPlayer& p) { p.GetVideoTitleDescriptionById(0); }) << title;
    QTest::newRow("title name by position") << TPlayerOperation([](TVlcPlayer& p) { p.GetVideoTitleDescriptionByNo(0); }) << title;
}

void TVlcPlayerTracksCallsTest::descriptionListsAreReleased()
{
    QFETCH(TPlayerOperation, operation);
    QFETCH(QString, describe);
    const auto player = playerWithEngine();
    operation(*player);
    const QList<FakeLibVlc::Call> calls = FakeLibVlc::calls(Fake);
    QCOMPARE(FakeLibVlc::callsOf(Fake, describe).size(), 1);
    const QList<FakeLibVlc::Call> releases
        = FakeLibVlc::callsOf(Fake, QStringLiteral("libvlc_track_description_list_release"));
    QCOMPARE(releases.size(), 1);
    // The list released is the one the engine handed out (the fake's block).
    QVERIFY(releases.first().arguments.first() != QLatin1String("(null)"));
}

void TVlcPlayerTracksCallsTest::idsPassedOn_data()
{
    QTest::addColumn<TPlayerOperation>("operation");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("audio id -1 is ignored") << TPlayerOperation([](TVlcPlayer& p) { p.SetAudioTrackById(-1); })
                                            << QStringList();
    QTest::newRow("audio id 2") << TPlayerOperation([](TVlcPlayer& p) { p.SetAudioTrackById(2); })
                                << QStringList {"libvlc_audio_set_track mp 2"};
    QTest::newRow("subtitle id -1 is passed") << TPlayerOperation([](TVlcPlayer& p) { p.SetVideoSubtitleById(-1); })
                                              << QStringList {"libvlc_video_set_spu mp -1"};
    QTest::newRow("title id -5 is passed") << TPlayerOperation([](TVlcPlayer& p) { p.SetVideoTitleById(-5); })
                                           << QStringList {"libvlc_media_player_set_title mp -5"};
    QTest::newRow("chapter -3 is passed") << TPlayerOperation([](TVlcPlayer& p) { p.SetVideoChapter(-3); })
                                          << QStringList {"libvlc_media_player_set_chapter mp -3"};
    QTest::newRow("subtitle file as UTF-8")
        << TPlayerOperation([](TVlcPlayer& p) { p.SetVideoSubtitleFile(QStringLiteral("/tmp/Untertitel ä.srt")); })
        << QStringList {"libvlc_video_set_subtitle_file mp /tmp/Untertitel ä.srt"};
    // The fake lists one entry (id 0): position 0 reaches it, position 1 is past the end.
    QTest::newRow("audio position 0") << TPlayerOperation([](TVlcPlayer& p) { p.SetAudioTrackByNo(0); })
                                      << QStringList {"libvlc_audio_set_track mp 0"};
    QTest::newRow("audio position past the end") << TPlayerOperation([](TVlcPlayer& p) { p.SetAudioTrackByNo(1); })
                                                 << QStringList();
}

void TVlcPlayerTracksCallsTest::idsPassedOn()
{
    QFETCH(TPlayerOperation, operation);
    QFETCH(QStringList, expected);
    const auto player = playerWithEngine();
    operation(*player);
    QStringList sets;
    for (const QString& call : recordedCalls(*player)) {
        if (call.contains(QLatin1String("_set_")))
            sets.append(call);
    }
    QCOMPARE(sets, expected);
}

void TVlcPlayerTracksCallsTest::namelessEntries()
{
    // Every description list of the fake holds one entry, id 0, without a name.
    const auto player = playerWithEngine();
    QVERIFY(player->GetAudioTrackList().isEmpty());
    QVERIFY(player->GetVideoSubtitleList().isEmpty());
    QVERIFY(player->GetVideoTitleList().isEmpty());
    QCOMPARE(player->GetVideoTitleDescriptionByNo(0), QString());
    QCOMPARE(player->GetVideoTitleDescriptionById(0), QString());
    QCOMPARE(player->GetAudioTrackDescriptionByNo(0), QString());
    QCOMPARE(player->GetVideoSubtitleDescriptionById(0), QString());
    // The entry is still there to be found by its id and reached by its position.
    QCOMPARE(player->GetAudioTrackNo(), 0);
    QCOMPARE(player->GetVideoSubtitleNo(), 0);
    QCOMPARE(player->GetVideoTitleNo(), 0);
}

void TVlcPlayerTracksCallsTest::presetQueriesStartOnlyTheInstance()
{
    TVlcPlayer player;
    // The fake has no presets and no bands.
    QVERIFY(player.EqualizerGetPresetList().isEmpty());
    QCOMPARE(player.EqualizerGetBandCount(), quint16(0));
    const QStringList called = names(FakeLibVlc::calls(Fake));
    QCOMPARE(called.count(QStringLiteral("libvlc_new")), 1);
    QVERIFY(called.contains(QStringLiteral("libvlc_audio_equalizer_get_preset_count")));
    QVERIFY(!called.contains(QStringLiteral("libvlc_media_player_new")));
}

void TVlcPlayerTracksCallsTest::equalizerRemoved_data()
{
    QTest::addColumn<TPlayerOperation>("operation");
    QTest::newRow("no preset") << TPlayerOperation([](TVlcPlayer& p) { p.EqualizerSetPreset(65535); });
    QTest::newRow("no equalizer") << TPlayerOperation([](TVlcPlayer& p) { p.EqualizerApply(nullptr); });
}

void TVlcPlayerTracksCallsTest::equalizerRemoved()
{
    QFETCH(TPlayerOperation, operation);
    TVlcPlayer player;
    operation(player);
    // The engine player is started for it.
    QCOMPARE(FakeLibVlc::callsOf(Fake, QStringLiteral("libvlc_media_player_new")).size(), 1);
    const QStringList calls = recordedCalls(player);
    QCOMPARE(calls.filter(QStringLiteral("libvlc_media_player_set_equalizer")),
             QStringList {"libvlc_media_player_set_equalizer mp (null)"});
    QVERIFY(calls.filter(QStringLiteral("libvlc_audio_equalizer_new")).isEmpty());
}

void TVlcPlayerTracksCallsTest::equalizerFromPreset()
{
    const auto player = playerWithEngine();
    player->EqualizerSetPreset(3);
    const QStringList calls = recordedCalls(*player);
    const QStringList equalizerCalls = calls.filter(QStringLiteral("equalizer"));
    QCOMPARE(equalizerCalls.size(), 3);
    QCOMPARE(equalizerCalls[0], QStringLiteral("libvlc_audio_equalizer_new_from_preset 3"));
    QVERIFY(equalizerCalls[1].startsWith(QLatin1String("libvlc_media_player_set_equalizer mp ")));
    QVERIFY(!equalizerCalls[1].endsWith(QLatin1String("(null)")));
    // The temporary equalizer is released after the engine player took its settings.
    QVERIFY(equalizerCalls[2].startsWith(QLatin1String("libvlc_audio_equalizer_release ")));
}

void TVlcPlayerTracksCallsTest::equalizerCreatedBeforeTheEngine()
{
    TVlcPlayer player;
    const std::unique_ptr<TVlcEqualizer> equalizer = player.EqualizerCreate(2);
    QCOMPARE(FakeLibVlc::callsOf(Fake, QStringLiteral("libvlc_new")).size(), 0);
    QCOMPARE(equalizer->GetPreset(), quint16(2));

    player.EqualizerApply(equalizer.get());
    const QStringList calls = recordedCalls(player);
    QVERIFY(calls.contains(QStringLiteral("libvlc_audio_equalizer_new_from_preset 2")));
    const QStringList applied = calls.filter(QStringLiteral("libvlc_media_player_set_equalizer"));
    QCOMPARE(applied.size(), 1);
    QVERIFY2(!applied.first().endsWith(QLatin1String("(null)")), "the equalizer is applied, not removed");
}

void TVlcPlayerTracksCallsTest::audioOutputs()
{
    TVlcPlayer player;
    // The fake lists one output without a name and one device without an id.
    QCOMPARE(player.GetAudioOutputList(), QStringList {QString()});
    QVERIFY(player.GetAudioOutputDeviceList(QStringLiteral("Ausgabe ä")).isEmpty());
    const QList<FakeLibVlc::Call> deviceLists
        = FakeLibVlc::callsOf(Fake, QStringLiteral("libvlc_audio_output_device_list_get"));
    QCOMPARE(deviceLists.size(), 1);
    QCOMPARE(deviceLists.first().arguments.last(), QStringLiteral("Ausgabe ä"));
    QCOMPARE(FakeLibVlc::callsOf(Fake, QStringLiteral("libvlc_audio_output_list_release")).size(), 1);
    QCOMPARE(FakeLibVlc::callsOf(Fake, QStringLiteral("libvlc_audio_output_device_list_release")).size(), 1);
    QCOMPARE(FakeLibVlc::callsOf(Fake, QStringLiteral("libvlc_media_player_new")).size(), 0);

    QVERIFY(player.GetAudioOutputDeviceEnum().isEmpty());
    QCOMPARE(FakeLibVlc::callsOf(Fake, QStringLiteral("libvlc_media_player_new")).size(), 1);
    QCOMPARE(FakeLibVlc::callsOf(Fake, QStringLiteral("libvlc_audio_output_device_list_release")).size(), 2);

    FakeLibVlc::clearCalls(Fake);
    QVERIFY(player.SetAudioOutput(QStringLiteral("pulse")));
    player.SetAudioOutputDevice(QStringLiteral("alsa"), QStringLiteral("hw:0"));
    player.SetAudioOutputDevice(QStringLiteral("Gerät ä"));
    const QStringList calls = recordedCalls(player);
    QCOMPARE(calls.filter(QStringLiteral("libvlc_audio_output_")),
             (QStringList {"libvlc_audio_output_set mp pulse", "libvlc_audio_output_device_set mp alsa hw:0",
                           "libvlc_audio_output_device_set mp (null) Gerät ä"}));
}

void TVlcPlayerTracksCallsTest::teletextNotPlaying()
{
    const auto player = playerWithEngine();
    QVERIFY(!player->ShowTeleText());
    player->SetViewTeletext(true);
    QVERIFY(!player->ViewTeletext());
    QVERIFY(FakeLibVlc::callsOf(Fake, QStringLiteral("libvlc_toggle_teletext")).isEmpty());
    QVERIFY(!FakeLibVlc::callsOf(Fake, QStringLiteral("libvlc_media_player_is_playing")).isEmpty());
}

void TVlcPlayerTracksCallsTest::marqueeShowText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("refresh");
    QTest::newRow("no time field") << "Scenora" << 0;
    QTest::newRow("hours") << "%H o'clock" << 3600000;
    QTest::newRow("minutes") << "%M min" << 60000;
    QTest::newRow("hours and seconds: seconds win") << "%H h %S s" << 1000;
    QTest::newRow("all three") << "%H:%M:%S" << 1000;
    QTest::newRow("fields are case-sensitive") << "%h:%m:%s" << 0;
}

void TVlcPlayerTracksCallsTest::marqueeShowText()
{
    QFETCH(QString, text);
    QFETCH(int, refresh);
    const auto player = playerWithEngine();
    player->MarqueeShowText(text, 10, 20, 0xFF8000, 24, 200, 5000);

    QStringList expected {QStringLiteral("libvlc_video_set_marquee_string mp 1 ") + text,
                          "libvlc_video_set_marquee_int mp 8 10",
                          "libvlc_video_set_marquee_int mp 9 20",
                          "libvlc_video_set_marquee_int mp 2 16744448",
                          "libvlc_video_set_marquee_int mp 3 200",
                          "libvlc_video_set_marquee_int mp 6 24",
                          "libvlc_video_set_marquee_int mp 7 5000",
                          "libvlc_video_set_marquee_int mp 5 0",
                          "libvlc_video_set_marquee_int mp 0 1"};
    if (refresh != 0)
        expected.append(QStringLiteral("libvlc_video_set_marquee_int mp 5 %1").arg(refresh));
    QCOMPARE(recordedCalls(*player), expected);
}

void TVlcPlayerTracksCallsTest::marqueeAtPositionCode()
{
    const auto player = playerWithEngine();
    player->MarqueeShowText(QStringLiteral("%M"), qint8(-1), 0xFFFFFF, 18, 255, 0);
    const QStringList calls = recordedCalls(*player);
    QCOMPARE(calls.filter(QStringLiteral("mp 4 ")), QStringList {"libvlc_video_set_marquee_int mp 4 -1"});
    QVERIFY(calls.filter(QStringLiteral("mp 8 ")).isEmpty());
    QVERIFY(calls.filter(QStringLiteral("mp 9 ")).isEmpty());
    QCOMPARE(calls.last(), QStringLiteral("libvlc_video_set_marquee_int mp 5 60000"));
}

void TVlcPlayerTracksCallsTest::marqueeTextAndHide()
{
    const auto player = playerWithEngine();
    player->MarqueeSetText(QStringLiteral("Grüße"));
    player->MarqueeSetText(QString());
    player->MarqueeHide();
    QCOMPARE(recordedCalls(*player),
             (QStringList {"libvlc_video_set_marquee_string mp 1 Grüße", "libvlc_video_set_marquee_string mp 1 (null)",
                           "libvlc_video_set_marquee_int mp 0 0", "libvlc_video_set_marquee_int mp 5 0",
                           "libvlc_video_set_marquee_string mp 1 (null)"}));
}

void TVlcPlayerTracksCallsTest::logoSetFiles_data()
{
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<bool>("loop");
    QTest::addColumn<QString>("joined");
    QTest::addColumn<int>("repeat");
    QTest::newRow("none: empty name") << QStringList() << true << "" << -1;
    QTest::newRow("one") << QStringList {"/a/logo.png"} << false << "/a/logo.png" << 0;
    QTest::newRow("two, no separator at the end")
        << QStringList {"/a/one.png", "/b/two ä.png"} << true << "/a/one.png;/b/two ä.png" << -1;
}

void TVlcPlayerTracksCallsTest::logoSetFiles()
{
    QFETCH(QStringList, files);
    QFETCH(bool, loop);
    QFETCH(QString, joined);
    QFETCH(int, repeat);
    const auto player = playerWithEngine();
    player->LogoSetFiles(files, 750, loop);
    QCOMPARE(recordedCalls(*player),
             (QStringList {QStringLiteral("libvlc_video_set_logo_string mp 1 ") + joined,
                           "libvlc_video_set_logo_int mp 4 750",
                           QStringLiteral("libvlc_video_set_logo_int mp 5 %1").arg(repeat)}));
}

void TVlcPlayerTracksCallsTest::logoShowFiles()
{
    const auto player = playerWithEngine();
    player->LogoShowFiles({QStringLiteral("a.png"), QStringLiteral("b.png")}, 10, 20, 128, 500, false);
    QCOMPARE(recordedCalls(*player),
             (QStringList {"libvlc_video_set_logo_string mp 1 a.png;b.png", "libvlc_video_set_logo_int mp 4 1000",
                           "libvlc_video_set_logo_int mp 5 -1", "libvlc_video_set_logo_int mp 2 10",
                           "libvlc_video_set_logo_int mp 3 20", "libvlc_video_set_logo_int mp 6 128",
                           "libvlc_video_set_logo_int mp 4 500", "libvlc_video_set_logo_int mp 5 0",
                           "libvlc_video_set_logo_int mp 0 1"}));

    FakeLibVlc::clearCalls(Fake);
    player->LogoShowFile(QString(), qint8(6), 255);
    QCOMPARE(recordedCalls(*player),
             (QStringList {"libvlc_video_set_logo_string mp 1 ", "libvlc_video_set_logo_int mp 7 6",
                           "libvlc_video_set_logo_int mp 6 255", "libvlc_video_set_logo_int mp 0 1"}));
}

void TVlcPlayerTracksCallsTest::logoHide()
{
    const auto player = playerWithEngine();
    player->LogoHide();
    QCOMPARE(recordedCalls(*player),
             (QStringList {"libvlc_video_set_logo_int mp 0 1", "libvlc_video_set_logo_string mp 1 (null)"}));
}

QTEST_MAIN(TVlcPlayerTracksCallsTest)
#include "TVlcPlayerTracksCallsTest.moc"
