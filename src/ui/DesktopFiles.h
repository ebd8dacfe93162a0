#pragma once

#include <QString>
#include <QUrl>

#include <functional>

// Files handed to the desktop's own programs. Opening goes through a
// replaceable opener, so that tests see what would be opened without a
// desktop to open it.

// Opens AUrl; true when a program for it could be started.
using TUrlOpener = std::function<bool(const QUrl& AUrl)>;

// Opens AUrl in the desktop's program for it (QDesktopServices::openUrl).
bool DesktopOpenUrl(const QUrl& AUrl);

// Shows the file sFilePath selected in a window of its folder, through the
// file manager's org.freedesktop.FileManager1.ShowItems on the session bus;
// when no file manager answers there, or there is no session bus, the folder
// is opened instead (DesktopOpenUrl). Returns at once: the answer is awaited
// on the event loop.
void DesktopShowInFolder(const QString& sFilePath);

// Replaces QDesktopServices::openUrl with AOpener; an empty opener restores it.
void DesktopSetUrlOpener(TUrlOpener AOpener);
