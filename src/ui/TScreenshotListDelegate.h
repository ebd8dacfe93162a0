#pragma once

#include <QStyledItemDelegate>

// Draws the thumbnail list: header rows in the style's header look; item rows
// with the image scaled into a box centred at the top and the detail text
// centred under it. The item text is not drawn.
class TScreenshotListDelegate : public QStyledItemDelegate
{
    Q_OBJECT
public:
    static constexpr int ItemHeight = 80;
    static constexpr int HeaderHeight = 24;
    static constexpr int ImageWidth = 200;
    static constexpr int ImageHeight = 50;
    static constexpr int ImageTop = 5;
    static constexpr int DetailTop = 58;

    explicit TScreenshotListDelegate(QObject* parent = nullptr);

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

    // The image box of an item row drawn in ARowRect.
    static QRect ImageBox(const QRect& ARowRect);
    // The box the detail text of an item row is drawn in.
    static QRect DetailBox(const QRect& ARowRect);

private:
    void PaintHeader(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const;
    void PaintItem(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const;
};
