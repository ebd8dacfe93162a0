#include "engine/TFrameReader.h"

#include <cmath>
#include <deque>
#include <limits>
#include <mutex>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/imgutils.h>
#include <libavutil/pixdesc.h>
#include <libswscale/swscale.h>
}

#include "services/OrvPath.h"

namespace {

struct TFormatClose
{
    void operator()(AVFormatContext* p) const { avformat_close_input(&p); }
};
struct TCodecFree
{
    void operator()(AVCodecContext* p) const { avcodec_free_context(&p); }
};
struct TFrameFree
{
    void operator()(AVFrame* p) const { av_frame_free(&p); }
};
struct TPacketFree
{
    void operator()(AVPacket* p) const { av_packet_free(&p); }
};
struct TSwsFree
{
    void operator()(SwsContext* p) const { sws_freeContext(p); }
};
using TFormatRef = std::unique_ptr<AVFormatContext, TFormatClose>;
using TCodecRef = std::unique_ptr<AVCodecContext, TCodecFree>;
using TAvFrameRef = std::unique_ptr<AVFrame, TFrameFree>;
using TPacketRef = std::unique_ptr<AVPacket, TPacketFree>;
using TSwsRef = std::unique_ptr<SwsContext, TSwsFree>;

// The JPEG pixel formats are the plain ones at full range; swscale wants
// the range said, not implied.
AVPixelFormat WithoutJpegRange(AVPixelFormat AFormat, bool& AFullRange)
{
    switch (AFormat) {
    case AV_PIX_FMT_YUVJ420P: AFullRange = true; return AV_PIX_FMT_YUV420P;
    case AV_PIX_FMT_YUVJ422P: AFullRange = true; return AV_PIX_FMT_YUV422P;
    case AV_PIX_FMT_YUVJ444P: AFullRange = true; return AV_PIX_FMT_YUV444P;
    case AV_PIX_FMT_YUVJ440P: AFullRange = true; return AV_PIX_FMT_YUV440P;
    case AV_PIX_FMT_YUVJ411P: AFullRange = true; return AV_PIX_FMT_YUV411P;
    default: return AFormat;
    }
}

// The colour matrix of a frame: the one it is tagged with, else, as players
// do, the HD one for pictures larger than SD and the SD one otherwise.
int ColourMatrixOf(const AVFrame* AFrame)
{
    switch (AFrame->colorspace) {
    case AVCOL_SPC_BT709: return SWS_CS_ITU709;
    case AVCOL_SPC_FCC: return SWS_CS_FCC;
    case AVCOL_SPC_BT470BG: return SWS_CS_ITU601;
    case AVCOL_SPC_SMPTE170M: return SWS_CS_SMPTE170M;
    case AVCOL_SPC_SMPTE240M: return SWS_CS_SMPTE240M;
    case AVCOL_SPC_BT2020_NCL:
    case AVCOL_SPC_BT2020_CL: return SWS_CS_BT2020;
    default: return AFrame->width >= 1280 || AFrame->height > 576 ? SWS_CS_ITU709 : SWS_CS_ITU601;
    }
}

} // namespace

struct TFrameReader::TState
{
    TFormatRef Format;
    TCodecRef Codec;
    TPacketRef Packet {av_packet_alloc()};
    TSwsRef Scaler;
    AVStream* Stream = nullptr;
    // The decoder has been given the end of the stream.
    bool Draining = false;
    // The frame last looked for, and the one after it (null at the end).
    TAvFrameRef Current;
    TAvFrameRef Next;
    // The frames decoded just before Current, in order, the latest last: a
    // step back by a frame or a few needs no seek and no decoding.
    std::deque<TAvFrameRef> Passed;
    // What Passed may hold, in bytes of pictures.
    static constexpr qint64 PassedBytes = 64 * 1024 * 1024;
    // The stream's time of its first frame: media time 0.
    qint64 OriginTs = 0;
    // The earliest time the stream can be sought to, in the index's terms.
    qint64 StartTs = 0;
    // Ends reading for good when requested.
    std::stop_token Stop;
    // The picture of the frame at ImageTs, converted once.
    qint64 ImageTs = AV_NOPTS_VALUE;
    QImage Image;
    double Aspect = 1;

    // The time of the frame last decoded, and one frame's length, in the
    // stream's time base.
    qint64 LastTs = AV_NOPTS_VALUE;
    qint64 FrameTs = 1;

    static qint64 TimestampOf(const AVFrame* AFrame) { return AFrame->best_effort_timestamp; }

    // The last stream time at or before the millisecond AMs.
    qint64 TsAtMs(qint64 AMs) const
    {
        const AVRational tb = Stream->time_base;
        return OriginTs + av_rescale_rnd(AMs, tb.den, qint64(tb.num) * 1000, AV_ROUND_DOWN);
    }

    // The first whole millisecond at or after the stream time ATs.
    qint64 MsAtTs(qint64 ATs) const
    {
        const AVRational tb = Stream->time_base;
        return av_rescale_rnd(ATs - OriginTs, qint64(tb.num) * 1000, tb.den, AV_ROUND_UP);
    }

    // The next frame in display order, or null at the end of the stream.
    TAvFrameRef Decode()
    {
        TAvFrameRef frame(av_frame_alloc());
        for (;;) {
            if (Stop.stop_requested())
                return nullptr;
            const int received = avcodec_receive_frame(Codec.get(), frame.get());
            if (received == 0) {
                // The frames the decoder gives out once the stream has ended
                // come without a time: each follows the one before.
                if (frame->best_effort_timestamp == AV_NOPTS_VALUE)
                    frame->best_effort_timestamp = frame->pts != AV_NOPTS_VALUE ? frame->pts
                                                   : LastTs != AV_NOPTS_VALUE   ? LastTs + FrameTs
                                                                                : OriginTs;
                LastTs = frame->best_effort_timestamp;
                return frame;
            }
            if (received != AVERROR(EAGAIN) || Draining)
                return nullptr;
            const int read = av_read_frame(Format.get(), Packet.get());
            if (read < 0) {
                Draining = true;
                avcodec_send_packet(Codec.get(), nullptr);
                continue;
            }
            if (Packet->stream_index == Stream->index)
                avcodec_send_packet(Codec.get(), Packet.get());
            av_packet_unref(Packet.get());
        }
    }

    // Positions the decoder at the key frame the index gives for ATs. The
    // frames up to the next key frame are not whole pictures (the index of
    // a file without one lists every frame) and are passed over; a key frame
    // later than ATarget is of no use. Current is null when none was found.
    void SeekTo(qint64 ATs, qint64 ATarget)
    {
        if (av_seek_frame(Format.get(), Stream->index, ATs, AVSEEK_FLAG_BACKWARD) < 0)
            av_seek_frame(Format.get(), Stream->index, StartTs, AVSEEK_FLAG_BACKWARD | AVSEEK_FLAG_ANY);
        avcodec_flush_buffers(Codec.get());
        Draining = false;
        LastTs = AV_NOPTS_VALUE;
        Next.reset();
        Passed.clear();
        for (Current = Decode(); Current && !Current->key_frame; Current = Decode()) {
            if (TimestampOf(Current.get()) > ATarget) {
                Current.reset();
                return;
            }
        }
        if (Current)
            Next = Decode();
    }

    // Decoding on from the frames held passes no key frame on its way to
    // ATs: seeking there would cost no less.
    bool ReachableByDecoding(qint64 ATs) const
    {
        if (!Current || ATs < TimestampOf(Current.get()))
            return false;
        if (!Next)
            return true;
        const int key = av_index_search_timestamp(Stream, ATs, AVSEEK_FLAG_BACKWARD);
        const AVIndexEntry* entry = key >= 0 ? avformat_index_get_entry(Stream, key) : nullptr;
        return !entry || entry->timestamp <= TimestampOf(Next.get());
    }

    QImage ToImage(const AVFrame* AFrame)
    {
        bool fullRange = AFrame->color_range == AVCOL_RANGE_JPEG;
        const AVPixelFormat source = WithoutJpegRange(AVPixelFormat(AFrame->format), fullRange);
        QImage image(AFrame->width, AFrame->height, QImage::Format_RGB32);
        if (image.isNull())
            return {};
        // Exact rounding and full chroma keep flat colours flat at their edges.
        Scaler.reset(sws_getCachedContext(Scaler.release(), AFrame->width, AFrame->height, source, AFrame->width,
                                          AFrame->height, AV_PIX_FMT_RGB32,
                                          SWS_BICUBIC | SWS_ACCURATE_RND | SWS_FULL_CHR_H_INT | SWS_FULL_CHR_H_INP,
                                          nullptr, nullptr, nullptr));
        if (!Scaler)
            return {};
        const int* matrix = sws_getCoefficients(ColourMatrixOf(AFrame));
        sws_setColorspaceDetails(Scaler.get(), matrix, fullRange ? 1 : 0, sws_getCoefficients(SWS_CS_DEFAULT), 1, 0,
                                 1 << 16, 1 << 16);
        uint8_t* planes[4] = {image.bits(), nullptr, nullptr, nullptr};
        const int pitches[4] = {int(image.bytesPerLine()), 0, 0, 0};
        if (sws_scale(Scaler.get(), AFrame->data, AFrame->linesize, 0, AFrame->height, planes, pitches) != AFrame->height)
            return {};
        return image;
    }

    // Current becomes the frame passed on the way; it is kept as long as
    // room is left for it.
    void Advance()
    {
        const qint64 bytes = av_image_get_buffer_size(AVPixelFormat(Current->format), Current->width,
                                                      Current->height, 1);
        Passed.push_back(std::move(Current));
        while (!Passed.empty() && qint64(Passed.size()) * std::max<qint64>(bytes, 1) > PassedBytes)
            Passed.pop_front();
        Current = std::move(Next);
        Next = Decode();
    }

    // The frame of Passed whose interval holds ATs, and the time its
    // interval ends; null when Passed does not reach back to ATs.
    std::pair<const AVFrame*, qint64> PassedAt(qint64 ATs) const
    {
        qint64 endTs = TimestampOf(Current.get());
        for (auto frame = Passed.rbegin(); frame != Passed.rend(); ++frame) {
            const qint64 ts = TimestampOf(frame->get());
            if (ts <= ATs)
                return {frame->get(), endTs};
            endTs = ts;
        }
        return {nullptr, 0};
    }

    TFrame Taken(const AVFrame* AFrame, qint64 AEndTs)
    {
        TFrame result;
        const qint64 ts = TimestampOf(AFrame);
        if (ts != ImageTs || Image.isNull()) {
            Image = ToImage(AFrame);
            ImageTs = ts;
        }
        result.Image = Image;
        result.DisplayAspect = Aspect;
        result.StartMs = MsAtTs(ts);
        result.EndMs = std::max(MsAtTs(AEndTs), result.StartMs + 1);
        return result;
    }
};

TFrameReader::TFrameReader(const QString& sPath, std::stop_token AStop)
    : F(std::make_unique<TState>())
{
    F->Stop = std::move(AStop);
    // FFmpeg's warnings about a file are the program's business, not its
    // user's: what matters shows as no frame.
    static std::once_flag quiet;
    std::call_once(quiet, [] { av_log_set_level(AV_LOG_ERROR); });
    // A pipe or a device is no video file, and reading one may never end.
    if (!PathIsFile(sPath))
        return;
    // The file protocol takes the rest of its URL as the file's own bytes.
    const std::string url = "file:" + PathNative(sPath).string();
    AVFormatContext* format = avformat_alloc_context();
    if (!format)
        return;
    // A stop also ends a read that waits for a slow disk.
    format->interrupt_callback.callback = [](void* AState) {
        return static_cast<TState*>(AState)->Stop.stop_requested() ? 1 : 0;
    };
    format->interrupt_callback.opaque = F.get();
    // On failure the context is freed by the call.
    if (avformat_open_input(&format, url.c_str(), nullptr, nullptr) < 0)
        return;
    F->Format.reset(format);
    if (avformat_find_stream_info(format, nullptr) < 0)
        return;
    const AVCodec* decoder = nullptr;
    const int index = av_find_best_stream(format, AVMEDIA_TYPE_VIDEO, -1, -1, &decoder, 0);
    if (index < 0 || !decoder)
        return;
    AVStream* stream = format->streams[index];
    TCodecRef codec(avcodec_alloc_context3(decoder));
    if (!codec || avcodec_parameters_to_context(codec.get(), stream->codecpar) < 0)
        return;
    codec->pkt_timebase = stream->time_base;
    codec->thread_count = 0;
    if (avcodec_open2(codec.get(), decoder, nullptr) < 0)
        return;
    // Only the video is read.
    for (unsigned i = 0; i < format->nb_streams; ++i)
        format->streams[i]->discard = int(i) == index ? AVDISCARD_DEFAULT : AVDISCARD_ALL;
    F->Codec = std::move(codec);
    F->Stream = stream;
    const AVRational rate = stream->avg_frame_rate.num > 0 ? stream->avg_frame_rate : stream->r_frame_rate;
    if (rate.num > 0)
        F->FrameTs = std::max<qint64>(1, av_rescale_q(1, av_inv_q(rate), stream->time_base));
    // Media time 0 is the first frame's, as players count it. AVI stamps
    // frames by their decoding order, so with reordered frames the first
    // one shown comes as late as the reordering delay.
    do
        F->Current = F->Decode();
    while (F->Current && !F->Current->key_frame);
    if (!F->Current) {
        F->Stream = nullptr;
        return;
    }
    F->OriginTs = F->TimestampOf(F->Current.get());
    const AVIndexEntry* first = avformat_index_get_entry(stream, 0);
    F->StartTs = std::min<qint64>(F->OriginTs, first ? first->timestamp : 0);
    const AVRational sar = av_guess_sample_aspect_ratio(format, stream, F->Current.get());
    if (stream->codecpar->width > 0 && stream->codecpar->height > 0)
        F->Aspect = stream->codecpar->width * (sar.num > 0 && sar.den > 0 ? av_q2d(sar) : 1.0)
                    / stream->codecpar->height;
    F->Next = F->Decode();
}

TFrameReader::~TFrameReader() = default;

bool TFrameReader::IsOpen() const
{
    return F->Stream != nullptr;
}

qint64 TFrameReader::ReorderDelayMs() const
{
    if (!F->Stream)
        return 0;
    const AVRational tb = F->Stream->time_base;
    return std::max<qint64>(0, av_rescale_rnd(F->OriginTs, qint64(tb.num) * 1000, tb.den, AV_ROUND_NEAR_INF));
}

TFrameReader::TFrame TFrameReader::FrameAt(qint64 AMs)
{
    if (!F->Stream)
        return {};
    const qint64 target = F->TsAtMs(std::clamp<qint64>(AMs, 0, EndOfVideo));
    if (F->Current && target < F->TimestampOf(F->Current.get())) {
        if (const auto [passed, endTs] = F->PassedAt(target); passed)
            return F->Taken(passed, endTs);
    }
    if (!F->ReachableByDecoding(target)) {
        // A seek may land past the time: the index gives a key frame by its
        // decoding time, which precedes its display time when frames are
        // reordered, or the index is coarse or missing. It is made again
        // from further back, twice as far each time, down to the start.
        qint64 back = av_rescale_q(1, AVRational {1, 1}, F->Stream->time_base);
        qint64 from = target;
        F->SeekTo(from, target);
        while ((!F->Current || F->TimestampOf(F->Current.get()) > target) && from > F->StartTs
               && !F->Stop.stop_requested()) {
            from = std::max(F->StartTs, target - back);
            back *= 2;
            F->SeekTo(from, target);
        }
    }
    while (F->Next && F->TimestampOf(F->Next.get()) <= target)
        F->Advance();
    if (F->Stop.stop_requested() || !F->Current)
        return {};
    const qint64 ts = F->TimestampOf(F->Current.get());
    return F->Taken(F->Current.get(), F->Next ? F->TimestampOf(F->Next.get()) : ts + F->FrameTs);
}
