#pragma once

#include <QTimer>
#include <QWidget>

// A spinning busy indicator. It spins only while it is enabled and shown.
class TAniIndicator : public QWidget
{
    Q_OBJECT
public:
    explicit TAniIndicator(QWidget* parent = nullptr);

    bool IsSpinning() const { return FTimer.isActive(); }

    QSize sizeHint() const override { return {40, 40}; }

protected:
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void UpdateSpinning();

    static constexpr int Spokes = 12;
    QTimer FTimer;
    int FStep = 0;
};
