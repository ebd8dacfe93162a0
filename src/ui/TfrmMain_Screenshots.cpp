#include "ui/TfrmMain.h"

#include "engine/TVlcPlayer.h"
#include "services/OrvPath.h"
#include "ui/BitmapFile.h"
#include "ui/OrvDlg.h"
#include "ui/THeaderTabBar.h"
#include "ui/TImageViewer.h"
#include "ui/TScreenshotListDelegate.h"
#include "ui/TScreenshotListModel.h"
#include "ui/TScreenshotListView.h"
#include "ui/TScreenshotThumbnails.h"
#include "ui/TStyleButton.h"

#include <QDir>
#include <QFileInfo>
#include <QListWidget>
#include <QScopeGuard>
#include <QSet>
#include <QThreadPool>

#include <filesystem>

namespace {

const QString ScreenshotExt = QStringLiteral(".png");

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

} // namespace

void TfrmMain::Screenshots_Create()
{
    FScreenshotThread = new QThreadPool(this);
    FScreenshotThread->setMaxThreadCount(1);
    FThumbnails = new TScreenshotThumbnails(this);
    connect(FThumbnails, &TScreenshotThumbnails::thumbnailReady, this, &TfrmMain::Screenshots_ThumbnailReady);
    connect(ButtonScreenshot, &QToolButton::clicked, this, &TfrmMain::ButtonScreenshotClick);
    connect(ButtonDeleteScreenshot, &QToolButton::clicked, this, &TfrmMain::ButtonDeleteScreenshotClick);
    connect(ListViewScreenshots, &TScreenshotListView::Change, this, &TfrmMain::ListViewScreenshotsChange);
}

void TfrmMain::ButtonScreenshotClick()
{
    // After a step that still waits for the screenshots before it, this one
    // is of the picture the step shows.
    if (FAfterScreenshots.empty())
        Screenshots_Take();
    else
        FAfterScreenshots.push_back([this] { Screenshots_Take(); });
}

void TfrmMain::Screenshots_Take()
{
    // The picture is of the displayed video, whatever the list highlights.
    if (ListBoxFiles->selectedItems().isEmpty() || FFileName.isEmpty() || !FPlayer)
        return;
    const TScreenshotNames names = ScreenshotNamesOf(FFileName);
    TVlcPlayer* const player = FPlayer.get();
    ++FScreenshotsPending;
    // The name is claimed on the thread too, in the order of the keys: a
    // second S takes the number after the first.
    FScreenshotThread->start([this, player, names] {
        const TOrvClaimedFile claim = AutoFileIn_LiteralClaim(names.Folder, names.Prefix, ScreenshotExt);
        bool written = false;
        QString why;
        if (claim.NumbersUsedUp) {
            why = QStringLiteral("every number up to 9999 is taken");
        } else if (claim.FileName.isEmpty()) {
            why = claim.ErrorText;
        } else {
            written = player->Snapshot(claim.FileName);
            // A claimed name that holds no picture is given back. Left empty,
            // the engine had no picture to give; otherwise the writing broke off.
            if (!written) {
                std::error_code ec;
                const std::uintmax_t size = std::filesystem::file_size(PathNative(claim.FileName), ec);
                why = !ec && size == 0 ? QStringLiteral("the video gives no picture of this frame")
                                       : QStringLiteral("the frame could not be written to %1")
                                             .arg(PathDisplay(PathFileName(claim.FileName)));
                std::filesystem::remove(PathNative(claim.FileName), ec);
            }
        }
        QMetaObject::invokeMethod(
            this, [this, file = claim.FileName, written, why] { Screenshots_Written(file, written, why); },
            Qt::QueuedConnection);
    });
}

void TfrmMain::Screenshots_Written(const QString& sFileName, bool AWritten, const QString& sWhy)
{
    --FScreenshotsPending;
    // The new row in the list says it was saved; only a failure is told.
    if (AWritten)
        StatusBar_ClearMessage();
    else
        StatusBar_ShowMessage(QStringLiteral("No screenshot saved: %1").arg(sWhy));
    Screenshots_UpdateFromFile(FFilenameLast);
    // Only highlighted: the viewer keeps its picture until the row is clicked.
    TScreenshotListModel* model = ListViewScreenshots->Model();
    const int row = model->IndexOfFile(sFileName);
    if (row >= 0)
        ListViewScreenshots->SetItemIndex(row);
    else if (model->Count() > 1)
        ListViewScreenshots->SetItemIndex(1);
    // In the order asked; a screenshot among them is waited for in turn.
    while (FScreenshotsPending == 0 && !FAfterScreenshots.empty()) {
        const std::function<void()> action = std::move(FAfterScreenshots.front());
        FAfterScreenshots.erase(FAfterScreenshots.begin());
        action();
    }
}

void TfrmMain::Screenshots_Then(std::function<void()> AAction)
{
    if (FScreenshotsPending == 0 && FAfterScreenshots.empty())
        AAction();
    else
        FAfterScreenshots.push_back(std::move(AAction));
}

void TfrmMain::Screenshots_Finish()
{
    if (FScreenshotThread)
        FScreenshotThread->waitForDone();
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
        ImageViewerScreenshot->ClearPicture(Qt::white);
        return;
    }
    if (!(FPlayer && FPlayer->IsPlay()))
        TabControl1_Header_Activate(TabItem2H_Screenshot);

    const QString file = model->FilePath(AIndex);
    std::error_code ec;
    if (file.isEmpty() || !std::filesystem::is_regular_file(PathNative(file), ec)) {
        ImageViewerScreenshot->ClearPicture(Qt::white);
        return;
    }
    QImage bitmap;
    LoadBitmapFromFile(file, bitmap, ImageViewerScreenshot->UsefulPixels());
    ImageViewerScreenshot->SetPicture(bitmap);
    ImageViewerScreenshot->BestFit();
}

void TfrmMain::ListViewScreenshotsChange()
{
    Screenshot_Display(ListViewScreenshots->Selected());
}

void TfrmMain::ButtonDeleteScreenshotClick()
{
    if (ListViewScreenshots->Selected() < 0)
        return;
    OrvDlg::DlgConfirm(QStringLiteral("DELETE the screenshot ?"), [this](QMessageBox::StandardButton AResult) {
        if (AResult != QMessageBox::Yes)
            return;
        const int index = ListViewScreenshots->Selected();
        if (index < 0)
            return;
        const QString file = ListViewScreenshots->Model()->FilePath(index);
        ListViewScreenshots->Model()->RemoveRow(index);
        // A file already gone, or one that cannot be removed, only loses its row.
        std::error_code ec;
        if (std::filesystem::is_regular_file(PathNative(file), ec))
            std::filesystem::remove(PathNative(file), ec);
        Screenshot_Display(index);
    });
}
