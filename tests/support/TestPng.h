#pragma once

#include <QColor>
#include <QList>
#include <QSize>
#include <QString>

// PNG files of every colour type, bit depth and interlacing, written at test
// time by a small writer of their own: neither Qt nor ImageMagick writes every
// combination, and ImageMagick cannot make the very large pictures.
namespace TestPng {

// How a file stores its pixels: PNG's colour type (0 grey, 2 RGB, 3 palette,
// 4 grey and alpha, 6 RGBA), bits per sample, and Adam7 interlacing.
struct Format {
    int colourType = 2;
    int bitDepth = 8;
    bool interlaced = false;
};

// Writes a picture of ASize made of vertical stripes of equal width, one per
// colour of AStripes, left to right. A grey file takes each colour's red as
// its grey level; a palette file gets one entry per stripe, and a tRNS chunk
// when a colour is not opaque. Samples of fewer than 8 bits keep the top bits
// of the colour's, 16-bit samples repeat its byte. All rows are alike, so the
// file is deflated as it is written and a large picture needs no memory.
// False when the file cannot be written.
bool writeStripes(const QString& sPath, const QSize& ASize, const QList<QColor>& AStripes, const Format& AFormat);

} // namespace TestPng
