#include "ui/BitmapFile.h"

#include "services/OrvPath.h"
#include "ui/PngShrink.h"

#include <QFile>
#include <QImageReader>

#include <algorithm>
#include <cmath>
#include <functional>

namespace {

// AImage at ASize. Qt's smooth scaling hands back a picture in the format it
// got, so a picture of one bit per pixel would come back dithered to black and
// white: it is brought to full colour first.
QImage Resized(QImage AImage, const QSize& ASize)
{
    if (AImage.isNull() || AImage.size() == ASize)
        return AImage;
    AImage.convertTo(AImage.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32);
    return AImage.scaled(ASize, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

// Decodes sFileName, by its content, at the size ASizeFor gives for the
// picture's own size.
QImage Decode(const QString& sFileName, const std::function<QSize(const QSize&)>& ASizeFor)
{
    QFile file;
    if (!PathOpenRead(file, sFileName))
        return {};
    QImageReader reader(&file);
    reader.setDecideFormatFromContent(true);
    const QSize full = reader.size();
    if (reader.format() == "png") {
        if (!full.isValid() || !file.seek(0))
            return {};
        const QSize size = ASizeFor(full);
        return Resized(ReadPngShrunk(file, size.boundedTo(full)), size);
    }
    if (full.isValid() && reader.supportsOption(QImageIOHandler::ScaledSize)) {
        reader.setScaledSize(ASizeFor(full));
        return reader.read();
    }
    QImage image = reader.read();
    const QSize size = ASizeFor(image.size());
    return Resized(std::move(image), size);
}

} // namespace

void LoadBitmapFromFile(const QString& sFileName, QImage& bitmap, qint64 AMaxPixels)
{
    if (!PathIsFile(sFileName))
        return;
    bitmap = Decode(sFileName, [AMaxPixels](const QSize& full) {
        const qint64 pixels = qint64(full.width()) * full.height();
        if (pixels <= AMaxPixels)
            return full;
        const double scale = std::sqrt(double(AMaxPixels) / double(pixels));
        // A very long and thin picture keeps one pixel across and is cut short along.
        qint64 width = std::max<qint64>(1, qint64(full.width() * scale));
        qint64 height = std::max<qint64>(1, qint64(full.height() * scale));
        width = std::min(width, std::max<qint64>(1, AMaxPixels / height));
        height = std::min(height, std::max<qint64>(1, AMaxPixels / width));
        return QSize(int(width), int(height));
    });
}

QImage LoadThumbnailFromFile(const QString& sFileName, const QSize& ABoxPx)
{
    return Decode(sFileName, [&ABoxPx](const QSize& full) {
        return full.scaled(ABoxPx, Qt::KeepAspectRatio).expandedTo(QSize(1, 1));
    });
}
