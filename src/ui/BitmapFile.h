#pragma once

#include <QImage>
#include <QSize>
#include <QString>

// Both routines recognise the format from the file's content. A PNG file is
// decoded straight to the size wanted, one row at a time (ReadPngShrunk), so
// its own size costs no memory; other formats go through Qt's reader, which
// refuses any picture over its allocation limit (128 MiB by default) and
// leaves the result null, as for a file no codec recognises. File names keep
// every byte of the name (see PathNative).

// Decodes the file sFileName into bitmap: a picture of more than AMaxPixels
// pixels is shrunk, its shape kept, to at most AMaxPixels. A file that cannot be
// decoded leaves bitmap null; a missing file leaves bitmap unchanged.
void LoadBitmapFromFile(const QString& sFileName, QImage& bitmap, qint64 AMaxPixels);

// Decodes sFileName scaled to fit ABoxPx (device pixels) with its aspect ratio
// kept. Null when the file is missing or cannot be decoded. Safe to call off
// the GUI thread.
QImage LoadThumbnailFromFile(const QString& sFileName, const QSize& ABoxPx);
