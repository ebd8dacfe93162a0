#pragma once

#include <QByteArray>
#include <QEvent>

#include <memory>

#include "engine/VlcEventMessage.h"
#include "engine/VlcOwners.h"

// One engine report on its way from an engine thread to the player control:
// the message number with its two arguments, posted to the control and
// handled on the GUI thread. Whatever the arguments point to belongs to the
// event, so it stays valid after the engine's callback has returned and is
// freed with the event even when the event is discarded unhandled.
class TVlcPlayerEvent final : public QEvent {
public:
    // Built inside the engine's callback, about the player's media number
    // AMediaCount; null for event types outside the message table. The
    // snapshot file name is copied, and a new media gets an extra reference
    // of the event's own (libvlc_media_retain only counts up, it does not
    // call back into the player).
    static std::unique_ptr<TVlcPlayerEvent> FromEngineEvent(const libvlc_event_t& event, quint64 AMediaCount = 0);

    // The event as one of ours, or null. Call it on the receiving thread
    // before touching the event at all (its type included).
    static TVlcPlayerEvent* Received(QEvent* event);

    TVlcPlayerEvent(int message, TVlcMessageArgs args);
    ~TVlcPlayerEvent() override;
    Q_DISABLE_COPY_MOVE(TVlcPlayerEvent)

    int Message() const { return FMessage; }
    TVlcWParam WParam() const { return FArgs.wParam; }
    // For the media-changed message the new media (or null), for the
    // snapshot message the UTF-8 file name (or null).
    TVlcLParam LParam() const { return FArgs.lParam; }
    // Which of the player's media the report is about (TVlcPlayer counts
    // them): a report may arrive after the media it is about has gone.
    quint64 Media() const { return FMediaCount; }

private:
    int FMessage;
    TVlcMessageArgs FArgs;
    quint64 FMediaCount = 0;
    QByteArray FFileName;
    TVlcMediaRef FMedia;
};
