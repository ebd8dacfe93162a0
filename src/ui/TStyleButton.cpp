#include "ui/TStyleButton.h"

#include "ui/StyleResources.h"

TStyleButton::TStyleButton(QWidget* parent)
    : QToolButton(parent)
{
    setToolButtonStyle(Qt::ToolButtonIconOnly);
    setAutoRaise(true);
    setIconSize(QSize(32, 32));
}

void TStyleButton::SetStyleLookup(const QString& sStyleLookup)
{
    if (sStyleLookup == FStyleLookup)
        return;
    FStyleLookup = sStyleLookup;
    setIcon(StyleIcon(sStyleLookup));
}
