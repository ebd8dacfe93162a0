#include "ui/TImageViewer.h"

#include <QGestureEvent>
#include <QGraphicsPixmapItem>
#include <QGraphicsScene>
#include <QPinchGesture>
#include <QScreen>
#include <QScrollBar>
#include <QScroller>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>

namespace {
// One notch of a standard mouse wheel (120 units) zooms by this factor.
constexpr qreal WheelNotchZoom = 1.15;
}

TImageViewer::TImageViewer(QWidget* parent)
    : QGraphicsView(parent)
    , FScene(new QGraphicsScene(this))
    , FItem(new QGraphicsPixmapItem)
{
    FItem->setTransformationMode(Qt::SmoothTransformation);
    FScene->addItem(FItem);
    setScene(FScene);
    setFrameShape(QFrame::NoFrame);
    setAlignment(Qt::AlignCenter);
    setDragMode(QGraphicsView::ScrollHandDrag);
    setTransformationAnchor(QGraphicsView::AnchorUnderMouse);
    setResizeAnchor(QGraphicsView::AnchorViewCenter);
    setRenderHint(QPainter::SmoothPixmapTransform);
    setBackgroundBrush(Qt::NoBrush);
    viewport()->grabGesture(Qt::PinchGesture);
}

void TImageViewer::SetPicture(const QImage& APicture)
{
    ShowPicture(APicture);
}

void TImageViewer::SetSharperPicture(const QImage& APicture)
{
    const qreal widthBefore = FPicture.width();
    if (FFitted || widthBefore <= 0 || APicture.isNull()) {
        ShowPicture(APicture);
        BestFit();
        return;
    }
    const qreal ratio = APicture.width() / widthBefore;
    const QPointF centre = mapToScene(viewport()->rect().center()) * ratio;
    const qreal scale = std::clamp(BitmapScale() / ratio, ScaleMin, ScaleMax);
    ShowPicture(APicture);
    setTransform(QTransform::fromScale(scale, scale));
    centerOn(centre);
}

void TImageViewer::ClearPicture(const QColor& AColor)
{
    // Taken from the view first, so that it is painted over in place.
    QImage picture = std::move(FPicture);
    FItem->setPixmap(QPixmap());
    if (!picture.isNull()) {
        if (AColor.alpha() == 255 && picture.hasAlphaChannel())
            picture = std::move(picture).convertToFormat(QImage::Format_RGB32);
        picture.fill(AColor);
    }
    ShowPicture(picture);
}

void TImageViewer::ShowPicture(const QImage& APicture)
{
    FItem->setPixmap(QPixmap::fromImage(APicture));
    // A pixmap drawn by the CPU is an image: keeping that one holds the pixels once.
    FPicture = FItem->pixmap().toImage();
    FScene->setSceneRect(FItem->boundingRect());
}

qint64 TImageViewer::UsefulPixels() const
{
    const QScreen* shown = screen();
    const QSizeF pixels = QSizeF(shown->size()) * shown->devicePixelRatio();
    return 4 * qint64(pixels.width()) * qint64(pixels.height());
}

void TImageViewer::BestFit()
{
    FFitted = true;
    Fit();
}

void TImageViewer::Fit()
{
    const QSize picture = FPicture.size();
    const QSize box = viewport()->size();
    qreal scale = 1.0;
    if (!picture.isEmpty() && (picture.width() > box.width() || picture.height() > box.height()))
        scale = std::min(qreal(box.width()) / picture.width(), qreal(box.height()) / picture.height());
    setTransform(QTransform::fromScale(scale, scale));
    centerOn(FItem);
}

qreal TImageViewer::BitmapScale() const
{
    return transform().m11();
}

void TImageViewer::SetBitmapScale(qreal AScale, const QPointF& AAnchor)
{
    FFitted = false;
    const qreal scale = std::clamp(AScale, ScaleMin, ScaleMax);
    const QPointF scenePoint = mapToScene(AAnchor.toPoint());
    setTransform(QTransform::fromScale(scale, scale));
    // Bring the scene point that was under the anchor back under it.
    const QPointF moved = mapFromScene(scenePoint) - AAnchor;
    horizontalScrollBar()->setValue(horizontalScrollBar()->value() + int(std::lround(moved.x())));
    verticalScrollBar()->setValue(verticalScrollBar()->value() + int(std::lround(moved.y())));
}

void TImageViewer::resizeEvent(QResizeEvent* event)
{
    QGraphicsView::resizeEvent(event);
    // A picture shown on a page that is not on screen is fitted to the size
    // the viewer had then; it is fitted again once the viewer has its own.
    if (FFitted)
        Fit();
}

void TImageViewer::SetScrollPhysics(const TScrollPhysics& APhysics)
{
    FScrollPhysics = APhysics;

    // Qt has no scroll bars that show only while scrolling; the nearest is none at all.
    const Qt::ScrollBarPolicy bars = APhysics.AutoShowing ? Qt::ScrollBarAlwaysOff : Qt::ScrollBarAsNeeded;
    setHorizontalScrollBarPolicy(bars);
    setVerticalScrollBarPolicy(bars);

    if (APhysics.TouchTracking == Qt::Orientations()) {
        QScroller::ungrabGesture(viewport());
        return;
    }
    QScroller::grabGesture(viewport(), QScroller::TouchGesture);
    QScroller* scroller = QScroller::scroller(viewport());
    const QScrollerProperties defaults;
    QScrollerProperties properties = scroller->scrollerProperties();
    const QVariant overshoot = QVariant::fromValue(APhysics.BoundsAnimation
                                                       ? QScrollerProperties::OvershootWhenScrollable
                                                       : QScrollerProperties::OvershootAlwaysOff);
    const QVariant off = QVariant::fromValue(QScrollerProperties::OvershootAlwaysOff);
    properties.setScrollMetric(QScrollerProperties::HorizontalOvershootPolicy,
                               APhysics.TouchTracking.testFlag(Qt::Horizontal) ? overshoot : off);
    properties.setScrollMetric(QScrollerProperties::VerticalOvershootPolicy,
                               APhysics.TouchTracking.testFlag(Qt::Vertical) ? overshoot : off);
    // Without animation a flick stops where the finger leaves.
    properties.setScrollMetric(QScrollerProperties::MaximumVelocity,
                               APhysics.Animation ? defaults.scrollMetric(QScrollerProperties::MaximumVelocity) : 0.0);
    // A factor of 1 takes each new drag speed as it is, without smoothing.
    properties.setScrollMetric(QScrollerProperties::DragVelocitySmoothingFactor,
                               APhysics.Averaging ? defaults.scrollMetric(QScrollerProperties::DragVelocitySmoothingFactor)
                                                  : 1.0);
    scroller->setScrollerProperties(properties);
}

bool TImageViewer::viewportEvent(QEvent* event)
{
    if (event->type() == QEvent::Gesture) {
        auto* gestureEvent = static_cast<QGestureEvent*>(event);
        if (auto* pinch = static_cast<QPinchGesture*>(gestureEvent->gesture(Qt::PinchGesture))) {
            PinchTriggered(pinch);
            gestureEvent->accept(pinch);
            return true;
        }
    }
    return QGraphicsView::viewportEvent(event);
}

void TImageViewer::PinchTriggered(QPinchGesture* AGesture)
{
    if (!AGesture->changeFlags().testFlag(QPinchGesture::ScaleFactorChanged))
        return;
    const QPointF anchor = viewport()->mapFromGlobal(AGesture->centerPoint().toPoint());
    SetBitmapScale(BitmapScale() * AGesture->scaleFactor(), anchor);
}

void TImageViewer::wheelEvent(QWheelEvent* event)
{
    const int delta = event->angleDelta().y();
    if (delta == 0 || FPicture.isNull()) {
        event->ignore();
        return;
    }
    SetBitmapScale(BitmapScale() * std::pow(WheelNotchZoom, delta / 120.0), event->position());
    event->accept();
}
