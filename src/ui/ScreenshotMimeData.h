#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

class QMimeData;

// What carries a screenshot to other programs, on the clipboard and in a
// drag. A file manager takes the file, by its URL (text/uri-list) or, pasting,
// by its own copy format (x-special/gnome-copied-files); an image editor takes
// the picture (image/png). The URL is made from the file's bytes (PathUrl).

// The screenshot file sFilePath with its picture: APng, the PNG file's bytes
// (none when empty), and AImage, the decoded picture (none when null).
QMimeData* ScreenshotMimeData_File(const QString& sFilePath, const QByteArray& APng, const QImage& AImage);
// A picture with no file behind it.
QMimeData* ScreenshotMimeData_Picture(const QByteArray& APng, const QImage& AImage);
// True when ABytes begin as a PNG file does.
bool ScreenshotMimeData_IsPng(const QByteArray& ABytes);
