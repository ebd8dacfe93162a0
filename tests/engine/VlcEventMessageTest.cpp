#include "engine/VlcEventMessage.h"

#include <QtTest>

#include <limits>

class VlcEventMessageTest : public QObject {
    Q_OBJECT

private slots:
    void timeRoundTrip_data();
    void timeRoundTrip();
    void timeHalves();
    void thousandths_data();
    void thousandths();
    void eventArgs_data();
    void eventArgs();
    void messageTable();
};

void VlcEventMessageTest::timeRoundTrip_data()
{
    QTest::addColumn<qint64>("timeMs");
    QTest::newRow("zero") << qint64(0);
    QTest::newRow("ordinary") << qint64(83'456);
    QTest::newRow("2^31 - 1") << qint64(0x7FFF'FFFF);
    QTest::newRow("2^31") << qint64(0x8000'0000);
    QTest::newRow("2^32 - 1") << qint64(0xFFFF'FFFF);
    QTest::newRow("2^32") << qint64(0x1'0000'0000);
    QTest::newRow("2^32 + 2^31 + 5") << qint64(0x1'8000'0005);
    QTest::newRow("largest") << std::numeric_limits<qint64>::max();
    QTest::newRow("-1") << qint64(-1);
    QTest::newRow("-2^31") << -qint64(0x8000'0000);
    QTest::newRow("-2^32 - 7") << -qint64(0x1'0000'0007);
    QTest::newRow("smallest") << std::numeric_limits<qint64>::min();
}

void VlcEventMessageTest::timeRoundTrip()
{
    QFETCH(qint64, timeMs);
    const TVlcMessageArgs args = VlcPackTime(timeMs);
    QCOMPARE(VlcUnpackTime(args.wParam, args.lParam), timeMs);

    libvlc_event_t timeEvent {};
    timeEvent.type = libvlc_MediaPlayerTimeChanged;
    timeEvent.u.media_player_time_changed.new_time = timeMs;
    const TVlcMessageArgs timeArgs = VlcPackEventArgs(timeEvent);
    QCOMPARE(VlcUnpackTime(timeArgs.wParam, timeArgs.lParam), timeMs);

    libvlc_event_t lengthEvent {};
    lengthEvent.type = libvlc_MediaPlayerLengthChanged;
    lengthEvent.u.media_player_length_changed.new_length = timeMs;
    const TVlcMessageArgs lengthArgs = VlcPackEventArgs(lengthEvent);
    QCOMPARE(VlcUnpackTime(lengthArgs.wParam, lengthArgs.lParam), timeMs);
}

void VlcEventMessageTest::timeHalves()
{
    // The high half goes first, the low half second, each 32 bits wide.
    const TVlcMessageArgs args = VlcPackTime(0x0000'0003'8000'0001);
    QCOMPARE(args.wParam, TVlcWParam(3));
    QCOMPARE(args.lParam, TVlcLParam(0x8000'0001));
    // A low half that arrives sign-extended is still read as unsigned.
    QCOMPARE(VlcUnpackTime(0, TVlcLParam(-1)), qint64(0xFFFF'FFFF));
}

void VlcEventMessageTest::thousandths_data()
{
    QTest::addColumn<float>("value");
    QTest::addColumn<quint64>("packed");
    QTest::addColumn<float>("unpacked");
    QTest::newRow("zero") << 0.0f << quint64(0) << 0.0f;
    QTest::newRow("half") << 0.5f << quint64(500) << 0.5f;
    QTest::newRow("one") << 1.0f << quint64(1000) << 1.0f;
    QTest::newRow("nearest below") << 0.1234f << quint64(123) << 0.123f;
    QTest::newRow("nearest above") << 0.9876f << quint64(988) << 0.988f;
    // 0.0625 and 0.1875 are exact binary fractions whose thousandths end in .5.
    QTest::newRow("half to even, down") << 0.0625f << quint64(62) << 0.062f;
    QTest::newRow("half to even, up") << 0.1875f << quint64(188) << 0.188f;
    QTest::newRow("volume above one") << 1.25f << quint64(1250) << 1.25f;
    QTest::newRow("volume half to even") << 2.0625f << quint64(2062) << 2.062f;
    // The engine's volume while it has no audio output.
    QTest::newRow("volume unknown") << -1.0f << quint64(-1000) << -1.0f;
    QTest::newRow("negative half to even") << -0.0625f << quint64(-62) << -0.062f;
}

void VlcEventMessageTest::thousandths()
{
    QFETCH(float, value);
    QFETCH(quint64, packed);
    QFETCH(float, unpacked);
    const TVlcWParam w = VlcPackThousandths(value);
    QCOMPARE(quint64(w), packed);
    QCOMPARE(VlcUnpackThousandths(w), unpacked);

    libvlc_event_t position {};
    position.type = libvlc_MediaPlayerPositionChanged;
    position.u.media_player_position_changed.new_position = value;
    QCOMPARE(quint64(VlcPackEventArgs(position).wParam), packed);

    libvlc_event_t volume {};
    volume.type = libvlc_MediaPlayerAudioVolume;
    volume.u.media_player_audio_volume.volume = value;
    QCOMPARE(quint64(VlcPackEventArgs(volume).wParam), packed);
}

void VlcEventMessageTest::eventArgs_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<int>("value");
    QTest::addColumn<TVlcWParam>("wParam");
    QTest::newRow("seekable") << int(libvlc_MediaPlayerSeekableChanged) << 1 << TVlcWParam(1);
    QTest::newRow("not pausable") << int(libvlc_MediaPlayerPausableChanged) << 0 << TVlcWParam(0);
    QTest::newRow("title") << int(libvlc_MediaPlayerTitleChanged) << 7 << TVlcWParam(7);
    QTest::newRow("no title") << int(libvlc_MediaPlayerTitleChanged) << -1 << TVlcWParam(-1);
    QTest::newRow("video outputs") << int(libvlc_MediaPlayerVout) << 2 << TVlcWParam(2);
    QTest::newRow("scrambled") << int(libvlc_MediaPlayerScrambledChanged) << 1 << TVlcWParam(1);
    QTest::newRow("playing") << int(libvlc_MediaPlayerPlaying) << 0 << TVlcWParam(0);
}

void VlcEventMessageTest::eventArgs()
{
    QFETCH(int, type);
    QFETCH(int, value);
    QFETCH(TVlcWParam, wParam);
    libvlc_event_t event {};
    event.type = type;
    // All the integer reports share the same place in the engine's record.
    event.u.media_player_title_changed.new_title = value;
    const TVlcMessageArgs args = VlcPackEventArgs(event);
    QCOMPARE(args.wParam, wParam);
    QCOMPARE(args.lParam, TVlcLParam(0));
    QCOMPARE(int(args.wParam), value);
}

void VlcEventMessageTest::messageTable()
{
    QCOMPARE(VlcMessageOfEventType(libvlc_MediaPlayerMediaChanged), 0x500);
    QCOMPARE(VlcMessageOfEventType(libvlc_MediaPlayerPlaying), 0x504);
    QCOMPARE(VlcMessageOfEventType(libvlc_MediaPlayerTimeChanged), 0x50B);
    QCOMPARE(VlcMessageOfEventType(libvlc_MediaPlayerAudioVolume), 0x51B);

    QSet<int> qtTypes;
    for (int type = 0x100; type <= 0x11B; ++type) {
        const bool posted = (type <= 0x113 || type >= 0x117);
        QCOMPARE(VlcEventTypeIsPosted(type), posted);
        const int message = VlcMessageOfEventType(type);
        const QEvent::Type qtType = VlcQEventTypeOfMessage(message);
        QVERIFY(qtType >= QEvent::User && qtType <= QEvent::MaxUser);
        QCOMPARE(VlcMessageOfQEventType(qtType), posted ? message : 0);
        qtTypes.insert(qtType);
    }
    QCOMPARE(qtTypes.size(), 0x1C);
    QVERIFY(!VlcEventTypeIsPosted(0xFF));
    QVERIFY(!VlcEventTypeIsPosted(libvlc_MediaPlayerAudioDevice));
    QCOMPARE(VlcMessageOfQEventType(QEvent::User), 0);
    QCOMPARE(VlcMessageOfQEventType(QEvent::MouseButtonPress), 0);
    QVERIFY(std::is_sorted(VlcAttachedEventTypes.begin(), VlcAttachedEventTypes.end()));
}

QTEST_GUILESS_MAIN(VlcEventMessageTest)
#include "VlcEventMessageTest.moc"
