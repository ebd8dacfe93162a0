#include "engine/TVlcPlayer.h"

#include "engine/TFrameSource.h"
#include "engine/TStillPicture.h"
#include "engine/VlcLoader.h"

qint64 TVlcPlayer::MediaTimeOf(qint64 AEngineMs) const
{
    return std::max<qint64>(0, AEngineMs - FFrames->ReorderDelayMs());
}

qint64 TVlcPlayer::EngineTimeOf(qint64 AMediaMs)
{
    // The engine's clock reaches its length as the last frame is shown: a
    // seek there would end the video instead of resting on that frame.
    const qint64 engineMs = AMediaMs + FFrames->ReorderDelayMs();
    const qint64 length = GetVideoLenInMs();
    return length > 0 ? std::min(engineMs, length - 1) : engineMs;
}

void TVlcPlayer::Rest_At(qint64 AMs, bool ASnap)
{
    FRestMs = AMs;
    FRestSnap = ASnap;
    FFrames->Request(AMs);
}

void TVlcPlayer::Rest_Leave()
{
    FRestMs = -1;
    FRestSnap = false;
    FFrames->Cancel();
    FStillWinCtrl->ClearPicture();
}

void TVlcPlayer::Rest_FrameReady(qint64 ARequestedMs, const TFrameReader::TFrame& AFrame)
{
    // A frame of a rest that has moved on since, or none at all: the engine's
    // own picture stays.
    if (FRestMs != ARequestedMs || AFrame.IsNull())
        return;
    if (!FEngineOverlays) {
        FStillWinCtrl->SetPicture(AFrame.Image, AFrame.DisplayAspect);
        FMouseEventWinCtrl->BringToFront();
    }
    // A time outside every frame (past the end) moves to the frame shown.
    const bool outside = ARequestedMs < AFrame.StartMs || ARequestedMs >= AFrame.EndMs;
    if (!std::exchange(FRestSnap, false) && !outside)
        return;
    FRestMs = AFrame.StartMs;
    // Played on, the engine goes on from this very frame.
    if (GetState() == vlcPlayer_Paused)
        LibVlcEntries.libvlc_media_player_set_time(p_mi.get(), EngineTimeOf(AFrame.StartMs));
    if (OnMediaPlayerTimeChanged)
        OnMediaPlayerTimeChanged(this, AFrame.StartMs);
}

void TVlcPlayer::Rest_SetEngineOverlay(quint8 AOverlay, bool AOn)
{
    FEngineOverlays = AOn ? FEngineOverlays | AOverlay : FEngineOverlays & ~AOverlay;
    if (FEngineOverlays) {
        FStillWinCtrl->ClearPicture();
        Rest_EngineRedraw();
    } else if (FRestMs >= 0) {
        FFrames->Request(FRestMs);
    }
}

void TVlcPlayer::Rest_EngineRedraw()
{
    // A paused engine draws its picture again only for a seek.
    const qint64 rest = FRestMs;
    if (FEngineOverlays && rest >= 0 && rest != TFrameReader::EndOfVideo && GetState() == vlcPlayer_Paused)
        LibVlcEntries.libvlc_media_player_set_time(p_mi.get(), EngineTimeOf(rest));
}
