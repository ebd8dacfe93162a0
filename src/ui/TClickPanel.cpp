#include "ui/TClickPanel.h"

#include <QMouseEvent>

TClickPanel::TClickPanel(QWidget* parent)
    : QFrame(parent)
{
    setFrameShape(QFrame::StyledPanel);
}

void TClickPanel::mousePressEvent(QMouseEvent* event)
{
    FPressed = event->button() == Qt::LeftButton;
    event->accept();
}

void TClickPanel::mouseReleaseEvent(QMouseEvent* event)
{
    const bool wasPressed = FPressed;
    FPressed = false;
    event->accept();
    if (wasPressed && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit Click();
}
