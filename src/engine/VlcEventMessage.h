#pragma once

#include <QEvent>
#include <QtGlobal>

#include <array>

#include <vlc/vlc.h>

// The numbered messages that carry the engine's player reports from its
// threads to the player control on the GUI thread. A report of engine event
// type T travels as message T + 0x400 with two word-sized arguments; the pure
// functions here build and read those arguments so they can be checked without
// the engine.

// Word-sized message arguments: the first unsigned, the second signed.
using TVlcWParam = quintptr;
using TVlcLParam = qintptr;

struct TVlcMessageArgs {
    TVlcWParam wParam = 0;
    TVlcLParam lParam = 0;
};

constexpr int VlcMessageOffset = 0x400;

constexpr int VlcMessageOfEventType(int eventType)
{
    return eventType + VlcMessageOffset;
}

// The 25 engine event types the player attaches, ascending; the types
// 0x114 to 0x116 (elementary streams) are left out.
inline constexpr std::array<int, 25> VlcAttachedEventTypes {
    libvlc_MediaPlayerMediaChanged,     libvlc_MediaPlayerNothingSpecial, libvlc_MediaPlayerOpening,
    libvlc_MediaPlayerBuffering,        libvlc_MediaPlayerPlaying,        libvlc_MediaPlayerPaused,
    libvlc_MediaPlayerStopped,          libvlc_MediaPlayerForward,        libvlc_MediaPlayerBackward,
    libvlc_MediaPlayerEndReached,       libvlc_MediaPlayerEncounteredError, libvlc_MediaPlayerTimeChanged,
    libvlc_MediaPlayerPositionChanged,  libvlc_MediaPlayerSeekableChanged, libvlc_MediaPlayerPausableChanged,
    libvlc_MediaPlayerTitleChanged,     libvlc_MediaPlayerSnapshotTaken,  libvlc_MediaPlayerLengthChanged,
    libvlc_MediaPlayerVout,             libvlc_MediaPlayerScrambledChanged, libvlc_MediaPlayerCorked,
    libvlc_MediaPlayerUncorked,         libvlc_MediaPlayerMuted,          libvlc_MediaPlayerUnmuted,
    libvlc_MediaPlayerAudioVolume,
};

// True for the event types of the message table (the attached ones).
bool VlcEventTypeIsPosted(int eventType);

// Each message number is its own Qt event type, computed as QEvent::User plus
// the message number (0x500..0x51B gives 2280..2307). Computing keeps the
// mapping fixed and free of start-up registration; the values lie far below
// the range QEvent::registerEventType hands out from QEvent::MaxUser down.
QEvent::Type VlcQEventTypeOfMessage(int message);
// The message number of a Qt event type, or 0 when it is not one of ours.
int VlcMessageOfQEventType(QEvent::Type type);

// A 64-bit media time split in two: the high 32 bits in the first argument,
// the low 32 bits in the second.
TVlcMessageArgs VlcPackTime(qint64 timeMs);
qint64 VlcUnpackTime(TVlcWParam wParam, TVlcLParam lParam);

// A fraction (position 0..1, volume) carried in thousandths, rounded to the
// nearest with halves to even; a negative value (the engine's volume -1)
// arrives negative.
TVlcWParam VlcPackThousandths(float value);
float VlcUnpackThousandths(TVlcWParam wParam);

// The two arguments of the message for an engine event of a posted type. The
// pointer arguments (new media, snapshot file name) are left 0 here: they must
// outlive the engine's record and are supplied by the event that owns them.
TVlcMessageArgs VlcPackEventArgs(const libvlc_event_t& event);
