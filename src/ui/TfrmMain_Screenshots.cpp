#include "ui/TfrmMain.h"

#include "engine/TVlcPlayer.h"
#include "services/OrvHandOver.h"
#include "services/OrvPath.h"
#include "ui/BitmapFile.h"
#include "ui/DesktopFiles.h"
#include "ui/OrvDlg.h"
#include "ui/ScreenshotMimeData.h"
#include "ui/THeaderTabBar.h"
#include "ui/TImageViewer.h"
#include "ui/TScreenshotListDelegate.h"
#include "ui/TScreenshotListModel.h"
#include "ui/TScreenshotListView.h"
#include "ui/TScreenshotThumbnails.h"
#include "ui/TStyleButton.h"

#include <QBuffer>
#include <QClipboard>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QListWidget>
#include <QMenu>
#include <QScopeGuard>
#include <QSet>
#include <QThreadPool>
#include <QTimer>

#include <algorithm>
#include <atomic>
#include <mutex>

namespace {

const QString ScreenshotExt = QStringLiteral(".png");
// The longest an action waits behind screenshots being written, and the
// longest closing the window waits for them.
constexpr int ScreenshotWaitMs = 5000;
constexpr int CloseWaitMs = 3000;
// The viewer's picture is decoded before the thumbnails waiting for the pool.
constexpr int ViewerDecodePriority = 1;
// What the status bar says while something waits for a screenshot.
const QString SavingText = QStringLiteral("Saving the screenshot…");
// What it says when a copy came to nothing, before why.
const QString NothingCopiedText = QStringLiteral("Nothing copied: ");

// Where the screenshots of a video go: its folder, and the literal start of
// their names, the video's name without its extension and an underscore
// ("run_" for run.avi, then run_0001.png and so on).
struct TScreenshotNames
{
    QString Folder;
    QString Prefix;
};

TScreenshotNames ScreenshotNamesOf(const QString& sVideo)
{
    const QString full = QDir::cleanPath(QFileInfo(sVideo).absoluteFilePath());
    const QString pngName = PathFileName(PathChangeExt(full, ScreenshotExt));
    return {PathDirectory(full), pngName.chopped(ScreenshotExt.size()) + u'_'};
}

struct TScreenshotResult
{
    QString FileName;
    bool Written = false;
    // Why it was not written; a name in it is WhyName, for its "%1".
    QString Why;
    QString WhyName;
};

// Writes AFrame as the next numbered screenshot of ANames: whole into a file
// of its own first, then published under its number, so that the folder never
// shows a screenshot half made. Nothing is published once AAbandoned is set.
TScreenshotResult WriteScreenshot(const std::function<TFrameReader::TFrame()>& AFrame, const TScreenshotNames& ANames,
                                  const std::atomic<bool>& AAbandoned)
{
    TScreenshotResult result;
    // The name it would get now, to tell of a failure: the published name
    // may be a later one.
    const QString next = AutoFileIn_Literal(ANames.Folder, ANames.Prefix, ScreenshotExt);
    if (next.isEmpty()) {
        result.Why = QStringLiteral("every number up to 9999 is taken");
        return result;
    }
    if (AAbandoned)
        return result;
    const QImage picture = AFrame().Image;
    if (picture.isNull()) {
        result.Why = QStringLiteral("the video gives no picture of this frame");
        return result;
    }
    QFile temp;
    QString tempPath;
    if (!PathOpenTemp(temp, ANames.Folder, tempPath, result.Why))
        return result;
    const auto removeTemp = qScopeGuard([&tempPath] {
        if (!tempPath.isEmpty())
            PathRemoveFile(tempPath);
    });
    if (!picture.save(&temp, "PNG") || temp.error() != QFileDevice::NoError) {
        result.Why = QStringLiteral("the frame could not be written to %1");
        result.WhyName = PathDisplay(PathFileName(next));
        return result;
    }
    temp.close();
    if (AAbandoned)
        return result;
    const TOrvPublishedFile published =
        AutoFileIn_LiteralPublish(ANames.Folder, ANames.Prefix, ScreenshotExt, tempPath);
    if (published.NumbersUsedUp) {
        result.Why = QStringLiteral("every number up to 9999 is taken");
    } else if (published.FileName.isEmpty()) {
        result.Why = published.ErrorText;
    } else {
        tempPath.clear();
        result.FileName = published.FileName;
        result.Written = true;
    }
    return result;
}

} // namespace

// A screenshot asked for: given up once Abandoned is set.
struct TScreenshotJob
{
    std::atomic<bool> Abandoned {false};
};

// The window the screenshot thread reports to, while it is there.
struct TScreenshotReceiver
{
    std::mutex Lock;
    TfrmMain* Window = nullptr;
};

// What a copy puts on the clipboard: the file File (none for a frame), the
// PNG bytes and the picture; or, when it comes to nothing, why (about the
// file WhyName, for its "%1").
struct TScreenshotCopy
{
    QString File;
    QByteArray Png;
    QImage Image;
    bool Made = false;
    QString Why;
    QString WhyName;
};

namespace {

// The copy of the screenshot file sFileName: its file, and its picture when
// it holds one. The PNG bytes are the file's own.
TScreenshotCopy CopyOfFile(const QString& sFileName)
{
    TScreenshotCopy copied;
    QFile in;
    const bool opened = PathOpenRead(in, sFileName);
    const QByteArray bytes = opened ? in.readAll() : QByteArray();
    if (!opened || in.error() != QFileDevice::NoError) {
        copied.Why = QStringLiteral("%1 cannot be read");
        copied.WhyName = PathDisplay(PathFileName(sFileName));
        return copied;
    }
    copied.File = sFileName;
    copied.Made = true;
    copied.Image = QImage::fromData(bytes);
    if (ScreenshotMimeData_IsPng(bytes)) {
        copied.Png = bytes;
    } else if (!copied.Image.isNull()) {
        QBuffer png(&copied.Png);
        copied.Image.save(&png, "PNG");
    }
    return copied;
}

// The copy of the frame AFrame gives: its picture alone.
TScreenshotCopy CopyOfFrame(const std::function<TFrameReader::TFrame()>& AFrame)
{
    TScreenshotCopy copied;
    copied.Image = AFrame().Image;
    if (copied.Image.isNull()) {
        copied.Why = QStringLiteral("the video gives no picture of this frame");
        return copied;
    }
    QBuffer png(&copied.Png);
    copied.Made = copied.Image.save(&png, "PNG");
    if (!copied.Made)
        copied.Why = QStringLiteral("the frame could not be made a PNG picture");
    return copied;
}

} // namespace

void TfrmMain::Screenshots_Create()
{
    FScreenshotThread = new QThreadPool(this);
    FScreenshotThread->setMaxThreadCount(1);
    FScreenshotReceiver = std::make_shared<TScreenshotReceiver>();
    FScreenshotReceiver->Window = this;
    FScreenshotWait = new QTimer(this);
    FScreenshotWait->setSingleShot(true);
    FScreenshotWait->setInterval(ScreenshotWaitMs);
    connect(FScreenshotWait, &QTimer::timeout, this, &TfrmMain::Screenshots_Abandon);
    FThumbnails = new TScreenshotThumbnails(this);
    connect(FThumbnails, &TScreenshotThumbnails::thumbnailReady, this, &TfrmMain::Screenshots_ThumbnailReady);
    connect(ButtonScreenshot, &QToolButton::clicked, this, &TfrmMain::ButtonScreenshotClick);
    connect(ButtonDeleteScreenshot, &QToolButton::clicked, this, &TfrmMain::ButtonDeleteScreenshotClick);
    connect(ListViewScreenshots, &TScreenshotListView::Change, this, &TfrmMain::ListViewScreenshotsChange);
    connect(ListViewScreenshots, &TScreenshotListView::ContextMenu, this, &TfrmMain::ListViewScreenshotsContextMenu);
    connect(ListViewScreenshots, &TScreenshotListView::DeleteKey, this, &TfrmMain::ButtonDeleteScreenshotClick);
    ImageViewerScreenshot->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(ImageViewerScreenshot, &QWidget::customContextMenuRequested, this,
            &TfrmMain::ImageViewerScreenshotContextMenu);
}

void TfrmMain::ButtonScreenshotClick()
{
    // After a step that still waits for the screenshots before it, this one
    // is of the picture the step shows.
    if (FAfterScreenshots.empty())
        Screenshots_Take();
    else
        Screenshots_Then([this] { Screenshots_Take(); });
}

void TfrmMain::Screenshots_Take()
{
    // The picture is of the displayed video, whatever the list highlights.
    if (FClosing || ListBoxFiles->selectedItems().isEmpty() || FFileName.isEmpty() || !FPlayer)
        return;
    auto job = std::make_shared<TScreenshotJob>();
    FScreenshotJobs.push_back(job);
    // The frame is the one shown now; the thread takes it, and claims the
    // name in the order of the keys: a second S takes the number after the
    // first.
    OrvHandOver_Start(*FScreenshotThread, [receiver = FScreenshotReceiver, job, frame = FPlayer->ShownFrame(),
                                           names = ScreenshotNamesOf(FFileName)] {
        const TScreenshotResult result = WriteScreenshot(frame, names, job->Abandoned);
        std::lock_guard lock(receiver->Lock);
        if (!receiver->Window)
            return;
        OrvHandOver_Invoke(receiver->Window, [window = receiver->Window, job, result] {
            window->Screenshots_Written(job, result.FileName, result.Written, result.Why, result.WhyName);
        });
    });
}

void TfrmMain::Screenshots_Written(const std::shared_ptr<TScreenshotJob>& AJob, const QString& sFileName,
                                   bool AWritten, const QString& sWhy, const QString& sWhyName)
{
    const auto job = std::find(FScreenshotJobs.begin(), FScreenshotJobs.end(), AJob);
    // One given up was told of then; one published all the same is listed.
    const bool awaited = job != FScreenshotJobs.end();
    if (awaited) {
        FScreenshotJobs.erase(job);
        // The new row in the list says it was saved; only a failure is told.
        if (AWritten)
            StatusBar_ClearMessage();
        else
            StatusBar_ShowMessage(QStringLiteral("No screenshot saved: ") + sWhy, sWhyName);
    }
    if (AWritten || awaited) {
        Screenshots_UpdateFromFile(FFilenameLast);
        // Only highlighted: the viewer keeps its picture until the row is
        // clicked. The row a delete question is about stays highlighted.
        TScreenshotListModel* model = ListViewScreenshots->Model();
        const int row = model->IndexOfFile(FScreenshotAsked.isEmpty() ? sFileName : FScreenshotAsked);
        if (row >= 0)
            ListViewScreenshots->SetItemIndex(row);
        else if (model->Count() > 1 && FScreenshotAsked.isEmpty())
            ListViewScreenshots->SetItemIndex(1);
    }
    if (FScreenshotJobs.empty())
        Screenshots_RunWaiting();
}

void TfrmMain::Screenshots_Then(std::function<void()> AAction)
{
    if (FClosing)
        return;
    if (FScreenshotJobs.empty() && FAfterScreenshots.empty()) {
        AAction();
        return;
    }
    FAfterScreenshots.push_back(std::move(AAction));
    if (!FScreenshotWait->isActive()) {
        FScreenshotWait->start();
        StatusBar_ShowMessage(SavingText);
    }
}

void TfrmMain::Screenshots_Abandon()
{
    if (FScreenshotJobs.empty())
        return;
    for (const std::shared_ptr<TScreenshotJob>& job : FScreenshotJobs)
        job->Abandoned = true;
    FScreenshotJobs.clear();
    StatusBar_ShowMessage(QStringLiteral("No screenshot saved: it took longer than %1 s").arg(ScreenshotWaitMs / 1000));
    Screenshots_RunWaiting();
}

void TfrmMain::Screenshots_RunWaiting()
{
    FScreenshotWait->stop();
    // In the order asked; a screenshot among them is waited for in turn.
    while (FScreenshotJobs.empty() && !FAfterScreenshots.empty() && !FClosing) {
        const std::function<void()> action = std::move(FAfterScreenshots.front());
        FAfterScreenshots.erase(FAfterScreenshots.begin());
        action();
    }
    if (FScreenshotJobs.empty() && FStatusMessage == SavingText)
        StatusBar_ClearMessage();
}

void TfrmMain::Screenshots_Close()
{
    FClosing = true;
    FAfterScreenshots.clear();
    FScreenshotWait->stop();
    // A screenshot under way is of a picture the user asked for: it is given
    // a moment, not forever.
    if (!FScreenshotThread->waitForDone(CloseWaitMs)) {
        for (const std::shared_ptr<TScreenshotJob>& job : FScreenshotJobs)
            job->Abandoned = true;
    }
    FScreenshotJobs.clear();
    // What is still under way reports to no one.
    std::lock_guard lock(FScreenshotReceiver->Lock);
    FScreenshotReceiver->Window = nullptr;
}

void TfrmMain::Screenshots_Clear()
{
    ListViewScreenshots->Model()->Clear();
}

void TfrmMain::Screenshots_Header_Add()
{
    TScreenshotListModel::TRow header;
    header.Purpose = TScreenshotListModel::TPurpose::Header;
    header.Text = QStringLiteral("Screenshots");
    ListViewScreenshots->Model()->InsertRow(0, header);
}

void TfrmMain::Screenshot_Add(const QImage& bmp, const QString& sFileName)
{
    TScreenshotListModel::TRow row;
    row.Purpose = TScreenshotListModel::TPurpose::Item;
    row.Text = PathDirectory(sFileName);
    row.Detail = PathFileName(sFileName);
    row.Image = bmp;
    ListViewScreenshots->Model()->InsertRow(0, row);
}

void TfrmMain::Screenshots_UpdateFromFile(const QString& sFilename)
{
    TScreenshotListModel* model = ListViewScreenshots->Model();
    // Rebuilding the same video's list keeps the selected screenshot
    // selected, wherever its row ends up.
    const QString remembered = sFilename == FFilenameLast ? model->FilePath(ListViewScreenshots->Selected()) : QString();
    FFilenameLast = sFilename;
    Screenshots_Clear();
    {
        // The header goes on top whatever happens below, above the rows added so far.
        const auto header = qScopeGuard([this] { Screenshots_Header_Add(); });
        if (sFilename.isEmpty())
            return;

        const TScreenshotNames names = ScreenshotNamesOf(sFilename);
        const QStringList files = AutoFileIn_LiteralFiles(names.Folder, names.Prefix, ScreenshotExt);
        FThumbnails->SetBox(QSize(TScreenshotListDelegate::ImageWidth, TScreenshotListDelegate::ImageHeight),
                            ListViewScreenshots->devicePixelRatioF());
        FThumbnails->RetainOnly(QSet<QString>(files.cbegin(), files.cend()));
        // Ascending numbers, each inserted on top: the newest ends up first. A
        // thumbnail not decoded yet arrives later through Screenshots_ThumbnailReady.
        for (const QString& file : files)
            Screenshot_Add(FThumbnails->Thumbnail(file).value_or(QImage()), file);
    }
    if (!remembered.isEmpty())
        ListViewScreenshots->SetItemIndex(model->IndexOfFile(remembered));
}

void TfrmMain::Screenshots_ThumbnailReady(const QString& sFilePath, const QImage& AImage)
{
    TScreenshotListModel* model = ListViewScreenshots->Model();
    for (int i = 0; i < model->Count(); ++i) {
        if (model->FilePath(i) == sFilePath)
            model->SetImage(i, AImage);
    }
}

void TfrmMain::Screenshot_Display(int AIndex)
{
    TScreenshotListModel* model = ListViewScreenshots->Model();
    if (AIndex < 0 || AIndex >= model->Count()) {
        Screenshots_ClearViewer();
        return;
    }
    if (!(FPlayer && FPlayer->IsPlay()))
        TabControl1_Header_Activate(TabItem2H_Screenshot);

    const QString file = model->FilePath(AIndex);
    if (file.isEmpty() || !PathIsFile(file)) {
        Screenshots_ClearViewer();
        return;
    }
    // The screenshot shown already (a row clicked again after the list was
    // made anew) keeps the zoom and place the user gave it.
    if (file == FScreenshotShown)
        return;
    // A picture still being decoded for the viewer is shown no more.
    const quint64 request = ++FViewerRequests;
    FScreenshotShown = file;
    // A large picture takes seconds to decode: that happens off the GUI
    // thread, ahead of the thumbnails waiting there, and the row's thumbnail
    // stands in for it meanwhile.
    const QImage thumbnail = model->Row(AIndex).Image;
    if (thumbnail.isNull())
        ImageViewerScreenshot->ClearPicture(Qt::white);
    else
        ImageViewerScreenshot->SetPicture(thumbnail);
    ImageViewerScreenshot->BestFit();
    FViewerLoading = true;
    OrvHandOver_Start(
        *TScreenshotThumbnails::DecodePool(),
        [receiver = FScreenshotReceiver, request, file, pixels = ImageViewerScreenshot->UsefulPixels()] {
            QImage picture;
            LoadBitmapFromFile(file, picture, pixels);
            std::lock_guard lock(receiver->Lock);
            if (!receiver->Window)
                return;
            OrvHandOver_Invoke(receiver->Window, [window = receiver->Window, request, picture] {
                window->Screenshot_Decoded(request, picture);
            });
        },
        ViewerDecodePriority);
}

void TfrmMain::Screenshot_Decoded(quint64 ARequest, const QImage& APicture)
{
    if (ARequest != FViewerRequests)
        return;
    FViewerLoading = false;
    ImageViewerScreenshot->SetSharperPicture(APicture);
}

void TfrmMain::Screenshots_ClearViewer()
{
    // A picture still being decoded for the viewer is shown no more.
    ++FViewerRequests;
    FViewerLoading = false;
    FScreenshotShown.clear();
    ImageViewerScreenshot->ClearPicture(Qt::white);
}

void TfrmMain::ListViewScreenshotsChange()
{
    Screenshot_Display(ListViewScreenshots->Selected());
}

void TfrmMain::ButtonDeleteScreenshotClick()
{
    const int selected = ListViewScreenshots->Selected();
    if (selected < 0)
        return;
    Screenshot_Delete(ListViewScreenshots->Model()->FilePath(selected));
}

void TfrmMain::Screenshot_Delete(const QString& sFileName)
{
    // The file chosen now is the one deleted, whatever the list does while
    // the question is open (a screenshot written meanwhile rebuilds it).
    const QString file = sFileName;
    FScreenshotAsked = file;
    OrvDlg::DlgConfirm(QStringLiteral("DELETE the screenshot ?"), [this, file](QMessageBox::StandardButton AResult) {
        FScreenshotAsked.clear();
        if (AResult != QMessageBox::Yes)
            return;
        const int index = ListViewScreenshots->Model()->IndexOfFile(file);
        if (index >= 0)
            ListViewScreenshots->Model()->RemoveRow(index);
        // A file already gone, or one that cannot be removed, only loses its row.
        PathRemoveFile(file);
        if (index >= 0)
            Screenshot_Display(index);
    });
}

void TfrmMain::Screenshots_Copy()
{
    const int selected = ListViewScreenshots->Selected();
    const QString selectedFile = ListViewScreenshots->Model()->FilePath(selected);
    // The keys go to the window's focused control, the one it would have
    // were it active.
    if (focusWidget() == ListViewScreenshots && !selectedFile.isEmpty()) {
        Screenshot_CopyFile(selectedFile);
    } else if (TabControl1_Header->currentIndex() == TabItem2H_Screenshot) {
        if (!FScreenshotShown.isEmpty())
            Screenshot_CopyFile(FScreenshotShown);
    } else if (FAfterScreenshots.empty()) {
        Screenshots_CopyFrame();
    } else {
        // After a step that still waits for the screenshots before it, the
        // copy is of the picture the step shows, as a screenshot would be.
        Screenshots_Then([this] { Screenshots_CopyFrame(); });
    }
}

void TfrmMain::Screenshot_CopyFile(const QString& sFileName)
{
    Screenshots_StartCopy([sFileName] { return CopyOfFile(sFileName); });
}

void TfrmMain::Screenshots_CopyFrame()
{
    // The frame is the one a screenshot would take now; no file is written.
    if (FClosing || ListBoxFiles->selectedItems().isEmpty() || FFileName.isEmpty() || !FPlayer)
        return;
    Screenshots_StartCopy([frame = FPlayer->ShownFrame()] { return CopyOfFrame(frame); });
}

void TfrmMain::Screenshots_StartCopy(std::function<TScreenshotCopy()> AMake)
{
    const quint64 copy = ++FCopyCount;
    OrvHandOver_Start(
        *TScreenshotThumbnails::DecodePool(),
        [receiver = FScreenshotReceiver, copy, make = std::move(AMake)] {
            const TScreenshotCopy copied = make();
            std::lock_guard lock(receiver->Lock);
            if (!receiver->Window)
                return;
            OrvHandOver_Invoke(receiver->Window, [window = receiver->Window, copy, copied] {
                window->Screenshots_Copied(copy, copied);
            });
        },
        ViewerDecodePriority);
}

void TfrmMain::Screenshots_Copied(quint64 ACopy, const TScreenshotCopy& ACopied)
{
    if (ACopy != FCopyCount || FClosing)
        return;
    if (!ACopied.Made) {
        StatusBar_ShowMessage(NothingCopiedText + ACopied.Why, ACopied.WhyName);
        return;
    }
    if (FStatusMessage.startsWith(NothingCopiedText))
        StatusBar_ClearMessage();
    QGuiApplication::clipboard()->setMimeData(
        ACopied.File.isEmpty() ? ScreenshotMimeData_Picture(ACopied.Png, ACopied.Image)
                               : ScreenshotMimeData_File(ACopied.File, ACopied.Png, ACopied.Image));
}

void TfrmMain::Screenshot_Menu(const QString& sFileName, const QPoint& AGlobalPos)
{
    // The menu acts on the screenshot it was opened for, whatever the list
    // does while it is open.
    auto* menu = new QMenu(this);
    menu->setObjectName(QStringLiteral("MenuScreenshot"));
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->addAction(QStringLiteral("Open"), this, [sFileName] { DesktopOpenUrl(PathUrl(sFileName)); });
    menu->addAction(QStringLiteral("Show in folder"), this, [sFileName] { DesktopShowInFolder(sFileName); });
    menu->addSeparator();
    menu->addAction(QStringLiteral("Copy"), QKeySequence::Copy, this,
                    [this, sFileName] { Screenshot_CopyFile(sFileName); });
    menu->addAction(QStringLiteral("Delete"), QKeySequence::Delete, this,
                    [this, sFileName] { Screenshot_Delete(sFileName); });
    menu->popup(AGlobalPos);
}

void TfrmMain::ListViewScreenshotsContextMenu(int AIndex, const QPoint& AGlobalPos)
{
    Screenshot_Menu(ListViewScreenshots->Model()->FilePath(AIndex), AGlobalPos);
}

void TfrmMain::ImageViewerScreenshotContextMenu(const QPoint& APos)
{
    if (!FScreenshotShown.isEmpty())
        Screenshot_Menu(FScreenshotShown, ImageViewerScreenshot->viewport()->mapToGlobal(APos));
}
