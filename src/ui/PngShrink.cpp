#include "ui/PngShrink.h"

#include <QIODevice>
#include <QScopeGuard>

#include <png.h>

#include <algorithm>
#include <climits>
#include <csetjmp>
#include <vector>

namespace {

// An output pixel adds up the picture's pixels in its area in 32 bits per
// channel: no more of them than this may fall into one.
constexpr quint64 MaxPixelsPerBin = 0xFFFFFFFFu / 255;

quint64 CeilDiv(quint64 a, quint64 b)
{
    return (a + b - 1) / b;
}

// Adds the rows of a picture up into the output pixels whose areas they fall
// into. A picture stored top to bottom needs the sums of one output row at a
// time; an interlaced one arrives in seven sweeps over the whole picture and
// needs them all.
class TShrink
{
public:
    explicit TShrink(const QSize& ATarget) : FTarget(ATarget) {}

    // False when the picture cannot be shrunk to the target.
    bool Start(const QSize& ASize, bool AAlpha, bool AInterlaced)
    {
        FSize = ASize;
        FTarget = FTarget.boundedTo(ASize);
        FInterlaced = AInterlaced;
        FAlpha = AAlpha;
        if (FTarget.isEmpty()
            || CeilDiv(FSize.width(), FTarget.width()) * CeilDiv(FSize.height(), FTarget.height()) > MaxPixelsPerBin)
            return false;
        FImage = QImage(FTarget, AAlpha ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32);
        if (FImage.isNull())
            return false;
        FRow.resize(size_t(FSize.width()) * 4);
        FColumnFirst.resize(size_t(FTarget.width()) + 1);
        for (int x = 0; x <= FTarget.width(); ++x)
            FColumnFirst[size_t(x)] = CeilDiv(quint64(x) * quint64(FSize.width()), quint64(FTarget.width()));
        FSums.assign(size_t(FTarget.width()) * 4 * (FInterlaced ? size_t(FTarget.height()) : 1), 0);
        return true;
    }

    png_bytep Row() { return FRow.data(); }

    // Adds the row just read into Row(): row ARow of pass APass, AColumns
    // pixels of red, green, blue and alpha.
    void AddRow(int APass, png_uint_32 ARow, png_uint_32 AColumns)
    {
        const quint64 y = FInterlaced ? PNG_ROW_FROM_PASS_ROW(ARow, APass) : ARow;
        const int outY = OutputRowOf(y);
        quint32* sums = FSums.data();
        if (FInterlaced) {
            sums += size_t(outY) * size_t(FTarget.width()) * 4;
        } else if (outY != FBandRow) {
            Emit(FBandRow, sums);
            std::fill(FSums.begin(), FSums.end(), 0);
            FBandRow = outY;
        }
        // The pixels of the row that fall into one output column lie next to
        // each other: each run is added up on its own.
        const quint64 start = FInterlaced ? PNG_PASS_START_COL(APass) : 0;
        const int shift = FInterlaced ? PNG_PASS_COL_SHIFT(APass) : 0;
        const auto indexAt = [&](quint64 x) {
            return x <= start ? png_uint_32(0)
                              : png_uint_32(std::min<quint64>(AColumns, (x - start + (1u << shift) - 1) >> shift));
        };
        const png_byte* pixel = FRow.data();
        png_uint_32 i = 0;
        for (int column = 0; column < FTarget.width(); ++column) {
            const png_uint_32 end = indexAt(FColumnFirst[size_t(column) + 1]);
            quint32 red = 0;
            quint32 green = 0;
            quint32 blue = 0;
            quint32 alpha = 0;
            if (FAlpha) {
                for (; i < end; ++i, pixel += 4) {
                    const quint32 a = pixel[3];
                    red += (pixel[0] * a + 127) / 255;
                    green += (pixel[1] * a + 127) / 255;
                    blue += (pixel[2] * a + 127) / 255;
                    alpha += a;
                }
            } else {
                alpha = 255 * (end - i);
                for (; i < end; ++i, pixel += 4) {
                    red += pixel[0];
                    green += pixel[1];
                    blue += pixel[2];
                }
            }
            quint32* sum = sums + size_t(column) * 4;
            sum[0] += red;
            sum[1] += green;
            sum[2] += blue;
            sum[3] += alpha;
        }
    }

    QImage Finish()
    {
        if (FInterlaced) {
            for (int y = 0; y < FTarget.height(); ++y)
                Emit(y, FSums.data() + size_t(y) * size_t(FTarget.width()) * 4);
        } else {
            Emit(FBandRow, FSums.data());
        }
        return FImage;
    }

private:
    int OutputRowOf(quint64 y) const { return int(y * quint64(FTarget.height()) / quint64(FSize.height())); }

    // The picture rows that fall into output row AOutY.
    quint64 RowHeight(int AOutY) const
    {
        const auto firstOf = [this](quint64 outY) { return CeilDiv(outY * quint64(FSize.height()), FTarget.height()); };
        return firstOf(quint64(AOutY) + 1) - firstOf(quint64(AOutY));
    }

    // Writes output row AOutY, the means of its sums.
    void Emit(int AOutY, const quint32* ASums)
    {
        auto* line = reinterpret_cast<QRgb*>(FImage.scanLine(AOutY));
        const quint64 height = RowHeight(AOutY);
        for (int x = 0; x < FTarget.width(); ++x, ASums += 4) {
            const quint64 count = height * (FColumnFirst[size_t(x) + 1] - FColumnFirst[size_t(x)]);
            const auto mean = [count](quint32 sum) { return int((sum + count / 2) / count); };
            line[x] = qRgba(mean(ASums[0]), mean(ASums[1]), mean(ASums[2]), mean(ASums[3]));
        }
    }

    QSize FSize;
    QSize FTarget;
    bool FInterlaced = false;
    bool FAlpha = false;
    std::vector<png_byte> FRow;
    std::vector<quint64> FColumnFirst; // the first picture column of each output column, and the width
    std::vector<quint32> FSums;        // red, green, blue and alpha per output pixel
    int FBandRow = 0;                  // the output row being summed, for a picture not interlaced
    QImage FImage;
};

void ReadData(png_structp APng, png_bytep AData, size_t ALength)
{
    auto* device = static_cast<QIODevice*>(png_get_io_ptr(APng));
    if (device->read(reinterpret_cast<char*>(AData), qint64(ALength)) != qint64(ALength))
        png_error(APng, "the file ends early");
}

[[noreturn]] void OnError(png_structp APng, png_const_charp)
{
    png_longjmp(APng, 1);
}

// A damaged chunk that the picture does not need, or a colour profile libpng
// dislikes, is no reason to show nothing.
void OnWarning(png_structp, png_const_charp) {}

// libpng reports an error by jumping back to the setjmp below, past every
// frame in between: nothing from here on may own anything that needs
// releasing.
bool Decode(png_structp APng, png_infop AInfo, TShrink& AShrink)
{
    if (setjmp(png_jmpbuf(APng)))
        return false;
    png_read_info(APng, AInfo);
    png_uint_32 width = 0;
    png_uint_32 height = 0;
    int depth = 0;
    int type = 0;
    int interlace = 0;
    png_get_IHDR(APng, AInfo, &width, &height, &depth, &type, &interlace, nullptr, nullptr);
    const bool alpha = (type & PNG_COLOR_MASK_ALPHA) || png_get_valid(APng, AInfo, PNG_INFO_tRNS);
    // Every pixel comes out as 8-bit red, green, blue and alpha.
    png_set_expand(APng);
    png_set_scale_16(APng);
    png_set_gray_to_rgb(APng);
    if (!alpha)
        png_set_filler(APng, 0xff, PNG_FILLER_AFTER);
    png_read_update_info(APng, AInfo);
    if (width > INT_MAX || height > INT_MAX || png_get_rowbytes(APng, AInfo) != size_t(width) * 4)
        return false;

    // An interlaced picture is read pass by pass, each pass a smaller picture
    // of its own whose pixels sit on a grid of the whole.
    const bool interlaced = interlace != PNG_INTERLACE_NONE;
    if (!AShrink.Start(QSize(int(width), int(height)), alpha, interlaced))
        return false;
    for (int pass = 0; pass < (interlaced ? PNG_INTERLACE_ADAM7_PASSES : 1); ++pass) {
        const png_uint_32 columns = interlaced ? PNG_PASS_COLS(width, pass) : width;
        const png_uint_32 rows = interlaced ? PNG_PASS_ROWS(height, pass) : height;
        // libpng skips the passes a small picture leaves empty.
        if (columns == 0)
            continue;
        for (png_uint_32 row = 0; row < rows; ++row) {
            png_read_row(APng, AShrink.Row(), nullptr);
            AShrink.AddRow(pass, row, columns);
        }
    }
    return true;
}

} // namespace

QImage ReadPngShrunk(QIODevice& ADevice, const QSize& ASize)
{
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, OnError, OnWarning);
    if (!png)
        return {};
    png_infop info = png_create_info_struct(png);
    const auto release = qScopeGuard([&] { png_destroy_read_struct(&png, &info, nullptr); });
    if (!info)
        return {};
    png_set_read_fn(png, &ADevice, ReadData);
    TShrink shrink(ASize);
    return Decode(png, info, shrink) ? shrink.Finish() : QImage();
}
