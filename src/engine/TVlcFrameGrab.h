#pragma once

#include <QDeadlineTimer>
#include <QImage>

#include <condition_variable>
#include <mutex>

#include <vlc/vlc.h>

// One frame of a media, decoded by an engine player of its own that draws into
// memory instead of a window. It gives the picture the engine's snapshot
// cannot: a video of a frame or two ends, or rests without a position, before
// the engine can snapshot it, while its picture stays on screen.
//
// The engine draws on a thread of its own; its callbacks only copy the picture
// and wake the waiting caller. Take blocks its caller, so it is called off the
// GUI thread.
class TVlcFrameGrab
{
public:
    enum TWhich { FirstFrom, LastFrom };

    // AMedia is the item whose frame is wanted; only its location is read,
    // so the caller's item and its player are left alone.
    explicit TVlcFrameGrab(libvlc_media_t* AMedia);
    TVlcFrameGrab(const TVlcFrameGrab&) = delete;
    TVlcFrameGrab& operator=(const TVlcFrameGrab&) = delete;

    // The first frame drawn from AFromMs on, or the last one drawn before the
    // media ends; null when it did not come before ADeadline.
    QImage Take(qint64 AFromMs, TWhich AWhich, QDeadlineTimer ADeadline);

private:
    static unsigned FormatSetup(void** opaque, char* chroma, unsigned* width, unsigned* height, unsigned* pitches,
                                unsigned* lines);
    static void* Lock(void* opaque, void** planes);
    static void Display(void* opaque, void* picture);

    libvlc_media_t* FMedia;
    std::mutex FLock;
    std::condition_variable FDrawn;
    // Set before the engine starts, read by its thread.
    TWhich FWhich = FirstFrom;
    // The engine decodes into FCanvas; the picture it shows is copied to
    // FLatest (the first one only, when the first is wanted).
    QImage FCanvas;
    QImage FLatest;
};
