#include "ui/TScreenshotListView.h"

#include "ui/TScreenshotListDelegate.h"
#include "ui/TScreenshotListModel.h"

#include <QKeyEvent>
#include <QMouseEvent>

TScreenshotListView::TScreenshotListView(QWidget* parent)
    : QListView(parent)
    , FModel(new TScreenshotListModel(this))
{
    setModel(FModel);
    setItemDelegate(new TScreenshotListDelegate(this));
    setSelectionMode(QAbstractItemView::NoSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setUniformItemSizes(false);
    connect(FModel, &QAbstractItemModel::modelReset, this, [this] {
        FItemIndex = -1;
        FUserSelected = false;
    });
}

void TScreenshotListView::SetItemIndex(int AIndex)
{
    FItemIndex = AIndex < 0 ? -1 : AIndex;
    FUserSelected = false;
    viewport()->update();
}

int TScreenshotListView::Selected() const
{
    return FItemIndex >= 0 && FItemIndex < FModel->Count() ? FItemIndex : -1;
}

bool TScreenshotListView::IsItemRow(int AIndex) const
{
    return AIndex >= 0 && AIndex < FModel->Count()
        && FModel->Row(AIndex).Purpose == TScreenshotListModel::TPurpose::Item;
}

void TScreenshotListView::SelectByUser(int AIndex)
{
    if (AIndex == FItemIndex && FUserSelected)
        return;
    SetItemIndex(AIndex);
    FUserSelected = true;
    scrollTo(FModel->index(AIndex));
    emit Change();
}

void TScreenshotListView::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        QListView::mousePressEvent(event);
        return;
    }
    setFocus(Qt::MouseFocusReason);
    const int row = indexAt(event->position().toPoint()).row();
    if (!IsItemRow(row))
        return;
    SelectByUser(row);
    emit ItemClickEx(row);
}

void TScreenshotListView::keyPressEvent(QKeyEvent* event)
{
    const int step = event->key() == Qt::Key_Down ? 1 : event->key() == Qt::Key_Up ? -1 : 0;
    if (step == 0 || event->modifiers() != Qt::NoModifier) {
        QListView::keyPressEvent(event);
        return;
    }
    event->accept();
    int row = Selected() < 0 ? (step > 0 ? -1 : FModel->Count()) : Selected();
    for (row += step; row >= 0 && row < FModel->Count(); row += step) {
        if (IsItemRow(row)) {
            SelectByUser(row);
            return;
        }
    }
}
