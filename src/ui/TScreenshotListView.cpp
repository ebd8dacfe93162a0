#include "ui/TScreenshotListView.h"

#include "services/OrvPath.h"
#include "ui/ScreenshotMimeData.h"
#include "ui/TScreenshotListDelegate.h"
#include "ui/TScreenshotListModel.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QDrag>
#include <QFile>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPixmap>
#include <QPointer>

#include <utility>

namespace {

Qt::DropAction RunDrag(QDrag* ADrag, Qt::DropActions AActions)
{
    return ADrag->exec(AActions);
}

TScreenshotListView::TDragRunner& DragRunner()
{
    static TScreenshotListView::TDragRunner runner = RunDrag;
    return runner;
}

} // namespace

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
    FPressedRow = -1;
    if (!IsItemRow(row))
        return;
    FPressedRow = row;
    FPressedAt = event->position().toPoint();
    SelectByUser(row);
    emit ItemClickEx(row);
}

void TScreenshotListView::mouseMoveEvent(QMouseEvent* event)
{
    if (FPressedRow < 0 || !event->buttons().testFlag(Qt::LeftButton)) {
        QListView::mouseMoveEvent(event);
        return;
    }
    if ((event->position().toPoint() - FPressedAt).manhattanLength() < QApplication::startDragDistance())
        return;
    const int row = std::exchange(FPressedRow, -1);
    // The press selected the row; rows come and go meanwhile (a screenshot
    // written, a list rebuilt): the row dragged is the one still there.
    if (IsItemRow(row))
        DragRow(row);
}

void TScreenshotListView::mouseReleaseEvent(QMouseEvent* event)
{
    FPressedRow = -1;
    QListView::mouseReleaseEvent(event);
}

void TScreenshotListView::DragRow(int AIndex)
{
    const QString file = FModel->FilePath(AIndex);
    // The picture is the file's own PNG bytes, read as the drag starts: a
    // drop target asks for them while the drag runs.
    QByteArray png;
    QFile in;
    if (PathOpenRead(in, file)) {
        png = in.readAll();
        if (!ScreenshotMimeData_IsPng(png))
            png.clear();
    }
    auto* drag = new QDrag(this);
    drag->setMimeData(ScreenshotMimeData_File(file, png, QImage()));
    const QImage thumbnail = FModel->Row(AIndex).Image;
    if (!thumbnail.isNull()) {
        drag->setPixmap(QPixmap::fromImage(thumbnail));
        drag->setHotSpot(QPoint(thumbnail.width(), thumbnail.height()) / (2 * thumbnail.devicePixelRatio()));
    }
    const QPointer<QDrag> dragged = drag;
    // Copied only: a file manager that moved the file would take the
    // screenshot away from beside its video.
    DragRunner()(drag, Qt::CopyAction);
    if (dragged)
        dragged->deleteLater();
}

void TScreenshotListView::SetDragRunner(TDragRunner ARunner)
{
    DragRunner() = ARunner ? std::move(ARunner) : RunDrag;
}

void TScreenshotListView::contextMenuEvent(QContextMenuEvent* event)
{
    event->accept();
    if (event->reason() == QContextMenuEvent::Mouse) {
        const int row = indexAt(viewport()->mapFromGlobal(event->globalPos())).row();
        if (!IsItemRow(row))
            return;
        SelectByUser(row);
        emit ContextMenu(row, event->globalPos());
        return;
    }
    const int row = Selected();
    if (!IsItemRow(row))
        return;
    scrollTo(FModel->index(row));
    emit ContextMenu(row, viewport()->mapToGlobal(visualRect(FModel->index(row)).center()));
}

void TScreenshotListView::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Delete && event->modifiers() == Qt::NoModifier) {
        event->accept();
        emit DeleteKey();
        return;
    }
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
