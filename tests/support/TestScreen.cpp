#include "TestScreen.h"

#include "TestMedia.h"

#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>
#include <QWidget>

namespace TestScreen {

QImage grab(const QWidget* AWidget)
{
    const QPoint at = AWidget->mapToGlobal(QPoint(0, 0));
    return QGuiApplication::primaryScreen()
        ->grabWindow(0, at.x(), at.y(), AWidget->width(), AWidget->height())
        .toImage()
        .convertToFormat(QImage::Format_RGB32);
}

TShownFrame::TShownFrame(const QImage& AFrame, const QWidget* AArea, const QWidget* AOver)
{
    // The screen's pixels are device pixels: on a scaled screen more than
    // the widgets' own units.
    const qreal ratio = AArea->devicePixelRatioF();
    const QSize area = (QSizeF(AArea->size()) * ratio).toSize();
    const QSize shown = AFrame.size().scaled(area, Qt::KeepAspectRatio);
    const QRect picture(QPoint((area.width() - shown.width()) / 2, (area.height() - shown.height()) / 2), shown);
    const int right = qRound((AOver->mapToGlobal(QPoint(0, 0)).x() - AArea->mapToGlobal(QPoint(0, 0)).x()) * ratio);
    FCompared = picture.intersected(QRect(0, 0, right, area.height()));
    FExpected = AFrame.scaled(shown, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                    .copy(FCompared.translated(-picture.topLeft()))
                    .convertToFormat(QImage::Format_RGB32);
}

double TShownFrame::DiffFrom(const QImage& AScreen) const
{
    return TestMedia::meanAbsDiff(AScreen.copy(FCompared), FExpected);
}

} // namespace TestScreen
