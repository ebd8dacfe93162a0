#include "TestLoop.h"
#include "TestMedia.h"
#include "TfrmMainAccess.h"

#include "app/OrvStartup.h"
#include "services/TOrvTask_IdleWorker.h"
#include "ui/TImageViewer.h"
#include "ui/THeaderTabBar.h"
#include "ui/TOpenDialog.h"
#include "ui/TScreenshotListModel.h"
#include "ui/TScreenshotListView.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QListWidget>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>
#include <optional>

#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

// The file list against real folders; the open dialog is answered by the test.
class tst_TfrmMain_FileList : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir FHome;
    std::unique_ptr<QTemporaryDir> FMedia;
    std::unique_ptr<TfrmMain> FWindow;
    std::optional<QString> FAnswer;
    QStringList FDialogDirs;
    QStringList FDialogFilters;

    TfrmMainAccess Access() { return TfrmMainAccess {*FWindow}; }

    template <typename T = QWidget>
    T* Control(const char* AName) const
    {
        return FWindow->findChild<T*>(QLatin1String(AName));
    }

    QString MediaPath(const QString& sName) const { return FMedia->filePath(sName); }

    void Touch(const QString& sName) const
    {
        QFile file(MediaPath(sName));
        QVERIFY(file.open(QIODevice::WriteOnly));
    }

    // Chooses sName in the media folder through the folder button.
    void Choose(const QString& sPath)
    {
        FAnswer = sPath;
        Access().Button1Click();
    }

    void ClickItem(const QString& sText)
    {
        QListWidget* list = Access().ListBoxFiles();
        const QList<QListWidgetItem*> found = list->findItems(sText, Qt::MatchExactly);
        QVERIFY2(found.size() == 1, qPrintable(sText));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(found.first()).center());
    }

    QString SelectedText() const
    {
        const QList<QListWidgetItem*> selected = Control<QListWidget>("ListBoxFiles")->selectedItems();
        return selected.isEmpty() ? QString() : selected.first()->text();
    }

    bool CoverShown() const { return Control("RectangleCover")->isVisible(); }

    static bool AllWhite(const QImage& AImage)
    {
        for (int y = 0; y < AImage.height(); ++y)
            for (int x = 0; x < AImage.width(); ++x)
                if (AImage.pixel(x, y) != qRgb(255, 255, 255))
                    return false;
        return !AImage.isNull();
    }

    static QImage Red()
    {
        QImage image(40, 30, QImage::Format_ARGB32);
        image.fill(Qt::red);
        return image;
    }

private slots:
    void initTestCase()
    {
        TestMedia::isolateHome(FHome.path());
        OrvStartup_ModuleInit();
        TOpenDialog::SetRunner([this](QWidget*, const QString& sInitialDir, const QString& sFilter) {
            FDialogDirs << sInitialDir;
            FDialogFilters << sFilter;
            return FAnswer;
        });
    }

    void cleanupTestCase()
    {
        TOpenDialog::SetRunner({});
        OrvStartup_ModuleFinalize();
    }

    void init()
    {
        FMedia = std::make_unique<QTemporaryDir>();
        FAnswer.reset();
        FDialogDirs.clear();
        FDialogFilters.clear();
        TOrvTask_IdleWorker::Default().Clear();
        FWindow = std::make_unique<TfrmMain>();
        FWindow->show();
        QVERIFY(QTest::qWaitForWindowExposed(FWindow.get()));
    }

    void cleanup()
    {
        FWindow.reset();
        TOrvTask_IdleWorker::Default().Clear();
        FMedia.reset();
    }

    // The window starts on the default folder and opens the dialog there: the
    // MP4 folder beside the build when it exists, else the (isolated) home,
    // which has no videos folder.
    void defaultFolder()
    {
        const QString besideExe = QDir::cleanPath(QCoreApplication::applicationDirPath() + "/../../MP4") + '/';
        const QString expected = QFileInfo(besideExe).isDir() ? besideExe : FHome.path() + '/';
        QCOMPARE(Access().LibraryPath(), expected);
        QCOMPARE(Control<TOpenDialog>("OpenDialogFolder")->InitialDir(), expected);
        QVERIFY(QDir::isAbsolutePath(expected));
        QVERIFY(!expected.contains(QStringLiteral("..")));
    }

    void listsTheAviFilesOnly_data()
    {
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<QStringList>("folders");
        QTest::addColumn<QStringList>("listed");

        QTest::newRow("case, other types, hidden, folder")
            << QStringList {"a.avi", "B.AVI", "c.mp4", ".d.avi"} << QStringList {"e.avi"}
            << QStringList {"a.avi", "B.AVI"};
        QTest::newRow("name order ignoring case")
            << QStringList {"gamma.avi", "Beta.AVI", "alpha.avi", "Delta.Avi"} << QStringList {}
            << QStringList {"alpha.avi", "Beta.AVI", "Delta.Avi", "gamma.avi"};
        QTest::newRow("only the extension counts")
            << QStringList {"avi.mp4", "clip.avi.png", "clip.avix", "x.avi"} << QStringList {}
            << QStringList {"x.avi"};
        QTest::newRow("empty folder") << QStringList {} << QStringList {} << QStringList {};
    }

    void listsTheAviFilesOnly()
    {
        QFETCH(QStringList, files);
        QFETCH(QStringList, folders);
        QFETCH(QStringList, listed);
        for (const QString& name : files)
            Touch(name);
        for (const QString& name : folders)
            QVERIFY(QDir(FMedia->path()).mkdir(name));
        Touch(QStringLiteral("chosen.jpg"));

        Choose(MediaPath(QStringLiteral("chosen.jpg")));
        QCOMPARE(Access().FileListTexts(), listed);
    }

    void passesOverLinksToNothingAndSockets()
    {
        Touch(QStringLiteral("real.avi"));
        QVERIFY(QFile::link(MediaPath(QStringLiteral("real.avi")), MediaPath(QStringLiteral("link.avi"))));
        QVERIFY(QFile::link(MediaPath(QStringLiteral("gone.avi")), MediaPath(QStringLiteral("broken.avi"))));
        const int socketFd = ::socket(AF_UNIX, SOCK_STREAM, 0);
        QVERIFY(socketFd >= 0);
        sockaddr_un address {};
        address.sun_family = AF_UNIX;
        const QByteArray socketPath = QFile::encodeName(MediaPath(QStringLiteral("socket.avi")));
        QVERIFY(size_t(socketPath.size()) < sizeof(address.sun_path));
        qstrcpy(address.sun_path, socketPath.constData());
        const bool bound = ::bind(socketFd, reinterpret_cast<sockaddr*>(&address), sizeof(address)) == 0;
        ::close(socketFd);
        QVERIFY(bound);

        Choose(MediaPath(QStringLiteral("real.avi")));
        QCOMPARE(Access().FileListTexts(), (QStringList {"link.avi", "real.avi"}));
    }

    void groupHeaderUntilTheFirstChoice()
    {
        QListWidget* list = Access().ListBoxFiles();
        QVERIFY(list->count() >= 1);
        QCOMPARE(list->item(0)->text(), QStringLiteral("Files list"));
        QVERIFY(!(list->item(0)->flags() & Qt::ItemIsSelectable));

        Touch(QStringLiteral("a.avi"));
        Choose(MediaPath(QStringLiteral("a.avi")));
        QVERIFY(!Access().FileListTexts().contains(QStringLiteral("Files list")));
    }

    void groupHeaderGoneAfterTheStrip()
    {
        QTest::mouseClick(Control("Panel1"), Qt::LeftButton);
        QVERIFY(!Access().FileListTexts().contains(QStringLiteral("Files list")));
    }

    void clickingTheGroupHeaderDoesNothing()
    {
        QListWidget* list = Access().ListBoxFiles();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(0)).center());
        QVERIFY(!CoverShown());
        QVERIFY(TOrvTask_IdleWorker::Default().Tasks().empty());
    }

    void dialogGetsTheFilterAndTheInitialFolder()
    {
        Touch(QStringLiteral("a.avi"));
        const QString folder = Access().LibraryPath();
        Choose(MediaPath(QStringLiteral("a.avi")));
        Choose(MediaPath(QStringLiteral("a.avi")));
        QCOMPARE(FDialogFilters.value(0),
                 QStringLiteral("Media files (*.jpg *.avi);;Video files (*.avi);;Image files (*.jpg);;All files (*)"));
        QCOMPARE(FDialogDirs, (QStringList {folder, FMedia->path()}));
    }

    void cancellingTheDialogChangesNothing()
    {
        const QStringList before = Access().FileListTexts();
        const QString folder = Access().LibraryPath();
        FAnswer.reset();
        Access().Button1Click();
        QCOMPARE(Access().FileListTexts(), before);
        QCOMPARE(Access().LibraryPath(), folder);
    }

    void choosingAListedFileSelectsAndOpensIt_data()
    {
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<QString>("selected");
        QTest::newRow("as listed") << QStringList {"a.avi", "B.AVI"} << "B.AVI" << "B.AVI";
        QTest::newRow("other case") << QStringList {"a.avi", "B.AVI"} << "b.avi" << "B.AVI";
        QTest::newRow("exact name before another case")
            << QStringList {"clip.avi", "CLIP.AVI"} << "CLIP.AVI" << "CLIP.AVI";
    }

    void choosingAListedFileSelectsAndOpensIt()
    {
        QFETCH(QStringList, files);
        QFETCH(QString, chosen);
        QFETCH(QString, selected);
        for (const QString& name : files)
            Touch(name);

        Choose(MediaPath(chosen));
        QCOMPARE(Access().LibraryPath(), FMedia->path());
        QCOMPARE(Control<TOpenDialog>("OpenDialogFolder")->InitialDir(), FMedia->path());
        QCOMPARE(SelectedText(), selected);
        QVERIFY(CoverShown());
        QVERIFY(TestLoop::waitFor([&] { return Access().FileName() == MediaPath(selected); }));
    }

    void choosingAnUnlistedFileEmptiesThumbnailsAndWhitensTheViewer()
    {
        Touch(QStringLiteral("a.avi"));
        Touch(QStringLiteral("photo.jpg"));
        auto* thumbnails = Control<TScreenshotListView>("ListViewScreenshots");
        thumbnails->Model()->InsertRow(0, {TScreenshotListModel::TPurpose::Header, "Screenshots", {}, {}});
        thumbnails->Model()->InsertRow(1, {TScreenshotListModel::TPurpose::Item, FMedia->path(), "a_0001.png", Red()});
        thumbnails->SetItemIndex(1);
        auto* viewer = Control<TImageViewer>("ImageViewerScreenshot");
        viewer->SetPicture(Red());

        Choose(MediaPath(QStringLiteral("photo.jpg")));
        QCOMPARE(Access().FileListTexts(), QStringList {"a.avi"});
        QCOMPARE(SelectedText(), QString());
        QCOMPARE(thumbnails->Model()->Count(), 0);
        QCOMPARE(thumbnails->ItemIndex(), -1);
        QVERIFY(AllWhite(viewer->Picture()));
        QVERIFY(!CoverShown());
        QVERIFY(TOrvTask_IdleWorker::Default().Tasks().empty());
    }

    void missingFolderListsNothing()
    {
        const QString missing = FMedia->filePath(QStringLiteral("gone/inside"));
        Choose(missing + QStringLiteral("/clip.avi"));
        QCOMPARE(Access().LibraryPath(), missing);
        QCOMPARE(Access().FileListTexts(), QStringList());
        QVERIFY(!CoverShown());
    }

    void stripReReadsTheFolderOnce()
    {
        Touch(QStringLiteral("a.avi"));
        Touch(QStringLiteral("b.avi"));
        Choose(MediaPath(QStringLiteral("a.avi")));
        Touch(QStringLiteral("c.avi"));

        QTest::mouseClick(Control("Panel1"), Qt::LeftButton);
        QTest::mouseClick(Control("Panel1"), Qt::LeftButton);
        QCOMPARE(Access().LibraryPath(), FMedia->path());
        QCOMPARE(Access().FileListTexts(), (QStringList {"a.avi", "b.avi", "c.avi"}));
    }

    void enterOrSpaceOpensTheSelectedFile_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<bool>("opens");
        QTest::newRow("Return") << int(Qt::Key_Return) << true;
        QTest::newRow("keypad Enter") << int(Qt::Key_Enter) << true;
        QTest::newRow("Space") << int(Qt::Key_Space) << true;
        QTest::newRow("a letter") << int(Qt::Key_X) << false;
    }

    void enterOrSpaceOpensTheSelectedFile()
    {
        QFETCH(int, key);
        QFETCH(bool, opens);
        Touch(QStringLiteral("a.avi"));
        Touch(QStringLiteral("b.avi"));
        Choose(MediaPath(QStringLiteral("photo.jpg")));
        QListWidget* list = Access().ListBoxFiles();
        list->setFocus();
        list->setCurrentRow(1);
        QCOMPARE(SelectedText(), QStringLiteral("b.avi"));

        QTest::keyClick(list, Qt::Key(key));
        QCOMPARE(CoverShown(), opens);
        QCOMPARE(TOrvTask_IdleWorker::Default().Tasks().size(), size_t(opens ? 1 : 0));
        if (opens)
            QVERIFY(TestLoop::waitFor([&] { return Access().FileName() == MediaPath(QStringLiteral("b.avi")); }));
    }

    void enterWithNothingSelectedDoesNothing()
    {
        Touch(QStringLiteral("a.avi"));
        Choose(MediaPath(QStringLiteral("photo.jpg")));
        QListWidget* list = Access().ListBoxFiles();
        list->setFocus();
        list->clearSelection();

        QTest::keyClick(list, Qt::Key_Return);
        QVERIFY(!CoverShown());
        QVERIFY(TOrvTask_IdleWorker::Default().Tasks().empty());
        TestLoop::run(300);
        QCOMPARE(Access().FileName(), QString());
    }

    void clickShowsTheCoverThenDisplaysTheFile()
    {
        Touch(QStringLiteral("a.avi"));
        Choose(MediaPath(QStringLiteral("photo.jpg")));
        // Listed as a file, then a pipe held open and never written to: the
        // engine waits for its first bytes and reports nothing meanwhile.
        QVERIFY(QFile::remove(MediaPath(QStringLiteral("a.avi"))));
        QCOMPARE(::mkfifo(QFile::encodeName(MediaPath(QStringLiteral("a.avi"))).constData(), 0600), 0);
        const int writer = ::open(QFile::encodeName(MediaPath(QStringLiteral("a.avi"))).constData(), O_RDWR);
        QVERIFY(writer >= 0);
        const auto closeWriter = qScopeGuard([writer] { ::close(writer); });
        auto* header = Control<THeaderTabBar>("TabControl1_Header");
        header->setCurrentIndex(1);
        auto* viewer = Control<TImageViewer>("ImageViewerScreenshot");
        viewer->SetPicture(Red());

        QElapsedTimer sinceClick;
        sinceClick.start();
        ClickItem(QStringLiteral("a.avi"));
        QVERIFY(CoverShown());
        QVERIFY(Control("AniIndicatorCover")->isEnabled());
        QCOMPARE(header->currentIndex(), 0);
        QVERIFY(AllWhite(viewer->Picture()));
        QCOMPARE(Control<QLabel>("LabelMediaTime")->text(), QStringLiteral("-:--:------"));

        QVERIFY(TestLoop::waitFor([&] { return !Access().FileName().isEmpty(); }));
        QVERIFY2(sinceClick.elapsed() >= 200, qPrintable(QString::number(sinceClick.elapsed())));
        QCOMPARE(Access().FileName(), MediaPath(QStringLiteral("a.avi")));
        QCOMPARE(Control<QLabel>("LabelMediaTime")->text(), QStringLiteral("0:00:00-0000"));
        QCOMPARE(Control<QLabel>("LabelMediaDuration")->text(), QStringLiteral("-:--:-------"));
        // A new file stays covered until its playback has started.
        QVERIFY(Access().StopImmediately());
        QVERIFY(CoverShown());
    }

    void clickingTheDisplayedFileAgainTakesTheCoverAway()
    {
        Touch(QStringLiteral("a.avi"));
        Choose(MediaPath(QStringLiteral("photo.jpg")));
        ClickItem(QStringLiteral("a.avi"));
        QVERIFY(TestLoop::waitFor([&] { return Access().FileName() == MediaPath(QStringLiteral("a.avi")); }));
        // The engine cannot play the empty file; once it has said so the
        // labels are the test's.
        QVERIFY(TestLoop::waitFor([&] { return !CoverShown(); }));
        Control<QLabel>("LabelMediaTime")->setText(QStringLiteral("0:00:05-000"));
        Control<QLabel>("LabelMediaDuration")->setText(QStringLiteral("0:00:10-000"));

        ClickItem(QStringLiteral("a.avi"));
        QVERIFY(CoverShown());
        QVERIFY(TestLoop::waitFor([&] { return !CoverShown(); }));
        QCOMPARE(Access().FileName(), MediaPath(QStringLiteral("a.avi")));
        QCOMPARE(Control<QLabel>("LabelMediaTime")->text(), QStringLiteral("0:00:00-0000"));
        QCOMPARE(Control<QLabel>("LabelMediaDuration")->text(), QStringLiteral("-:--:-------"));
        QVERIFY(!Control("AniIndicatorCover")->isEnabled());
    }

    void twoQuickClicksDisplayTheFirstFileOnly()
    {
        Touch(QStringLiteral("a.avi"));
        Touch(QStringLiteral("b.avi"));
        Choose(MediaPath(QStringLiteral("photo.jpg")));

        ClickItem(QStringLiteral("a.avi"));
        ClickItem(QStringLiteral("b.avi"));
        QCOMPARE(TOrvTask_IdleWorker::Default().Tasks().size(), size_t(2));

        QVERIFY(TestLoop::waitFor([&] { return !Access().FileName().isEmpty(); }));
        QCOMPARE(Access().FileName(), MediaPath(QStringLiteral("a.avi")));
        QVERIFY(TOrvTask_IdleWorker::Default().Tasks().empty());
        TestLoop::run(400);
        QCOMPARE(Access().FileName(), MediaPath(QStringLiteral("a.avi")));
        // The highlight follows to the file shown.
        QCOMPARE(SelectedText(), QStringLiteral("a.avi"));
    }

    void reReadingTheFolderBeforeTheTaskRunsOnlyTakesTheCoverAway()
    {
        Touch(QStringLiteral("a.avi"));
        Choose(MediaPath(QStringLiteral("photo.jpg")));
        ClickItem(QStringLiteral("a.avi"));
        QVERIFY(CoverShown());
        QTest::mouseClick(Control("Panel1"), Qt::LeftButton);

        QVERIFY(TestLoop::waitFor([&] { return !CoverShown(); }));
        QCOMPARE(Access().FileName(), QString());
        QCOMPARE(Access().FileListTexts(), QStringList {"a.avi"});
    }

    void closingTheWindowBeforeTheTaskRuns()
    {
        Touch(QStringLiteral("a.avi"));
        Choose(MediaPath(QStringLiteral("photo.jpg")));
        ClickItem(QStringLiteral("a.avi"));
        QCOMPARE(TOrvTask_IdleWorker::Default().Tasks().size(), size_t(1));
        FWindow.reset();
        QVERIFY(TestLoop::waitFor([] { return TOrvTask_IdleWorker::Default().Tasks().empty(); }, 2000));
    }
};

QTEST_MAIN(tst_TfrmMain_FileList)
#include "tst_TfrmMain_FileList.moc"
