#pragma once

#include <QColor>
#include <QWidget>

// A translucent rectangle laid over the top strip of its parent, across the
// parent's full width. While shown it takes every mouse click and wheel turn
// aimed at what lies beneath it.
class TCoverRectangle : public QWidget
{
    Q_OBJECT
public:
    TCoverRectangle(QWidget* parent, int AHeight);

    QColor Fill() const { return FFill; }
    void SetFill(const QColor& AFill);
    qreal FillOpacity() const { return FOpacity; }
    void SetFillOpacity(qreal AOpacity);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    void FollowParent();

    int FHeight;
    QColor FFill;
    qreal FOpacity = 1.0;
};
