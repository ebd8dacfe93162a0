#pragma once

#include "engine/TVlcPlayer.h"
#include "ui/TfrmMain.h"
#include "ui/TScreenshotWriter.h"

#include <QLabel>
#include <QListWidget>

// What the benchmarks drive and read of the window that its controls do not
// show; the window grants this class its private parts, as it does the
// tests' access.
struct TfrmMainBenchAccess
{
    TfrmMain& w;

    QString FileName() const { return w.FFileName; }
    TVlcPlayer* Player() const { return w.FPlayer.get(); }
    QListWidget* ListBoxFiles() const { return w.ListBoxFiles; }
    void Button1Click() { w.Button1Click(); }
    void Timeline_SetValue(float AValue) { w.Timeline_SetValue(AValue); }

    TScreenshotThumbnails* Thumbnails() const { return w.FThumbnails; }
    void Screenshots_UpdateFromFile(const QString& sFilename) { w.Screenshots_UpdateFromFile(sFilename); }
    void Screenshot_Display(int AIndex) { w.Screenshot_Display(AIndex); }
    // Screenshots asked for and not yet written, or still to be asked for
    // behind steps that wait for them.
    int ScreenshotsPending() const { return w.FScreenshotWriter->Pending(); }
    QString StatusMessage() const { return w.LabelStatusMessage->text(); }
};
