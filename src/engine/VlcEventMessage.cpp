#include "engine/VlcEventMessage.h"

#include <algorithm>
#include <cmath>

bool VlcEventTypeIsPosted(int eventType)
{
    return std::binary_search(VlcAttachedEventTypes.begin(), VlcAttachedEventTypes.end(), eventType);
}

QEvent::Type VlcQEventTypeOfMessage(int message)
{
    return static_cast<QEvent::Type>(QEvent::User + message);
}

int VlcMessageOfQEventType(QEvent::Type type)
{
    const int message = static_cast<int>(type) - QEvent::User;
    return VlcEventTypeIsPosted(message - VlcMessageOffset) ? message : 0;
}

TVlcMessageArgs VlcPackTime(qint64 timeMs)
{
    const auto bits = static_cast<quint64>(timeMs);
    return {static_cast<TVlcWParam>(static_cast<quint32>(bits >> 32)),
            static_cast<TVlcLParam>(static_cast<quint32>(bits))};
}

qint64 VlcUnpackTime(TVlcWParam wParam, TVlcLParam lParam)
{
    const quint64 high = static_cast<quint32>(wParam);
    const quint64 low = static_cast<quint32>(lParam);
    return static_cast<qint64>((high << 32) | low);
}

TVlcWParam VlcPackThousandths(float value)
{
    // llrint rounds in the default mode, to nearest with halves to even.
    return static_cast<TVlcWParam>(std::llrint(static_cast<double>(value) * 1000.0));
}

float VlcUnpackThousandths(TVlcWParam wParam)
{
    // Signed, because the engine reports a volume of -1 while it has no audio output.
    return static_cast<float>(static_cast<double>(static_cast<qintptr>(wParam)) / 1000.0);
}

TVlcMessageArgs VlcPackEventArgs(const libvlc_event_t& event)
{
    const auto first = [](int value) { return TVlcMessageArgs {static_cast<TVlcWParam>(value), 0}; };
    switch (event.type) {
    case libvlc_MediaPlayerTimeChanged:
        return VlcPackTime(event.u.media_player_time_changed.new_time);
    case libvlc_MediaPlayerLengthChanged:
        return VlcPackTime(event.u.media_player_length_changed.new_length);
    case libvlc_MediaPlayerPositionChanged:
        return {VlcPackThousandths(event.u.media_player_position_changed.new_position), 0};
    case libvlc_MediaPlayerAudioVolume:
        return {VlcPackThousandths(event.u.media_player_audio_volume.volume), 0};
    case libvlc_MediaPlayerSeekableChanged:
        return first(event.u.media_player_seekable_changed.new_seekable);
    case libvlc_MediaPlayerPausableChanged:
        return first(event.u.media_player_pausable_changed.new_pausable);
    case libvlc_MediaPlayerTitleChanged:
        return first(event.u.media_player_title_changed.new_title);
    case libvlc_MediaPlayerVout:
        return first(event.u.media_player_vout.new_count);
    case libvlc_MediaPlayerScrambledChanged:
        return first(event.u.media_player_scrambled_changed.new_scrambled);
    default:
        return {};
    }
}
