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
#include "ui/TScreenshotWriter.h"
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

// The viewer's picture is decoded before the thumbnails waiting for the pool.
constexpr int ViewerDecodePriority = 1;
// What it says when a copy came to nothing, before why.
const QString NothingCopiedText = QStringLiteral("Nothing copied: ");

} // namespace

// The window the work on the pool (the viewer's picture, copies) reports
// to, while it is there.
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
    FScreenshotReceiver = std::make_shared<TScreenshotReceiver>();
    FScreenshotReceiver->Window = this;
    FScreenshotWriter = new TScreenshotWriter(this);
    connect(FScreenshotWriter, &TScreenshotWriter::finished, this, &TfrmMain::Screenshots_Written);
    connect(FScreenshotWriter, &TScreenshotWriter::statusMessage, this, [this](const QString& sText, const QString& sName) {
        if (sText.isEmpty())
            StatusBar_ClearMessage();
        else
            StatusBar_ShowMessage(sText, sName);
    });
    connect(FScreenshotWriter, &TScreenshotWriter::waitOver, this, [this] {
        if (FStatusMessage == TScreenshotWriter::SavingText)
            StatusBar_ClearMessage();
    });
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
    if (FScreenshotWriter->IsWaiting())
        FScreenshotWriter->Then([this] { Screenshots_Take(); });
    else
        Screenshots_Take();
}

void TfrmMain::Screenshots_Take()
{
    // The picture is of the displayed video, whatever the list highlights,
    // and the frame the one shown now.
    if (FClosing || ListBoxFiles->selectedItems().isEmpty() || FFileName.isEmpty() || !FPlayer)
        return;
    FScreenshotWriter->Take(FPlayer->ShownFrame(), FFileName);
}

void TfrmMain::Screenshots_Written(const QString& sFileName)
{
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

void TfrmMain::Screenshots_Close()
{
    FClosing = true;
    FScreenshotWriter->Close();
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

        const TScreenshotWriter::TNames names = TScreenshotWriter::NamesOf(sFilename);
        const QStringList files = AutoFileIn_LiteralFiles(names.Folder, names.Prefix, TScreenshotWriter::Ext);
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
    Screenshots_OnPool([request, file, pixels = ImageViewerScreenshot->UsefulPixels()]() -> TScreenshotsDeliver {
        QImage picture;
        LoadBitmapFromFile(file, picture, pixels);
        return [request, picture](TfrmMain& AWindow) { AWindow.Screenshot_Decoded(request, picture); };
    });
}

void TfrmMain::Screenshots_OnPool(std::function<TScreenshotsDeliver()> AWork)
{
    OrvHandOver_Start(
        *TScreenshotThumbnails::DecodePool(),
        [receiver = FScreenshotReceiver, work = std::move(AWork)] {
            const TScreenshotsDeliver deliver = work();
            std::lock_guard lock(receiver->Lock);
            if (!receiver->Window)
                return;
            OrvHandOver_Invoke(receiver->Window,
                               [window = receiver->Window, deliver] { deliver(*window); });
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
    } else if (!FScreenshotWriter->IsWaiting()) {
        Screenshots_CopyFrame();
    } else {
        // After a step that still waits for the screenshots before it, the
        // copy is of the picture the step shows, as a screenshot would be.
        FScreenshotWriter->Then([this] { Screenshots_CopyFrame(); });
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
    Screenshots_OnPool([copy, make = std::move(AMake)]() -> TScreenshotsDeliver {
        const TScreenshotCopy copied = make();
        return [copy, copied](TfrmMain& AWindow) { AWindow.Screenshots_Copied(copy, copied); };
    });
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
