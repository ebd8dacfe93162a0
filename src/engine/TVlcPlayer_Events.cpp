#include "engine/TVlcPlayer.h"

#include <QCoreApplication>

#include "engine/TVlcPlayerEvent.h"
#include "engine/VlcLoader.h"
#include "engine/VlcOwners.h"

namespace {
quint32 attachedBit(int eventType)
{
    return quint32(1) << (eventType - libvlc_MediaPlayerMediaChanged);
}
} // namespace

void TVlcPlayer::EventsEnable()
{
    EventsDisable();
    if (!p_mi)
        return;
    p_mi_ev_mgr = LibVlcEntries.libvlc_media_player_event_manager(p_mi.get());
    if (!p_mi_ev_mgr)
        return;
    {
        std::lock_guard lock(FEventLock);
        FEventsReporting = true;
    }
    for (const int type : VlcAttachedEventTypes) {
        if (LibVlcEntries.libvlc_event_attach(p_mi_ev_mgr, type, &TVlcPlayer::LibVlcEventCallback, this) == 0)
            FAttachedEvents |= attachedBit(type);
    }
}

void TVlcPlayer::EventsDisable()
{
    // From here on no callback raises a handler or posts, also one that the
    // engine is running right now and that has not reached the lock yet.
    {
        std::lock_guard lock(FEventLock);
        FEventsReporting = false;
    }
    if (!p_mi_ev_mgr)
        return;
    // Only what is attached is detached: libvlc aborts the process on
    // detaching a listener it does not have. Once the detach has returned
    // the engine runs no callback for this control any more, because it
    // holds the same lock while it calls them.
    for (auto type = VlcAttachedEventTypes.rbegin(); type != VlcAttachedEventTypes.rend(); ++type) {
        if (FAttachedEvents & attachedBit(*type)) {
            LibVlcEntries.libvlc_event_detach(p_mi_ev_mgr, *type, &TVlcPlayer::LibVlcEventCallback, this);
            FAttachedEvents &= ~attachedBit(*type);
        }
    }
}

TNotifyPlayerEvent TVlcPlayer::OnMediaPlayerEvent() const
{
    std::lock_guard lock(FEventLock);
    return FOnMediaPlayerEvent;
}

void TVlcPlayer::SetOnMediaPlayerEvent(TNotifyPlayerEvent AValue)
{
    std::lock_guard lock(FEventLock);
    FOnMediaPlayerEvent = std::move(AValue);
}

void TVlcPlayer::LibVlcEventCallback(const libvlc_event_t* p_event, void* data)
{
    auto* player = static_cast<TVlcPlayer*>(data);
    if (!player || !p_event)
        return;
    // Held through the handler and the post, so that EventsDisable returns
    // only after a report under way has been posted in full; a posted event
    // that the control never handles is discarded with it.
    std::lock_guard lock(player->FEventLock);
    if (!player->FEventsReporting)
        return;
    if (player->FOnMediaPlayerEvent)
        player->FOnMediaPlayerEvent(p_event, player);
    if (std::unique_ptr<TVlcPlayerEvent> message = TVlcPlayerEvent::FromEngineEvent(*p_event, player->FMediaCount))
        QCoreApplication::postEvent(player, message.release());
}

bool TVlcPlayer::event(QEvent* event)
{
    if (const TVlcPlayerEvent* message = TVlcPlayerEvent::Received(event)) {
        DispatchPlayerMessage(*message);
        return true;
    }
    return QWidget::event(event);
}

void TVlcPlayer::DispatchPlayerMessage(const TVlcPlayerEvent& AMsg)
{
    // A report about a media played before the current one is of no use: a
    // late playing report would end the current media's wait, a late end its
    // playback.
    if (AMsg.Media() != FMediaCount)
        return;
    switch (AMsg.Message() - VlcMessageOffset) {
    case libvlc_MediaPlayerMediaChanged: MsgMediaPlayerMediaChanged(AMsg); break;
    case libvlc_MediaPlayerNothingSpecial: MsgMediaPlayerNothingSpecial(AMsg); break;
    case libvlc_MediaPlayerOpening: MsgMediaPlayerOpening(AMsg); break;
    case libvlc_MediaPlayerBuffering: MsgMediaPlayerBuffering(AMsg); break;
    case libvlc_MediaPlayerPlaying: MsgMediaPlayerPlaying(AMsg); break;
    case libvlc_MediaPlayerPaused: MsgMediaPlayerPaused(AMsg); break;
    case libvlc_MediaPlayerStopped: MsgMediaPlayerStopped(AMsg); break;
    case libvlc_MediaPlayerForward: MsgMediaPlayerForward(AMsg); break;
    case libvlc_MediaPlayerBackward: MsgMediaPlayerBackward(AMsg); break;
    case libvlc_MediaPlayerEndReached: MsgMediaPlayerEndReached(AMsg); break;
    case libvlc_MediaPlayerEncounteredError: MsgMediaPlayerEncounteredError(AMsg); break;
    case libvlc_MediaPlayerTimeChanged: MsgMediaPlayerTimeChanged(AMsg); break;
    case libvlc_MediaPlayerPositionChanged: MsgMediaPlayerPositionChanged(AMsg); break;
    case libvlc_MediaPlayerSeekableChanged: MsgMediaPlayerSeekableChanged(AMsg); break;
    case libvlc_MediaPlayerPausableChanged: MsgMediaPlayerPausableChanged(AMsg); break;
    case libvlc_MediaPlayerTitleChanged: MsgMediaPlayerTitleChanged(AMsg); break;
    case libvlc_MediaPlayerSnapshotTaken: MsgMediaPlayerSnapshotTaken(AMsg); break;
    case libvlc_MediaPlayerLengthChanged: MsgMediaPlayerLengthChanged(AMsg); break;
    case libvlc_MediaPlayerVout: MsgMediaPlayerVideoOutChanged(AMsg); break;
    case libvlc_MediaPlayerScrambledChanged: MsgMediaPlayerScrambledChanged(AMsg); break;
    case libvlc_MediaPlayerCorked: MsgMediaPlayerCorked(AMsg); break;
    case libvlc_MediaPlayerUncorked: MsgMediaPlayerUnCorked(AMsg); break;
    case libvlc_MediaPlayerMuted: MsgMediaPlayerMuted(AMsg); break;
    case libvlc_MediaPlayerUnmuted: MsgMediaPlayerUnMuted(AMsg); break;
    case libvlc_MediaPlayerAudioVolume: MsgMediaPlayerAudioVolume(AMsg); break;
    default: break;
    }
}

void TVlcPlayer::MsgMediaPlayerMediaChanged(const TVlcPlayerEvent& AMsg)
{
    if (!OnMediaPlayerMediaChanged)
        return;
    auto* media = reinterpret_cast<libvlc_media_t*>(AMsg.LParam());
    OnMediaPlayerMediaChanged(this, media ? LibVlcTakeString(LibVlcEntries.libvlc_media_get_mrl(media)) : QString());
}

void TVlcPlayer::MsgMediaPlayerNothingSpecial(const TVlcPlayerEvent&)
{
    if (OnMediaPlayerNothingSpecial)
        OnMediaPlayerNothingSpecial(this);
}

void TVlcPlayer::MsgMediaPlayerOpening(const TVlcPlayerEvent&)
{
    if (OnMediaPlayerOpening)
        OnMediaPlayerOpening(this);
}

void TVlcPlayer::MsgMediaPlayerBuffering(const TVlcPlayerEvent&)
{
    if (OnMediaPlayerBuffering)
        OnMediaPlayerBuffering(this);
}

void TVlcPlayer::MsgMediaPlayerPlaying(const TVlcPlayerEvent&)
{
    FPauseRequested = false;
    FMediaPlayed = true;
    Rest_Leave();
    if (OnMediaPlayerPlaying)
        OnMediaPlayerPlaying(this);
}

void TVlcPlayer::MsgMediaPlayerPaused(const TVlcPlayerEvent&)
{
    if (OnMediaPlayerPaused)
        OnMediaPlayerPaused(this);
}

void TVlcPlayer::MsgMediaPlayerStopped(const TVlcPlayerEvent&)
{
    if (OnMediaPlayerStopped)
        OnMediaPlayerStopped(this);
}

void TVlcPlayer::MsgMediaPlayerForward(const TVlcPlayerEvent&)
{
    if (OnMediaPlayerForward)
        OnMediaPlayerForward(this);
}

void TVlcPlayer::MsgMediaPlayerBackward(const TVlcPlayerEvent&)
{
    if (OnMediaPlayerBackward)
        OnMediaPlayerBackward(this);
}

void TVlcPlayer::MsgMediaPlayerEndReached(const TVlcPlayerEvent&)
{
    // A video played to its end rests on its last frame.
    if (FMediaPlayed)
        Rest_At(TFrameReader::EndOfVideo, true);
    if (OnMediaPlayerEndReached)
        OnMediaPlayerEndReached(this);
}

void TVlcPlayer::MsgMediaPlayerEncounteredError(const TVlcPlayerEvent&)
{
    {
        std::lock_guard lock(FCS);
        FError = LibVlcText(LibVlcEntries.libvlc_errmsg());
    }
    if (OnMediaPlayerEncounteredError)
        OnMediaPlayerEncounteredError(this);
}

void TVlcPlayer::MsgMediaPlayerTimeChanged(const TVlcPlayerEvent& AMsg)
{
    // At rest the time is the rest's; a report of the engine's reading from
    // before the rest would name another frame.
    if (FRestMs >= 0)
        return;
    if (OnMediaPlayerTimeChanged)
        OnMediaPlayerTimeChanged(this, MediaTimeOf(VlcUnpackTime(AMsg.WParam(), AMsg.LParam())));
}

void TVlcPlayer::MsgMediaPlayerPositionChanged(const TVlcPlayerEvent& AMsg)
{
    if (OnMediaPlayerPositionChanged)
        OnMediaPlayerPositionChanged(this, VlcUnpackThousandths(AMsg.WParam()));
}

void TVlcPlayer::MsgMediaPlayerSeekableChanged(const TVlcPlayerEvent& AMsg)
{
    if (OnMediaPlayerSeekableChanged)
        OnMediaPlayerSeekableChanged(this, AMsg.WParam() != 0);
}

void TVlcPlayer::MsgMediaPlayerPausableChanged(const TVlcPlayerEvent& AMsg)
{
    if (OnMediaPlayerPausableChanged)
        OnMediaPlayerPausableChanged(this, AMsg.WParam() != 0);
}

void TVlcPlayer::MsgMediaPlayerTitleChanged(const TVlcPlayerEvent& AMsg)
{
    if (OnMediaPlayerTitleChanged)
        OnMediaPlayerTitleChanged(this, static_cast<int>(AMsg.WParam()));
}

void TVlcPlayer::MsgMediaPlayerSnapshotTaken(const TVlcPlayerEvent& AMsg)
{
    if (OnMediaPlayerSnapshotTaken)
        OnMediaPlayerSnapshotTaken(this, LibVlcText(reinterpret_cast<const char*>(AMsg.LParam())));
}

void TVlcPlayer::MsgMediaPlayerLengthChanged(const TVlcPlayerEvent& AMsg)
{
    if (OnMediaPlayerLengthChanged)
        OnMediaPlayerLengthChanged(this, VlcUnpackTime(AMsg.WParam(), AMsg.LParam()));
}

void TVlcPlayer::MsgMediaPlayerVideoOutChanged(const TVlcPlayerEvent& AMsg)
{
    if (OnMediaPlayerVideoOutChanged)
        OnMediaPlayerVideoOutChanged(this, static_cast<int>(AMsg.WParam()));
}

void TVlcPlayer::MsgMediaPlayerScrambledChanged(const TVlcPlayerEvent& AMsg)
{
    if (OnMediaPlayerScrambledChanged)
        OnMediaPlayerScrambledChanged(this, static_cast<int>(AMsg.WParam()));
}

void TVlcPlayer::MsgMediaPlayerCorked(const TVlcPlayerEvent&)
{
    if (OnMediaPlayerCorked)
        OnMediaPlayerCorked(this);
}

void TVlcPlayer::MsgMediaPlayerUnCorked(const TVlcPlayerEvent&)
{
    if (OnMediaPlayerUnCorked)
        OnMediaPlayerUnCorked(this);
}

void TVlcPlayer::MsgMediaPlayerMuted(const TVlcPlayerEvent&)
{
    if (OnMediaPlayerMuted)
        OnMediaPlayerMuted(this);
}

void TVlcPlayer::MsgMediaPlayerUnMuted(const TVlcPlayerEvent&)
{
    if (OnMediaPlayerUnMuted)
        OnMediaPlayerUnMuted(this);
}

void TVlcPlayer::MsgMediaPlayerAudioVolume(const TVlcPlayerEvent& AMsg)
{
    if (OnMediaPlayerAudioVolume)
        OnMediaPlayerAudioVolume(this, VlcUnpackThousandths(AMsg.WParam()));
}
