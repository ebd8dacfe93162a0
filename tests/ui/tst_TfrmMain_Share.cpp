#include "TestScreen.h"
#include "TByteNamedMedia.h"
#include "TfrmMainFixture.h"

#include "services/OrvPath.h"
#include "ui/DesktopFiles.h"
#include "ui/OrvDlg.h"
#include "ui/TImageViewer.h"
#include "ui/TScreenshotListModel.h"
#include "ui/TScreenshotListView.h"

#include <QBuffer>
#include <QClipboard>
#include <QDrag>
#include <QMenu>
#include <QMimeData>
#include <QProcess>

#include <filesystem>
#include <fstream>
#include <iterator>

namespace fs = std::filesystem;

namespace {

// A URL's path as the file system's bytes.
QByteArray BytesOf(const QUrl& AUrl)
{
    return QByteArray::fromPercentEncoding(AUrl.path(QUrl::FullyEncoded).toLatin1());
}

QImage Rgb(const QImage& AImage)
{
    return AImage.convertToFormat(QImage::Format_RGB32);
}

} // namespace

// Screenshots leaving the real window for other programs: copied to the
// clipboard (read back in the program and by xclip, as another program reads
// it), dragged out, opened and shown in their folder from a menu. Names of
// every kind travel whole: the test reaches the files by their bytes, since
// Qt cannot name all of them. The desktop's opener is replaced by the test's;
// there is no session bus, so Show in folder opens the folder.
class tst_TfrmMain_Share : public QObject
{
    Q_OBJECT

private:
    TfrmMainFixture F;
    QTemporaryDir FSource;
    TByteNamedMedia FMedia;
    // What the desktop was asked to open, in order.
    QList<QUrl> FOpened;
    // What the delete question asked, and how it is answered.
    QStringList FAsked;
    QMessageBox::StandardButton FAnswer = QMessageBox::No;
    // What happens while the question is open, before it is answered.
    std::function<void()> FWhileAsked;


    TScreenshotListView* List() const { return F.Control<TScreenshotListView>("ListViewScreenshots"); }
    TScreenshotListModel* Model() const { return List()->Model(); }
    TImageViewer* Viewer() const { return F.Control<TImageViewer>("ImageViewerScreenshot"); }
    static QClipboard* Clipboard() { return QGuiApplication::clipboard(); }

    // A screenshot file whose picture is its own: a gradient in a colour of
    // AHue, so that a picture tells which file it came from.
    void WriteShot(const QByteArray& AName, int AHue) const
    {
        QImage picture(96, 54, QImage::Format_RGB32);
        for (int y = 0; y < picture.height(); ++y)
            for (int x = 0; x < picture.width(); ++x)
                picture.setPixelColor(x, y, QColor::fromHsv(AHue, 40 + x * 2, 80 + y * 3));
        QByteArray png;
        QBuffer buffer(&png);
        QVERIFY(picture.save(&buffer, "PNG"));
        std::ofstream out(FMedia.File(AName), std::ios::binary);
        out.write(png.constData(), png.size());
        QVERIFY2(out.good(), AName.constData());
    }

    QImage ShotPicture(const QByteArray& AName) const { return Rgb(QImage::fromData(TByteNamedMedia::ReadBytes(FMedia.File(AName)))); }

    // Opens the video AName as a user does: its folder chosen through a name
    // the folder dialog can show, then the video clicked in the file list;
    // waits until it rests on its first frames.
    void OpenVideo(const QByteArray& AName)
    {
        FMedia.CopyIn(FSource.filePath(QStringLiteral("clip.avi")), "plain.avi");
        F.ChooseAndRest(FMedia.QtPath(QStringLiteral("plain.avi")));
        QListWidget* const list = F.Access().ListBoxFiles();
        QListWidgetItem* item = nullptr;
        for (int i = 0; i < list->count() && !item; ++i)
            if (F.Access().FileList_Path(list->item(i)) == FMedia.Path(AName))
                item = list->item(i);
        QVERIFY2(item, AName.constData());
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(item).center());
        F.WaitResting(FMedia.Path(AName));
    }

    // The row of the screenshot AName.
    int RowOf(const QByteArray& AName) const { return Model()->IndexOfFile(FMedia.Path(AName)); }

    QPoint RowCentre(int ARow) const { return List()->visualRect(Model()->index(ARow)).center(); }

    void ClickRow(int ARow)
    {
        QTest::mouseClick(List()->viewport(), Qt::LeftButton, {}, RowCentre(ARow));
        QVERIFY(TestLoop::waitFor([&] { return !F.Access().ViewerLoading(); }, 30000));
    }

    void PressCtrlC(QWidget* AWhere) { QTest::keyClick(AWhere, Qt::Key_C, Qt::ControlModifier); }

    // Waits until the clipboard holds the file sPath.
    void WaitClipboardFile(const QString& sPath)
    {
        const QList<QUrl> expected {PathUrl(sPath)};
        const auto held = [] {
            QStringList urls;
            for (const QUrl& url : Clipboard()->mimeData()->urls())
                urls << QString::fromLatin1(url.toEncoded());
            return urls.join(QStringLiteral(" "));
        };
        QVERIFY2(TestLoop::waitFor([&] { return Clipboard()->mimeData()->urls() == expected; }, 30000),
                 qPrintable(QStringLiteral("%1 expected, the clipboard holds \"%2\"; status bar \"%3\"")
                                .arg(QString::fromLatin1(expected.first().toEncoded()), held(),
                                     F.Access().StatusMessage())));
    }

    // What another program reads from the clipboard in the format sType,
    // into AData; false when it could not be read.
    bool XClip(const QString& sType, QByteArray& AData)
    {
        QProcess xclip;
        xclip.start(QStringLiteral("xclip"),
                    {QStringLiteral("-o"), QStringLiteral("-selection"), QStringLiteral("clipboard"),
                     QStringLiteral("-t"), sType});
        // The window answers xclip on its event loop, which runs meanwhile.
        if (!TestLoop::waitFor([&] { return xclip.state() == QProcess::NotRunning; }, 30000)) {
            xclip.kill();
            xclip.waitForFinished();
            qWarning("xclip -t %s did not end", qPrintable(sType));
            return false;
        }
        if (xclip.error() == QProcess::FailedToStart || xclip.exitCode() != 0) {
            qWarning("xclip -t %s: %s", qPrintable(sType), xclip.readAllStandardError().constData());
            return false;
        }
        AData = xclip.readAllStandardOutput();
        return true;
    }

    // The clipboard holds the screenshot file AName and its picture, as this
    // program and as another program read it.
    void VerifyClipboardHolds(const QByteArray& AName)
    {
        const QByteArray path = FMedia.Folder() + '/' + AName;
        const QImage picture = ShotPicture(AName);
        const QMimeData* held = Clipboard()->mimeData();
        QCOMPARE(held->urls().size(), 1);
        QCOMPARE(BytesOf(held->urls().first()), path);
        QCOMPARE(Rgb(qvariant_cast<QImage>(held->imageData())), picture);
        QCOMPARE(Rgb(QImage::fromData(held->data(QStringLiteral("image/png")))), picture);

        QByteArray png;
        QVERIFY(XClip(QStringLiteral("image/png"), png));
        QCOMPARE(Rgb(QImage::fromData(png, "PNG")), picture);
        QByteArray uriList;
        QVERIFY(XClip(QStringLiteral("text/uri-list"), uriList));
        const QList<QByteArray> uris = uriList.trimmed().split('\n');
        QCOMPARE(uris.size(), 1);
        const QUrl uri = QUrl::fromEncoded(uris.first().trimmed());
        QVERIFY2(uri.isLocalFile(), uris.first().constData());
        QCOMPARE(BytesOf(uri), path);
        QByteArray copied;
        QVERIFY(XClip(QStringLiteral("x-special/gnome-copied-files"), copied));
        QCOMPARE(copied, "copy\n" + uri.toEncoded());
    }

    static void AddNames()
    {
        QTest::addColumn<QByteArray>("name");
        QTest::newRow("plain") << QByteArray("run");
        QTest::newRow("spaces") << QByteArray("my  run");
        QTest::newRow("percent signs") << QByteArray("50% off %41");
        QTest::newRow("URL delimiters") << QByteArray("#1 ?a=b&c");
        QTest::newRow("non-ASCII") << QByteArray("caf\xc3\xa9 \xf0\x9f\x93\xb9");
        QTest::newRow("not UTF-8") << QByteArray("r\xe9sum\xe9 \xff");
    }

    // The video AName with two screenshots, opened; the older one, which the
    // test works with, is returned.
    QByteArray OpenWithScreenshots(const QByteArray& AName)
    {
        WriteShot(AName + "_0001.png", 20);
        WriteShot(AName + "_0002.png", 200);
        FMedia.CopyIn(FSource.filePath(QStringLiteral("clip.avi")), AName + ".avi");
        OpenVideo(AName + ".avi");
        return AName + "_0001.png";
    }

    // The menu shown now, and its entries' texts.
    static QMenu* ShownMenu() { return qobject_cast<QMenu*>(QApplication::activePopupWidget()); }

    static QStringList Entries(const QMenu* AMenu)
    {
        QStringList texts;
        for (const QAction* action : AMenu->actions())
            if (!action->isSeparator())
                texts << action->text();
        return texts;
    }

    // A right click on APos of AWidget, through the window as the X server
    // delivers it; waits for the menu it opens.
    QMenu* RightClick(QWidget* AWidget, const QPoint& APos)
    {
        QTest::mouseClick(F.Window->windowHandle(), Qt::RightButton, {}, AWidget->mapTo(F.Window.get(), APos));
        TestLoop::waitFor([] { return ShownMenu() && ShownMenu()->isVisible(); }, 10000);
        return ShownMenu();
    }

    // Chooses the entry sText of the menu shown, with the mouse.
    void Choose(const QString& sText)
    {
        QMenu* const menu = ShownMenu();
        QVERIFY(menu);
        QAction* chosen = nullptr;
        for (QAction* action : menu->actions())
            if (action->text() == sText)
                chosen = action;
        QVERIFY2(chosen, qPrintable(Entries(menu).join(QStringLiteral(", "))));
        QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(chosen).center());
        QVERIFY(TestLoop::waitFor([] { return !ShownMenu(); }, 10000));
    }

    // The number of the frame on screen: the video fitted into PanelMedia and centred.
    int ScreenFrame(QSize AVideo) const
    {
        QWidget* const panel = F.Control("PanelMedia");
        const QSize shown = AVideo.scaled(panel->size(), Qt::KeepAspectRatio);
        const QRectF picture(QPointF((panel->width() - shown.width()) / 2.0, (panel->height() - shown.height()) / 2.0),
                             shown);
        // The volume bar over the picture's right edge hides no cell of the
        // first eight, which tell every frame of the videos here.
        return TestMedia::frameNumberOf(TestScreen::grab(panel), picture, 8);
    }

private slots:
    void initTestCase()
    {
        F.Start();
        DesktopSetUrlOpener([this](const QUrl& AUrl) {
            FOpened << AUrl;
            return true;
        });
        OrvDlg::DlgSetPresenter([this](const QString& sMsg, QMessageBox::Icon, QMessageBox::StandardButtons) {
            FAsked << sMsg;
            if (FWhileAsked)
                FWhileAsked();
            return FAnswer;
        });
        TestMedia::VideoFormat format;
        format.durationMs = 6000;
        format.size = QSize(320, 180);
        QVERIFY(TestMedia::makeVideo(FSource.filePath(QStringLiteral("clip.avi")), format));
        using namespace TestMedia;
        QVERIFY(makeVideo(FSource.filePath(QStringLiteral("numbered-mjpeg.avi")),
                          withCodec(numberedFrames(100, 25), mjpegFullRange())));
        QVERIFY(makeVideo(FSource.filePath(QStringLiteral("numbered-h264.avi")),
                          withCodec(numberedFrames(100, 25, QSize(640, 360)), h264LongGop())));
    }

    void cleanupTestCase()
    {
        OrvDlg::DlgSetPresenter({});
        DesktopSetUrlOpener({});
        F.Finish();
    }

    void init()
    {
        FMedia.Make();
        FOpened.clear();
        FAsked.clear();
        FAnswer = QMessageBox::No;
        FWhileAsked = {};
        Clipboard()->clear();
        F.FreshWindow();
    }

    void cleanup()
    {
        if (QWidget* popup = QApplication::activePopupWidget())
            popup->close();
        F.CloseWindow();
        std::error_code ec;
        fs::remove_all(FMedia.File({}), ec);
        FMedia.Remove();
    }

    // Ctrl+C on a selected thumbnail puts its file and its picture on the
    // clipboard, and takes no screenshot.
    void copyASelectedThumbnail_data() { AddNames(); }

    void copyASelectedThumbnail()
    {
        QFETCH(QByteArray, name);
        const QByteArray shot = OpenWithScreenshots(name);
        ClickRow(RowOf(shot));

        PressCtrlC(List());

        WaitClipboardFile(FMedia.Path(shot));
        VerifyClipboardHolds(shot);
        QCOMPARE(FMedia.PngFiles(), (QByteArrayList {name + "_0001.png", name + "_0002.png"}));
    }

    // Dragged out of the list, a thumbnail carries its file's URL and its
    // picture, to be copied where it is dropped.
    void dragAThumbnail_data() { AddNames(); }

    void dragAThumbnail()
    {
        QFETCH(QByteArray, name);
        const QByteArray shot = OpenWithScreenshots(name);
        QList<QUrl> urls;
        QByteArray png;
        Qt::DropActions actions;
        int drags = 0;
        TScreenshotListView::SetDragRunner([&](QDrag* ADrag, Qt::DropActions AActions) {
            ++drags;
            urls = ADrag->mimeData()->urls();
            png = ADrag->mimeData()->data(QStringLiteral("image/png"));
            actions = AActions;
            return Qt::CopyAction;
        });
        const auto restore = qScopeGuard([] { TScreenshotListView::SetDragRunner({}); });

        const QPoint from = RowCentre(RowOf(shot));
        QTest::mousePress(List()->viewport(), Qt::LeftButton, {}, from);
        // Short of the drag distance it is still a click.
        QTest::mouseMove(List()->viewport(), from + QPoint(1, 0));
        QCOMPARE(drags, 0);
        QTest::mouseMove(List()->viewport(), from + QPoint(QApplication::startDragDistance() + 10, 0));
        QTest::mouseRelease(List()->viewport(), Qt::LeftButton, {}, from + QPoint(QApplication::startDragDistance() + 10, 0));

        QCOMPARE(drags, 1);
        QCOMPARE(urls.size(), 1);
        QCOMPARE(BytesOf(urls.first()), FMedia.Folder() + '/' + shot);
        QCOMPARE(Rgb(QImage::fromData(png, "PNG")), ShotPicture(shot));
        QCOMPARE(actions, Qt::DropActions(Qt::CopyAction));
        QCOMPARE(FMedia.PngFiles(), (QByteArrayList {name + "_0001.png", name + "_0002.png"}));
    }

    // The menu of a thumbnail opens the screenshot in the desktop's viewer
    // and shows its folder (opened, with no file manager on a bus).
    void menuOpensAndShowsInFolder_data() { AddNames(); }

    void menuOpensAndShowsInFolder()
    {
        QFETCH(QByteArray, name);
        const QByteArray shot = OpenWithScreenshots(name);
        const int row = RowOf(shot);

        QMenu* menu = RightClick(List()->viewport(), RowCentre(row));
        QVERIFY(menu);
        QCOMPARE(Entries(menu), (QStringList {"Open", "Show in folder", "Copy", "Delete"}));
        // The right click selected the row, as a click does.
        QCOMPARE(List()->Selected(), row);
        Choose(QStringLiteral("Open"));
        QCOMPARE(FOpened.size(), 1);
        QCOMPARE(BytesOf(FOpened.first()), FMedia.Folder() + '/' + shot);

        QVERIFY(RightClick(List()->viewport(), RowCentre(row)));
        Choose(QStringLiteral("Show in folder"));
        QVERIFY(TestLoop::waitFor([&] { return FOpened.size() == 2; }, 10000));
        QVERIFY(FOpened.last().isLocalFile());
        QCOMPARE(BytesOf(FOpened.last()), FMedia.Folder());
    }

    // Ctrl+C copies what the user looks at: the thumbnail selected in the
    // list they work in, the screenshot the Screenshot view shows, on the
    // Video view the frame.
    void ctrlCCopiesWhatIsLookedAt()
    {
        const QByteArray older = OpenWithScreenshots("run");
        ClickRow(RowOf(older));
        QCOMPARE(F.Header()->currentIndex(), 1);
        // S highlights its new screenshot in the list; the viewer keeps the older one.
        F.PressKey(Qt::Key_S);
        QVERIFY(TestLoop::waitFor([&] { return F.Access().ScreenshotsPending() == 0; }, 20000));
        const QByteArray newest = "run_0003.png";
        QCOMPARE(List()->Selected(), RowOf(newest));

        // The viewer in front: the screenshot it shows.
        QTest::mouseClick(Viewer()->viewport(), Qt::LeftButton, {}, Viewer()->viewport()->rect().center());
        QCOMPARE(F.Window->focusWidget(), Viewer());
        PressCtrlC(Viewer());
        WaitClipboardFile(FMedia.Path(older));
        QCOMPARE(Rgb(qvariant_cast<QImage>(Clipboard()->mimeData()->imageData())), ShotPicture(older));

        // The list in front: its selected screenshot.
        List()->setFocus();
        PressCtrlC(List());
        WaitClipboardFile(FMedia.Path(newest));

        // The file list in front: the screenshot the Screenshot view shows.
        F.Access().ListBoxFiles()->setFocus();
        F.PressKey(Qt::Key_C, Qt::ControlModifier);
        WaitClipboardFile(FMedia.Path(older));

        // On the Video view, the frame: the picture S saved, and no file.
        F.ClickTab(0);
        QVERIFY(TestLoop::waitFor([&] { return F.Resting() && F.Header()->currentIndex() == 0; }, 15000));
        F.Access().ListBoxFiles()->setFocus();
        Clipboard()->clear();
        F.PressKey(Qt::Key_C, Qt::ControlModifier);
        QVERIFY(TestLoop::waitFor([] { return Clipboard()->mimeData()->hasImage(); }, 30000));
        QVERIFY(Clipboard()->mimeData()->urls().isEmpty());
        QCOMPARE(Rgb(qvariant_cast<QImage>(Clipboard()->mimeData()->imageData())), ShotPicture(newest));
        QCOMPARE(FMedia.PngFiles(), (QByteArrayList {older, "run_0002.png", newest}));
    }

    // On the Video view, Ctrl+C copies the very frame on screen, the picture
    // S would save, at the video's size, and writes no file.
    void frameCopyIsTheFrameOnScreen_data()
    {
        QTest::addColumn<QString>("video");
        QTest::addColumn<QSize>("size");
        QTest::addColumn<bool>("behindAScreenshot");
        QTest::newRow("MJPEG") << "numbered-mjpeg.avi" << QSize(320, 240) << false;
        QTest::newRow("H.264 with B-frames") << "numbered-h264.avi" << QSize(640, 360) << false;
        QTest::newRow("after a step that waits for a screenshot") << "numbered-mjpeg.avi" << QSize(320, 240) << true;
    }

    void frameCopyIsTheFrameOnScreen()
    {
        QFETCH(QString, video);
        QFETCH(QSize, size);
        QFETCH(bool, behindAScreenshot);
        FMedia.CopyIn(FSource.filePath(video), "video.avi");
        OpenVideo("video.avi");
        // Frames of 40 ms: a second and three steps of 20 ms in is frame 26.
        F.PressKey(Qt::Key_Right, Qt::ControlModifier);
        F.PressKey(Qt::Key_Right);
        F.PressKey(Qt::Key_Right);
        int expected = 26;
        QVERIFY2(TestLoop::waitFor([&] { return ScreenFrame(size) == 26; }, 20000),
                 qPrintable(QString::number(ScreenFrame(size))));

        std::unique_ptr<TBusyScreenshotThread> busy;
        if (behindAScreenshot) {
            // A screenshot that takes its time, a step that waits for it, and
            // the copy: of the frame the step shows.
            busy = std::make_unique<TBusyScreenshotThread>(F.Access().ScreenshotThread());
            F.PressKey(Qt::Key_S);
            F.PressKey(Qt::Key_Right);
            F.PressKey(Qt::Key_Right);
            expected = 27;
        }
        F.PressKey(Qt::Key_C, Qt::ControlModifier);
        if (busy) {
            QVERIFY(!Clipboard()->mimeData()->hasImage());
            busy->Release();
            QVERIFY2(TestLoop::waitFor([&] { return ScreenFrame(size) == expected; }, 20000),
                     qPrintable(QString::number(ScreenFrame(size))));
        }
        QVERIFY2(TestLoop::waitFor([] { return Clipboard()->mimeData()->hasImage(); }, 30000),
                 qPrintable(F.Access().StatusMessage()));

        const QImage copied = Rgb(qvariant_cast<QImage>(Clipboard()->mimeData()->imageData()));
        QCOMPARE(copied.size(), size);
        QCOMPARE(TestMedia::frameNumberOf(copied), expected);
        QCOMPARE(ScreenFrame(size), expected);
        QVERIFY(Clipboard()->mimeData()->urls().isEmpty());
        QByteArray pasted;
        QVERIFY(XClip(QStringLiteral("image/png"), pasted));
        QCOMPARE(Rgb(QImage::fromData(pasted, "PNG")), copied);
        const QByteArrayList before = FMedia.PngFiles();
        QCOMPARE(before, behindAScreenshot ? QByteArrayList {"video_0001.png"} : QByteArrayList());

        // S saves the very same picture.
        F.PressKey(Qt::Key_S);
        QVERIFY(TestLoop::waitFor([&] { return F.Access().ScreenshotsPending() == 0; }, 20000));
        const QByteArray saved = behindAScreenshot ? "video_0002.png" : "video_0001.png";
        QCOMPARE(FMedia.PngFiles().size(), before.size() + 1);
        QCOMPARE(Rgb(QImage::fromData(TByteNamedMedia::ReadBytes(FMedia.File(saved)))), copied);
    }

    // The menu's Copy and Delete, and the keys: the menu key opens the menu
    // of the selected thumbnail, Delete asks to delete it. Whatever is
    // chosen acts on the screenshot the menu was opened for.
    void menuCopiesAndDeletes()
    {
        const QByteArray older = OpenWithScreenshots("run");
        const QByteArray newer = "run_0002.png";

        QVERIFY(RightClick(List()->viewport(), RowCentre(RowOf(older))));
        Choose(QStringLiteral("Copy"));
        WaitClipboardFile(FMedia.Path(older));
        QCOMPARE(Rgb(qvariant_cast<QImage>(Clipboard()->mimeData()->imageData())), ShotPicture(older));

        // Delete, answered No: nothing changes.
        QVERIFY(RightClick(List()->viewport(), RowCentre(RowOf(older))));
        Choose(QStringLiteral("Delete"));
        QCOMPARE(FAsked, QStringList {"DELETE the screenshot ?"});
        QCOMPARE(FMedia.PngFiles(), (QByteArrayList {older, newer}));

        // Delete, answered Yes after a screenshot was written while the
        // question was open, which selects the new screenshot.
        FAnswer = QMessageBox::Yes;
        FWhileAsked = [&] {
            F.PressKey(Qt::Key_S);
            QVERIFY(TestLoop::waitFor([&] { return F.Access().ScreenshotsPending() == 0; }, 20000));
        };
        QVERIFY(RightClick(List()->viewport(), RowCentre(RowOf(older))));
        Choose(QStringLiteral("Delete"));
        QCOMPARE(FAsked.size(), 2);
        QCOMPARE(FMedia.PngFiles(), (QByteArrayList {newer, "run_0003.png"}));
        QCOMPARE(RowOf(older), -1);
        FWhileAsked = {};

        // The menu key opens the menu of the selected row, as the X server
        // delivers it.
        ClickRow(RowOf(newer));
        F.Window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(F.Window.get()));
        List()->setFocus();
        QCOMPARE(QProcess::execute(QStringLiteral("xdotool"), {QStringLiteral("key"), QStringLiteral("Menu")}), 0);
        QVERIFY(TestLoop::waitFor([] { return ShownMenu() && ShownMenu()->isVisible(); }, 10000));
        Choose(QStringLiteral("Open"));
        QCOMPARE(FOpened.size(), 1);
        QCOMPARE(BytesOf(FOpened.first()), FMedia.Folder() + '/' + newer);

        // Delete in the list asks about the selected row.
        List()->setFocus();
        QTest::keyClick(List(), Qt::Key_Delete);
        QCOMPARE(FAsked.size(), 3);
        QCOMPARE(FMedia.PngFiles(), QByteArrayList {"run_0003.png"});
    }

    // The Screenshot view's menu is that of the screenshot it shows.
    void viewerMenu()
    {
        const QByteArray older = OpenWithScreenshots("run");
        ClickRow(RowOf(older));
        QCOMPARE(F.Header()->currentIndex(), 1);

        QMenu* menu = RightClick(Viewer()->viewport(), Viewer()->viewport()->rect().center());
        QVERIFY(menu);
        QCOMPARE(Entries(menu), (QStringList {"Open", "Show in folder", "Copy", "Delete"}));
        Choose(QStringLiteral("Open"));
        QCOMPARE(FOpened.size(), 1);
        QCOMPARE(BytesOf(FOpened.first()), FMedia.Folder() + "/run_0001.png");

        FAnswer = QMessageBox::Yes;
        QVERIFY(RightClick(Viewer()->viewport(), Viewer()->viewport()->rect().center()));
        Choose(QStringLiteral("Delete"));
        QCOMPARE(FAsked, QStringList {"DELETE the screenshot ?"});
        QCOMPARE(FMedia.PngFiles(), QByteArrayList {"run_0002.png"});
        // The last row gone, the viewer is blank and has no menu.
        QVERIFY(F.AllWhite(Viewer()->Picture()));
        QTest::mouseClick(F.Window->windowHandle(), Qt::RightButton, {},
                          Viewer()->viewport()->mapTo(F.Window.get(), Viewer()->viewport()->rect().center()));
        // A menu opens as the click is delivered: none has.
        QVERIFY(!ShownMenu());
    }

    // A copy that comes to nothing says why.
    void copyOfAScreenshotGoneSaysSo()
    {
        const QByteArray older = OpenWithScreenshots("run");
        ClickRow(RowOf(older));
        QVERIFY(fs::remove(FMedia.File(older)));

        PressCtrlC(List());

        QVERIFY(TestLoop::waitFor([&] { return !F.Access().StatusMessage().isEmpty(); }, 30000));
        QCOMPARE(F.Access().StatusMessage(), QStringLiteral("Nothing copied: run_0001.png cannot be read"));
        QVERIFY(Clipboard()->mimeData()->urls().isEmpty());
    }
};

QTEST_MAIN(tst_TfrmMain_Share)
#include "tst_TfrmMain_Share.moc"
