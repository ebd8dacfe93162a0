#include "ui/TScreenshotListDelegate.h"

#include "ui/TScreenshotListModel.h"
#include "ui/TScreenshotListView.h"

#include <QApplication>
#include <QPainter>

TScreenshotListDelegate::TScreenshotListDelegate(QObject* parent)
    : QStyledItemDelegate(parent)
{
}

QRect TScreenshotListDelegate::ImageBox(const QRect& ARowRect)
{
    return {ARowRect.left() + (ARowRect.width() - ImageWidth) / 2, ARowRect.top() + ImageTop, ImageWidth, ImageHeight};
}

QRect TScreenshotListDelegate::DetailBox(const QRect& ARowRect)
{
    return QRect(QPoint(ARowRect.left() + 2, ARowRect.top() + DetailTop), QPoint(ARowRect.right() - 2, ARowRect.bottom()));
}

QSize TScreenshotListDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    const bool header = index.data(TScreenshotListModel::PurposeRole).toInt() == int(TScreenshotListModel::TPurpose::Header);
    return {std::max(option.rect.width(), ImageWidth), header ? HeaderHeight : ItemHeight};
}

void TScreenshotListDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    if (index.data(TScreenshotListModel::PurposeRole).toInt() == int(TScreenshotListModel::TPurpose::Header))
        PaintHeader(painter, option, index);
    else
        PaintItem(painter, option, index);
}

void TScreenshotListDelegate::PaintHeader(QPainter* painter, const QStyleOptionViewItem& option,
                                          const QModelIndex& index) const
{
    const QWidget* widget = option.widget;
    QStyle* style = widget ? widget->style() : QApplication::style();
    QStyleOptionHeader header;
    header.initFrom(widget);
    header.rect = option.rect;
    header.text = index.data(TScreenshotListModel::TextRole).toString();
    header.textAlignment = Qt::AlignLeft | Qt::AlignVCenter;
    header.position = QStyleOptionHeader::OnlyOneSection;
    header.state = QStyle::State_Enabled | QStyle::State_Raised | QStyle::State_Horizontal;
    // The style may leave its clip on the painter, which would hide the rows painted after.
    painter->save();
    style->drawControl(QStyle::CE_Header, &header, painter, widget);
    painter->restore();
}

void TScreenshotListDelegate::PaintItem(QPainter* painter, const QStyleOptionViewItem& option,
                                        const QModelIndex& index) const
{
    painter->save();
    const auto* view = qobject_cast<const TScreenshotListView*>(option.widget);
    const bool selected = view && view->Selected() == index.row();
    if (selected)
        painter->fillRect(option.rect, option.palette.highlight());

    const QImage image = index.data(TScreenshotListModel::ImageRole).value<QImage>();
    const QRect box = ImageBox(option.rect);
    if (!image.isNull()) {
        const QSize fitted = image.size().scaled(box.size(), Qt::KeepAspectRatio);
        const QRect target(box.left() + (box.width() - fitted.width()) / 2, box.top(), fitted.width(), fitted.height());
        painter->setRenderHint(QPainter::SmoothPixmapTransform);
        painter->drawImage(target, image);
    }

    painter->setPen(selected ? option.palette.color(QPalette::HighlightedText) : option.palette.color(QPalette::Text));
    painter->setFont(option.font);
    const QString detail = index.data(TScreenshotListModel::DetailRole).toString();
    const QRect textBox = DetailBox(option.rect);
    painter->drawText(textBox, Qt::AlignHCenter | Qt::AlignTop,
                      option.fontMetrics.elidedText(detail, Qt::ElideMiddle, textBox.width()));

    painter->setPen(option.palette.color(QPalette::Mid));
    painter->drawLine(option.rect.bottomLeft(), option.rect.bottomRight());
    painter->restore();
}
