#include "ui/BitmapFile.h"

#include <QFile>
#include <QFileInfo>
#include <QImageReader>

namespace {

// Opens sFileName read-only and prepares a reader that goes by content, not by
// suffix, and accepts images of any size.
bool openReader(QFile& file, QImageReader& reader)
{
    if (!file.open(QIODevice::ReadOnly))
        return false;
    reader.setDevice(&file);
    reader.setDecideFormatFromContent(true);
    reader.setAllocationLimit(0);
    return true;
}

} // namespace

void LoadBitmapFromFile(const QString& sFileName, QImage& bitmap)
{
    if (!QFileInfo(sFileName).isFile())
        return;
    QFile file(sFileName);
    QImageReader reader;
    QImage decoded;
    if (openReader(file, reader))
        decoded = reader.read();
    bitmap = decoded;
}

QImage LoadThumbnailFromFile(const QString& sFileName, const QSize& ABoxPx)
{
    QFile file(sFileName);
    QImageReader reader;
    if (!openReader(file, reader))
        return {};
    const QSize full = reader.size();
    if (full.isValid() && !ABoxPx.isEmpty())
        reader.setScaledSize(full.scaled(ABoxPx, Qt::KeepAspectRatio).expandedTo(QSize(1, 1)));
    QImage image = reader.read();
    if (!image.isNull() && !full.isValid() && !ABoxPx.isEmpty())
        image = image.scaled(ABoxPx, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    return image;
}
