#include "engine/TVlcFrameGrab.h"

#include <QByteArray>

#include <array>
#include <cstring>

#include "engine/VlcLoader.h"
#include "engine/VlcOwners.h"

namespace {

constexpr int StatePollMs = 10;

bool Finished(libvlc_state_t AState)
{
    return AState == libvlc_Ended || AState == libvlc_Error || AState == libvlc_Stopped;
}

} // namespace

TVlcFrameGrab::TVlcFrameGrab(libvlc_media_t* AMedia)
    : FMedia(AMedia)
{
}

QImage TVlcFrameGrab::Take(qint64 AFromMs, TWhich AWhich, QDeadlineTimer ADeadline)
{
    if (!FMedia || !LibVlcEntries.libvlc_video_set_format_callbacks)
        return {};
    // An engine of its own, which draws every picture however late: a busy
    // machine would otherwise have it drop the very frame wanted. The
    // program's engine is loaded, so this one starts quickly.
    static constexpr std::array<const char*, 6> Options {"--ignore-config", "--intf=dummy", "--quiet",
                                                          "--no-audio", "--no-drop-late-frames", "--no-skip-frames"};
    const TVlcInstanceRef instance {LibVlcEntries.libvlc_new(int(Options.size()), Options.data())};
    if (!instance)
        return {};
    const QByteArray mrl = LibVlcTakeString(LibVlcEntries.libvlc_media_get_mrl(FMedia)).toUtf8();
    const TVlcMediaRef media {LibVlcEntries.libvlc_media_new_location(instance.get(), mrl.constData())};
    if (!media)
        return {};
    LibVlcEntries.libvlc_media_add_option(media.get(), ":no-audio");
    if (AFromMs > 0)
        LibVlcEntries.libvlc_media_add_option(
            media.get(), QByteArray(":start-time=" + QByteArray::number(AFromMs / 1000.0, 'f', 3)).constData());
    const TVlcMediaPlayerRef player {LibVlcEntries.libvlc_media_player_new_from_media(media.get())};
    if (!player)
        return {};
    LibVlcEntries.libvlc_video_set_format_callbacks(player.get(), &TVlcFrameGrab::FormatSetup, nullptr);
    LibVlcEntries.libvlc_video_set_callbacks(player.get(), &TVlcFrameGrab::Lock, nullptr, &TVlcFrameGrab::Display,
                                             this);
    FWhich = AWhich;
    if (LibVlcEntries.libvlc_media_player_play(player.get()) != 0)
        return {};

    std::unique_lock lock(FLock);
    // A media that ends without a picture ends the wait too.
    bool finished = false;
    while (!(AWhich == FirstFrom && !FLatest.isNull())
           && !(finished = Finished(LibVlcEntries.libvlc_media_player_get_state(player.get())))
           && !ADeadline.hasExpired())
        FDrawn.wait_for(lock, std::chrono::milliseconds(StatePollMs));
    // A frame drawn before the end is not the last one.
    if (AWhich == LastFrom && !finished)
        FLatest = QImage();
    QImage taken = FLatest;
    lock.unlock();
    // The engine draws at the size of the blocks it decodes (a 240-line
    // MJPEG at 256 lines), stretched; the picture has the video's own size.
    unsigned width = 0;
    unsigned height = 0;
    if (!taken.isNull() && LibVlcEntries.libvlc_video_get_size(player.get(), 0, &width, &height) == 0 && width > 0
        && height > 0 && taken.size() != QSize(int(width), int(height)))
        taken = taken.scaled(int(width), int(height), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    // Once stopped the engine calls back no more: the canvas can go.
    LibVlcEntries.libvlc_media_player_stop(player.get());
    return taken;
}

unsigned TVlcFrameGrab::FormatSetup(void** opaque, char* chroma, unsigned* width, unsigned* height, unsigned* pitches,
                                    unsigned* lines)
{
    auto* self = static_cast<TVlcFrameGrab*>(*opaque);
    // 32-bit BGRX in memory, which is how a QImage holds RGB32 here.
    std::memcpy(chroma, "RV32", 4);
    std::lock_guard lock(self->FLock);
    self->FCanvas = QImage(int(*width), int(*height), QImage::Format_RGB32);
    if (self->FCanvas.isNull())
        return 0;
    pitches[0] = unsigned(self->FCanvas.bytesPerLine());
    lines[0] = *height;
    return 1;
}

void* TVlcFrameGrab::Lock(void* opaque, void** planes)
{
    auto* self = static_cast<TVlcFrameGrab*>(opaque);
    planes[0] = self->FCanvas.bits();
    return nullptr;
}

void TVlcFrameGrab::Display(void* opaque, void*)
{
    auto* self = static_cast<TVlcFrameGrab*>(opaque);
    {
        std::lock_guard lock(self->FLock);
        // The first picture is kept, however late the waiting caller wakes.
        if (self->FWhich == FirstFrom && !self->FLatest.isNull())
            return;
        // The engine leaves the fourth byte of each pixel as it comes.
        self->FLatest = self->FCanvas.convertToFormat(QImage::Format_RGB888);
    }
    self->FDrawn.notify_all();
}
