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

std::array<double, BarCount> barShares(const QImage& AImage)
{
    // Each bar by its channels that are lit (R, G, B).
    static constexpr std::array<std::array<bool, 3>, BarCount> Bars {{{true, true, false},
                                                                     {false, true, true},
                                                                     {false, true, false},
                                                                     {true, false, true},
                                                                     {true, false, false},
                                                                     {false, false, true}}};
    std::array<double, BarCount> shares {};
    const QImage rgb = AImage.convertToFormat(QImage::Format_RGB32);
    if (rgb.isNull())
        return shares;
    for (int y = 0; y < rgb.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
        for (int x = 0; x < rgb.width(); ++x) {
            const std::array<int, 3> channels {qRed(line[x]), qGreen(line[x]), qBlue(line[x])};
            for (size_t bar = 0; bar < Bars.size(); ++bar) {
                bool match = true;
                for (size_t c = 0; c < 3 && match; ++c)
                    match = Bars[bar][c] ? channels[c] >= 140 : channels[c] <= 70;
                if (match) {
                    shares[bar] += 1;
                    break;
                }
            }
        }
    }
    const double pixels = double(rgb.width()) * rgb.height();
    for (double& share : shares)
        share /= pixels;
    return shares;
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
