#include "ui/THeaderTabBar.h"

THeaderTabBar::THeaderTabBar(QWidget* parent, int ATabHeight)
    : QTabBar(parent)
    , FTabHeight(ATabHeight)
{
    setExpanding(false);
    setDrawBase(true);
    setUsesScrollButtons(false);
    setElideMode(Qt::ElideNone);
}

int THeaderTabBar::AddTab(const QString& AName, const QString& sText, int AWidth)
{
    const int index = addTab(sText);
    setTabData(index, AName);
    FWidths.insert(index, AWidth);
    return index;
}

QSize THeaderTabBar::tabSizeHint(int AIndex) const
{
    return {FWidths.value(AIndex, QTabBar::tabSizeHint(AIndex).width()), FTabHeight};
}

QSize THeaderTabBar::minimumTabSizeHint(int AIndex) const
{
    return tabSizeHint(AIndex);
}
