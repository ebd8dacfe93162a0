#pragma once

#include <QListView>

class TScreenshotListModel;

// The screenshot thumbnail list. Its selection is a row index of its own:
// inserting or removing rows does not move it, emptying the list clears it,
// and setting it from code raises nothing. Change is raised when the user
// selects a row (by click or with the Up and Down keys) other than the one
// they selected last; a row selected from code is only highlighted, so a
// click on it raises Change too. Header rows cannot be selected by the user.
class TScreenshotListView : public QListView
{
    Q_OBJECT
public:
    explicit TScreenshotListView(QWidget* parent = nullptr);

    TScreenshotListModel* Model() const { return FModel; }

    // The selected row index as set, -1 for none; it may lie past the last row.
    int ItemIndex() const { return FItemIndex; }
    void SetItemIndex(int AIndex);
    // The selected row when it designates a row, otherwise -1.
    int Selected() const;

signals:
    void Change();
    void ItemClickEx(int AIndex);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    bool IsItemRow(int AIndex) const;
    void SelectByUser(int AIndex);

    TScreenshotListModel* FModel;
    int FItemIndex = -1;
    // The selection was made by the user, not from code.
    bool FUserSelected = false;
};
