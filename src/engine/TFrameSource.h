#pragma once

#include <QObject>
#include <QString>
#include <QThreadPool>

#include <functional>
#include <memory>

#include "engine/TFrameReader.h"

// The exact frames of one video, decoded on a thread of the source's own so
// that the GUI thread never waits for a decoder. A frame the GUI asks for
// arrives by frameReady; a newer request makes the older ones moot. Another
// thread can wait for a frame with Take; it gets the very picture the GUI was
// given for the same frame.
class TFrameSource : public QObject
{
    Q_OBJECT
public:
    explicit TFrameSource(QObject* parent = nullptr);
    // Ends the decoding under way and waits only until it has noticed.
    ~TFrameSource() override;

    // The video whose frames are given (every byte of its name kept, see
    // PathNative); empty for none. It is opened on the source's thread.
    void SetFile(const QString& sPath);
    // Asks for the frame at AMs (TFrameReader::EndOfVideo: the last one); frameReady
    // follows unless a newer request, Cancel or SetFile comes first.
    void Request(qint64 AMs);
    void Cancel();

    // The frame at AMs of the current video, decoded on the calling thread
    // if need be; null when there is none. Not for the GUI thread.
    TFrameReader::TFrame Take(qint64 AMs);
    // Take for the video current now, to be called later on any thread,
    // also after the source has gone: it then gives no frame, at once.
    std::function<TFrameReader::TFrame()> Taker(qint64 AMs) const;
    // The current video's reordering delay (TFrameReader::ReorderDelayMs)
    // once it is open, 0 before and for a video FFmpeg cannot read.
    qint64 ReorderDelayMs() const;

signals:
    void frameReady(qint64 ARequestedMs, const TFrameReader::TFrame& AFrame);

private:
    struct TShared;
    std::shared_ptr<TShared> F;
    QThreadPool FThread;
};
