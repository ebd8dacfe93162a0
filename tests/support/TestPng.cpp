#include "TestPng.h"

#include <QFile>

#include <zlib.h>

#include <array>
#include <vector>

namespace TestPng {

namespace {

void put32(QByteArray& AOut, quint32 AValue)
{
    AOut.append(char(AValue >> 24)).append(char(AValue >> 16)).append(char(AValue >> 8)).append(char(AValue));
}

bool writeChunk(QFile& AFile, const char* AType, const QByteArray& AData)
{
    QByteArray chunk;
    put32(chunk, quint32(AData.size()));
    chunk.append(AType, 4).append(AData);
    put32(chunk, quint32(crc32(0, reinterpret_cast<const Bytef*>(chunk.constData() + 4), uInt(chunk.size() - 4))));
    return AFile.write(chunk) == chunk.size();
}

// The samples of one pixel of a stripe, as the file stores them.
std::vector<int> samplesOf(const QColor& AColour, int AStripe, const Format& AFormat)
{
    const auto level = [&AFormat](int value) {
        return AFormat.bitDepth == 16 ? value * 257 : value >> (8 - AFormat.bitDepth);
    };
    switch (AFormat.colourType) {
    case 0:
        return {level(AColour.red())};
    case 3:
        return {AStripe};
    case 4:
        return {level(AColour.red()), level(AColour.alpha())};
    case 6:
        return {level(AColour.red()), level(AColour.green()), level(AColour.blue()), level(AColour.alpha())};
    default:
        return {level(AColour.red()), level(AColour.green()), level(AColour.blue())};
    }
}

// A row of the picture, or of an interlacing pass: the pixels from column
// AStart on, every AStep, behind the filter byte 0 (none).
QByteArray packRow(const QSize& ASize, const QList<QColor>& AStripes, const Format& AFormat, int AStart, int AStep)
{
    QByteArray row(1, '\0');
    quint32 bits = 0;
    int pending = 0;
    for (int x = AStart; x < ASize.width(); x += AStep) {
        const int stripe = int(qint64(x) * AStripes.size() / ASize.width());
        for (const int sample : samplesOf(AStripes[stripe], stripe, AFormat)) {
            if (AFormat.bitDepth == 16) {
                row.append(char(sample >> 8)).append(char(sample));
                continue;
            }
            bits = (bits << AFormat.bitDepth) | quint32(sample);
            pending += AFormat.bitDepth;
            if (pending == 8) {
                row.append(char(bits));
                bits = 0;
                pending = 0;
            }
        }
    }
    if (pending > 0)
        row.append(char(bits << (8 - pending)));
    return row;
}

} // namespace

bool writeStripes(const QString& sPath, const QSize& ASize, const QList<QColor>& AStripes, const Format& AFormat)
{
    QFile file(sPath);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    bool written = file.write("\x89PNG\r\n\x1a\n", 8) == 8;

    QByteArray header;
    put32(header, quint32(ASize.width()));
    put32(header, quint32(ASize.height()));
    header.append(char(AFormat.bitDepth)).append(char(AFormat.colourType)).append('\0').append('\0');
    header.append(char(AFormat.interlaced ? 1 : 0));
    written = written && writeChunk(file, "IHDR", header);
    if (AFormat.colourType == 3) {
        QByteArray palette;
        QByteArray alphas;
        for (const QColor& colour : AStripes) {
            palette.append(char(colour.red())).append(char(colour.green())).append(char(colour.blue()));
            alphas.append(char(colour.alpha()));
        }
        written = written && writeChunk(file, "PLTE", palette);
        if (alphas.count(char(255)) != alphas.size())
            written = written && writeChunk(file, "tRNS", alphas);
    }

    z_stream zip {};
    deflateInit(&zip, Z_BEST_COMPRESSION);
    std::vector<Bytef> out(1 << 16);
    const auto deflateOut = [&](const QByteArray& AData, int AFlush) {
        zip.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(AData.constData()));
        zip.avail_in = uInt(AData.size());
        int result = Z_OK;
        do {
            zip.next_out = out.data();
            zip.avail_out = uInt(out.size());
            result = deflate(&zip, AFlush);
            const qsizetype made = qsizetype(out.size() - zip.avail_out);
            if (made > 0)
                written = written && writeChunk(file, "IDAT", QByteArray(reinterpret_cast<const char*>(out.data()), made));
        } while (AFlush == Z_FINISH ? result == Z_OK : zip.avail_out == 0);
    };

    // Adam7: where each pass starts and how far apart its pixels lie.
    struct TPass { int x, y, dx, dy; };
    const std::array<TPass, 7> adam7 {{{0, 0, 8, 8}, {4, 0, 8, 8}, {0, 4, 4, 8}, {2, 0, 4, 4},
                                        {0, 2, 2, 4}, {1, 0, 2, 2}, {0, 1, 1, 2}}};
    const std::vector<TPass> passes = AFormat.interlaced ? std::vector<TPass>(adam7.begin(), adam7.end())
                                                          : std::vector<TPass> {{0, 0, 1, 1}};
    for (const TPass& pass : passes) {
        if (pass.x >= ASize.width() || pass.y >= ASize.height())
            continue;
        const QByteArray row = packRow(ASize, AStripes, AFormat, pass.x, pass.dx);
        for (int y = pass.y; y < ASize.height() && written; y += pass.dy)
            deflateOut(row, Z_NO_FLUSH);
    }
    deflateOut(QByteArray(), Z_FINISH);
    deflateEnd(&zip);
    written = written && writeChunk(file, "IEND", QByteArray());
    return written && file.flush();
}

} // namespace TestPng
