#pragma once

#include <QImage>
#include <QList>
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
