#pragma once

#include "engine/TVlcPlayer.h"
#include "ui/TfrmMain.h"
#include "ui/TScreenshotWriter.h"

#include <QListWidget>
#include <QLabel>
#include <QSplitter>
#include <QThreadPool>

// Reaches the window's private fields, controls and handlers for tests.
struct TfrmMainAccess
{
    TfrmMain& w;

    // Fields
    qint64 StartPosition() const { return w.FStartPosition; }
    qint64 EndPosition() const { return w.FEndPosition; }
    QString LibraryPath() const { return w.FLibraryPath; }
    QString FileName() const { return w.FFileName; }
    bool StopImmediately() const { return w.FStopImmediately; }
    bool ProcessTrackDragging() const { return w.FProcessTrackDragging; }

    // Layout
    float Timeline_Value() const { return w.Timeline_Value(); }
    void Timeline_SetValue(float AValue) { w.Timeline_SetValue(AValue); }
    float Timeline_Maximum() const { return w.Timeline_Maximum(); }
    void Timeline_SetMaximum(float AMaximum) { w.Timeline_SetMaximum(AMaximum); }

    // Media folder and file list
    QString LibraryPath_Default() { return w.LibraryPath_Default(); }
    void BusyCover_Show() { w.BusyCover_Show(); }
    void BusyCover_Hide() { w.BusyCover_Hide(); }
    void Button1Click() { w.Button1Click(); }
    void Panel1Click() { w.Panel1Click(); }
    void ListBoxFilesItemClick(QListWidgetItem* AItem) { w.ListBoxFilesItemClick(AItem); }
    QString FileList_Path(const QListWidgetItem* AItem) const { return w.FileList_Path(AItem); }

    QListWidget* ListBoxFiles() const { return w.ListBoxFiles; }

    // Playback and timeline
    TVlcPlayer* Player() const { return w.FPlayer.get(); }
    static QString MediaTime_Text(qint64 AMs) { return TfrmMain::MediaTime_Text(AMs); }
    void EvOnMediaPlayerPlaying() { w.EvOnMediaPlayerPlaying(w.FPlayer.get()); }
    void EvOnMediaPlayerTimeChanged(qint64 time) { w.EvOnMediaPlayerTimeChanged(w.FPlayer.get(), time); }

    // View switching and video surface
    void FormDestroy() { w.FormDestroy(); }
    int Splitter1Tag() const { return w.Splitter1->property("tag").toInt(); }

    // Screenshots
    QString FilenameLast() const { return w.FFilenameLast; }
    TScreenshotThumbnails* Thumbnails() const { return w.FThumbnails; }
    void Screenshots_UpdateFromFile(const QString& sFilename) { w.Screenshots_UpdateFromFile(sFilename); }
    void Screenshot_Display(int AIndex) { w.Screenshot_Display(AIndex); }
    // The one thread screenshots are written on, in the order asked.
    QThreadPool* ScreenshotThread() const { return w.FScreenshotWriter->FThread; }
    // Screenshots asked for and not yet written, or still to be asked for
    // behind steps that wait for them.
    int ScreenshotsPending() const { return w.FScreenshotWriter->Pending(); }
    QString StatusMessage() const { return w.LabelStatusMessage->text(); }
    QString StatusToolTip() const { return w.LabelStatusMessage->toolTip(); }
    // The viewer's picture is still being decoded.
    bool ViewerLoading() const { return w.FViewerLoading; }

    // The texts of the file list, top to bottom.
    QStringList FileListTexts() const
    {
        QStringList texts;
        for (int i = 0; i < w.ListBoxFiles->count(); ++i)
            texts << w.ListBoxFiles->item(i)->text();
        return texts;
    }
};
