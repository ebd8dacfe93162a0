// The exact frames the window rests on and saves, decoded by TFrameReader, on
// the codecs AVI files hold: 10 s videos at 25 frames a second, MJPEG and
// MPEG-4 Part 2 with B-frames at 640 x 360, H.264 with B-frames and a GOP of
// 250 at 640 x 360 and 1920 x 1080. Prints, median of the runs each:
//   open: the file opened and its first frame decoded;
//   step +20 ms / +40 ms: the next frames, decoded on from the one held;
//   step -40 ms: the frame before, from the key frame before it (the worst
//   case of a long GOP: every frame back decodes the GOP up to it);
//   jump 1 s: a frame 1 s further on;
//   PNG: the picture written as S writes it;
//   ffmpeg: `ffmpeg -ss T -i video -frames:v 1 out.png` writing a frame in
//   the GOP's middle, for comparison (its process start included).
// Needs the ffmpeg tool to make the videos.

#include "BenchMedian.h"
#include "TestMedia.h"

#include "engine/TFrameReader.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

namespace {

using TFigures = std::vector<double>;

// Runs AWork and adds its time in milliseconds to AFigures.
template <typename T>
void Timed(TFigures& AFigures, T AWork)
{
    QElapsedTimer timer;
    timer.start();
    AWork();
    AFigures.push_back(timer.nsecsElapsed() / 1e6);
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    using namespace TestMedia;
    struct TClip
    {
        const char* name;
        VideoFormat format;
    };
    const std::vector<TClip> clips {
        {"MJPEG 640x360", withCodec(numberedFrames(250, 25, QSize(640, 360)), mjpegFullRange())},
        {"MPEG-4 B-frames 640x360", withCodec(numberedFrames(250, 25, QSize(640, 360)), xvidWithBFrames())},
        {"H.264 GOP 250 640x360", withCodec(numberedFrames(250, 25, QSize(640, 360)), h264LongGop())},
        {"H.264 GOP 250 1920x1080", withCodec(numberedFrames(250, 25, QSize(1920, 1080)), h264LongGop())},
    };
    std::printf("%-26s %8s %8s %8s %8s %8s %8s %8s   (ms, medians)\n", "video", "open", "+20ms", "+40ms", "-40ms",
                "jump 1s", "PNG", "ffmpeg");
    for (size_t i = 0; i < clips.size(); ++i) {
        const QString video = dir.filePath(QStringLiteral("clip%1.avi").arg(i));
        if (!makeVideo(video, clips[i].format)) {
            std::fprintf(stderr, "cannot make the test videos (ffmpeg)\n");
            return 1;
        }
        TFigures open, forward20, forward40, back40, jump, png, ffmpeg;
        int wrong = 0;
        for (int run = 0; run < 5; ++run) {
            std::unique_ptr<TFrameReader> reader;
            Timed(open, [&] { reader = std::make_unique<TFrameReader>(video); });
            qint64 at = 4000;
            reader->FrameAt(at);
            for (int step = 0; step < 20; ++step) {
                Timed(forward20, [&] { reader->FrameAt(at += 20); });
                TFrameReader::TFrame frame;
                Timed(forward40, [&] { frame = reader->FrameAt(at += 40); });
                wrong += frameNumberOf(frame.Image) != int(at / 40);
            }
            for (int step = 0; step < 10; ++step) {
                TFrameReader::TFrame frame;
                Timed(back40, [&] { frame = reader->FrameAt(at -= 40); });
                wrong += frameNumberOf(frame.Image) != int(at / 40);
            }
            for (qint64 to = 1000; to < 9000; to += 1000)
                Timed(jump, [&] { reader->FrameAt(to); });
            const QImage picture = reader->FrameAt(5000).Image;
            Timed(png, [&] {
                QBuffer buffer;
                buffer.open(QIODevice::WriteOnly);
                picture.save(&buffer, "PNG");
            });
            Timed(ffmpeg, [&] {
                QProcess::execute(QStringLiteral("ffmpeg"),
                                  {"-v", "error", "-y", "-ss", "5", "-i", video, "-frames:v", "1",
                                   dir.filePath(QStringLiteral("ffmpeg.png"))});
            });
        }
        std::printf("%-26s %8.1f %8.1f %8.1f %8.1f %8.1f %8.1f %8.1f%s\n", clips[i].name, BenchMedian(open),
                    BenchMedian(forward20), BenchMedian(forward40), BenchMedian(back40), BenchMedian(jump), BenchMedian(png),
                    BenchMedian(ffmpeg), wrong ? "   WRONG FRAMES" : "");
        if (wrong)
            return 1;
    }
    return 0;
}
