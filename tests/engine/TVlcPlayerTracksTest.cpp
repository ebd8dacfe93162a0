// Tracks, subtitles, equalizer presets, audio outputs, teletext and the logo
// and marquee overlays of the player control against the machine's libvlc
// 3.0, under a real X server.
#include <QPainter>
#include <QtTest>

#include <algorithm>

#include "TestMedia.h"
#include "TestPlayer.h"
#include "engine/TVlcPlayer.h"
#include "engine/VlcLoader.h"

namespace {

// Video and window have the same size, so video pixels are window pixels.
const QSize VideoSize(640, 360);

// Titles of the two audio tracks; they are not plain ASCII, so they come
// back from the engine only through UTF-8.
const QString FirstTrackTitle = QStringLiteral("Ton \u00e4\u00f6\u00fc");
const QString SecondTrackTitle = QStringLiteral("Klang \u00df");

using TestPlayer::waitForState;

double areaDiff(const QImage& a, const QImage& b, const QRect& area)
{
    return TestMedia::meanAbsDiff(a.copy(area), b.copy(area));
}

// The engine's own snapshots leave the overlays out, so the overlays are
// looked for in what the video window shows on screen.
using TestPlayer::grabVideo;

// Waits until two grabs in a row agree on a picture that is not black, so
// that a frame still being drawn is not taken as the picture. Null when that
// does not happen in time.
QImage steadyGrab(TVlcPlayer* player)
{
    QImage last;
    QDeadlineTimer deadline(15000);
    while (!deadline.hasExpired()) {
        QImage next = grabVideo(player);
        if (TestPlayer::meanBrightness(next) > 30 && next == last)
            return next;
        last = next;
        QTest::qWait(100);
    }
    return {};
}

// Mean brightness (0..255) of an area.
double brightness(const QImage& image, const QRect& area)
{
    return TestPlayer::meanBrightness(image.copy(area));
}

// Pixels of an area that are plainly red.
int redPixels(const QImage& image, const QRect& area)
{
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            const QRgb pixel = image.pixel(x, y);
            if (qRed(pixel) > 180 && qGreen(pixel) < 80 && qBlue(pixel) < 80)
                ++count;
        }
    }
    return count;
}

// The region where an overlay was placed, and the region well away from it.
const QRect MarqueeArea(20, 20, 200, 40);
const QRect LogoArea(400, 200, 64, 64);
const QRect UntouchedArea(0, 300, 640, 60);

} // namespace

class TVlcPlayerTracksTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();

    void neutralValuesWithoutPlayer();
    void neutralValuesWithoutEngine();
    void audioTracks();
    void audioTrackOutsideTheList();
    void subtitleFile();
    void equalizerPresets();
    void audioOutputs();
    void teletextNeedsPlayback();
    void marqueeOnPausedFrame();
    void logoOnPausedFrame();

private:
    // Plays the video and waits until its audio tracks are known.
    void startVideo(TestPlayer::TEmbeddedPlayer& e);
    // Plays, pauses and grabs the still picture into plain.
    void pauseOnFrame(TestPlayer::TEmbeddedPlayer& e, QImage& plain);

    TestPlayer::TClipFixture FClip;
};

void TVlcPlayerTracksTest::initTestCase()
{
    // A still picture, so that any change on screen comes from an overlay,
    // and two tone tracks with titles, which Matroska carries to the engine.
    TestMedia::VideoFormat format;
    format.durationMs = 20000;
    format.size = VideoSize;
    format.source = QStringLiteral("smptebars");
    format.audioTonesHz = {440, 880};
    format.extraArgs = {QStringLiteral("-metadata:s:a:0"), QStringLiteral("title=") + FirstTrackTitle,
                        QStringLiteral("-metadata:s:a:1"), QStringLiteral("title=") + SecondTrackTitle};
    FClip.start(QStringLiteral("bars.mkv"), format);
}

void TVlcPlayerTracksTest::startVideo(TestPlayer::TEmbeddedPlayer& e)
{
    e.player->Play(FClip.video);
    QVERIFY(waitForState(e.player, vlcPlayer_Playing));
    QTRY_VERIFY_WITH_TIMEOUT(e.player->GetAudioTrackList().size() == 3, 10000);
}

void TVlcPlayerTracksTest::pauseOnFrame(TestPlayer::TEmbeddedPlayer& e, QImage& plain)
{
    startVideo(e);
    if (QTest::currentTestFailed())
        return;
    QTRY_VERIFY_WITH_TIMEOUT(TestPlayer::showsPicture(e.player), 15000);
    e.player->Pause();
    QVERIFY(waitForState(e.player, vlcPlayer_Paused));
    plain = steadyGrab(e.player);
    QVERIFY2(!plain.isNull(), "the paused picture stays on screen");
}

void TVlcPlayerTracksTest::neutralValuesWithoutPlayer()
{
    TVlcPlayer player;
    QVERIFY(player.GetAudioTrackList().isEmpty());
    QCOMPARE(player.GetAudioTrackCount(), -1);
    QCOMPARE(player.GetAudioTrackId(), -1);
    QCOMPARE(player.GetAudioTrackNo(), 0);
    QCOMPARE(player.GetAudioTrackDescriptionByNo(0), QString());
    QVERIFY(player.GetVideoSubtitleList().isEmpty());
    QCOMPARE(player.GetVideoSubtitleId(), -1);
    QCOMPARE(player.GetVideoSubtitleNo(), 0);
    QVERIFY(player.GetVideoTitleList().isEmpty());
    QCOMPARE(player.GetVideoTitleCount(), -1);
    QCOMPARE(player.GetVideoTitleNo(), 0);
    QCOMPARE(player.GetVideoChapter(), -1);
    QCOMPARE(player.GetVideoChapterCountByTitleId(0), -1);
    QCOMPARE(player.GetTeleText(), -1);
    QVERIFY(!player.ShowTeleText());
    player.SetViewTeletext(true);
    QVERIFY(!player.ViewTeletext());
    // None of these may have started the engine player.
    player.SetAudioTrackByNo(1);
    player.SetVideoSubtitleById(-1);
    player.MarqueeShowText(QStringLiteral("x"), 0, 0, 0xFFFFFF, 20, 255, 0);
    player.LogoHide();
    QCOMPARE(player.GetAudioTrackNo(), 0);
}

void TVlcPlayerTracksTest::neutralValuesWithoutEngine()
{
    // An option the engine does not know keeps its instance from starting.
    TVlcPlayer player;
    player.SetStartOptions({QStringLiteral("--scenora-no-such-option")});
    QVERIFY(player.EqualizerGetPresetList().isEmpty());
    QCOMPARE(player.EqualizerGetBandCount(), quint16(0));
    QCOMPARE(player.EqualizerGetBandFrequency(0), 0.0f);
    QVERIFY(player.GetAudioOutputList().isEmpty());
    QVERIFY(player.GetAudioOutputDeviceList(QStringLiteral("adummy")).isEmpty());
    QVERIFY(player.GetAudioOutputDeviceEnum().isEmpty());
    QVERIFY(!player.SetAudioOutput(QStringLiteral("adummy")));
    player.EqualizerSetPreset(1);
    player.EqualizerApply(nullptr);
    player.SetAudioOutputDevice(QStringLiteral("adummy"), QStringLiteral("default"));
    QVERIFY(!player.GetPlayerHandle());
}

void TVlcPlayerTracksTest::audioTracks()
{
    TestPlayer::TEmbeddedPlayer e(VideoSize);
    startVideo(e);
    TVlcPlayer* player = e.player;

    // The engine lists "Disable" (id -1) before the two tracks.
    const TVlcTextTagList list = player->GetAudioTrackList();
    QCOMPARE(player->GetAudioTrackCount(), int(list.size()));
    QCOMPARE(list[0].Tag, -1);
    const TVlcTextTag first = list[1];
    const TVlcTextTag second = list[2];
    QCOMPARE(first.Text, FirstTrackTitle);
    QCOMPARE(second.Text, SecondTrackTitle);
    QVERIFY(first.Tag >= 0 && second.Tag >= 0 && first.Tag != second.Tag);
    QCOMPARE(player->GetAudioTrackDescriptionById(second.Tag), SecondTrackTitle);
    QCOMPARE(player->GetAudioTrackDescriptionByNo(1), FirstTrackTitle);
    QCOMPARE(player->GetAudioTrackDescriptionByNo(3), QString());
    QCOMPARE(player->GetAudioTrackDescriptionById(-1), QString());

    // The engine starts on the first track. It records a chosen track at
    // once and switches over later on its own thread, so a choice that got
    // through would show here without waiting.
    QTRY_COMPARE(player->GetAudioTrackId(), first.Tag);
    player->SetAudioTrackByNo(3);
    player->SetAudioTrackByNo(-1);
    player->SetAudioTrackById(-1);
    QCOMPARE(player->GetAudioTrackId(), first.Tag);
    QCOMPARE(player->GetAudioTrackNo(), 1);

    // While the engine switches over it may briefly report an earlier
    // choice again, so every reading waits for the settled value.
    player->SetAudioTrackById(second.Tag);
    QTRY_COMPARE(player->GetAudioTrackId(), second.Tag);
    QTRY_COMPARE(player->GetAudioTrackNo(), 2);

    player->SetAudioTrackByNo(1);
    QTRY_COMPARE(player->GetAudioTrackId(), first.Tag);
    QTRY_COMPARE(player->GetAudioTrackNo(), 1);

    // Position 0 is the engine's "Disable" entry.
    player->SetAudioTrackByNo(0);
    QTRY_COMPARE(player->GetAudioTrackId(), -1);
    QTRY_COMPARE(player->GetAudioTrackNo(), 0);
}

void TVlcPlayerTracksTest::audioTrackOutsideTheList()
{
    TestPlayer::TEmbeddedPlayer e(VideoSize);
    startVideo(e);
    e.player->Stop();
    // The engine player exists but lists nothing, so no current id is listed.
    QVERIFY(e.player->GetAudioTrackList().isEmpty());
    QCOMPARE(e.player->GetAudioTrackNo(), -1);
}

void TVlcPlayerTracksTest::subtitleFile()
{
    // The name is not plain ASCII, so it reaches the engine only as UTF-8.
    const QString subtitles = FClip.filePath(QStringLiteral("Untertitel äöü.srt"));
    QFile file(subtitles);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("1\n00:00:00,000 --> 00:00:20,000\nSCENORA\n");
    file.close();

    TestPlayer::TEmbeddedPlayer e(VideoSize);
    startVideo(e);
    TVlcPlayer* player = e.player;
    const TVlcTextTagList before = player->GetVideoSubtitleList();
    QVERIFY(std::none_of(before.cbegin(), before.cend(), [](const TVlcTextTag& entry) { return entry.Tag >= 0; }));

    player->SetVideoSubtitleFile(subtitles);
    QTRY_VERIFY_WITH_TIMEOUT(player->GetVideoSubtitleId() >= 0, 10000);
    const int id = player->GetVideoSubtitleId();
    const TVlcTextTagList list = player->GetVideoSubtitleList();
    const auto entry = std::find_if(list.cbegin(), list.cend(), [id](const TVlcTextTag& e) { return e.Tag == id; });
    QVERIFY2(entry != list.cend(), "the added subtitle is listed");
    QCOMPARE(player->GetVideoSubtitleNo(), int(entry - list.cbegin()));
    QCOMPARE(player->GetVideoSubtitleDescriptionById(id), entry->Text);

    // Unlike audio track ids, -1 reaches the engine: it turns subtitles off.
    player->SetVideoSubtitleById(-1);
    QTRY_COMPARE(player->GetVideoSubtitleId(), -1);
}

void TVlcPlayerTracksTest::equalizerPresets()
{
    TVlcPlayer player;
    const TVlcTextTagList presets = player.EqualizerGetPresetList();
    QVERIFY(presets.size() > 1);
    QCOMPARE(presets.first(), (TVlcTextTag {QStringLiteral("Flat"), 0}));
    for (qsizetype i = 0; i < presets.size(); ++i) {
        QVERIFY(!presets[i].Text.isEmpty());
        QCOMPARE(presets[i].Tag, int(i));
    }
    QVERIFY(player.EqualizerGetBandCount() > 0);
    QVERIFY(player.EqualizerGetBandFrequency(0) > 0.0f);
    QVERIFY(player.EqualizerGetBandFrequency(1) > player.EqualizerGetBandFrequency(0));
    // Only the engine instance was started: there is still no engine player.
    QCOMPARE(player.GetAudioTrackNo(), 0);
}

void TVlcPlayerTracksTest::audioOutputs()
{
    TVlcPlayer player;
    player.SetStartOptions(TestPlayer::StartOptions);
    const QStringList outputs = player.GetAudioOutputList();
    QVERIFY2(outputs.contains(QStringLiteral("adummy")), qPrintable(outputs.join(QLatin1Char(' '))));
    QVERIFY(player.SetAudioOutput(QStringLiteral("adummy")));
    QVERIFY(!player.SetAudioOutput(QStringLiteral("scenora-no-such-output")));
}

void TVlcPlayerTracksTest::teletextNeedsPlayback()
{
    TestPlayer::TEmbeddedPlayer e(VideoSize);
    TVlcPlayer* player = e.player;
    QVERIFY(player->GetPlayerHandle());
    QVERIFY(!player->ShowTeleText());
    player->SetViewTeletext(true);
    QVERIFY(!player->ViewTeletext());

    startVideo(e);
    QVERIFY(player->ShowTeleText());
    QVERIFY(player->ViewTeletext());
    QVERIFY(!player->HideTeleText());
    QVERIFY(!player->ViewTeletext());
    player->SetViewTeletext(true);
    QVERIFY(player->ViewTeletext());

    // Paused is not playing: the view stays as it is.
    player->Pause();
    QVERIFY(waitForState(player, vlcPlayer_Paused));
    QVERIFY(player->HideTeleText());
}

void TVlcPlayerTracksTest::marqueeOnPausedFrame()
{
    TestPlayer::TEmbeddedPlayer e(VideoSize);
    QImage plain;
    pauseOnFrame(e, plain);
    if (QTest::currentTestFailed())
        return;
    TVlcPlayer* player = e.player;

    // Red (RGB), not blue: the colour reaches the engine in its byte order.
    player->MarqueeShowText(QStringLiteral("SCENORA"), MarqueeArea.x(), MarqueeArea.y(), 0xFF0000, 36, 255, 0);
    QTRY_VERIFY_WITH_TIMEOUT(areaDiff(grabVideo(player), plain, MarqueeArea) > 20, 15000);
    const QImage shown = steadyGrab(player);
    QVERIFY(!shown.isNull());
    QVERIFY(redPixels(shown, MarqueeArea) > 200);
    QCOMPARE(redPixels(plain, MarqueeArea), 0);
    QVERIFY(TestMedia::framesMatch(shown.copy(UntouchedArea), plain.copy(UntouchedArea)));

    player->MarqueeHide();
    QTRY_VERIFY_WITH_TIMEOUT(areaDiff(grabVideo(player), plain, MarqueeArea) < 4, 15000);
}

void TVlcPlayerTracksTest::logoOnPausedFrame()
{
    const QString logo = FClip.filePath(QStringLiteral("logo.png"));
    QImage image(LogoArea.size(), QImage::Format_RGB32);
    image.fill(Qt::black);
    QPainter(&image).fillRect(8, 8, 48, 48, Qt::white);
    QVERIFY(image.save(logo));

    TestPlayer::TEmbeddedPlayer e(VideoSize);
    QImage plain;
    pauseOnFrame(e, plain);
    if (QTest::currentTestFailed())
        return;
    TVlcPlayer* player = e.player;

    player->LogoShowFile(logo, LogoArea.x(), LogoArea.y(), 255);
    QTRY_VERIFY_WITH_TIMEOUT(areaDiff(grabVideo(player), plain, LogoArea) > 20, 15000);
    const QImage shown = steadyGrab(player);
    QVERIFY(!shown.isNull());
    // The logo's white square inside its black frame.
    QVERIFY(brightness(shown, LogoArea.adjusted(16, 16, -16, -16)) > 200);
    QVERIFY(brightness(shown, QRect(LogoArea.topLeft() + QPoint(1, 1), QSize(5, 62))) < 40);
    QVERIFY(TestMedia::framesMatch(shown.copy(UntouchedArea), plain.copy(UntouchedArea)));

    player->LogoHide();
    QTRY_VERIFY_WITH_TIMEOUT(areaDiff(grabVideo(player), plain, LogoArea) < 4, 15000);
}

QTEST_MAIN(TVlcPlayerTracksTest)
#include "TVlcPlayerTracksTest.moc"
