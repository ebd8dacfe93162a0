#include "engine/TVlcPlayerEvent.h"

#include "engine/VlcLoader.h"

#include <atomic>

namespace {
// Qt's event queue already orders everything the engine thread wrote into an
// event before the GUI thread reads or deletes it. This counter states that
// hand-over in the C++ memory model as well, where ThreadSanitizer sees it:
// the Qt library itself is not built for it, so its queue lock is invisible.
std::atomic<unsigned> handedOver {0};

void acquireHandedOver()
{
    handedOver.load(std::memory_order_acquire);
}
} // namespace

std::unique_ptr<TVlcPlayerEvent> TVlcPlayerEvent::FromEngineEvent(const libvlc_event_t& event)
{
    if (!VlcEventTypeIsPosted(event.type))
        return nullptr;
    auto result = std::make_unique<TVlcPlayerEvent>(VlcMessageOfEventType(event.type), VlcPackEventArgs(event));
    if (event.type == libvlc_MediaPlayerMediaChanged) {
        libvlc_media_t* media = event.u.media_player_media_changed.new_media;
        if (media) {
            LibVlcEntries.libvlc_media_retain(media);
            result->FMedia.reset(media);
            result->FArgs.lParam = reinterpret_cast<TVlcLParam>(media);
        }
    } else if (event.type == libvlc_MediaPlayerSnapshotTaken) {
        const char* fileName = event.u.media_player_snapshot_taken.psz_filename;
        if (fileName) {
            result->FFileName = QByteArray(fileName);
            result->FArgs.lParam = reinterpret_cast<TVlcLParam>(result->FFileName.constData());
        }
    }
    handedOver.fetch_add(1, std::memory_order_release);
    return result;
}

TVlcPlayerEvent* TVlcPlayerEvent::Received(QEvent* event)
{
    acquireHandedOver();
    return VlcMessageOfQEventType(event->type()) ? static_cast<TVlcPlayerEvent*>(event) : nullptr;
}

TVlcPlayerEvent::TVlcPlayerEvent(int message, TVlcMessageArgs args)
    : QEvent(VlcQEventTypeOfMessage(message))
    , FMessage(message)
    , FArgs(args)
{
}

TVlcPlayerEvent::~TVlcPlayerEvent()
{
    // Also reached for events discarded unhandled with their receiver.
    acquireHandedOver();
}
