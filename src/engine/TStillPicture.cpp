#include "engine/TStillPicture.h"

#include <QPainter>

TStillPicture::TStillPicture(QWidget* AParent)
    : QWidget(AParent)
{
    // A window of its own, so that it lies above the engine's native window.
    setAttribute(Qt::WA_NativeWindow);
    setAttribute(Qt::WA_OpaquePaintEvent);
    hide();
}

void TStillPicture::SetPicture(const QImage& AImage, double ADisplayAspect)
{
    FImage = AImage;
    FDisplayAspect = ADisplayAspect > 0 ? ADisplayAspect : 1;
    update();
    show();
    raise();
}

void TStillPicture::ClearPicture()
{
    hide();
    FImage = QImage();
}

QRectF TStillPicture::PictureRect() const
{
    const QSizeF area = size();
    if (FImage.isNull() || area.isEmpty())
        return {};
    QSizeF shown(area.height() * FDisplayAspect, area.height());
    if (shown.width() > area.width())
        shown = QSizeF(area.width(), area.width() / FDisplayAspect);
    return QRectF(QPointF((area.width() - shown.width()) / 2, (area.height() - shown.height()) / 2), shown);
}

void TStillPicture::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), Qt::black);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(PictureRect(), FImage);
}
