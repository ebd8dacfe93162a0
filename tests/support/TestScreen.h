#pragma once

#include <QImage>
#include <QRect>

#include <array>

class QWidget;

// What a person sees of a window: the X server's pixels, read while the
// program runs.
namespace TestScreen {

// The pixels the X server shows over AWidget right now, whichever window is
// on top, as RGB32: device pixels, so on a scaled screen the picture is
// larger than the widget.
QImage grab(const QWidget* AWidget);

// The six saturated bars of a colour-bars picture (ffmpeg's smptebars):
// yellow, cyan, green, magenta, red, blue.
constexpr int BarCount = 6;

// The share of AImage's pixels in each bar colour, in the order above.
std::array<double, BarCount> barShares(const QImage& AImage);

// A video frame as the engine shows it in a video area: scaled to fit the
// area and centred. A control that floats over the area's right edge (the
// volume bar) hides what lies under it; only what lies left of it is
// compared. The scaled frame is made once, so comparing many screen reads
// with it costs only the comparison.
class TShownFrame
{
public:
    TShownFrame(const QImage& AFrame, const QWidget* AArea, const QWidget* AOver);

    // Mean absolute difference per channel (0..255) of AScreen, the pixels
    // over the area, from the frame as it should show there.
    double DiffFrom(const QImage& AScreen) const;

private:
    QRect FCompared;
    QImage FExpected;
};

} // namespace TestScreen
