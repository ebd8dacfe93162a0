#include "TestLoop.h"
#include "TestMedia.h"
#include "TfrmMainAccess.h"

#include "app/OrvStartup.h"
#include "engine/TVlcPlayer.h"
#include "services/TOrvTask_IdleWorker.h"
#include "ui/BitmapFile.h"
#include "ui/OrvDlg.h"
#include "ui/THeaderTabBar.h"
#include "ui/TImageViewer.h"
#include "ui/TOpenDialog.h"
#include "ui/TScreenshotListDelegate.h"
#include "ui/TScreenshotListModel.h"
#include "ui/TScreenshotListView.h"
#include "ui/TScreenshotThumbnails.h"
#include "ui/TStyleButton.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QScrollBar>
#include <QScreen>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>
#include <optional>

using TAnswer = QMessageBox::StandardButton;

// Screenshots of the real window: the engine writes the frames of videos made
// for the test, the thumbnail list and the viewer show them, and the delete
// confirmation is answered through the dialog seam.
class tst_TfrmMain_Screenshots : public QObject
{
    Q_OBJECT

private:
    struct TAsked
    {
        QString Msg;
        QMessageBox::Icon Type;
        QMessageBox::StandardButtons Buttons;
    };

    QTemporaryDir FHome;
    QTemporaryDir FSource;
    QTemporaryDir FScratch;
    std::unique_ptr<QTemporaryDir> FMedia;
    std::unique_ptr<TfrmMain> FWindow;
    std::optional<QString> FAnswer;
    TAnswer FDlgAnswer = QMessageBox::No;
    QList<TAsked> FAsked;

    TfrmMainAccess Access() { return TfrmMainAccess {*FWindow}; }
    TVlcPlayer* Player() { return Access().Player(); }

    template <typename T = QWidget>
    T* Control(const char* AName) const
    {
        return FWindow->findChild<T*>(QLatin1String(AName));
    }

    TScreenshotListView* List() const { return Control<TScreenshotListView>("ListViewScreenshots"); }
    TScreenshotListModel* Model() const { return List()->Model(); }
    TImageViewer* Viewer() const { return Control<TImageViewer>("ImageViewerScreenshot"); }
    int ActiveTab() const { return Control<THeaderTabBar>("TabControl1_Header")->currentIndex(); }
    QString MediaPath(const QString& sName) const { return FMedia->filePath(sName); }

    // The detail texts of the list, top to bottom, the header row as "[header]".
    QStringList Rows() const
    {
        QStringList rows;
        for (int i = 0; i < Model()->Count(); ++i) {
            const TScreenshotListModel::TRow& row = Model()->Row(i);
            rows << (row.Purpose == TScreenshotListModel::TPurpose::Header ? QStringLiteral("[header]") : row.Detail);
        }
        return rows;
    }

    static QStringList WithHeader(const QStringList& ADetails) { return QStringList {"[header]"} + ADetails; }

    // The PNG files of the media folder, by name.
    QStringList PngFiles() const
    {
        return QDir(FMedia->path()).entryList({QStringLiteral("*.png")}, QDir::Files, QDir::Name);
    }

    // A screenshot file of one colour, so that the viewer's picture tells which one it shows.
    void WriteShot(const QString& sName, QColor AColor, QSize ASize = QSize(64, 36)) const
    {
        QImage image(ASize, QImage::Format_RGB32);
        image.fill(AColor);
        QVERIFY2(image.save(MediaPath(sName), "PNG"), qPrintable(sName));
    }

    static QColor ShotColor(int ANumber) { return QColor::fromHsv((ANumber * 47) % 360, 255, 200); }

    void AddVideo(const QString& sName) const
    {
        QVERIFY(QFile::copy(FSource.filePath(QStringLiteral("clip.avi")), MediaPath(sName)));
    }

    void FreshWindow()
    {
        FWindow.reset();
        TOrvTask_IdleWorker::Default().Clear();
        FWindow = std::make_unique<TfrmMain>();
        FWindow->show();
        QVERIFY(QTest::qWaitForWindowExposed(FWindow.get()));
    }

    bool Resting()
    {
        return Player()->GetState() == vlcPlayer_Paused && !Control("RectangleCover")->isVisible();
    }

    // The picture the engine shows, read through a snapshot of its own into a
    // scratch folder; null while it shows none.
    QImage ShownFrame()
    {
        const QString file = FScratch.filePath(QStringLiteral("shown.png"));
        QFile::remove(file);
        Player()->Snapshot(file);
        return QImage(file).convertToFormat(QImage::Format_RGB32);
    }

    // Waits, as a user would before pressing S, until the engine shows a
    // picture other than ABefore. Its picture follows a start or a step only
    // after a moment, and a snapshot taken meanwhile holds the picture before.
    void WaitFrameShown(const QImage& ABefore = {})
    {
        QVERIFY(TestLoop::waitFor(
            [&] {
                const QImage shown = ShownFrame();
                return !shown.isNull() && shown != ABefore;
            },
            15000));
    }

    // Chooses a video through the folder button and waits until its first frames rest on screen.
    void ChooseAndRest(const QString& sName)
    {
        FAnswer = MediaPath(sName);
        Access().Button1Click();
        QVERIFY2(TestLoop::waitFor([&] { return Access().FileName() == MediaPath(sName) && Resting(); }, 15000),
                 qPrintable(Player()->GetStateName()));
        WaitFrameShown();
    }

    // A click on a file of the list, as the user makes it.
    void ClickFile(const QString& sName)
    {
        auto* list = Access().ListBoxFiles();
        const QList<QListWidgetItem*> found = list->findItems(sName, Qt::MatchExactly);
        QCOMPARE(found.size(), 1);
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(found.first()).center());
    }

    QString HighlightedFile()
    {
        const QList<QListWidgetItem*> selected = Access().ListBoxFiles()->selectedItems();
        return selected.isEmpty() ? QString() : selected.first()->text();
    }

    // The share of a picture's pixels that are plainly red.
    static double RedShare(const QImage& AImage)
    {
        const QImage rgb = AImage.convertToFormat(QImage::Format_RGB32);
        qint64 red = 0;
        for (int y = 0; y < rgb.height(); ++y)
            for (int x = 0; x < rgb.width(); ++x) {
                const QRgb pixel = rgb.pixel(x, y);
                red += qRed(pixel) > 150 && qGreen(pixel) < 80 && qBlue(pixel) < 80;
            }
        return rgb.isNull() ? 0 : double(red) / (double(rgb.width()) * rgb.height());
    }

    void PressS() { QTest::keyClick(FWindow.get(), Qt::Key_S); }

    void ClickRow(int ARow)
    {
        const QRect rect = List()->visualRect(Model()->index(ARow));
        QVERIFY(rect.isValid());
        QTest::mouseClick(List()->viewport(), Qt::LeftButton, {}, rect.center());
    }

    void ClickTab(int ATab)
    {
        auto* header = Control<THeaderTabBar>("TabControl1_Header");
        QTest::mouseClick(header, Qt::LeftButton, {}, header->tabRect(ATab).center());
    }

    void ClickDelete() { QTest::mouseClick(Control<TStyleButton>("ButtonDeleteScreenshot"), Qt::LeftButton); }

    // Waits until every thumbnail of the list has been decoded and handed to its row.
    void WaitThumbnails()
    {
        QVERIFY(TestLoop::waitFor([&] { return Access().Thumbnails()->PendingCount() == 0; }, 10000));
    }

    QRgb ViewerColor() const { return Viewer()->Picture().pixel(0, 0); }

    // Empty when the viewer's picture is shrunk just enough for all of it to
    // show, otherwise what is shown instead.
    QString FitFault() const
    {
        const QSizeF shown = QSizeF(Viewer()->Picture().size()) * Viewer()->BitmapScale();
        const QSize box = Viewer()->viewport()->size();
        const bool inside = shown.width() <= box.width() + 0.5 && shown.height() <= box.height() + 0.5;
        const bool touches = qAbs(shown.width() - box.width()) < 1.0 || qAbs(shown.height() - box.height()) < 1.0;
        if (inside && touches)
            return {};
        return QStringLiteral("picture shown %1x%2 in a view of %3x%4")
            .arg(shown.width())
            .arg(shown.height())
            .arg(box.width())
            .arg(box.height());
    }

    static bool AllWhite(const QImage& AImage)
    {
        const QImage rgb = AImage.convertToFormat(QImage::Format_RGB32);
        for (int y = 0; y < rgb.height(); ++y)
            for (int x = 0; x < rgb.width(); ++x)
                if (rgb.pixel(x, y) != qRgb(255, 255, 255))
                    return false;
        return true;
    }

private slots:
    void initTestCase()
    {
        TestMedia::isolateHome(FHome.path());
        OrvStartup_ModuleInit();
        TOpenDialog::SetRunner([this](QWidget*, const QString&, const QString&) { return FAnswer; });
        OrvDlg::DlgSetPresenter(
            [this](const QString& sMsg, QMessageBox::Icon ADlgType, QMessageBox::StandardButtons AButtons) {
                FAsked << TAsked {sMsg, ADlgType, AButtons};
                return FDlgAnswer;
            });
        TestMedia::VideoFormat format;
        format.durationMs = 8000;
        format.size = QSize(320, 180);
        QVERIFY(TestMedia::makeVideo(FSource.filePath(QStringLiteral("clip.avi")), format));
        format.source = QStringLiteral("color=c=red");
        QVERIFY(TestMedia::makeVideo(FSource.filePath(QStringLiteral("a.avi")), format));
        format.source = QStringLiteral("color=c=blue");
        QVERIFY(TestMedia::makeVideo(FSource.filePath(QStringLiteral("b.avi")), format));
    }

    void cleanupTestCase()
    {
        FWindow.reset();
        OrvDlg::DlgSetPresenter({});
        TOpenDialog::SetRunner({});
        OrvStartup_ModuleFinalize();
    }

    void init()
    {
        FMedia = std::make_unique<QTemporaryDir>();
        FAnswer.reset();
        FDlgAnswer = QMessageBox::No;
        FAsked.clear();
        AddVideo(QStringLiteral("run.avi"));
        FreshWindow();
    }

    void cleanup()
    {
        FWindow.reset();
        TOrvTask_IdleWorker::Default().Clear();
        FMedia.reset();
    }

    void startsEmpty()
    {
        QCOMPARE(Model()->Count(), 0);
        QCOMPARE(List()->Selected(), -1);
        QVERIFY(Access().FilenameLast().isEmpty());
    }

    void withoutAChosenFileSDoesNothing()
    {
        PressS();
        QTest::mouseClick(Control<TStyleButton>("ButtonScreenshot"), Qt::LeftButton);
        QVERIFY(PngFiles().isEmpty());
        QCOMPARE(Model()->Count(), 0);

        // A highlighted file that was never opened is not displayed either.
        FAnswer = MediaPath(QStringLiteral("run.avi"));
        Access().Button1Click();
        TOrvTask_IdleWorker::Default().Clear();
        QCOMPARE(HighlightedFile(), QStringLiteral("run.avi"));
        QVERIFY(Access().FileName().isEmpty());
        PressS();
        QVERIFY(PngFiles().isEmpty());
    }

    // A screenshot is of the displayed video and named after it, whatever the
    // file list highlights; opening a file moves the highlight to it.
    void screenshotIsNamedAfterTheDisplayedVideo_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("highlight moved with the arrow keys") << "keys";
        QTest::newRow("two quick clicks") << "two clicks";
        QTest::newRow("ten quick clicks") << "ten clicks";
    }

    void screenshotIsNamedAfterTheDisplayedVideo()
    {
        QFETCH(QString, how);
        for (const QString& name : {QStringLiteral("a.avi"), QStringLiteral("b.avi")})
            QVERIFY(QFile::copy(FSource.filePath(name), MediaPath(name)));
        ChooseAndRest(QStringLiteral("b.avi"));
        if (how == QLatin1String("keys")) {
            ChooseAndRest(QStringLiteral("a.avi"));
            QTest::keyClick(Access().ListBoxFiles(), Qt::Key_Down);
            QCOMPARE(HighlightedFile(), QStringLiteral("b.avi"));
        } else {
            const int clicks = how == QLatin1String("two clicks") ? 2 : 10;
            for (int i = 0; i < clicks; ++i)
                ClickFile(i % 2 ? QStringLiteral("b.avi") : QStringLiteral("a.avi"));
            QVERIFY2(TestLoop::waitFor([&] { return Access().FileName() == MediaPath("a.avi") && Resting(); }, 15000),
                     qPrintable(Access().FileName()));
            QCOMPARE(HighlightedFile(), QStringLiteral("a.avi"));
            WaitFrameShown();
        }

        PressS();

        QCOMPARE(PngFiles(), QStringList {"a_0001.png"});
        const double red = RedShare(QImage(MediaPath(QStringLiteral("a_0001.png"))));
        QVERIFY2(red > 0.9, qPrintable(QString::number(red)));
        QCOMPARE(Rows(), WithHeader({"a_0001.png"}));
    }

    void newScreenshotTakesTheNumberAfterTheHighest_data()
    {
        QTest::addColumn<QList<int>>("present");
        QTest::addColumn<QString>("taken");
        QTest::addColumn<QStringList>("listedAfter");

        QTest::newRow("first") << QList<int> {} << "run_0001.png" << QStringList {"run_0001.png"};
        QTest::newRow("gaps are not filled")
            << QList<int> {1, 2, 5} << "run_0006.png"
            << QStringList {"run_0006.png", "run_0005.png", "run_0002.png", "run_0001.png"};
        QTest::newRow("last number") << QList<int> {9998} << "run_9999.png"
                                     << QStringList {"run_9999.png", "run_9998.png"};
        QTest::newRow("9999 in use: none taken") << QList<int> {9999} << "" << QStringList {"run_9999.png"};
        QTest::newRow("10000 in use: none taken") << QList<int> {3, 10000} << "" << QStringList {"run_0003.png"};
    }

    void newScreenshotTakesTheNumberAfterTheHighest()
    {
        QFETCH(QList<int>, present);
        QFETCH(QString, taken);
        QFETCH(QStringList, listedAfter);
        for (const int number : present)
            WriteShot(QStringLiteral("run_%1.png").arg(number, 4, 10, QLatin1Char('0')), ShotColor(number));
        ChooseAndRest(QStringLiteral("run.avi"));
        QStringList listedBefore = listedAfter;
        listedBefore.removeAll(taken);
        QCOMPARE(Rows(), WithHeader(listedBefore));
        QCOMPARE(List()->Selected(), -1);
        const QImage pictureBefore = Viewer()->Picture();
        const QStringList filesBefore = PngFiles();

        PressS();

        QCOMPARE(Rows(), WithHeader(listedAfter));
        QCOMPARE(Model()->Row(0).Text, QStringLiteral("Screenshots"));
        QStringList filesAfter = filesBefore;
        if (!taken.isEmpty()) {
            filesAfter << taken;
            filesAfter.sort();
            const QImage shot(MediaPath(taken));
            QCOMPARE(shot.size(), QSize(320, 180));
        }
        QCOMPARE(PngFiles(), filesAfter);
        // The newest row is highlighted only: the viewer and the view stay as they were.
        QCOMPARE(List()->Selected(), 1);
        QCOMPARE(Viewer()->Picture(), pictureBefore);
        QCOMPARE(ActiveTab(), 0);

        // A click on the highlighted row shows it.
        ClickRow(1);
        QCOMPARE(Viewer()->Picture(), QImage(MediaPath(listedAfter.first())));
        QCOMPARE(ActiveTab(), 1);
    }

    // The frame written is the one shown after stepping while paused.
    void screenshotHoldsTheFrameShown()
    {
        ChooseAndRest(QStringLiteral("run.avi"));
        const QImage firstFrames = ShownFrame();
        Access().Timeline_SetValue(4000);
        QTest::keyClick(FWindow.get(), Qt::Key_Right, Qt::ControlModifier);
        QCOMPARE(Player()->GetVideoPosInMs(), qint64(5000));
        WaitFrameShown(firstFrames);
        QCOMPARE(Player()->GetState(), vlcPlayer_Paused);
        QCOMPARE(Player()->GetVideoPosInMs(), qint64(5000));

        PressS();

        const QImage shot = QImage(MediaPath(QStringLiteral("run_0001.png"))).convertToFormat(QImage::Format_RGB32);
        const QImage expected = TestMedia::ffmpegFrameAt(MediaPath(QStringLiteral("run.avi")), 5000);
        QCOMPARE(shot.size(), expected.size());
        QString why;
        QVERIFY2(TestMedia::framesMatch(shot, expected, &why), qPrintable(why));
    }

    void screenshotNamesTakeTheVideoNameLiterally_data()
    {
        QTest::addColumn<QString>("video");
        QTest::addColumn<QString>("taken");
        QTest::newRow("percent sign") << "50% off.avi" << "50% off_0001.png";
        QTest::newRow("date letters") << "summer mmdd.avi" << "summer mmdd_0001.png";
        QTest::newRow("space and non-ASCII letter") << "día de campo.avi" << "día de campo_0001.png";
        QTest::newRow("only the last extension goes") << "take.v2.avi" << "take.v2_0001.png";
    }

    void screenshotNamesTakeTheVideoNameLiterally()
    {
        QFETCH(QString, video);
        QFETCH(QString, taken);
        AddVideo(video);
        ChooseAndRest(video);

        PressS();

        QCOMPARE(PngFiles(), QStringList {taken});
        QCOMPARE(Rows(), WithHeader({taken}));
        QCOMPARE(Model()->Row(1).Text, FMedia->path());
    }

    void listsOnlyTheVideosOwnNumberedPngs()
    {
        for (const char* name : {"walk_0001.png", "run_10000.png", "run_12345.png", "run_002.png", "run_00003.png",
                                    "run-0004.png", "Run_0005.png", "xrun_0006.png"})
            WriteShot(QString::fromUtf8(name), Qt::red);
        WriteShot(QStringLiteral("run_0007.png"), Qt::green);
        QFile jpg(MediaPath(QStringLiteral("run_0001.jpg")));
        QVERIFY(jpg.open(QIODevice::WriteOnly));
        jpg.close();
        QVERIFY(QDir(FMedia->path()).mkdir(QStringLiteral("run_0008.png")));
        AddVideo(QStringLiteral("walk.avi"));

        ChooseAndRest(QStringLiteral("run.avi"));

        QCOMPARE(Rows(), WithHeader({"run_0007.png"}));
    }

    void thumbnailsFitTheImageBoxAndAreDecodedOnlyWhenChanged()
    {
        WriteShot(QStringLiteral("run_0001.png"), Qt::red, QSize(1920, 1080));
        WriteShot(QStringLiteral("run_0002.png"), Qt::blue, QSize(400, 400));
        ChooseAndRest(QStringLiteral("run.avi"));
        WaitThumbnails();
        const qreal ratio = List()->devicePixelRatioF();
        QCOMPARE(Model()->Row(1).Image.size(), QSize(qRound(50 * ratio), qRound(50 * ratio)));
        const QSize wide = Model()->Row(2).Image.size();
        QCOMPARE(wide.height(), qRound(50 * ratio));
        QVERIFY2(qAbs(wide.width() - 50 * 1920 / 1080.0 * ratio) <= 1.0, qPrintable(QString::number(wide.width())));
        QCOMPARE(Model()->Row(1).Image.pixel(2, 2), QColor(Qt::blue).rgb());

        // Unchanged files come from the cache at once; a rewritten file is decoded again.
        WriteShot(QStringLiteral("run_0002.png"), Qt::yellow, QSize(300, 300));
        Access().Screenshots_UpdateFromFile(Access().FilenameLast());
        QCOMPARE(Model()->Row(2).Image.pixel(2, 2), QColor(Qt::red).rgb());
        QCOMPARE(Access().Thumbnails()->PendingCount(), 1);
        WaitThumbnails();
        QCOMPARE(Model()->Row(1).Image.pixel(2, 2), QColor(Qt::yellow).rgb());
    }

    // What the user sees: every row under the header shows its thumbnail and its name.
    void rowsShowTheirThumbnails()
    {
        for (int number = 1; number <= 3; ++number)
            WriteShot(QStringLiteral("run_%1.png").arg(number, 4, 10, QLatin1Char('0')), ShotColor(number),
                      QSize(1920, 1080));
        ChooseAndRest(QStringLiteral("run.avi"));
        WaitThumbnails();
        const QImage shown = List()->viewport()->grab().toImage();
        const qreal ratio = shown.devicePixelRatio();
        for (int row = 1; row <= 3; ++row) {
            const QRect box = TScreenshotListDelegate::ImageBox(List()->visualRect(Model()->index(row)));
            const QColor centre = shown.pixelColor((box.center() * ratio));
            QCOMPARE(centre.rgb(), ShotColor(4 - row).rgb());
            const QRect text = TScreenshotListDelegate::DetailBox(List()->visualRect(Model()->index(row)));
            bool inked = false;
            for (int y = text.top(); y < text.top() + 14 && !inked; ++y)
                for (int x = text.left(); x <= text.right() && !inked; ++x)
                    inked = shown.pixelColor(QPoint(x, y) * ratio).lightness() < 128;
            QVERIFY2(inked, qPrintable(QStringLiteral("row %1 shows no name").arg(row)));
        }
    }

    void corruptScreenshotGivesAnEmptyImage()
    {
        WriteShot(QStringLiteral("run_0001.png"), Qt::green);
        QFile corrupt(MediaPath(QStringLiteral("run_0003.png")));
        QVERIFY(corrupt.open(QIODevice::WriteOnly));
        corrupt.write("\x89PNG\r\n\x1a\n this is not a picture");
        corrupt.close();
        ChooseAndRest(QStringLiteral("run.avi"));
        WaitThumbnails();
        QCOMPARE(Rows(), WithHeader({"run_0003.png", "run_0001.png"}));
        QVERIFY(Model()->Row(1).Image.isNull());
        QVERIFY(!Model()->Row(2).Image.isNull());

        ClickRow(1);
        QCOMPARE(List()->Selected(), 1);
        QVERIFY(Viewer()->Picture().isNull());
        ClickRow(2);
        QCOMPARE(ViewerColor(), QColor(Qt::green).rgb());
    }

    void clickingAThumbnailShowsIt_data()
    {
        QTest::addColumn<bool>("playing");
        QTest::addColumn<int>("tab");
        QTest::newRow("playing keeps the Video view") << true << 0;
        QTest::newRow("paused switches to Screenshot") << false << 1;
    }

    void clickingAThumbnailShowsIt()
    {
        QFETCH(bool, playing);
        QFETCH(int, tab);
        WriteShot(QStringLiteral("run_0001.png"), ShotColor(1), QSize(1920, 1080));
        WriteShot(QStringLiteral("run_0002.png"), ShotColor(2));
        ChooseAndRest(QStringLiteral("run.avi"));
        if (playing) {
            QTest::mouseClick(Control<TStyleButton>("bPlay"), Qt::LeftButton);
            QVERIFY(TestLoop::waitFor([&] { return Player()->IsPlay(); }, 10000));
        }

        ClickRow(2);

        QCOMPARE(ActiveTab(), tab);
        QCOMPARE(List()->Selected(), 2);
        // The full picture, whatever the thumbnail's size.
        QCOMPARE(Viewer()->Picture().size(), QSize(1920, 1080));
        QCOMPARE(ViewerColor(), ShotColor(1).rgb());
        QCOMPARE(Player()->IsPlay(), playing);
        // Fitted to the viewer as it shows, also when it was not on screen at the click.
        ClickTab(1);
        QVERIFY(Viewer()->isVisible());
        QVERIFY2(FitFault().isEmpty(), qPrintable(FitFault()));
    }

    void viewerFitsZoomsAndPans()
    {
        WriteShot(QStringLiteral("run_0001.png"), Qt::darkCyan, QSize(1920, 1080));
        WriteShot(QStringLiteral("run_0002.png"), Qt::darkRed, QSize(40, 30));
        ChooseAndRest(QStringLiteral("run.avi"));

        ClickRow(2);
        QVERIFY2(FitFault().isEmpty(), qPrintable(FitFault()));
        // A fitted picture stays fitted when the window changes size.
        FWindow->resize(FWindow->size() + QSize(150, 40));
        TestLoop::waitFor([&] { return FitFault().isEmpty(); }, 5000);
        QVERIFY2(FitFault().isEmpty(), qPrintable(FitFault()));
        QWidget* viewport = Viewer()->viewport();
        const QSize box = viewport->size();
        const qreal fit = Viewer()->BitmapScale();
        QVERIFY2(fit < 1.0, qPrintable(QString::number(fit)));

        // The wheel zooms about the pointer: the picture point under it stays
        // there. The picture is wider than high, so it is still centred
        // vertically and only the horizontal place can be kept.
        const QPoint pointer(box.width() / 3, box.height() / 3);
        const QPointF under = Viewer()->mapToScene(pointer);
        QWheelEvent wheel(pointer, viewport->mapToGlobal(pointer), {}, QPoint(0, 240), Qt::NoButton, Qt::NoModifier,
                          Qt::NoScrollPhase, false);
        QApplication::sendEvent(viewport, &wheel);
        const qreal zoomed = Viewer()->BitmapScale();
        QVERIFY(zoomed > fit * 1.2);
        QVERIFY2(qAbs(Viewer()->mapFromScene(under).x() - pointer.x()) <= 2,
                 qPrintable(QStringLiteral("%1 -> %2").arg(pointer.x()).arg(Viewer()->mapFromScene(under).x())));

        // Dragging pans.
        const int before = Viewer()->horizontalScrollBar()->value();
        const QPoint from(box.width() / 2, box.height() / 2);
        QTest::mousePress(viewport, Qt::LeftButton, {}, from);
        QTest::mouseMove(viewport, from - QPoint(60, 0));
        QTest::mouseMove(viewport, from - QPoint(120, 0));
        QTest::mouseRelease(viewport, Qt::LeftButton, {}, from - QPoint(120, 0));
        const int panned = Viewer()->horizontalScrollBar()->value();
        QVERIFY2(panned > before, qPrintable(QStringLiteral("%1 -> %2").arg(before).arg(panned)));

        // Clicking the row shown once more leaves the view as the user made it.
        ClickRow(2);
        QCOMPARE(Viewer()->BitmapScale(), zoomed);
        QCOMPARE(Viewer()->horizontalScrollBar()->value(), panned);

        // Once zoomed, a change of size keeps the zoom.
        FWindow->resize(FWindow->size() - QSize(100, 0));
        TestLoop::waitFor([&] { return Viewer()->viewport()->width() != box.width(); }, 5000);
        QCOMPARE(Viewer()->BitmapScale(), zoomed);

        // A picture smaller than the view is shown at its own size.
        ClickRow(1);
        QCOMPARE(Viewer()->BitmapScale(), 1.0);
        QCOMPARE(ViewerColor(), QColor(Qt::darkRed).rgb());
    }

    void deleteAfterConfirmation_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("goneBefore");
        QTest::addColumn<QStringList>("listedAfter");
        QTest::addColumn<int>("shownAfter"); // number of the screenshot in the viewer, 0 for cleared
        QTest::addColumn<bool>("afterRefresh"); // the bin is pressed once the view's refresh has rebuilt the list

        const QStringList all {"run_0003.png", "run_0002.png", "run_0001.png"};
        QTest::newRow("No") << 2 << int(QMessageBox::No) << false << all << 2 << false;
        QTest::newRow("closed without an answer") << 2 << int(QMessageBox::NoButton) << false << all << 2 << false;
        QTest::newRow("Yes shows the next older") << 2 << int(QMessageBox::Yes) << false
                                                  << QStringList {"run_0003.png", "run_0001.png"} << 1 << false;
        QTest::newRow("Yes on the newest") << 1 << int(QMessageBox::Yes) << false
                                           << QStringList {"run_0002.png", "run_0001.png"} << 2 << false;
        QTest::newRow("Yes on the last row clears the viewer")
            << 3 << int(QMessageBox::Yes) << false << QStringList {"run_0003.png", "run_0002.png"} << 0 << false;
        QTest::newRow("file already gone loses its row")
            << 2 << int(QMessageBox::Yes) << true << QStringList {"run_0003.png", "run_0001.png"} << 1 << false;
        QTest::newRow("Yes on the oldest, after the refresh")
            << 3 << int(QMessageBox::Yes) << false << QStringList {"run_0003.png", "run_0002.png"} << 0 << true;
        QTest::newRow("Yes on the second-oldest, after the refresh")
            << 2 << int(QMessageBox::Yes) << false << QStringList {"run_0003.png", "run_0001.png"} << 1 << true;
    }

    void deleteAfterConfirmation()
    {
        QFETCH(int, row);
        QFETCH(int, answer);
        QFETCH(bool, goneBefore);
        QFETCH(QStringList, listedAfter);
        QFETCH(int, shownAfter);
        QFETCH(bool, afterRefresh);
        for (int number = 1; number <= 3; ++number)
            WriteShot(QStringLiteral("run_%1.png").arg(number, 4, 10, QLatin1Char('0')), ShotColor(number));
        ChooseAndRest(QStringLiteral("run.avi"));
        ClickRow(row);
        const QString file = MediaPath(Model()->Row(row).Detail);
        if (afterRefresh) {
            // The click switched to the Screenshot view, whose two refreshes rebuild the list.
            QSignalSpy rebuilt(Model(), &QAbstractItemModel::modelReset);
            QVERIFY(TestLoop::waitFor([&] { return rebuilt.size() >= 2; }, 5000));
            QCOMPARE(Model()->Row(List()->Selected()).Detail, Model()->Row(row).Detail);
        }
        if (goneBefore)
            QVERIFY(QFile::remove(file));
        FDlgAnswer = TAnswer(answer);

        ClickDelete();

        QCOMPARE(FAsked.size(), 1);
        QCOMPARE(FAsked.first().Msg, QStringLiteral("DELETE the screenshot ?"));
        QCOMPARE(FAsked.first().Type, QMessageBox::Question);
        QCOMPARE(FAsked.first().Buttons, QMessageBox::Yes | QMessageBox::No);
        QCOMPARE(Rows(), WithHeader(listedAfter));
        QStringList files = listedAfter;
        files.sort();
        QCOMPARE(PngFiles(), files);
        QCOMPARE(QFileInfo::exists(file), answer != QMessageBox::Yes);
        if (shownAfter == 0) {
            QVERIFY(AllWhite(Viewer()->Picture()));
            QCOMPARE(List()->Selected(), -1);
        } else {
            QCOMPARE(ViewerColor(), ShotColor(shownAfter).rgb());
            QCOMPARE(Model()->Row(List()->Selected()).Detail, QStringLiteral("run_%1.png").arg(shownAfter, 4, 10, QLatin1Char('0')));
        }
    }

    void deleteWithoutSelectionAsksNothing()
    {
        WriteShot(QStringLiteral("run_0001.png"), Qt::red);
        ChooseAndRest(QStringLiteral("run.avi"));
        FDlgAnswer = QMessageBox::Yes;
        ClickDelete();
        QVERIFY(FAsked.isEmpty());
        QCOMPARE(PngFiles(), QStringList {"run_0001.png"});
    }

    void selectionSurvivesARebuildOfTheSameVideo_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("selectedAfter");
        QTest::newRow("row 1") << 1 << 1;
        QTest::newRow("row 2") << 2 << 2;
        QTest::newRow("row 3, the third-last") << 3 << 3;
        QTest::newRow("row 4, the second-last") << 4 << 4;
        QTest::newRow("row 5, the oldest") << 5 << 5;
    }

    void selectionSurvivesARebuildOfTheSameVideo()
    {
        QFETCH(int, row);
        QFETCH(int, selectedAfter);
        for (int number = 1; number <= 5; ++number)
            WriteShot(QStringLiteral("run_%1.png").arg(number, 4, 10, QLatin1Char('0')), ShotColor(number));
        ChooseAndRest(QStringLiteral("run.avi"));
        QSignalSpy rebuilt(Model(), &QAbstractItemModel::modelReset);

        ClickRow(row);
        const QImage shown = Viewer()->Picture();
        // The click switched to the Screenshot view; switch back, and let both refreshes run.
        QCOMPARE(ActiveTab(), 1);
        ClickTab(0);
        QVERIFY(TestLoop::waitFor([&] { return rebuilt.size() >= 2; }, 5000));

        QCOMPARE(Rows().size(), 6);
        QCOMPARE(List()->Selected(), selectedAfter);
        QCOMPARE(Viewer()->Picture(), shown);
    }

    void anotherVideosListKeepsNoSelection()
    {
        for (int number = 1; number <= 5; ++number) {
            WriteShot(QStringLiteral("run_%1.png").arg(number, 4, 10, QLatin1Char('0')), ShotColor(number));
            WriteShot(QStringLiteral("walk_%1.png").arg(number, 4, 10, QLatin1Char('0')), ShotColor(number));
        }
        AddVideo(QStringLiteral("walk.avi"));
        ChooseAndRest(QStringLiteral("run.avi"));
        ClickRow(2);
        QCOMPARE(List()->Selected(), 2);

        ChooseAndRest(QStringLiteral("walk.avi"));

        QCOMPARE(Access().FilenameLast(), MediaPath(QStringLiteral("walk.avi")));
        QCOMPARE(Rows().at(1), QStringLiteral("walk_0005.png"));
        QCOMPARE(List()->Selected(), -1);
    }
};

QTEST_MAIN(tst_TfrmMain_Screenshots)
#include "tst_TfrmMain_Screenshots.moc"
