#pragma once

#include <QIcon>
#include <QPixmap>
#include <QSize>
#include <QString>

// The window's own look, compiled into the program: one SVG icon per style
// lookup name, the banner image and the style sheet. Nothing here depends on
// a desktop icon theme or on image plugins.

// The icon of a style lookup name; a null icon for a name without one.
QIcon StyleIcon(const QString& sStyleLookup);

// The banner image rendered at ASize logical units for the given device pixel ratio.
QPixmap StyleBanner(const QSize& ASize, qreal ADevicePixelRatio);

// The window's style sheet.
QString StyleSheet();
