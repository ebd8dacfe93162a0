#pragma once

#include <QImage>
#include <QSize>
#include <QString>

// Decodes the file sFileName, recognising the format from its content and with
// no size limit, and copies the result into bitmap: a file that no codec
// recognises leaves bitmap null. A missing file leaves bitmap unchanged.
void LoadBitmapFromFile(const QString& sFileName, QImage& bitmap);

// Decodes sFileName by its content, scaled to fit ABoxPx (device pixels) with
// its aspect ratio kept. Null when the file is missing or no codec recognises
// it. Safe to call off the GUI thread.
QImage LoadThumbnailFromFile(const QString& sFileName, const QSize& ABoxPx);
