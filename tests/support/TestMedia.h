#pragma once

#include <QImage>
#include <QList>
#include <QRectF>
#include <QSize>
#include <QString>
#include <QStringList>

// Test videos are made at test time with the ffmpeg command-line tool from its
// lavfi test sources, so no media is kept in the repository.
namespace TestMedia {

struct VideoFormat {
    int durationMs = 10000;
    QSize size {640, 360};
    int fps = 25;
    QString codec = QStringLiteral("mjpeg");
    QString source = QStringLiteral("testsrc2"); // any lavfi video source, with options of its own or none
    QList<int> audioTonesHz;                     // one sine-tone audio track per entry, in order
    QStringList extraArgs;                       // added before the output file
};

// A 320 x 240 video of AFrames frames at AFps, each frame in colours of its
// own, so that a picture tells which frame it is.
VideoFormat distinctFrames(int AFrames, int AFps);

// A video of AFrames frames at AFps whose every frame shows its own number
// (0 to 1023) as ten cells, black for 0 and white for 1, lowest bit first,
// across the top third, above a test picture whose colours turn with every
// frame. The number survives lossy coding and scaling (frameNumberOf).
VideoFormat numberedFrames(int AFrames, int AFps, QSize ASize = QSize(320, 240));
// The number a frame of numberedFrames shows, read within APicture of
// AImage (the whole image when empty) from its first ACells cells (the
// others taken as 0: something may cover the picture's right edge); -1 when
// a cell is neither black nor white.
int frameNumberOf(const QImage& AImage, const QRectF& APicture = QRectF(), int ACells = 10);

// The codecs AVI files hold, as arguments for makeVideo (VideoFormat::codec
// and the extra arguments): MJPEG at full range; MPEG-4 Part 2 with B-frames
// under the Xvid tag; H.264 with B-frames and a long GOP (250).
struct Codec {
    QString codec;
    QStringList args;
};
Codec mjpegFullRange();
Codec xvidWithBFrames();
Codec h264LongGop();
// Applies ACodec to AFormat, keeping AFormat's other extra arguments.
VideoFormat withCodec(VideoFormat AFormat, const Codec& ACodec);

// Cuts an AVI file off before its index chunk, as a recording that stopped
// short leaves it; false when the file has no index.
bool cutIndex(const QString& filePath);

// ffmpeg's own decode of frame number AFrame (counted from 0 in display
// order), as RGB32.
QImage ffmpegFrameNumber(const QString& videoPath, int AFrame);

// Writes an AVI (or any container the file suffix names); fails the calling
// test with a message when ffmpeg is missing or refuses.
bool makeVideo(const QString& filePath, const VideoFormat& format = {});

// ffmpeg's own decode of the frame at timeMs, as RGB32.
QImage ffmpegFrameAt(const QString& videoPath, qint64 timeMs);

// Mean absolute difference per channel (0..255) of two same-size images.
double meanAbsDiff(const QImage& a, const QImage& b);
// Peak signal-to-noise ratio in dB of two same-size images (infinity when equal).
double psnr(const QImage& a, const QImage& b);
// True when the images match within the tolerance used for decoded frames:
// mean absolute difference under 4 of 255, or PSNR of at least 30 dB.
bool framesMatch(const QImage& a, const QImage& b, QString* why = nullptr);

// Points HOME and the XDG folders at dir, so tests never touch the real home.
void isolateHome(const QString& dir);

} // namespace TestMedia
