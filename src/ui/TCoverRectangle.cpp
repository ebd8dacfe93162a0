#include "ui/TCoverRectangle.h"

#include <QEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

TCoverRectangle::TCoverRectangle(QWidget* parent, int AHeight)
    : QWidget(parent)
    , FHeight(AHeight)
{
    setAttribute(Qt::WA_NoMousePropagation);
    parent->installEventFilter(this);
    FollowParent();
}

void TCoverRectangle::SetFill(const QColor& AFill)
{
    FFill = AFill;
    update();
}

void TCoverRectangle::SetFillOpacity(qreal AOpacity)
{
    FOpacity = AOpacity;
    update();
}

bool TCoverRectangle::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == parentWidget() && event->type() == QEvent::Resize)
        FollowParent();
    return QWidget::eventFilter(watched, event);
}

void TCoverRectangle::FollowParent()
{
    setGeometry(0, 0, parentWidget()->width(), FHeight);
}

void TCoverRectangle::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setOpacity(FOpacity);
    painter.fillRect(rect(), FFill);
}

void TCoverRectangle::showEvent(QShowEvent* event)
{
    // Siblings made later would otherwise be stacked above the cover.
    raise();
    QWidget::showEvent(event);
}

void TCoverRectangle::mousePressEvent(QMouseEvent* event)
{
    event->accept();
}

void TCoverRectangle::mouseReleaseEvent(QMouseEvent* event)
{
    event->accept();
}

void TCoverRectangle::mouseDoubleClickEvent(QMouseEvent* event)
{
    event->accept();
}

void TCoverRectangle::wheelEvent(QWheelEvent* event)
{
    event->accept();
}
