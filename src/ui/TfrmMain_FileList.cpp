#include "ui/TfrmMain.h"

#include "services/OrvPath.h"
#include "services/TOrvTask_IdleWorker.h"
#include "ui/LibraryPath.h"
#include "ui/TAniIndicator.h"
#include "ui/TCoverRectangle.h"
#include "ui/THeaderTabBar.h"
#include "ui/TOpenDialog.h"
#include "ui/TScreenshotListModel.h"
#include "ui/TScreenshotListView.h"
#include "ui/TScreenshotWriter.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPersistentModelIndex>
#include <QPointer>

#include <algorithm>

namespace {
// A chosen file counts as displayed only after the window has settled.
constexpr quint32 FileClickDelayMs = 200;
// A file item's file name, every byte kept; its text is that name as shown.
constexpr int FileNameRole = Qt::UserRole + 1;
}

// The folder last chosen, else the default media folder of this executable,
// which then becomes the dialog's initial folder.
QString TfrmMain::LibraryPath_Default()
{
    if (!OpenDialogFolder->InitialDir().isEmpty())
        return OpenDialogFolder->InitialDir();
    const QString folder = LibraryPath_DefaultFor(QCoreApplication::applicationDirPath());
    OpenDialogFolder->SetInitialDir(folder);
    return folder;
}

// Appends the folder's *.avi files (any case), in name order ignoring case;
// hidden entries and anything but files (links to files included) are passed
// over. The folder is read by the file system's own names: Qt's listing passes
// over every name that is not UTF-8.
void TfrmMain::FileList_Update()
{
    QStringList names = PathFileNames(FLibraryPath);
    names.removeIf([](const QString& name) {
        return name.startsWith(u'.') || !name.endsWith(QStringLiteral(".avi"), Qt::CaseInsensitive);
    });
    std::sort(names.begin(), names.end(), [](const QString& a, const QString& b) {
        const int ignoringCase = a.compare(b, Qt::CaseInsensitive);
        return ignoringCase != 0 ? ignoringCase < 0 : a < b;
    });
    for (const QString& name : names) {
        auto* item = new QListWidgetItem(PathDisplay(name), ListBoxFiles);
        item->setData(FileNameRole, name);
    }
}

bool TfrmMain::FileList_IsFile(const QListWidgetItem* AItem) const
{
    return AItem && AItem->listWidget() == ListBoxFiles && AItem->data(FileNameRole).isValid();
}

QString TfrmMain::FileList_Path(const QListWidgetItem* AItem) const
{
    return PathCombine(FLibraryPath, AItem->data(FileNameRole).toString());
}

void TfrmMain::FileList_Display(QListWidgetItem* AItem)
{
    Player_Stop();
    TimeLabels_Reset();
    if (!FileList_IsFile(AItem))
        return;
    FFileName = FileList_Path(AItem);
    TOrvTask_IdleWorker::Default().Clear();
    Screenshots_UpdateFromFile(FFileName);
    TabControl1_Header_Activate(TabItem1H_Video);
    Screenshots_ClearViewer();
}

void TfrmMain::TimeLabels_Reset()
{
    LabelMediaTime->setText(QStringLiteral("0:00:00-0000"));
    LabelMediaDuration->setText(QStringLiteral("-:--:-------"));
}

void TfrmMain::BusyCover_Show()
{
    RectangleCover->show();
    AniIndicatorCover->setEnabled(true);
}

void TfrmMain::BusyCover_Hide()
{
    RectangleCover->hide();
    AniIndicatorCover->setEnabled(false);
}

void TfrmMain::Button1Click()
{
    if (!OpenDialogFolder->Execute())
        return;
    const QFileInfo chosen(OpenDialogFolder->FileName());
    OpenDialogFolder->SetInitialDir(chosen.absolutePath());
    FLibraryPath = chosen.absolutePath();

    ListBoxFiles->clear();
    FileList_Update();

    // By file name, not by the text shown, which can be the same for two
    // names. An exact match first: on a case-sensitive file system "clip.avi"
    // and "CLIP.AVI" can both be listed.
    const QAbstractItemModel* files = ListBoxFiles->model();
    const QString name = chosen.fileName();
    QModelIndexList found =
        files->match(files->index(0, 0), FileNameRole, name, 1, Qt::MatchFixedString | Qt::MatchCaseSensitive);
    if (found.isEmpty())
        found = files->match(files->index(0, 0), FileNameRole, name, 1, Qt::MatchFixedString);

    if (found.isEmpty()) {
        Screenshots_Clear();
        Screenshots_ClearViewer();
        ListBoxFiles->setCurrentItem(nullptr);
        if (FPlayer)
            VideoSurface_Hide();
        return;
    }
    QListWidgetItem* const item = ListBoxFiles->item(found.first().row());
    ListBoxFiles->setCurrentItem(item);
    ListBoxFilesItemClick(item);
    // The surface may still be hidden from an earlier choice that listed nothing.
    if (FPlayer)
        VideoSurface_Show();
}

void TfrmMain::Panel1Click()
{
    FLibraryPath = LibraryPath_Default();
    ListBoxFiles->clear();
    FileList_Update();
}

void TfrmMain::ListBoxFilesKeyDown(QKeyEvent* AEvent)
{
    const int key = AEvent->key();
    if (key != Qt::Key_Return && key != Qt::Key_Enter && key != Qt::Key_Space)
        return;
    const QList<QListWidgetItem*> selected = ListBoxFiles->selectedItems();
    if (!selected.isEmpty())
        ListBoxFilesItemClick(selected.first());
}

void TfrmMain::ListBoxFilesItemClick(QListWidgetItem* AItem)
{
    if (!FileList_IsFile(AItem))
        return;
    Player_Stop();
    const QString file = FileList_Path(AItem);
    BusyCover_Show();
    // The item is followed by a persistent index: re-reading the folder before
    // the task runs deletes it, and the task then only takes the cover away.
    const QPersistentModelIndex clicked(ListBoxFiles->model()->index(ListBoxFiles->row(AItem), 0));
    Idle_Execute(
        [self = QPointer<TfrmMain>(this), file, clicked] {
            if (!self)
                return;
            // The screenshots asked for are of the video displayed until now.
            self->FScreenshotWriter->Then([self, file, clicked] {
                if (!self)
                    return;
                if (!clicked.isValid()) {
                    self->BusyCover_Hide();
                    return;
                }
                QListWidgetItem* const item = self->ListBoxFiles->item(clicked.row());
                const bool sameFile = self->FFileName == file;
                self->FileList_Display(item);
                // A later click whose task was dropped moved the highlight; it
                // goes back to what is shown.
                self->ListBoxFiles->setCurrentItem(item);
                if (sameFile) {
                    self->BusyCover_Hide();
                    return;
                }
                self->FStopImmediately = true;
                self->Player_Start();
                self->Player_WatchPlaying();
            });
        },
        FileClickDelayMs);
    Screenshots_UpdateFromFile(file);
    TabControl1_Header_Activate(TabItem1H_Video);
    Screenshots_ClearViewer();
}
