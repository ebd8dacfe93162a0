#include "TfrmMainFixture.h"

#include "ui/TImageViewer.h"
#include "ui/TScreenshotListModel.h"
#include "ui/TScreenshotListView.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QScopeGuard>

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
    TfrmMainFixture F;
    std::unique_ptr<QTemporaryDir> FMedia;
    QStringList FDialogDirs;
    QStringList FDialogFilters;

    QString MediaPath(const QString& sName) const { return FMedia->filePath(sName); }

    void Touch(const QString& sName) const
    {
        QFile file(MediaPath(sName));
        QVERIFY(file.open(QIODevice::WriteOnly));
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
        F.Start();
        // The dialog tells what it was asked as well.
        TOpenDialog::SetRunner([this](QWidget*, const QString& sInitialDir, const QString& sFilter) {
            FDialogDirs << sInitialDir;
            FDialogFilters << sFilter;
            return F.DialogAnswer;
        });
    }

    void cleanupTestCase() { F.Finish(); }

    void init()
    {
        FMedia = std::make_unique<QTemporaryDir>();
        F.DialogAnswer.reset();
        FDialogDirs.clear();
        FDialogFilters.clear();
        F.FreshWindow();
    }

    void cleanup()
    {
        F.CloseWindow();
        FMedia.reset();
    }

    // The window starts on the default folder and opens the dialog there: the
    // MP4 folder beside the build when it exists, else the (isolated) home,
    // which has no videos folder.
    void defaultFolder()
    {
        const QString besideExe = QDir::cleanPath(QCoreApplication::applicationDirPath() + "/../../MP4") + '/';
        const QString expected = QFileInfo(besideExe).isDir() ? besideExe : F.Home.path() + '/';
        QCOMPARE(F.Access().LibraryPath(), expected);
        QCOMPARE(F.Control<TOpenDialog>("OpenDialogFolder")->InitialDir(), expected);
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

        F.Choose(MediaPath(QStringLiteral("chosen.jpg")));
        QCOMPARE(F.Access().FileListTexts(), listed);
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

        F.Choose(MediaPath(QStringLiteral("real.avi")));
        QCOMPARE(F.Access().FileListTexts(), (QStringList {"link.avi", "real.avi"}));
    }

    void groupHeaderUntilTheFirstChoice()
    {
        QListWidget* list = F.Access().ListBoxFiles();
        QVERIFY(list->count() >= 1);
        QCOMPARE(list->item(0)->text(), QStringLiteral("Files list"));
        QVERIFY(!(list->item(0)->flags() & Qt::ItemIsSelectable));

        Touch(QStringLiteral("a.avi"));
        F.Choose(MediaPath(QStringLiteral("a.avi")));
        QVERIFY(!F.Access().FileListTexts().contains(QStringLiteral("Files list")));
    }

    void groupHeaderGoneAfterTheStrip()
    {
        QTest::mouseClick(F.Control("Panel1"), Qt::LeftButton);
        QVERIFY(!F.Access().FileListTexts().contains(QStringLiteral("Files list")));
    }

    void clickingTheGroupHeaderDoesNothing()
    {
        QListWidget* list = F.Access().ListBoxFiles();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(0)).center());
        QVERIFY(!F.CoverShown());
        QVERIFY(TOrvTask_IdleWorker::Default().Tasks().empty());
    }

    void dialogGetsTheFilterAndTheInitialFolder()
    {
        Touch(QStringLiteral("a.avi"));
        const QString folder = F.Access().LibraryPath();
        F.Choose(MediaPath(QStringLiteral("a.avi")));
        F.Choose(MediaPath(QStringLiteral("a.avi")));
        QCOMPARE(FDialogFilters.value(0),
                 QStringLiteral("Media files (*.jpg *.avi);;Video files (*.avi);;Image files (*.jpg);;All files (*)"));
        QCOMPARE(FDialogDirs, (QStringList {folder, FMedia->path()}));
    }

    void cancellingTheDialogChangesNothing()
    {
        const QStringList before = F.Access().FileListTexts();
        const QString folder = F.Access().LibraryPath();
        F.DialogAnswer.reset();
        F.Access().Button1Click();
        QCOMPARE(F.Access().FileListTexts(), before);
        QCOMPARE(F.Access().LibraryPath(), folder);
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

        F.Choose(MediaPath(chosen));
        QCOMPARE(F.Access().LibraryPath(), FMedia->path());
        QCOMPARE(F.Control<TOpenDialog>("OpenDialogFolder")->InitialDir(), FMedia->path());
        QCOMPARE(F.HighlightedFile(), selected);
        QVERIFY(F.CoverShown());
        QVERIFY(TestLoop::waitFor([&] { return F.Access().FileName() == MediaPath(selected); }));
    }

    void choosingAnUnlistedFileEmptiesThumbnailsAndWhitensTheViewer()
    {
        Touch(QStringLiteral("a.avi"));
        Touch(QStringLiteral("photo.jpg"));
        auto* thumbnails = F.Control<TScreenshotListView>("ListViewScreenshots");
        thumbnails->Model()->InsertRow(0, {TScreenshotListModel::TPurpose::Header, "Screenshots", {}, {}});
        thumbnails->Model()->InsertRow(1, {TScreenshotListModel::TPurpose::Item, FMedia->path(), "a_0001.png", Red()});
        thumbnails->SetItemIndex(1);
        auto* viewer = F.Control<TImageViewer>("ImageViewerScreenshot");
        viewer->SetPicture(Red());

        F.Choose(MediaPath(QStringLiteral("photo.jpg")));
        QCOMPARE(F.Access().FileListTexts(), QStringList {"a.avi"});
        QCOMPARE(F.HighlightedFile(), QString());
        QCOMPARE(thumbnails->Model()->Count(), 0);
        QCOMPARE(thumbnails->ItemIndex(), -1);
        QVERIFY(F.AllWhite(viewer->Picture()));
        QVERIFY(!F.CoverShown());
        QVERIFY(TOrvTask_IdleWorker::Default().Tasks().empty());
    }

    void missingFolderListsNothing()
    {
        const QString missing = FMedia->filePath(QStringLiteral("gone/inside"));
        F.Choose(missing + QStringLiteral("/clip.avi"));
        QCOMPARE(F.Access().LibraryPath(), missing);
        QCOMPARE(F.Access().FileListTexts(), QStringList());
        QVERIFY(!F.CoverShown());
    }

    void stripReReadsTheFolderOnce()
    {
        Touch(QStringLiteral("a.avi"));
        Touch(QStringLiteral("b.avi"));
        F.Choose(MediaPath(QStringLiteral("a.avi")));
        Touch(QStringLiteral("c.avi"));

        QTest::mouseClick(F.Control("Panel1"), Qt::LeftButton);
        QTest::mouseClick(F.Control("Panel1"), Qt::LeftButton);
        QCOMPARE(F.Access().LibraryPath(), FMedia->path());
        QCOMPARE(F.Access().FileListTexts(), (QStringList {"a.avi", "b.avi", "c.avi"}));
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
        F.Choose(MediaPath(QStringLiteral("photo.jpg")));
        QListWidget* list = F.Access().ListBoxFiles();
        list->setFocus();
        list->setCurrentRow(1);
        QCOMPARE(F.HighlightedFile(), QStringLiteral("b.avi"));

        QTest::keyClick(list, Qt::Key(key));
        QCOMPARE(F.CoverShown(), opens);
        QCOMPARE(TOrvTask_IdleWorker::Default().Tasks().size(), size_t(opens ? 1 : 0));
        if (opens)
            QVERIFY(TestLoop::waitFor([&] { return F.Access().FileName() == MediaPath(QStringLiteral("b.avi")); }));
    }

    void enterWithNothingSelectedDoesNothing()
    {
        Touch(QStringLiteral("a.avi"));
        F.Choose(MediaPath(QStringLiteral("photo.jpg")));
        QListWidget* list = F.Access().ListBoxFiles();
        list->setFocus();
        list->clearSelection();

        QTest::keyClick(list, Qt::Key_Return);
        QVERIFY(!F.CoverShown());
        QVERIFY(TOrvTask_IdleWorker::Default().Tasks().empty());
        TestLoop::run(300);
        QCOMPARE(F.Access().FileName(), QString());
    }

    void clickShowsTheCoverThenDisplaysTheFile()
    {
        Touch(QStringLiteral("a.avi"));
        F.Choose(MediaPath(QStringLiteral("photo.jpg")));
        // Listed as a file, then a pipe held open and never written to: the
        // engine waits for its first bytes and reports nothing meanwhile.
        QVERIFY(QFile::remove(MediaPath(QStringLiteral("a.avi"))));
        QCOMPARE(::mkfifo(QFile::encodeName(MediaPath(QStringLiteral("a.avi"))).constData(), 0600), 0);
        const int writer = ::open(QFile::encodeName(MediaPath(QStringLiteral("a.avi"))).constData(), O_RDWR);
        QVERIFY(writer >= 0);
        const auto closeWriter = qScopeGuard([writer] { ::close(writer); });
        THeaderTabBar* header = F.Header();
        header->setCurrentIndex(1);
        auto* viewer = F.Control<TImageViewer>("ImageViewerScreenshot");
        viewer->SetPicture(Red());

        QElapsedTimer sinceClick;
        sinceClick.start();
        F.ClickFile(QStringLiteral("a.avi"));
        QVERIFY(F.CoverShown());
        QVERIFY(F.Control("AniIndicatorCover")->isEnabled());
        QCOMPARE(header->currentIndex(), 0);
        QVERIFY(F.AllWhite(viewer->Picture()));
        QCOMPARE(F.Control<QLabel>("LabelMediaTime")->text(), QStringLiteral("-:--:------"));

        QVERIFY(TestLoop::waitFor([&] { return !F.Access().FileName().isEmpty(); }));
        QVERIFY2(sinceClick.elapsed() >= 200, qPrintable(QString::number(sinceClick.elapsed())));
        QCOMPARE(F.Access().FileName(), MediaPath(QStringLiteral("a.avi")));
        QCOMPARE(F.Control<QLabel>("LabelMediaTime")->text(), QStringLiteral("0:00:00-0000"));
        QCOMPARE(F.Control<QLabel>("LabelMediaDuration")->text(), QStringLiteral("-:--:-------"));
        // A new file stays covered until its playback has started.
        QVERIFY(F.Access().StopImmediately());
        QVERIFY(F.CoverShown());
    }

    void clickingTheDisplayedFileAgainTakesTheCoverAway()
    {
        Touch(QStringLiteral("a.avi"));
        F.Choose(MediaPath(QStringLiteral("photo.jpg")));
        F.ClickFile(QStringLiteral("a.avi"));
        QVERIFY(TestLoop::waitFor([&] { return F.Access().FileName() == MediaPath(QStringLiteral("a.avi")); }));
        // The engine cannot play the empty file; once it has said so the
        // labels are the test's.
        QVERIFY(TestLoop::waitFor([&] { return !F.CoverShown(); }));
        F.Control<QLabel>("LabelMediaTime")->setText(QStringLiteral("0:00:05-000"));
        F.Control<QLabel>("LabelMediaDuration")->setText(QStringLiteral("0:00:10-000"));

        F.ClickFile(QStringLiteral("a.avi"));
        QVERIFY(F.CoverShown());
        QVERIFY(TestLoop::waitFor([&] { return !F.CoverShown(); }));
        QCOMPARE(F.Access().FileName(), MediaPath(QStringLiteral("a.avi")));
        QCOMPARE(F.Control<QLabel>("LabelMediaTime")->text(), QStringLiteral("0:00:00-0000"));
        QCOMPARE(F.Control<QLabel>("LabelMediaDuration")->text(), QStringLiteral("-:--:-------"));
        QVERIFY(!F.Control("AniIndicatorCover")->isEnabled());
    }

    void twoQuickClicksDisplayTheFirstFileOnly()
    {
        Touch(QStringLiteral("a.avi"));
        Touch(QStringLiteral("b.avi"));
        F.Choose(MediaPath(QStringLiteral("photo.jpg")));

        F.ClickFile(QStringLiteral("a.avi"));
        F.ClickFile(QStringLiteral("b.avi"));
        QCOMPARE(TOrvTask_IdleWorker::Default().Tasks().size(), size_t(2));

        QVERIFY(TestLoop::waitFor([&] { return !F.Access().FileName().isEmpty(); }));
        QCOMPARE(F.Access().FileName(), MediaPath(QStringLiteral("a.avi")));
        QVERIFY(TOrvTask_IdleWorker::Default().Tasks().empty());
        TestLoop::run(400);
        QCOMPARE(F.Access().FileName(), MediaPath(QStringLiteral("a.avi")));
        // The highlight follows to the file shown.
        QCOMPARE(F.HighlightedFile(), QStringLiteral("a.avi"));
    }

    void reReadingTheFolderBeforeTheTaskRunsOnlyTakesTheCoverAway()
    {
        Touch(QStringLiteral("a.avi"));
        F.Choose(MediaPath(QStringLiteral("photo.jpg")));
        F.ClickFile(QStringLiteral("a.avi"));
        QVERIFY(F.CoverShown());
        QTest::mouseClick(F.Control("Panel1"), Qt::LeftButton);

        QVERIFY(TestLoop::waitFor([&] { return !F.CoverShown(); }));
        QCOMPARE(F.Access().FileName(), QString());
        QCOMPARE(F.Access().FileListTexts(), QStringList {"a.avi"});
    }

    void closingTheWindowBeforeTheTaskRuns()
    {
        Touch(QStringLiteral("a.avi"));
        F.Choose(MediaPath(QStringLiteral("photo.jpg")));
        F.ClickFile(QStringLiteral("a.avi"));
        QCOMPARE(TOrvTask_IdleWorker::Default().Tasks().size(), size_t(1));
        F.Window.reset();
        QVERIFY(TestLoop::waitFor([] { return TOrvTask_IdleWorker::Default().Tasks().empty(); }, 2000));
    }
};

QTEST_MAIN(tst_TfrmMain_FileList)
#include "tst_TfrmMain_FileList.moc"
