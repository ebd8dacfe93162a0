#pragma once

#include <QImage>
#include <QSize>
#include <QString>

#include <memory>
#include <stop_token>

// The frames of one video file as FFmpeg decodes them: the frame whose
// interval holds a given time, exact whatever the codec reorders, converted
// to RGB with the colour matrix and range the video is tagged with.
//
// libvlc's own picture cannot serve here: after a seek it shows a frame early
// by the stream's reordering delay (H.264 and MPEG-4 with B-frames in AVI),
// and its snapshot converts every video with the SD matrix.
//
// Blocking and not thread-safe: one thread at a time, off the GUI thread.
class TFrameReader
{
public:
    // A time past any video's end, whose frame is the last one; it still
    // converts to any time base without overflow.
    static constexpr qint64 EndOfVideo = qint64(1) << 40;

    struct TFrame
    {
        // RGB32 at the video's own size, or null when there is no frame.
        QImage Image;
        // The frame's interval in whole milliseconds of media time:
        // [StartMs, EndMs), StartMs the first millisecond at or after the
        // frame's time.
        qint64 StartMs = -1;
        qint64 EndMs = -1;
        // The picture's width to its height on screen, pixel shape included.
        double DisplayAspect = 1;

        bool IsNull() const { return Image.isNull(); }
    };

    // Opens sPath (every byte of its name kept, see PathNative); IsOpen tells
    // whether it has a video stream FFmpeg can decode. AStop, once requested,
    // ends reading the file, for good.
    explicit TFrameReader(const QString& sPath, std::stop_token AStop = {});
    ~TFrameReader();
    TFrameReader(const TFrameReader&) = delete;
    TFrameReader& operator=(const TFrameReader&) = delete;

    bool IsOpen() const;
    // How late the stream stamps its first frame. AVI stamps frames in their
    // decoding order, so with reordered frames (B-frames) the first frame
    // shown is stamped as late as the reordering delay, and an engine that
    // keeps to the stamps shows, at its time t, the frame of t less this.
    qint64 ReorderDelayMs() const;

    // The frame whose interval holds AMs; the first frame for a time before
    // it and the last one for a time at or past the end. Null when nothing
    // can be decoded, or once the reader was stopped. The same frame asked
    // for again gives the very same picture.
    TFrame FrameAt(qint64 AMs);

private:
    struct TState;
    std::unique_ptr<TState> F;
};
