#pragma once

#include <QFrame>

// A plain panel that reports a click of the primary button released over it.
class TClickPanel : public QFrame
{
    Q_OBJECT
public:
    explicit TClickPanel(QWidget* parent = nullptr);

signals:
    void Click();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    bool FPressed = false;
};
