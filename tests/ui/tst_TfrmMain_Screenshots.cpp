#include "TestPng.h"
#include "TfrmMainFixture.h"

#include "ui/BitmapFile.h"
#include "ui/OrvDlg.h"
#include "ui/TImageViewer.h"
#include "ui/TScreenshotListDelegate.h"
#include "ui/TScreenshotListModel.h"
#include "ui/TScreenshotListView.h"
#include "ui/TScreenshotThumbnails.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QScreen>
#include <QScrollBar>
#include <QSignalSpy>

#include <array>

#include <csignal>
#include <sys/resource.h>
#include <unistd.h>

using TAnswer = QMessageBox::StandardButton;

Q_DECLARE_METATYPE(TestPng::Format)

namespace {

// A figure of this process from /proc/self/status, in KiB: VmRSS is the
// resident memory now, VmHWM its peak.
qint64 StatusKiB(const QByteArray& AKey)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith(AKey + ':'))
            return line.mid(AKey.size() + 1).trimmed().split(' ').first().toLongLong();
    }
    return -1;
}

// Starts the peak (VmHWM) afresh from the resident memory now.
bool ResetResidentPeak()
{
    QFile clear(QStringLiteral("/proc/self/clear_refs"));
    return clear.open(QIODevice::WriteOnly) && clear.write("5") == 1;
}

QColor MeanColour(const QImage& AImage, const QRect& ARect)
{
    qint64 sums[3] = {};
    for (int y = ARect.top(); y <= ARect.bottom(); ++y) {
        for (int x = ARect.left(); x <= ARect.right(); ++x) {
            const QRgb pixel = AImage.pixel(x, y);
            sums[0] += qRed(pixel);
            sums[1] += qGreen(pixel);
            sums[2] += qBlue(pixel);
        }
    }
    const qint64 count = qint64(ARect.width()) * ARect.height();
    return QColor(int(sums[0] / count), int(sums[1] / count), int(sums[2] / count));
}

bool Near(const QColor& a, const QColor& b, int ATolerance)
{
    return qAbs(a.red() - b.red()) <= ATolerance && qAbs(a.green() - b.green()) <= ATolerance
        && qAbs(a.blue() - b.blue()) <= ATolerance;
}

// AColour drawn over ABackground.
QColor Over(const QColor& AColour, const QColor& ABackground)
{
    const auto mix = [&AColour](int c, int b) { return (c * AColour.alpha() + b * (255 - AColour.alpha()) + 127) / 255; };
    return QColor(mix(AColour.red(), ABackground.red()), mix(AColour.green(), ABackground.green()),
                  mix(AColour.blue(), ABackground.blue()));
}

} // namespace

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

    TfrmMainFixture F;
    QTemporaryDir FSource;
    QTemporaryDir FScratch;
    std::unique_ptr<QTemporaryDir> FMedia;
    TAnswer FDlgAnswer = QMessageBox::No;
    QList<TAsked> FAsked;
    // What happens while the question is open, before it is answered.
    std::function<void()> FWhileAsked;

    TScreenshotListView* List() const { return F.Control<TScreenshotListView>("ListViewScreenshots"); }
    TScreenshotListModel* Model() const { return List()->Model(); }
    TImageViewer* Viewer() const { return F.Control<TImageViewer>("ImageViewerScreenshot"); }
    int ActiveTab() const { return F.Header()->currentIndex(); }
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

    // The picture the engine shows, read through a snapshot of its own into a
    // scratch folder; null while it shows none.
    QImage ShownFrame()
    {
        const QString file = FScratch.filePath(QStringLiteral("shown.png"));
        QFile::remove(file);
        F.Player()->Snapshot(file);
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
        F.ChooseAndRest(MediaPath(sName));
        if (QTest::currentTestFailed())
            return;
        WaitFrameShown();
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

    // S, and the wait until its screenshot is written or given up.
    void PressS()
    {
        QTest::keyClick(F.Window.get(), Qt::Key_S);
        QVERIFY(TestLoop::waitFor([&] { return F.Access().ScreenshotsPending() == 0; }, 10000));
    }

    // A click on a row, and the wait until the viewer has the row's picture.
    void ClickRow(int ARow)
    {
        const QRect rect = List()->visualRect(Model()->index(ARow));
        QVERIFY(rect.isValid());
        QTest::mouseClick(List()->viewport(), Qt::LeftButton, {}, rect.center());
        QVERIFY(TestLoop::waitFor([&] { return !F.Access().ViewerLoading(); }, 60000));
    }

    void ClickDelete() { QTest::mouseClick(F.Control<TStyleButton>("ButtonDeleteScreenshot"), Qt::LeftButton); }

    // Waits until every thumbnail of the list has been decoded and handed to its row.
    void WaitThumbnails()
    {
        QVERIFY(TestLoop::waitFor([&] { return F.Access().Thumbnails()->PendingCount() == 0; }, 10000));
    }

    QRgb ViewerColor() const { return Viewer()->Picture().pixel(0, 0); }

    // What the X server shows of ARect in AWidget's coordinates.
    static QImage ScreenPixels(QWidget* AWidget, const QRect& ARect)
    {
        const QPoint at = AWidget->mapToGlobal(ARect.topLeft());
        return AWidget->screen()
            ->grabWindow(0, at.x(), at.y(), ARect.width(), ARect.height())
            .toImage()
            .convertToFormat(QImage::Format_RGB32);
    }

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

    // The hidden files a screenshot is written into before it is published.
    QStringList UnpublishedFiles() const
    {
        return QDir(FMedia->path()).entryList({QStringLiteral(".*.part")}, QDir::Files | QDir::Hidden);
    }

private slots:
    void initTestCase()
    {
        F.Start();
        OrvDlg::DlgSetPresenter(
            [this](const QString& sMsg, QMessageBox::Icon ADlgType, QMessageBox::StandardButtons AButtons) {
                FAsked << TAsked {sMsg, ADlgType, AButtons};
                if (FWhileAsked)
                    FWhileAsked();
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
        F.Window.reset();
        OrvDlg::DlgSetPresenter({});
        F.Finish();
    }

    void init()
    {
        FMedia = std::make_unique<QTemporaryDir>();
        F.DialogAnswer.reset();
        FDlgAnswer = QMessageBox::No;
        FAsked.clear();
        FWhileAsked = {};
        AddVideo(QStringLiteral("run.avi"));
        F.FreshWindow();
    }

    void cleanup()
    {
        F.CloseWindow();
        FMedia.reset();
    }

    void startsEmpty()
    {
        QCOMPARE(Model()->Count(), 0);
        QCOMPARE(List()->Selected(), -1);
        QVERIFY(F.Access().FilenameLast().isEmpty());
    }

    void withoutAChosenFileSDoesNothing()
    {
        PressS();
        QTest::mouseClick(F.Control<TStyleButton>("ButtonScreenshot"), Qt::LeftButton);
        QVERIFY(PngFiles().isEmpty());
        QCOMPARE(Model()->Count(), 0);

        // A highlighted file that was never opened is not displayed either.
        F.Choose(MediaPath(QStringLiteral("run.avi")));
        TOrvTask_IdleWorker::Default().Clear();
        QCOMPARE(F.HighlightedFile(), QStringLiteral("run.avi"));
        QVERIFY(F.Access().FileName().isEmpty());
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
            QTest::keyClick(F.Access().ListBoxFiles(), Qt::Key_Down);
            QCOMPARE(F.HighlightedFile(), QStringLiteral("b.avi"));
        } else {
            const int clicks = how == QLatin1String("two clicks") ? 2 : 10;
            for (int i = 0; i < clicks; ++i)
                F.ClickFile(i % 2 ? QStringLiteral("b.avi") : QStringLiteral("a.avi"));
            F.WaitResting(MediaPath(QStringLiteral("a.avi")));
            QCOMPARE(F.HighlightedFile(), QStringLiteral("a.avi"));
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
        F.Access().Timeline_SetValue(4000);
        QTest::keyClick(F.Window.get(), Qt::Key_Right, Qt::ControlModifier);
        QCOMPARE(F.Player()->GetVideoPosInMs(), qint64(5000));
        WaitFrameShown(firstFrames);
        QCOMPARE(F.Player()->GetState(), vlcPlayer_Paused);
        QCOMPARE(F.Player()->GetVideoPosInMs(), qint64(5000));

        PressS();

        const QImage shot = QImage(MediaPath(QStringLiteral("run_0001.png"))).convertToFormat(QImage::Format_RGB32);
        const QImage expected = TestMedia::ffmpegFrameAt(MediaPath(QStringLiteral("run.avi")), 5000);
        QCOMPARE(shot.size(), expected.size());
        QString why;
        QVERIFY2(TestMedia::framesMatch(shot, expected, &why), qPrintable(why));
    }

    // Screenshots asked for quickly, with steps between them or not: the
    // numbers follow each other, each of the frame shown when its key was
    // pressed.
    void quickScreenshotsHoldTheFramesShown_data()
    {
        QTest::addColumn<QString>("keys"); // S: a screenshot; >: a step of a second forward
        QTest::newRow("three quick S") << "SSS";
        QTest::newRow("S right after a step") << ">S";
        QTest::newRow("S and steps by turns") << "S>S>S";
    }

    void quickScreenshotsHoldTheFramesShown()
    {
        QFETCH(QString, keys);
        ChooseAndRest(QStringLiteral("run.avi"));
        F.Access().Timeline_SetValue(1000);
        QTest::keyClick(F.Window.get(), Qt::Key_Right, Qt::ControlModifier);
        WaitFrameShown();

        qint64 time = 2000;
        QList<qint64> shown;
        for (const QChar key : keys) {
            if (key == u'S') {
                QTest::keyClick(F.Window.get(), Qt::Key_S);
                shown << time;
            } else {
                QTest::keyClick(F.Window.get(), Qt::Key_Right, Qt::ControlModifier);
                time += 1000;
            }
        }
        QVERIFY(TestLoop::waitFor([&] { return F.Access().ScreenshotsPending() == 0; }, 20000));

        QStringList expected;
        for (int number = 1; number <= shown.size(); ++number)
            expected << QStringLiteral("run_%1.png").arg(number, 4, 10, QLatin1Char('0'));
        QCOMPARE(PngFiles(), expected);
        for (int i = 0; i < shown.size(); ++i) {
            const QImage shot = QImage(MediaPath(expected[i])).convertToFormat(QImage::Format_RGB32);
            QString why;
            QVERIFY2(TestMedia::framesMatch(shot, TestMedia::ffmpegFrameAt(MediaPath("run.avi"), shown[i]), &why),
                     qPrintable(QStringLiteral("%1 at %2 ms: %3").arg(expected[i]).arg(shown[i]).arg(why)));
        }
        QCOMPARE(Rows().at(1), expected.last());
        QCOMPARE(List()->Selected(), 1);
    }

    // A screenshot still being written when the window closes or another
    // video is chosen is written all the same, of the video shown at S.
    void screenshotUnderWayIsKept_data()
    {
        QTest::addColumn<bool>("close");
        QTest::newRow("window closed") << true;
        QTest::newRow("another video chosen") << false;
    }

    void screenshotUnderWayIsKept()
    {
        QFETCH(bool, close);
        for (const QString& name : {QStringLiteral("a.avi"), QStringLiteral("b.avi")})
            QVERIFY(QFile::copy(FSource.filePath(name), MediaPath(name)));
        ChooseAndRest(QStringLiteral("a.avi"));

        QTest::keyClick(F.Window.get(), Qt::Key_S);
        if (close) {
            F.Window->close();
            F.Window.reset();
        } else {
            ChooseAndRest(QStringLiteral("b.avi"));
        }

        QCOMPARE(PngFiles(), QStringList {"a_0001.png"});
        const double red = RedShare(QImage(MediaPath(QStringLiteral("a_0001.png"))));
        QVERIFY2(red > 0.9, qPrintable(QString::number(red)));
    }

    // Two copies of the program saving screenshots of one video at the same
    // moment each get numbers of their own: no picture is lost.
    void twoCopiesOfTheProgramKeepEveryScreenshot()
    {
        constexpr int ShotsEach = 3;
        F.Window.reset();
        std::array<QProcess, 2> peers;
        for (QProcess& peer : peers) {
            peer.setProcessChannelMode(QProcess::ForwardedErrorChannel);
            peer.start(QCoreApplication::applicationDirPath() + QStringLiteral("/screenshot_peer"),
                       {MediaPath(QStringLiteral("run.avi")), QString::number(ShotsEach)});
        }
        for (QProcess& peer : peers)
            QVERIFY(TestLoop::waitFor([&] { return peer.canReadLine() || peer.state() == QProcess::NotRunning; }, 60000));
        for (QProcess& peer : peers)
            QCOMPARE(peer.readLine().trimmed(), QByteArray("ready"));
        for (QProcess& peer : peers)
            peer.write("go\n");
        for (QProcess& peer : peers) {
            QVERIFY(TestLoop::waitFor([&] { return peer.state() == QProcess::NotRunning; }, 60000));
            QCOMPARE(peer.exitCode(), 0);
        }

        QStringList expected;
        for (int number = 1; number <= 2 * ShotsEach; ++number)
            expected << QStringLiteral("run_%1.png").arg(number, 4, 10, QLatin1Char('0'));
        QCOMPARE(PngFiles(), expected);
        for (const QString& name : expected)
            QCOMPARE(QImage(MediaPath(name)).size(), QSize(320, 180));
    }

    // S right after a file has been opened saves its picture: the engine
    // may not have drawn one yet, and S waits for it.
    void screenshotRightAfterOpening()
    {
        for (int opening = 1; opening <= 4; ++opening) {
            F.FreshWindow();
            F.ChooseAndRest(MediaPath(QStringLiteral("run.avi")));
            PressS();
            const QString shot = MediaPath(QStringLiteral("run_%1.png").arg(opening, 4, 10, QLatin1Char('0')));
            QVERIFY2(!QImage(shot).isNull(),
                     qPrintable(QStringLiteral("opening %1: %2").arg(opening).arg(F.Access().StatusMessage())));
        }
    }

    // When no screenshot can be saved, the status bar says why, and no file
    // is left behind.
    void failedScreenshotSaysWhy_data()
    {
        QTest::addColumn<QString>("cause");
        QTest::addColumn<QString>("told");
        QTest::newRow("every number taken") << "numbers" << "every number up to 9999 is taken";
        QTest::newRow("folder gone") << "gone" << "No such file or directory";
        QTest::newRow("file too big for the file system") << "size" << "could not be written to run_0001.png";
        QTest::newRow("folder not writable") << "readonly" << "Permission denied";
    }

    void failedScreenshotSaysWhy()
    {
        QFETCH(QString, cause);
        QFETCH(QString, told);
        if (cause == QLatin1String("numbers"))
            WriteShot(QStringLiteral("run_9999.png"), Qt::red);
        ChooseAndRest(QStringLiteral("run.avi"));
        const QStringList before = PngFiles();
        if (cause == QLatin1String("gone")) {
            QVERIFY(FMedia->remove());
        } else if (cause == QLatin1String("readonly")) {
            if (geteuid() == 0)
                QSKIP("the super-user writes into a read-only folder all the same");
            QVERIFY(QFile::setPermissions(FMedia->path(), QFile::ReadOwner | QFile::ExeOwner));
        }
        // Files of more than a few bytes cannot be written: the engine's picture breaks off.
        rlimit limit {};
        QVERIFY(getrlimit(RLIMIT_FSIZE, &limit) == 0);
        const rlimit unlimited = limit;
        const auto restore = qScopeGuard([&] {
            setrlimit(RLIMIT_FSIZE, &unlimited);
            QFile::setPermissions(FMedia->path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        });
        if (cause == QLatin1String("size")) {
            signal(SIGXFSZ, SIG_IGN);
            limit.rlim_cur = 64;
            QVERIFY(setrlimit(RLIMIT_FSIZE, &limit) == 0);
        }

        PressS();

        QVERIFY2(F.Access().StatusMessage().startsWith(QStringLiteral("No screenshot saved: ")),
                 qPrintable(F.Access().StatusMessage()));
        QVERIFY2(F.Access().StatusMessage().contains(told), qPrintable(F.Access().StatusMessage()));
        if (cause != QLatin1String("gone"))
            QCOMPARE(PngFiles(), before);
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
        F.Access().Screenshots_UpdateFromFile(F.Access().FilenameLast());
        QCOMPARE(Model()->Row(2).Image.pixel(2, 2), QColor(Qt::red).rgb());
        QCOMPARE(F.Access().Thumbnails()->PendingCount(), 1);
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

    // Every way a PNG file can store its pixels: the thumbnail on screen shows
    // the stripes of the picture in their colours, drawn over the list, and
    // the viewer shows the picture as Qt decodes it.
    void thumbnailsShowEveryColourType_data()
    {
        QTest::addColumn<QList<QColor>>("stripes");
        QTest::addColumn<TestPng::Format>("format");

        const QColor orange(255, 165, 0);
        const QColor blue(0, 0, 255);
        const QList<QColor> colours {orange, blue, QColor(32, 192, 64), Qt::white};
        // Grey levels a 2-bit sample holds exactly.
        const QList<QColor> greys {Qt::black, QColor(85, 85, 85), QColor(170, 170, 170), Qt::white};
        const QList<QColor> clear {QColor(255, 165, 0, 255), QColor(0, 0, 255, 128), QColor(32, 192, 64, 64),
                                   QColor(255, 255, 255, 0)};
        const QList<QColor> greysClear {QColor(255, 255, 255, 255), QColor(0, 0, 0, 128), QColor(170, 170, 170, 64),
                                        QColor(85, 85, 85, 0)};

        QTest::newRow("palette, 1 bit") << QList<QColor> {orange, blue} << TestPng::Format {3, 1, false};
        QTest::newRow("palette, 2 bits") << colours << TestPng::Format {3, 2, false};
        QTest::newRow("palette, 4 bits") << colours << TestPng::Format {3, 4, false};
        QTest::newRow("palette, 8 bits") << colours << TestPng::Format {3, 8, false};
        QTest::newRow("palette with transparency") << clear << TestPng::Format {3, 8, false};
        QTest::newRow("grey, 1 bit") << QList<QColor> {Qt::black, Qt::white} << TestPng::Format {0, 1, false};
        QTest::newRow("grey, 2 bits") << greys << TestPng::Format {0, 2, false};
        QTest::newRow("grey, 8 bits") << greys << TestPng::Format {0, 8, false};
        QTest::newRow("grey, 16 bits") << greys << TestPng::Format {0, 16, false};
        QTest::newRow("grey and alpha") << greysClear << TestPng::Format {4, 8, false};
        QTest::newRow("grey and alpha, 16 bits") << greysClear << TestPng::Format {4, 16, false};
        QTest::newRow("RGB, 8 bits") << colours << TestPng::Format {2, 8, false};
        QTest::newRow("RGB, 16 bits") << colours << TestPng::Format {2, 16, false};
        QTest::newRow("RGBA, 8 bits") << clear << TestPng::Format {6, 8, false};
        QTest::newRow("RGBA, 16 bits") << clear << TestPng::Format {6, 16, false};
        QTest::newRow("RGB, interlaced") << colours << TestPng::Format {2, 8, true};
        QTest::newRow("palette, 1 bit, interlaced") << QList<QColor> {orange, blue} << TestPng::Format {3, 1, true};
        QTest::newRow("grey and alpha, interlaced") << greysClear << TestPng::Format {4, 8, true};
    }

    void thumbnailsShowEveryColourType()
    {
        QFETCH(QList<QColor>, stripes);
        QFETCH(TestPng::Format, format);
        // The box's shape, three times its size: the thumbnail fills the box.
        const QSize size(3 * TScreenshotListDelegate::ImageWidth, 3 * TScreenshotListDelegate::ImageHeight);
        const QString shot = MediaPath(QStringLiteral("run_0001.png"));
        QVERIFY(TestPng::writeStripes(shot, size, stripes, format));
        // The full picture as Qt decodes it, and the colour of each stripe there.
        const QImage full = QImage(shot).convertToFormat(QImage::Format_ARGB32);
        QCOMPARE(full.size(), size);
        const int count = int(stripes.size());
        QList<QColor> stored;
        for (int i = 0; i < count; ++i)
            stored << full.pixelColor((2 * i + 1) * size.width() / (2 * count), size.height() / 2);

        ChooseAndRest(QStringLiteral("run.avi"));
        WaitThumbnails();
        QCOMPARE(Rows(), WithHeader({"run_0001.png"}));
        const QRect row = List()->visualRect(Model()->index(1));
        const QRect box = TScreenshotListDelegate::ImageBox(row);
        QCOMPARE(Model()->Row(1).Image.size(), box.size() * List()->devicePixelRatioF());

        // The middle half of each stripe, on screen.
        QString fault;
        const auto thumbnailFault = [&] {
            const QImage shown =
                ScreenPixels(List()->viewport(), QRect(box.left(), row.top(), box.width(), box.bottom() - row.top() + 1));
            // The list behind the box, above the image.
            const QColor behind = shown.pixelColor(box.width() / 2, 1);
            fault.clear();
            for (int i = 0; i < count; ++i) {
                const int left = i * box.width() / count;
                const int width = box.width() / count;
                const QRect middle(left + width / 4, box.top() - row.top() + box.height() / 4, width / 2,
                                   box.height() / 2);
                const QColor seen = MeanColour(shown, middle);
                const QColor expected = Over(stored[i], behind);
                if (!Near(seen, expected, 3))
                    fault += QStringLiteral("stripe %1 shows %2, not %3; ").arg(i).arg(seen.name(), expected.name());
            }
            return fault.isEmpty();
        };
        QVERIFY2(TestLoop::waitFor(thumbnailFault, 5000), qPrintable(fault));

        ClickRow(1);
        QCOMPARE(Viewer()->Picture().convertToFormat(QImage::Format_ARGB32_Premultiplied),
                 full.convertToFormat(QImage::Format_ARGB32_Premultiplied));
    }

    // A valid picture of 20000 x 20000 pixels, listed and shown: the memory
    // the process takes meanwhile stays well under what the full picture
    // needs (1.5 GiB as 32-bit pixels), the window keeps answering, and the
    // list and the viewer show the picture.
    void largePictureListedAndShownWithinBoundedMemory_data()
    {
        QTest::addColumn<QColor>("colour");
        QTest::addColumn<TestPng::Format>("format");
        // Orange in a palette of one colour: a file of about 389 KB.
        QTest::newRow("palette, 8 bits") << QColor(255, 165, 0) << TestPng::Format {3, 8, false};
        QTest::newRow("RGB, 8 bits") << QColor(255, 165, 0) << TestPng::Format {2, 8, false};
        QTest::newRow("grey and alpha, 16 bits, interlaced") << QColor(160, 160, 160) << TestPng::Format {4, 16, true};
    }

    void largePictureListedAndShownWithinBoundedMemory()
    {
        QFETCH(QColor, colour);
        QFETCH(TestPng::Format, format);
        constexpr qint64 BoundKiB = 256 * 1024;
        ChooseAndRest(QStringLiteral("run.avi"));
        QCOMPARE(Rows(), WithHeader({}));
        QVERIFY(TestPng::writeStripes(MediaPath(QStringLiteral("run_0001.png")), QSize(20000, 20000), {colour}, format));

        // A timer that notes the longest wait between its turns.
        QElapsedTimer clock;
        qint64 lastTurn = 0;
        qint64 longestWait = 0;
        int turns = 0;
        QTimer beat;
        beat.setInterval(20);
        connect(&beat, &QTimer::timeout, this, [&] {
            longestWait = std::max(longestWait, clock.elapsed() - lastTurn);
            lastTurn = clock.elapsed();
            ++turns;
        });

        const qint64 before = StatusKiB("VmRSS");
        QVERIFY2(ResetResidentPeak(), "the peak resident memory cannot be started afresh");
        clock.start();
        beat.start();

        // Switching to the Screenshot view lists the screenshots again.
        F.ClickTab(1);
        QVERIFY(TestLoop::waitFor([&] { return Model()->Count() == 2 && !Model()->Row(1).Image.isNull(); }, 120000));
        const qint64 listedKiB = StatusKiB("VmHWM") - before;
        const qint64 listingWait = longestWait;
        const QImage thumbnail = Model()->Row(1).Image;
        QCOMPARE(thumbnail.size(), QSize(50, 50) * List()->devicePixelRatioF());
        QVERIFY2(Near(thumbnail.pixelColor(25, 25), colour, 1), qPrintable(thumbnail.pixelColor(25, 25).name()));

        // The peak while the picture is shown, still from the memory before the listing.
        QVERIFY(ResetResidentPeak());
        longestWait = 0;
        ClickRow(1);
        const qint64 shownKiB = StatusKiB("VmHWM") - before;
        const qint64 showingWait = longestWait;
        const QString figures = QStringLiteral("resident memory grew by up to %1 MiB while listing, %2 MiB while "
                                               "showing; longest wait of the event loop while listing %3 ms, while "
                                               "showing %4 ms")
                                    .arg(listedKiB / 1024)
                                    .arg(shownKiB / 1024)
                                    .arg(listingWait)
                                    .arg(showingWait);
        QVERIFY2(listedKiB < BoundKiB && shownKiB < BoundKiB, qPrintable(figures));
        // The thumbnail and the viewer's picture are decoded off the GUI
        // thread, which takes seconds; a wait of seconds would be a window
        // that no longer answers.
        QVERIFY2(listingWait < 5000 && showingWait < 1500, qPrintable(figures));

        const QImage picture = Viewer()->Picture();
        QVERIFY(!picture.isNull());
        QVERIFY2(qint64(picture.width()) * picture.height() <= Viewer()->UsefulPixels(),
                 qPrintable(QStringLiteral("%1x%2").arg(picture.width()).arg(picture.height())));
        QVERIFY(qAbs(picture.width() - picture.height()) <= 1);
        // On screen, in the middle of the viewer.
        const QRect middle(Viewer()->viewport()->rect().center() - QPoint(20, 20), QSize(40, 40));
        QColor seen;
        const bool shown = TestLoop::waitFor(
            [&] {
                seen = MeanColour(ScreenPixels(Viewer()->viewport(), middle), QRect(QPoint(), middle.size()));
                return Near(seen, colour, 2);
            },
            5000);
        QVERIFY2(shown, qPrintable(seen.name()));
        // And it still answers once the picture is shown.
        const int turnsShown = turns;
        QVERIFY(TestLoop::waitFor([&] { return turns > turnsShown + 5; }, 10000));
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
            QTest::mouseClick(F.Control<TStyleButton>("bPlay"), Qt::LeftButton);
            QVERIFY(TestLoop::waitFor([&] { return F.Player()->IsPlay(); }, 10000));
        }

        ClickRow(2);

        QCOMPARE(ActiveTab(), tab);
        QCOMPARE(List()->Selected(), 2);
        // The full picture, whatever the thumbnail's size.
        QCOMPARE(Viewer()->Picture().size(), QSize(1920, 1080));
        QCOMPARE(ViewerColor(), ShotColor(1).rgb());
        QCOMPARE(F.Player()->IsPlay(), playing);
        // Fitted to the viewer as it shows, also when it was not on screen at the click.
        F.ClickTab(1);
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
        F.Window->resize(F.Window->size() + QSize(150, 40));
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

        // Clicking the row shown once more leaves the view as the user made
        // it, also once the list has been made anew since.
        F.Access().Screenshots_UpdateFromFile(F.Access().FilenameLast());
        ClickRow(2);
        QCOMPARE(Viewer()->BitmapScale(), zoomed);
        QCOMPARE(Viewer()->horizontalScrollBar()->value(), panned);

        // Once zoomed, a change of size keeps the zoom.
        F.Window->resize(F.Window->size() - QSize(100, 0));
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

    // The whole picture replacing the thumbnail that stood in for it keeps
    // what the user sees: fitted stays fitted, a zoomed part stays in view.
    void wholePictureKeepsTheView()
    {
        TImageViewer viewer;
        viewer.resize(400, 300);
        viewer.show();
        QVERIFY(QTest::qWaitForWindowExposed(&viewer));
        QImage thumbnail(192, 108, QImage::Format_RGB32);
        thumbnail.fill(Qt::darkCyan);
        QImage whole(1920, 1080, QImage::Format_RGB32);
        whole.fill(Qt::darkCyan);
        const QPoint centre = viewer.viewport()->rect().center();

        viewer.SetPicture(thumbnail);
        viewer.BestFit();
        viewer.SetSharperPicture(whole);
        const QSize box = viewer.viewport()->size();
        QCOMPARE(viewer.BitmapScale(), std::min(box.width() / 1920.0, box.height() / 1080.0));

        viewer.SetPicture(thumbnail);
        viewer.BestFit();
        viewer.SetBitmapScale(4.0, centre + QPoint(60, 20));
        const QPointF seen = viewer.mapToScene(centre);
        viewer.SetSharperPicture(whole);
        QCOMPARE(viewer.BitmapScale(), 0.4);
        // One pixel of the view is two and a half of the whole picture.
        const QPointF seenNow = viewer.mapToScene(centre);
        QVERIFY2((seenNow - seen * 10).manhattanLength() <= 6,
                 qPrintable(QStringLiteral("%1,%2 -> %3,%4").arg(seen.x() * 10).arg(seen.y() * 10).arg(seenNow.x()).arg(seenNow.y())));
        // And it stays zoomed when the view changes size.
        const int widthBefore = viewer.viewport()->width();
        viewer.resize(500, 300);
        QTRY_VERIFY(viewer.viewport()->width() > widthBefore);
        QCOMPARE(viewer.BitmapScale(), 0.4);
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
        QVERIFY(TestLoop::waitFor([&] { return !F.Access().ViewerLoading(); }, 30000));

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
            QVERIFY(F.AllWhite(Viewer()->Picture()));
            QCOMPARE(List()->Selected(), -1);
        } else {
            QCOMPARE(ViewerColor(), ShotColor(shownAfter).rgb());
            QCOMPARE(Model()->Row(List()->Selected()).Detail, QStringLiteral("run_%1.png").arg(shownAfter, 4, 10, QLatin1Char('0')));
        }
    }

    // What happens while the delete question is open does not change what
    // is deleted: the file chosen when the bin was pressed. A screenshot
    // written meanwhile rebuilds the list and leaves that row highlighted.
    void deleteActsOnTheFileChosen_data()
    {
        QTest::addColumn<bool>("otherVideo");
        QTest::newRow("a screenshot written meanwhile") << false;
        QTest::newRow("a screenshot, then another video opened") << true;
    }

    void deleteActsOnTheFileChosen()
    {
        QFETCH(bool, otherVideo);
        for (int number = 1; number <= 3; ++number)
            WriteShot(QStringLiteral("run_%1.png").arg(number, 4, 10, QLatin1Char('0')), ShotColor(number));
        AddVideo(QStringLiteral("walk.avi"));
        WriteShot(QStringLiteral("walk_0001.png"), Qt::red);
        ChooseAndRest(QStringLiteral("run.avi"));
        ClickRow(3);
        const QString chosen = MediaPath(QStringLiteral("run_0001.png"));
        QCOMPARE(Model()->FilePath(3), chosen);
        FDlgAnswer = QMessageBox::Yes;
        FWhileAsked = [&] {
            QTest::keyClick(F.Window.get(), Qt::Key_S);
            if (otherVideo)
                F.ClickFile(QStringLiteral("walk.avi"));
            QVERIFY(TestLoop::waitFor(
                [&] {
                    return F.Access().ScreenshotsPending() == 0
                        && (!otherVideo || F.Access().FileName() == MediaPath(QStringLiteral("walk.avi")));
                },
                15000));
            if (!otherVideo) {
                QCOMPARE(Rows(), WithHeader({"run_0004.png", "run_0003.png", "run_0002.png", "run_0001.png"}));
                QCOMPARE(Model()->FilePath(List()->Selected()), chosen);
            }
        };

        ClickDelete();

        QCOMPARE(FAsked.size(), 1);
        QCOMPARE(PngFiles(), (QStringList {"run_0002.png", "run_0003.png", "run_0004.png", "walk_0001.png"}));
        if (otherVideo)
            QCOMPARE(Rows(), WithHeader({"walk_0001.png"}));
        else
            QCOMPARE(Rows(), WithHeader({"run_0004.png", "run_0003.png", "run_0002.png"}));
    }

    // What waits behind a screenshot that cannot be written says so, and
    // goes on after a stated while without it; it is never published later.
    void waitBehindAScreenshotIsBounded()
    {
        ChooseAndRest(QStringLiteral("run.avi"));
        TBusyScreenshotThread busy(F.Access().ScreenshotThread());
        QTest::keyClick(F.Window.get(), Qt::Key_S);
        F.PressKey(Qt::Key_P);
        QCOMPARE(F.Access().StatusMessage(), QStringLiteral("Saving the screenshot…"));
        QVERIFY(F.Control("LabelStatusMessage")->isVisible());
        QCOMPARE(F.Player()->GetState(), vlcPlayer_Paused);

        QElapsedTimer waited;
        waited.start();
        QVERIFY(TestLoop::waitFor([&] { return F.Player()->IsPlay(); }, 30000));
        QVERIFY2(waited.elapsed() >= 4500, qPrintable(QString::number(waited.elapsed())));
        QCOMPARE(F.Access().StatusMessage(), QStringLiteral("No screenshot saved: it took longer than 5 s"));
        QCOMPARE(F.PlayLook(), QStringLiteral("stoptoolbutton"));

        busy.Release();
        QVERIFY(F.Access().ScreenshotThread()->waitForDone(30000));
        TestLoop::run(100);
        QCOMPARE(PngFiles(), QStringList());
        QCOMPARE(UnpublishedFiles(), QStringList());
        QCOMPARE(Rows(), WithHeader({}));
    }

    // Closing while a screenshot cannot be written waits a short while
    // only, and what waited behind it never runs.
    void closingRunsNothingThatWaited()
    {
        ChooseAndRest(QStringLiteral("run.avi"));
        TBusyScreenshotThread busy(F.Access().ScreenshotThread());
        QTest::keyClick(F.Window.get(), Qt::Key_S);
        F.PressKey(Qt::Key_P);
        QElapsedTimer closing;
        closing.start();
        F.Window->close();
        QVERIFY2(closing.elapsed() < 15000, qPrintable(QString::number(closing.elapsed())));
        TestLoop::run(500);
        QVERIFY(!F.Player()->IsPlay());

        busy.Release();
        QVERIFY(F.Access().ScreenshotThread()->waitForDone(30000));
        TestLoop::run(100);
        QVERIFY(!F.Player()->IsPlay());
        QCOMPARE(PngFiles(), QStringList());
        QCOMPARE(UnpublishedFiles(), QStringList());
    }

    // A copy of the program killed while it saves screenshots leaves no
    // numbered file that is not a whole picture: a screenshot appears under
    // its name only once it is whole.
    void killedWhileSavingLeavesOnlyWholeScreenshots()
    {
        F.Window.reset();
        TestMedia::VideoFormat hd;
        hd.durationMs = 2000;
        hd.size = QSize(1920, 1080);
        const QString video = MediaPath(QStringLiteral("hd.avi"));
        QVERIFY(TestMedia::makeVideo(video, hd));
        qsizetype saved = 0;
        for (const int killAfterMs : {300, 700, 1500}) {
            QProcess peer;
            peer.setProcessChannelMode(QProcess::ForwardedErrorChannel);
            peer.start(QCoreApplication::applicationDirPath() + QStringLiteral("/screenshot_peer"), {video, "40"});
            QVERIFY(TestLoop::waitFor([&] { return peer.canReadLine() || peer.state() == QProcess::NotRunning; },
                                      60000));
            QCOMPARE(peer.readLine().trimmed(), QByteArray("ready"));
            peer.write("go\n");
            TestLoop::run(killAfterMs);
            peer.kill();
            QVERIFY(peer.waitForFinished(30000));
            const QStringList files = PngFiles();
            for (const QString& name : files) {
                QVERIFY2(name.startsWith(QLatin1String("hd_")), qPrintable(name));
                const QImage shot(MediaPath(name));
                QVERIFY2(shot.size() == hd.size, qPrintable(QStringLiteral("%1 is not a whole picture (%2 bytes)")
                                                                .arg(name)
                                                                .arg(QFileInfo(MediaPath(name)).size())));
            }
            saved = files.size();
        }
        // The kills came while screenshots were being saved.
        QVERIFY(saved > 0);
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
        F.ClickTab(0);
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

        QCOMPARE(F.Access().FilenameLast(), MediaPath(QStringLiteral("walk.avi")));
        QCOMPARE(Rows().at(1), QStringLiteral("walk_0005.png"));
        QCOMPARE(List()->Selected(), -1);
    }
};

QTEST_MAIN(tst_TfrmMain_Screenshots)
#include "tst_TfrmMain_Screenshots.moc"
