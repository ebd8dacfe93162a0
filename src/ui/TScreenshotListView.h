#pragma once

#include <QListView>

#include <functional>

class QDrag;
class TScreenshotListModel;

// The screenshot thumbnail list. Its selection is a row index of its own:
// inserting or removing rows does not move it, emptying the list clears it,
// and setting it from code raises nothing. Change is raised when the user
// selects a row (by click or with the Up and Down keys) other than the one
// they selected last; a row selected from code is only highlighted, so a
// click on it raises Change too. Header rows cannot be selected by the user.
// A screenshot dragged out of the list is copied, as its file and its
// picture, to where it is dropped.
class TScreenshotListView : public QListView
{
    Q_OBJECT
public:
    // Runs a drag out of the list that allows AActions to its end, and
    // returns what the target did.
    using TDragRunner = std::function<Qt::DropAction(QDrag* ADrag, Qt::DropActions AActions)>;

    explicit TScreenshotListView(QWidget* parent = nullptr);

    TScreenshotListModel* Model() const { return FModel; }

    // The selected row index as set, -1 for none; it may lie past the last row.
    int ItemIndex() const { return FItemIndex; }
    void SetItemIndex(int AIndex);
    // The selected row when it designates a row, otherwise -1.
    int Selected() const;

    // Replaces the function that runs a drag (QDrag::exec); an empty one restores it.
    static void SetDragRunner(TDragRunner ARunner);

signals:
    void Change();
    void ItemClickEx(int AIndex);
    // The menu of row AIndex is asked for, to show at AGlobalPos: by a right
    // click on the row, which selects it as a click does, or by the menu key
    // for the selected row.
    void ContextMenu(int AIndex, const QPoint& AGlobalPos);
    // The Delete key was pressed in the list.
    void DeleteKey();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    bool IsItemRow(int AIndex) const;
    void SelectByUser(int AIndex);
    // Drags the screenshot of row AIndex out of the list.
    void DragRow(int AIndex);

    TScreenshotListModel* FModel;
    int FItemIndex = -1;
    // The selection was made by the user, not from code.
    bool FUserSelected = false;
    // The item row the left button went down on, and where; -1 when none.
    int FPressedRow = -1;
    QPoint FPressedAt;
};
