#pragma once

#include "ui/TScrollPhysics.h"

#include <QGraphicsView>
#include <QImage>

class QGraphicsPixmapItem;
class QGraphicsScene;
class QPinchGesture;

// A picture viewer: the wheel and the pinch gesture zoom about the pointer,
// dragging pans, BestFit shows the whole picture.
class TImageViewer : public QGraphicsView
{
    Q_OBJECT
public:
    static constexpr qreal ScaleMin = 0.02;
    static constexpr qreal ScaleMax = 32.0;

    explicit TImageViewer(QWidget* parent = nullptr);

    QImage Picture() const { return FPicture; }
    // The picture is held once, in the form the screen draws, shared with
    // what the view shows.
    void SetPicture(const QImage& APicture);
    // The picture shown, in another size (the whole of a picture whose
    // thumbnail stood in for it): what is in view stays in view, fitted or
    // zoomed as the user left it.
    void SetSharperPicture(const QImage& APicture);
    // Paints the whole picture in AColor; its size is kept.
    void ClearPicture(const QColor& AColor);

    // The most pixels worth decoding for a picture shown here: four times those
    // of the screen the viewer is on, so that a picture zoomed to twice the
    // screen's width and height still shows a pixel of its own per screen pixel.
    qint64 UsefulPixels() const;

    // Shrinks a picture larger than the view so that all of it shows; a smaller
    // one is shown at its own size. Either way it is centred, and it stays
    // fitted when the view changes size, until it is zoomed.
    void BestFit();

    qreal BitmapScale() const;
    // Zooms about AAnchor (view coordinates), keeping the point under it in place.
    void SetBitmapScale(qreal AScale, const QPointF& AAnchor);

    TScrollPhysics ScrollPhysics() const { return FScrollPhysics; }
    void SetScrollPhysics(const TScrollPhysics& APhysics);

protected:
    bool viewportEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    void ShowPicture(const QImage& APicture);
    void Fit();
    void PinchTriggered(QPinchGesture* AGesture);

    QGraphicsScene* FScene;
    QGraphicsPixmapItem* FItem;
    QImage FPicture;
    TScrollPhysics FScrollPhysics;
    bool FFitted = false;
};
