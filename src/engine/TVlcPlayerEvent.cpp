#include "engine/TVlcPlayerEvent.h"

#include "engine/VlcLoader.h"

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
    return result;
}

TVlcPlayerEvent::TVlcPlayerEvent(int message, TVlcMessageArgs args)
    : QEvent(VlcQEventTypeOfMessage(message))
    , FMessage(message)
    , FArgs(args)
{
}

TVlcPlayerEvent::~TVlcPlayerEvent() = default;
