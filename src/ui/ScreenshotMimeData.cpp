#include "ui/ScreenshotMimeData.h"

#include "services/OrvPath.h"

#include <QMimeData>
#include <QUrl>

QMimeData* ScreenshotMimeData_Picture(const QByteArray& APng, const QImage& AImage)
{
    auto* data = new QMimeData;
    // Handed over as they are: Qt would otherwise encode the picture anew, on
    // the GUI thread, for every program that asks for it.
    if (!APng.isEmpty())
        data->setData(QStringLiteral("image/png"), APng);
    // Qt offers the picture in the other formats it writes from this.
    if (!AImage.isNull())
        data->setImageData(AImage);
    return data;
}

QMimeData* ScreenshotMimeData_File(const QString& sFilePath, const QByteArray& APng, const QImage& AImage)
{
    QMimeData* data = ScreenshotMimeData_Picture(APng, AImage);
    const QUrl url = PathUrl(sFilePath);
    data->setUrls({url});
    data->setData(QStringLiteral("x-special/gnome-copied-files"), "copy\n" + url.toEncoded());
    return data;
}

bool ScreenshotMimeData_IsPng(const QByteArray& ABytes)
{
    return ABytes.startsWith("\x89PNG\r\n\x1a\n");
}
