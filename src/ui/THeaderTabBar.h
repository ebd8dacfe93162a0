#pragma once

#include <QHash>
#include <QTabBar>

// A tab strip whose tabs have fixed widths and one fixed height.
class THeaderTabBar : public QTabBar
{
    Q_OBJECT
public:
    THeaderTabBar(QWidget* parent, int ATabHeight);

    // Adds a tab of the given width; AName identifies it (kept as the tab's data).
    int AddTab(const QString& AName, const QString& sText, int AWidth);

protected:
    QSize tabSizeHint(int AIndex) const override;
    QSize minimumTabSizeHint(int AIndex) const override;

private:
    int FTabHeight;
    QHash<int, int> FWidths;
};
