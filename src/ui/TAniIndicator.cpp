#include "ui/TAniIndicator.h"

#include <QEvent>
#include <QPainter>

#include <algorithm>

TAniIndicator::TAniIndicator(QWidget* parent)
    : QWidget(parent)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    FTimer.setInterval(80);
    connect(&FTimer, &QTimer::timeout, this, [this] {
        FStep = (FStep + 1) % Spokes;
        update();
    });
}

void TAniIndicator::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::EnabledChange)
        UpdateSpinning();
    QWidget::changeEvent(event);
}

void TAniIndicator::showEvent(QShowEvent* event)
{
    UpdateSpinning();
    QWidget::showEvent(event);
}

void TAniIndicator::hideEvent(QHideEvent* event)
{
    UpdateSpinning();
    QWidget::hideEvent(event);
}

void TAniIndicator::UpdateSpinning()
{
    if (isEnabled() && isVisible())
        FTimer.start();
    else
        FTimer.stop();
    update();
}

void TAniIndicator::paintEvent(QPaintEvent*)
{
    if (!isEnabled())
        return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal side = std::min(width(), height());
    painter.translate(width() / 2.0, height() / 2.0);
    const qreal outer = side / 2.0;
    const qreal inner = outer * 0.5;
    QPen pen(Qt::white);
    pen.setWidthF(std::max(2.0, side / 12.0));
    pen.setCapStyle(Qt::RoundCap);
    for (int i = 0; i < Spokes; ++i) {
        // The spoke at the current step is brightest; the ones behind it fade.
        const int age = (FStep - i + Spokes) % Spokes;
        painter.setOpacity(1.0 - age / double(Spokes));
        painter.setPen(pen);
        painter.drawLine(QPointF(0, -inner), QPointF(0, -outer + pen.widthF() / 2));
        painter.rotate(360.0 / Spokes);
    }
}
