#pragma once

#include <QImage>
#include <QSize>

class QIODevice;

// Decodes the PNG file read from ADevice, from its current position, shrunk to
// ASize (at most the picture's own size in each direction): every pixel is the
// mean of the picture's pixels in its area. Every colour type, bit depth and
// interlacing comes out in full colour, as Format_RGB32, or as
// Format_ARGB32_Premultiplied when the file holds transparency. The picture is
// read one row at a time, so the memory needed follows ASize, not the
// picture's size. Null when the data is no PNG or is broken.
QImage ReadPngShrunk(QIODevice& ADevice, const QSize& ASize);
