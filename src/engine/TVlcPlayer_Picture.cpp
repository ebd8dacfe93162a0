// The picture of a player at rest, and what it saves.
//
// libvlc 3.0 cannot give the frame a person reviews at rest. It stamps the
// frames of an AVI file by their decoding order, so after a seek it shows a
// video with reordered frames early by the reordering delay: two frames for
// H.264 with B-pyramids, one for MPEG-4 with B-frames. Its snapshot converts
// every video with the SD colour matrix, also HD video tagged BT.709. And a
// paused engine does not draw its picture again once its window has been
// covered, hidden or resized. So at rest the control shows the frame whose
// interval holds the rest time itself, decoded by FFmpeg (TFrameReader on the
// thread of TFrameSource) and drawn by TStillPicture over the engine's
// window; what S saves is that very picture. The times the control reports
// are those of the frames shown: the engine is sought the reordering delay
// later, and its own times are reported that much earlier.
#include "engine/TVlcPlayer.h"

#include "engine/TFrameSource.h"
#include "engine/TStillPicture.h"
#include "engine/VlcLoader.h"
#include "services/OrvPath.h"

#include <QBuffer>
#include <QFile>


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

// ---- What is saved ---------------------------------------------------------

std::function<TFrameReader::TFrame()> TVlcPlayer::ShownFrame()
{
    if (!p_mi)
        return [] { return TFrameReader::TFrame {}; };
    const qint64 rest = FRestMs;
    return FFrames->Taker(rest >= 0 ? rest : MediaTimeOf(LibVlcEntries.libvlc_media_player_get_time(p_mi.get())));
}

bool TVlcPlayer::Snapshot(const QString& fileName)
{
    if (!p_mi)
        return false;
    const TFrameReader::TFrame frame = ShownFrame()();
    if (frame.IsNull()) {
        // A media FFmpeg cannot read: the engine's own picture, as it has it.
        unsigned width = 0;
        unsigned height = 0;
        GetVideoDimension(width, height);
        return Snapshot(fileName, width, height);
    }
    // Made in memory first, then written: Qt's PNG writer loses memory when
    // the file refuses a write halfway (a full disk).
    QByteArray png;
    QBuffer pngBuffer(&png);
    QFile written;
    if (!frame.Image.save(&pngBuffer, "PNG") || !PathOpenWrite(written, fileName) || written.write(png) != png.size()
        || written.error() != QFileDevice::NoError)
        return false;
    // Reported as the engine reports its own snapshots.
    const std::string name = PathNative(fileName).string();
    libvlc_event_t report {};
    report.type = libvlc_MediaPlayerSnapshotTaken;
    report.p_obj = p_mi.get();
    report.u.media_player_snapshot_taken.psz_filename = const_cast<char*>(name.c_str());
    LibVlcEventCallback(&report, this);
    return true;
}

bool TVlcPlayer::Snapshot(const QString& fileName, unsigned width, unsigned height)
{
    if (!p_mi)
        return false;
    // libvlc 3.0 answers 0 as soon as a video output exists, also when it had
    // no picture or could not write the whole file; it writes before it
    // returns, so the file shows whether the snapshot was taken.
    const TOrvFileStamp before = PathStamp(fileName);
    if (LibVlcEntries.libvlc_video_take_snapshot(p_mi.get(), 0, PathNative(fileName).c_str(), width, height) != 0)
        return false;
    const TOrvFileStamp after = PathStamp(fileName);
    if (after.Size == 0 || after == before)
        return false;
    // libvlc writes its snapshots as PNG; one whose writing broke off (a full
    // disk) lacks the closing chunk.
    static const QByteArray PngEnd = QByteArray::fromHex("0000000049454e44ae426082");
    QFile written;
    if (!PathOpenRead(written, fileName) || written.size() <= PngEnd.size() || !written.seek(written.size() - PngEnd.size()))
        return false;
    return written.read(PngEnd.size()) == PngEnd;
}
