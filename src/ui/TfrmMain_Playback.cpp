#include "ui/TfrmMain.h"

#include "engine/TVlcPlayer.h"
#include "services/OrvPath.h"
#include "ui/THeaderTabBar.h"
#include "ui/TScreenshotWriter.h"
#include "ui/TStyleButton.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QLocale>
#include <QPointer>
#include <QScopeGuard>
#include <QSlider>
#include <QTime>
#include <QTimer>
#include <QUrl>

#include <algorithm>
#include <utility>

namespace {

// The step of a step button called without a button.
constexpr int DefaultStepMs = 20;
// Steps of the arrow keys: plain, with Shift, with Ctrl, with Ctrl and Shift.
constexpr int ShiftStepMs = 5;
constexpr int CtrlStepMs = 1000;
constexpr int CtrlShiftStepMs = 10000;
// A started file is paused again this long after the engine reports playing,
// so that its first frames are on screen.
constexpr quint32 PlayingSettleDelayMs = 50;
// How long the rest waits at most for the engine's video output; it comes
// with the first picture, well within this also on a busy machine.
constexpr int FirstPictureWaitMs = 10000;
// How often, and how long, silence is asked of an audio output still being made.
constexpr quint32 SilenceRetryMs = 20;
constexpr int SilenceTries = 100;
// A chosen video whose opening has shown no progress this long cannot be
// played. The engine reports opening and buffering as it goes; only a read
// that never returns says nothing, and a disk spinning up or a network share
// answers well within this.
constexpr int NoProgressWaitMs = 30000;
constexpr qint64 MsPerDay = 86400000;
// What the time labels show while a time is unknown.
const QString NoTimeText = QStringLiteral("-:--:------");

// The separator between hours and minutes in the locale's short time format.
QString LocaleTimeSeparator()
{
    const QString format = QLocale().timeFormat(QLocale::ShortFormat);
    qsizetype pos = format.indexOf(QLatin1Char('h'), 0, Qt::CaseInsensitive);
    if (pos < 0)
        return QStringLiteral(":");
    while (pos < format.size() && format.at(pos).toLower() == QLatin1Char('h'))
        ++pos;
    QString separator;
    for (; pos < format.size() && format.at(pos) != QLatin1Char('m'); ++pos) {
        if (format.at(pos) != QLatin1Char('\''))
            separator += format.at(pos);
    }
    return separator.isEmpty() ? QStringLiteral(":") : separator;
}

// The step of a step button is its tag.
int StepOf(QObject* Sender)
{
    const auto* button = qobject_cast<TStyleButton*>(Sender);
    return button ? button->Tag() : DefaultStepMs;
}

} // namespace

// Hands every key pressed in the window to KeyDown before the focused control
// sees it; keys KeyDown leaves alone go on to the control as usual.
class TfrmMain::TKeyPreview : public QObject
{
public:
    explicit TKeyPreview(TfrmMain* AOwner)
        : QObject(AOwner), FOwner(AOwner)
    {
        qApp->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::KeyPress || !watched->isWidgetType()
            || static_cast<QWidget*>(watched)->window() != FOwner)
            return false;
        return FOwner->KeyDown(static_cast<QKeyEvent*>(event));
    }

private:
    TfrmMain* FOwner;
};

void TfrmMain::Playback_Bind()
{
    connect(bPlay, &QToolButton::clicked, this, [this] { bPlayClick(bPlay); });
    for (TStyleButton* button : {b10SecBackward, b1SecBackward})
        connect(button, &QToolButton::clicked, this, [this, button] { b10SecBackwardClick(button); });
    for (TStyleButton* button : {b1SecForward, b10SecForward})
        connect(button, &QToolButton::clicked, this, [this, button] { b10SecForwardClick(button); });
    connect(tbProcess, &QSlider::valueChanged, this, &TfrmMain::tbProcessTracking);
    // A video without pictures rests when the wait for one is over.
    FFirstPictureWait = new QTimer(this);
    FFirstPictureWait->setSingleShot(true);
    FFirstPictureWait->setInterval(FirstPictureWaitMs);
    connect(FFirstPictureWait, &QTimer::timeout, this, &TfrmMain::Player_Rest);
    FPlayingWatchdog = new QTimer(this);
    FPlayingWatchdog->setSingleShot(true);
    FPlayingWatchdog->setInterval(NoProgressWaitMs);
    connect(FPlayingWatchdog, &QTimer::timeout, this, [this] {
        if (!FPlayingAwaited)
            return;
        Player_CannotPlay();
        // Still opening: it must not start playing later.
        FPlayer->Stop();
    });
    new TKeyPreview(this);
}

QString TfrmMain::MediaTime_Text(qint64 AMs)
{
    if (AMs < 0)
        return NoTimeText;
    // The separator is quoted: it is literal text, also where it holds letters.
    const QString separator = QLatin1Char('\'') + LocaleTimeSeparator() + QLatin1Char('\'');
    return QTime::fromMSecsSinceStartOfDay(static_cast<int>(AMs % MsPerDay))
        .toString(QLatin1String("h") + separator + QLatin1String("mm") + separator + QLatin1String("ss-zzz"));
}

// Play, pause, steps and seeks change the engine's picture: each waits for
// the screenshots asked for before it, which are of the picture shown then.
void TfrmMain::bPlayClick(QObject*)
{
    FScreenshotWriter->Then([this] {
        if (FPlayer->GetState() == vlcPlayer_Playing)
            Player_Stop();
        else
            Player_Start();
    });
}

void TfrmMain::Player_Start()
{
    // Before any file was displayed there is nothing to play: the engine
    // would take the empty path for the working folder and play its files.
    if (ListBoxFiles->selectedItems().isEmpty() || FFileName.isEmpty())
        return;
    TabControl1_Header_Activate(TabItem1H_Video);
    bPlay->SetStyleLookup(QStringLiteral("stoptoolbutton"));

    if (FPlayer->GetState() == vlcPlayer_Paused && Player_IsLoaded(FFileName)) {
        FPlayer->Resume();
    } else {
        FStartPosition = 0;
        FEndPosition = -1;
            FPlayingAwaited = true;
        FPlayer->Play(FFileName);
        Timeline_SetValue(0);
    }
    FPlayer->SetAudioVolume(0);
    FPlayer->SetAudioMute(true);
}

bool TfrmMain::Player_IsLoaded(const QString& sFileName)
{
    // The engine names a local file by a file:// location with escaped
    // characters; the path inside it is what is compared, whole: a part of
    // it names another file (clip.avi in clip.avi.avi). The escapes stand for
    // the name's bytes, which need not be UTF-8.
    const QString location = FPlayer->GetMediaMrl();
    const QUrl url(location);
    QString path = location;
    if (url.isLocalFile())
        path = PathFromNative(QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1()));
    return QDir::cleanPath(path) == QDir::cleanPath(sFileName);
}

void TfrmMain::Player_Stop()
{
    bPlay->SetStyleLookup(QStringLiteral("playtoolbutton"));
    if (FStopImmediately)
        BusyCover_Hide();
    FStopImmediately = false;
    if (FPlayer)
        FPlayer->Pause();
}

void TfrmMain::b10SecBackwardClick(QObject* Sender)
{
    const qint64 step = StepOf(Sender);
    FScreenshotWriter->Then([this, step] {
        Player_Stop();
        TabControl1_Header_Activate(TabItem1H_Video);
        const auto position = qint64(Timeline_Value());
        FPlayer->SetVideoPosInMs(position > step ? position - step : 0);
    });
}

void TfrmMain::b10SecForwardClick(QObject* Sender)
{
    const qint64 step = StepOf(Sender);
    FScreenshotWriter->Then([this, step] {
        Player_Stop();
        TabControl1_Header_Activate(TabItem1H_Video);
        const auto position = qint64(Timeline_Value());
        const auto maximum = qint64(Timeline_Maximum());
        FPlayer->SetVideoPosInMs(position < maximum - step ? position + step : maximum);
    });
}

bool TfrmMain::KeyDown(QKeyEvent* AEvent)
{
    // Ctrl+C copies what the user looks at, before the focused control
    // would copy its own text.
    if (AEvent->matches(QKeySequence::Copy)) {
        Screenshots_Copy();
        return true;
    }
    switch (AEvent->key()) {
    case Qt::Key_Left:
    case Qt::Key_Right: {
        const bool ctrl = AEvent->modifiers().testFlag(Qt::ControlModifier);
        const bool shift = AEvent->modifiers().testFlag(Qt::ShiftModifier);
        const bool backward = AEvent->key() == Qt::Key_Left;
        TStyleButton* const button = backward ? b1SecBackward : b1SecForward;
        const int tag = button->Tag();
        const int step = ctrl ? (shift ? CtrlShiftStepMs : CtrlStepMs) : (shift ? ShiftStepMs : tag);
        // The button carries the step for this one call only.
        const auto restore = qScopeGuard([button, tag] { button->SetTag(tag); });
        button->SetTag(step);
        if (backward)
            b10SecBackwardClick(button);
        else
            b10SecForwardClick(button);
        return true;
    }
    case Qt::Key_P:
        bPlayClick(bPlay);
        return true;
    case Qt::Key_S:
        ButtonScreenshotClick();
        return true;
    default:
        return false;
    }
}

void TfrmMain::tbProcessTracking()
{
    // The timeline also moves for the engine's time reports; only a held
    // button means the user is dragging it.
    if (FProcessTrackIgnore || !QGuiApplication::mouseButtons().testFlag(Qt::LeftButton))
        return;
    const auto position = qint64(Timeline_Value());
    FScreenshotWriter->Then([this, position] {
        if (FPlayer->GetState() == vlcPlayer_Playing)
            Player_Stop();
        FPlayer->SetVideoPosInMs(position);
    });
}

void TfrmMain::EvOnMediaPlayerPlaying(QObject*)
{
    // A video that plays after all is not one that cannot be played.
    if (std::exchange(FPlayingAwaited, false))
        StatusBar_ClearMessage();
    FPlayingWatchdog->stop();
    const qint64 length = FPlayer->GetVideoLenInMs();
    Timeline_SetMaximum(float(std::max<qint64>(length, 0)));
    LabelMediaDuration->setText(MediaTime_Text(length));
    Idle_Execute(
        [self = QPointer<TfrmMain>(this)] {
            if (!self || !self->FPlayer)
                return;
            self->FPlayer->SetAudioVolume(0);
            // Paused before it has a video output, the engine makes its
            // output only when played on, at a size it has not yet taken
            // from the video window: the rest waits for the output's report.
            if (self->FPlayer->HasVout())
                self->Player_Rest();
            else if (self->FStopImmediately)
                self->FFirstPictureWait->start();
        },
        PlayingSettleDelayMs);
}

void TfrmMain::EvOnMediaPlayerVideoOutChanged(QObject*, int AVideoOutputs)
{
    if (AVideoOutputs > 0 && FFirstPictureWait->isActive())
        Player_Rest();
}

// Ends the first-frame rest of a newly started file on its first frame.
void TfrmMain::Player_Rest()
{
    FFirstPictureWait->stop();
    if (!FStopImmediately)
        return;
    Player_Stop();
    BusyCover_Hide();
    FPlayer->SetVideoPosInMs(0);
}

// The engine forgets volume and mute set while it has no audio output, which
// is the case right after a new playback starts. An output that comes up
// later reports its volume; playback stays silent from then on. (A negative
// volume reports that the output has gone.)
void TfrmMain::EvOnMediaPlayerAudioVolume(QObject*, float volume)
{
    if (volume >= 0)
        Player_Silence(SilenceTries);
}

// The output reports its volume while it is still being made, before the
// engine lets it be set: until it can be, the setting is tried again.
void TfrmMain::Player_Silence(int ATriesLeft)
{
    if (FPlayer->GetAudioVolume() < 0) {
        if (ATriesLeft > 0) {
            Idle_Execute(
                [self = QPointer<TfrmMain>(this), ATriesLeft] {
                    if (self && self->FPlayer)
                        self->Player_Silence(ATriesLeft - 1);
                },
                SilenceRetryMs);
        }
        return;
    }
    if (FPlayer->GetAudioVolume() > 0)
        FPlayer->SetAudioVolume(0);
    FPlayer->SetAudioMute(true);
}

void TfrmMain::EvOnMediaPlayerTimeChanged(QObject*, qint64 time)
{
    Timeline_SetValue(float(time));
    LabelMediaTime->setText(MediaTime_Text(time));
}

void TfrmMain::Player_WatchPlaying()
{
    FPlayingWatchdog->start();
}

// The engine is at work on the media: opening it, or filling its buffers.
void TfrmMain::EvOnMediaPlayerProgress(QObject*)
{
    if (FPlayingAwaited)
        FPlayingWatchdog->start();
}

void TfrmMain::Player_CannotPlay()
{
    FPlayingAwaited = false;
    FPlayingWatchdog->stop();
    Player_Stop();
    BusyCover_Hide();
    TimeLabels_Reset();
    StatusBar_ShowMessage(QStringLiteral("%1 cannot be played"), PathDisplay(PathFileName(FFileName)));
}

void TfrmMain::Player_EndedUnplayed()
{
    // The report may be about the media before: the engine is then at work
    // on the new one.
    const TVlcPlayerState state = FPlayer->GetState();
    if (FPlayingAwaited && (state == vlcPlayer_Ended || state == vlcPlayer_Error))
        Player_CannotPlay();
}

void TfrmMain::EvOnMediaPlayerEncounteredError(QObject*)
{
    Player_EndedUnplayed();
}

void TfrmMain::EvOnMediaPlayerEndReached(QObject*)
{
    Player_EndedUnplayed();
}
