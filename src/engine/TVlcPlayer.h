#pragma once

#include <QPointer>
#include <QString>
#include <QStringList>
#include <QWidget>

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>

#include <vlc/vlc.h>

#include "engine/TFrameReader.h"
#include "engine/TVlcEqualizer.h"
#include "engine/TVlcMouseEventWinCtrl.h"
#include "engine/VlcOwners.h"
#include "engine/VlcTextTagList.h"
#include "engine/VlcTypes.h"

class TFrameSource;
class TStillPicture;
class TVlc;

// The engine player's state; the ordinals are libvlc's player-state numbers.
enum TVlcPlayerState {
    vlcPlayer_NothingSpecial,
    vlcPlayer_Opening,
    vlcPlayer_Buffering,
    vlcPlayer_Playing,
    vlcPlayer_Paused,
    vlcPlayer_Stopped,
    vlcPlayer_Ended,
    vlcPlayer_Error
};

// Who gets the mouse input over the video: the control (its input overlay
// raises the control's mouse events) or the engine's own video window.
enum TVlcPlayerMouseEventsHandler { mehComponent, mehVideoLAN };

class TVlcPlayer;
class TVlcPlayerEvent;

// Player event handlers; Sender is always the control.
using TNotifyMediaChanged = std::function<void(QObject* Sender, const QString& mrl)>;
using TNotifyTimeChanged = std::function<void(QObject* Sender, qint64 time)>;
using TNotifyPositionChanged = std::function<void(QObject* Sender, float position)>;
using TNotifySeekableChanged = std::function<void(QObject* Sender, bool val)>;
using TNotifyPausableChanged = std::function<void(QObject* Sender, bool val)>;
using TNotifyTitleChanged = std::function<void(QObject* Sender, int title)>;
using TNotifySnapshotTaken = std::function<void(QObject* Sender, const QString& fileName)>;
using TNotifyLengthChanged = std::function<void(QObject* Sender, qint64 time)>;
using TNotifyVideoOutChanged = std::function<void(QObject* Sender, int video_out)>;
using TNotifyScrambledChanged = std::function<void(QObject* Sender, int scrambled)>;
using TNotifyAudioVolume = std::function<void(QObject* Sender, float volume)>;
// Runs on the engine's thread with the engine's own record, valid only
// during the call; data is the control.
using TNotifyPlayerEvent = std::function<void(const libvlc_event_t* p_event, TVlcPlayer* data)>;

// A control with a native window into which libvlc renders video. It owns the
// engine instance, the engine player, a native video window and a transparent
// input overlay above it. Engine instance and player are created lazily, by
// the first operation that needs them (in practice the first Play); until then
// the control is a black rectangle and makes no engine call.
//
// The owner is not the Qt parent: the control stays parentless until it is
// placed into a window with SetParentFromHWND (or, failing that, the first
// play puts it into its owner). Whoever creates the control deletes it; a
// placed control still there when its window goes is deleted with it, as
// every child widget is.
//
// At rest (paused, or at the end of a video) the control shows the frame it
// rests on itself, decoded exactly by FFmpeg; TVlcPlayer_Picture.cpp tells why.
//
// Facets: creation, window and start options in TVlcPlayer.cpp; playback in
// TVlcPlayer_Playback.cpp; the picture at rest and snapshots in
// TVlcPlayer_Picture.cpp; engine
// events in TVlcPlayer_Events.cpp; tracks,
// equalizer, audio outputs and teletext in TVlcPlayer_Tracks.cpp; logo and
// marquee in TVlcPlayer_Overlays.cpp.
class TVlcPlayer : public QWidget {
    Q_OBJECT

public:
    explicit TVlcPlayer(QWidget* AOwner = nullptr);
    ~TVlcPlayer() override;

    // ---- Window ---------------------------------------------------------

    // Puts the control into a new black native container inside the window
    // hWnd (a window of this program), at x, y, w, h in hWnd's pixels.
    // Nothing when the control already has a parent or hWnd is unknown.
    void SetParentFromHWND(WId hWnd, float x, float y, float w, float h);
    // Moves and sizes the container (values truncated toward zero), fills it
    // with the control and raises it above its sibling windows, so that the
    // video lies over the window's controls; nothing while the control has
    // no parent.
    void SetParentLocation(float x, float y, float w, float h);
    // Places the control and lays out its video window and input overlay.
    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight);

    QWidget* Owner() const { return FOwner; }
    // The native window the engine renders into.
    QWidget* PlayerWinCtrl() const { return FPlayerWinCtrl; }
    // The window that shows the frame at rest, above the engine's.
    const TStillPicture* StillWinCtrl() const { return FStillWinCtrl; }
    const TVlcMouseEventWinCtrl* MouseEventWinCtrl() const { return FMouseEventWinCtrl; }

    TVlcPlayerMouseEventsHandler MouseEventsHandler() const { return FMouseEventsHandler; }
    void SetMouseEventsHandler(TVlcPlayerMouseEventsHandler AValue);

    // Mouse events of the control, raised from the input overlay with the
    // control as Sender.
    TNotifyEvent OnClick;
    TNotifyEvent OnDblClick;
    TMouseEvent OnMouseDown;
    TMouseMoveEvent OnMouseMove;
    TMouseEvent OnMouseUp;
    TMouseActivateEvent OnMouseActivate;
    TNotifyEvent OnMouseEnter;
    TNotifyEvent OnMouseLeave;

    // ---- Engine instance, engine player and start options ---------------

    // The engine instance object, created with the start options on first
    // call; it starts the engine itself only on its own first GetHandle.
    TVlc* GetVLC();
    // The engine player, created on first call; null when the engine cannot
    // be started. Every call applies the title display and, with UseEvents,
    // (re)attaches the engine events.
    libvlc_media_player_t* GetPlayerHandle();

    // Start options: they reach the engine only when its instance is created.
    const QStringList& StartOptions() const { return FStartOptions; }
    void SetStartOptions(const QStringList& AValue) { FStartOptions = AValue; }
    TVideoOutput VideoOutput() const { return FVideoOutput; }
    void SetVideoOutput(TVideoOutput AValue) { FVideoOutput = AValue; }
    TAudioOutput AudioOutput() const { return FAudioOutput; }
    void SetAudioOutput(TAudioOutput AValue) { FAudioOutput = AValue; }
    bool SpuShow() const { return FSpuShow; }
    void SetSpuShow(bool AValue) { FSpuShow = AValue; }
    bool OsdShow() const { return FOsdShow; }
    void SetOsdShow(bool AValue) { FOsdShow = AValue; }
    bool VideoOnTop() const { return FVideoOnTop; }
    void SetVideoOnTop(bool AValue) { FVideoOnTop = AValue; }
    bool UseOverlay() const { return FUseOverlay; }
    void SetUseOverlay(bool AValue) { FUseOverlay = AValue; }
    bool SnapshotPrv() const { return FSnapshotPrv; }
    void SetSnapshotPrv(bool AValue) { FSnapshotPrv = AValue; }

    // Settings that also act on a running engine player.
    bool TitleShow() const { return FTitleShow; }
    void SetTitleShow(bool AValue);
    TVlcTitlePosition TitleShowPos() const { return FTitleShowPos; }
    void SetTitleShowPos(TVlcTitlePosition AValue);
    quint32 TitleShowTimeOut() const { return FTitleShowTimeOut; }
    void SetTitleShowTimeOut(quint32 AValue);
    TDeinterlaceFilter DeinterlaceFilter() const { return FDeinterlaceFilter; }
    void SetDeinterlaceFilter(TDeinterlaceFilter AValue);
    TDeinterlaceMode DeinterlaceMode() const { return FDeinterlaceMode; }
    void SetDeinterlaceMode(TDeinterlaceMode AValue);
    // libvlc's name of DeinterlaceMode, whatever the filter setting.
    QString GetDeinterlaceModeName() const;

    // "png" or "jpg"; any other text stores "png". Only stored.
    QString SnapShotFmt() const { return FSnapshotFmt; }
    void SetSnapShotFmt(const QString& AValue);

    bool UseEvents() const { return FUseEvents; }
    void SetUseEvents(bool AValue) { FUseEvents = AValue; }
    QString LastError() const { return FError; }

    // ---- Playback --------------------------------------------------------

    // Plays a local path (every byte of its name kept, see PathNative) or a
    // location; a page of the video-sharing service is followed to its
    // stream (PlayYoutube), anything else goes to PlayNormal.
    void Play(const QString& mrl);
    // True for an http(s) location on the video-sharing service's host.
    static bool IsVideoServicePage(const QString& mrl);
    // Stops what plays, waits until the engine has stopped, then plays mrl.
    void PlayNormal(const QString& mrl);
    // PlayNormal, then waits up to timeout ms for the page to end and plays
    // its first sub-item (the stream).
    void PlayYoutube(const QString& mrl, quint32 timeout);
    // Plays the first sub-item of the current media, if any.
    void PlayContinue();
    // Location of what plays (of its first sub-item when it has sub-items).
    QString GetMediaMrl();
    void Pause();  // only while playing
    void Resume(); // only while paused
    void Stop();   // stops and waits until the engine has stopped
    bool IsPlay();
    bool IsPause();
    TVlcPlayerState GetState();
    QString GetStateName();
    void NextFrame();
    // Moves the video to newWindow's native window; null moves it back.
    void PlayInWindow(QWidget* newWindow);

    qint64 GetVideoLenInMs();
    // The time of the frame shown: at rest the time the control rests on.
    qint64 GetVideoPosInMs();
    // Seeks; when not playing, raises OnMediaPlayerTimeChanged itself. While
    // paused, or while a pause is under way, the control rests on the frame
    // whose interval holds newPos.
    void SetVideoPosInMs(qint64 newPos);
    float GetVideoPosInPercent();
    // Seeks (0..100); when not playing, raises OnMediaPlayerPositionChanged.
    void SetVideoPosInPercent(float newPos);
    QString GetVideoLenStr(const QString& fmt);
    QString GetVideoPosStr(const QString& fmt);
    float GetVideoFps();
    int GetVideoWidth();
    int GetVideoHeight();
    bool GetVideoDimension(unsigned& width, unsigned& height);
    float GetVideoScaleInPercent();
    void SetVideoScaleInPercent(float newScaleInPercent);
    QString GetVideoAspectRatio();
    void SetVideoAspectRatio(const QString& newAspectRatio);
    bool CanPlay();
    bool CanPause();
    bool CanSeek();
    bool HasVout();
    bool IsScrambled();
    // Writes the frame shown, at the video's own size and in its own colours,
    // into the existing file fileName as PNG: at rest the very picture on
    // screen, while playing the frame of the current time. False when there
    // is no video or the file could not be written whole. It may take a
    // second; it may be called from any thread while the control lives, one
    // call at a time, and touches none of the control's widgets or timers.
    // fileName keeps every byte of its name, as PathNative reads it.
    bool Snapshot(const QString& fileName);
    // What Snapshot writes, to be taken later on any thread: the frame shown
    // now, at the video's own size and in its own colours. It gives no frame
    // for a media FFmpeg cannot read, and none, at once, once the control is
    // gone; it touches nothing of the control.
    std::function<TFrameReader::TFrame()> ShownFrame();
    // The engine's own snapshot, at width x height (0 x 0: the video's size).
    // libvlc converts every video with the SD colour matrix.
    bool Snapshot(const QString& fileName, unsigned width, unsigned height);

    bool GetAudioMute() const { return FMute; }
    void SetAudioMute(bool mute);
    int GetAudioVolume();
    void SetAudioVolume(int volumeLevel); // 0..200, other values ignored
    int GetPlayRate();
    void SetPlayRate(int rate); // percent, 1..1000, other values ignored
    int GetAudioChannel();
    void SetAudioChannel(int channel);
    qint64 GetAudioDelay();
    void SetAudioDelay(qint64 delay);

    // ---- Tracks, subtitles, titles and chapters ----------------------------
    // Without an engine player: empty lists and texts, -1 for counts, ids and
    // the chapter, 0 for positions; setters do nothing. Positions count the
    // engine's description list from 0, its "Disable" entry included.

    // Named audio tracks, each tagged with its track id.
    TVlcTextTagList GetAudioTrackList();
    int GetAudioTrackCount();
    int GetAudioTrackId();
    void SetAudioTrackById(int track_id); // negative ids are ignored
    int GetAudioTrackNo(); // -1 when the current id is not listed
    void SetAudioTrackByNo(int track_no); // nothing past the end of the list
    QString GetAudioTrackDescriptionById(int track_id);
    QString GetAudioTrackDescriptionByNo(int track_no);

    TVlcTextTagList GetVideoSubtitleList();
    int GetVideoSubtitleCount();
    int GetVideoSubtitleId();
    void SetVideoSubtitleById(int subtitle_id); // -1 turns subtitles off
    int GetVideoSubtitleNo();
    void SetVideoSubtitleByNo(int subtitle_no);
    QString GetVideoSubtitleDescriptionById(int subtitle_id);
    QString GetVideoSubtitleDescriptionByNo(int subtitle_no);
    // Adds a subtitle file to what plays; the engine's answer is not reported.
    void SetVideoSubtitleFile(const QString& subtitle_file);

    TVlcTextTagList GetVideoTitleList();
    int GetVideoTitleCount();
    int GetVideoTitleId();
    void SetVideoTitleById(int title_id);
    int GetVideoTitleNo();
    void SetVideoTitleByNo(int title_no);
    QString GetVideoTitleDescriptionById(int track_id);
    QString GetVideoTitleDescriptionByNo(int title_no);

    int GetVideoChapter();
    int GetVideoChapterCount();
    int GetVideoChapterCountByTitleId(int title_id);
    void SetVideoChapter(int newChapter);

    // ---- Equalizer -------------------------------------------------------
    // Preset and band queries start the engine instance, not the engine player.

    // The engine's named presets, each tagged with its index.
    TVlcTextTagList EqualizerGetPresetList();
    quint16 EqualizerGetBandCount();
    float EqualizerGetBandFrequency(unsigned bandIndex);
    // A new equalizer of this player's engine instance, owned by the caller.
    std::unique_ptr<TVlcEqualizer> EqualizerCreate(quint16 APreset = TVlcEqualizer::NoPreset);
    // Applying starts the engine player. Null removes the equalizer.
    void EqualizerApply(TVlcEqualizer* AEqualizer);
    // TVlcEqualizer::NoPreset removes the equalizer.
    void EqualizerSetPreset(quint16 APreset);

    // ---- Audio outputs ---------------------------------------------------

    // Module names; starts the engine instance.
    QStringList GetAudioOutputList();
    // Device identifiers of the module aOut; starts the engine instance.
    QStringList GetAudioOutputDeviceList(const QString& aOut);
    // Device identifiers of the player's current output; starts the engine player.
    QStringList GetAudioOutputDeviceEnum();
    // Switches the output module; starts the engine player.
    bool SetAudioOutput(const QString& aOut);
    // Selects a device (of the module aOut unless it is empty); starts the
    // engine player; the engine's answer is not reported.
    void SetAudioOutputDevice(const QString& aOut, const QString& device_id);
    void SetAudioOutputDevice(const QString& device_id);

    // ---- Teletext ----------------------------------------------------------

    void SetTeleText(int page);
    int GetTeleText(); // -1 without engine player
    // Toggle the engine's teletext only while playing; both return ViewTeletext.
    bool ShowTeleText();
    bool HideTeleText();
    bool ViewTeletext() const { return FViewTeleText; }
    void SetViewTeletext(bool AValue);

    // ---- Logo and marquee overlays -----------------------------------------
    // Only with an engine player. Positions given as one value are the
    // engine's placement codes; opacity runs from 0 to 255, colours are 24-bit
    // RGB and times are in milliseconds.

    void LogoSetFile(const QString& file_name);
    // Shows the images in turn, each for delay_ms; loop repeats the sequence.
    void LogoSetFiles(const QStringList& file_names, int delay_ms, bool loop);
    void LogoSetPosition(int position_x, int position_y);
    void LogoSetPosition(qint8 position);
    void LogoSetOpacity(quint8 opacity);
    void LogoSetDelay(int delay_ms);
    void LogoSetRepeat(bool loop);
    void LogoSetEnable(bool enable);
    void LogoShowFile(const QString& file_name, int position_x, int position_y, quint8 opacity);
    void LogoShowFile(const QString& file_name, qint8 position, quint8 opacity);
    void LogoShowFiles(const QStringList& file_names, int position_x, int position_y, quint8 opacity,
                       int delay_ms, bool loop);
    void LogoShowFiles(const QStringList& file_names, qint8 position, quint8 opacity, int delay_ms, bool loop);
    // Clears the image; the logo stays enabled.
    void LogoHide();

    void MarqueeSetText(const QString& marquee_text);
    void MarqueeSetPosition(int position_x, int position_y);
    void MarqueeSetPosition(qint8 position);
    void MarqueeSetColor(quint32 color);
    void MarqueeSetFontSize(int font_size);
    void MarqueeSetOpacity(quint8 opacity);
    void MarqueeSetTimeOut(int time_out_ms);
    void MarqueeSetRefresh(int refresh_after_ms);
    void MarqueeSetEnable(bool enable);
    // The text may hold the time fields %H, %M and %S; the marquee is then
    // refreshed as often as the finest of them changes.
    void MarqueeShowText(const QString& marquee_text, int position_x, int position_y, quint32 color,
                         int font_size, quint8 opacity, int time_out_ms);
    void MarqueeShowText(const QString& marquee_text, qint8 position, quint32 color, int font_size,
                         quint8 opacity, int time_out_ms);
    void MarqueeHide();

    // ---- Events ----------------------------------------------------------

    // Each engine report is posted to the control and raises its handler on
    // the GUI thread, in the engine's order; a handler may run after the
    // state it reports has changed again, so handlers read current values
    // from the control when they need them. Reports about a media played
    // before the current one are dropped.
    //
    // Attaches the engine player's events (detaching first); EventsDisable
    // detaches them.
    void EventsEnable();
    void EventsDisable();

    TNotifyMediaChanged OnMediaPlayerMediaChanged;
    TNotifyEvent OnMediaPlayerNothingSpecial;
    TNotifyEvent OnMediaPlayerOpening;
    TNotifyEvent OnMediaPlayerBuffering;
    TNotifyEvent OnMediaPlayerPlaying;
    TNotifyEvent OnMediaPlayerPaused;
    TNotifyEvent OnMediaPlayerStopped;
    TNotifyEvent OnMediaPlayerForward;
    TNotifyEvent OnMediaPlayerBackward;
    TNotifyEvent OnMediaPlayerEndReached;
    // LastError holds the engine's error text by the time this runs.
    TNotifyEvent OnMediaPlayerEncounteredError;
    TNotifyTimeChanged OnMediaPlayerTimeChanged;
    TNotifyPositionChanged OnMediaPlayerPositionChanged;
    TNotifySeekableChanged OnMediaPlayerSeekableChanged;
    TNotifyPausableChanged OnMediaPlayerPausableChanged;
    TNotifyTitleChanged OnMediaPlayerTitleChanged;
    TNotifySnapshotTaken OnMediaPlayerSnapshotTaken;
    TNotifyLengthChanged OnMediaPlayerLengthChanged;
    TNotifyVideoOutChanged OnMediaPlayerVideoOutChanged;
    TNotifyScrambledChanged OnMediaPlayerScrambledChanged;
    // Raised at once on the engine's thread for every attached report (a
    // snapshot's report: on the thread that took it), before it is posted;
    // the handler must be safe there and must not wait for the GUI thread. Set through the setter, which is safe while
    // events are attached.
    TNotifyPlayerEvent OnMediaPlayerEvent() const;
    void SetOnMediaPlayerEvent(TNotifyPlayerEvent AValue);
    TNotifyEvent OnMediaPlayerCorked;
    TNotifyEvent OnMediaPlayerUnCorked;
    TNotifyEvent OnMediaPlayerMuted;
    TNotifyEvent OnMediaPlayerUnMuted;
    TNotifyAudioVolume OnMediaPlayerAudioVolume;

protected:
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    // Dispatches the posted engine reports to their handlers.
    bool event(QEvent* event) override;

private:
    void LayoutChildren();
    void BindMouseEvents();

    // The engine's callback, on its threads, with the control as user data.
    static void LibVlcEventCallback(const libvlc_event_t* p_event, void* data);
    // One handler per posted message number, on the GUI thread.
    void DispatchPlayerMessage(const TVlcPlayerEvent& AMsg);
    void MsgMediaPlayerMediaChanged(const TVlcPlayerEvent& AMsg);
    void MsgMediaPlayerNothingSpecial(const TVlcPlayerEvent& AMsg);
    void MsgMediaPlayerOpening(const TVlcPlayerEvent& AMsg);
    void MsgMediaPlayerBuffering(const TVlcPlayerEvent& AMsg);
    void MsgMediaPlayerPlaying(const TVlcPlayerEvent& AMsg);
    void MsgMediaPlayerPaused(const TVlcPlayerEvent& AMsg);
    void MsgMediaPlayerStopped(const TVlcPlayerEvent& AMsg);
    void MsgMediaPlayerForward(const TVlcPlayerEvent& AMsg);
    void MsgMediaPlayerBackward(const TVlcPlayerEvent& AMsg);
    void MsgMediaPlayerEndReached(const TVlcPlayerEvent& AMsg);
    void MsgMediaPlayerEncounteredError(const TVlcPlayerEvent& AMsg);
    void MsgMediaPlayerTimeChanged(const TVlcPlayerEvent& AMsg);
    void MsgMediaPlayerPositionChanged(const TVlcPlayerEvent& AMsg);
    void MsgMediaPlayerSeekableChanged(const TVlcPlayerEvent& AMsg);
    void MsgMediaPlayerPausableChanged(const TVlcPlayerEvent& AMsg);
    void MsgMediaPlayerTitleChanged(const TVlcPlayerEvent& AMsg);
    void MsgMediaPlayerSnapshotTaken(const TVlcPlayerEvent& AMsg);
    void MsgMediaPlayerLengthChanged(const TVlcPlayerEvent& AMsg);
    void MsgMediaPlayerVideoOutChanged(const TVlcPlayerEvent& AMsg);
    void MsgMediaPlayerScrambledChanged(const TVlcPlayerEvent& AMsg);
    void MsgMediaPlayerCorked(const TVlcPlayerEvent& AMsg);
    void MsgMediaPlayerUnCorked(const TVlcPlayerEvent& AMsg);
    void MsgMediaPlayerMuted(const TVlcPlayerEvent& AMsg);
    void MsgMediaPlayerUnMuted(const TVlcPlayerEvent& AMsg);
    void MsgMediaPlayerAudioVolume(const TVlcPlayerEvent& AMsg);
    void UpdateTitleShow();
    void UpdateDeinterlace();
    void UpdateDisplayWindow();
    // Stops the engine player and polls every 10 ms until it has stopped.
    void StopAndWait();

    // ---- The picture at rest (TVlcPlayer_Picture.cpp) ------------------------
    // The engine's time as media time: the time of the frame it shows.
    qint64 MediaTimeOf(qint64 AEngineMs) const;
    qint64 EngineTimeOf(qint64 AMediaMs);
    // Rests on the frame at AMs (TFrameReader::EndOfVideo: the last one);
    // ASnap, or a time past the end, moves the time to the frame's start
    // once it is known, and reports it.
    void Rest_At(qint64 AMs, bool ASnap);
    // Playback goes on, or the media is gone: no frame at rest.
    void Rest_Leave();
    void Rest_FrameReady(qint64 ARequestedMs, const TFrameReader::TFrame& AFrame);
    // The engine draws a logo or a marquee (AOverlay) over its picture, or
    // stops drawing it: while it draws one, its own picture is shown at rest.
    void Rest_SetEngineOverlay(quint8 AOverlay, bool AOn);
    // Has the paused engine draw its picture of the rest again, when its
    // own picture is the one shown; the engine does not redraw it itself
    // once its window has been covered or hidden.
    void Rest_EngineRedraw();
    static constexpr quint8 LogoOverlay = 1;
    static constexpr quint8 MarqueeOverlay = 2;

    // Shows the control after it got a parent, unless it was hidden on purpose.
    void ShowInParent(QWidget* AParent);

    QPointer<QWidget> FOwner;

    std::unique_ptr<TVlc> FVLC;
    TVlcMediaPlayerRef p_mi;
    libvlc_event_manager_t* p_mi_ev_mgr = nullptr;
    std::mutex FCS; // guards engine teardown and FError
    // Guards what the engine callback reads: whether it may still report,
    // and the handler it raises on the engine thread.
    mutable std::mutex FEventLock;
    bool FEventsReporting = false;
    TNotifyPlayerEvent FOnMediaPlayerEvent;
    // Engine event types attached now, one bit per type above
    // libvlc_MediaPlayerMediaChanged; GUI thread only.
    quint32 FAttachedEvents = 0;
    QString FError;
    bool FMute = false;
    TVideoOutput FVideoOutput = voDefault;
    TAudioOutput FAudioOutput = aoDefault;
    bool FTitleShow = false;
    TVlcTitlePosition FTitleShowPos = vlcPosCenter;
    quint32 FTitleShowTimeOut = 2000;
    QString FSnapshotFmt = QStringLiteral("png");
    bool FSnapshotPrv = false;
    bool FVideoOnTop = false;
    bool FUseOverlay = false;
    bool FSpuShow = true;
    bool FOsdShow = true;
    bool FViewTeleText = false;
    TDeinterlaceFilter FDeinterlaceFilter = deOFF;
    TDeinterlaceMode FDeinterlaceMode = dmDISCARD;
    bool FUseEvents = true;
    QWidget* FPlayerWinCtrl = nullptr;
    TStillPicture* FStillWinCtrl = nullptr;
    // Pause was asked for and the engine has not reported playing since.
    bool FPauseRequested = false;
    // The media has reported playing since it was set.
    bool FMediaPlayed = false;
    // Media played so far; each engine report carries the count of its time.
    std::atomic<quint64> FMediaCount {0};
    // The exact frames of the local file played.
    TFrameSource* FFrames = nullptr;
    // The media time the control rests on, -1 while it plays; read by the
    // snapshot thread too.
    std::atomic<qint64> FRestMs {-1};
    // The rest's time moves to its frame's start once that is known.
    bool FRestSnap = false;
    // The overlays the engine draws now (LogoOverlay, MarqueeOverlay).
    quint8 FEngineOverlays = 0;
    // A redraw of the engine's paused picture is queued for an expose.
    bool FEngineRedrawQueued = false;
    TVlcMouseEventWinCtrl* FMouseEventWinCtrl = nullptr;
    TVlcPlayerMouseEventsHandler FMouseEventsHandler = mehComponent;
    QStringList FStartOptions;
};
