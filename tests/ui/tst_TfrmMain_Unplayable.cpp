#include "TestScreen.h"
#include "TfrmMainFixture.h"

#include <QFile>
#include <QScopeGuard>
#include <QSlider>

#include <memory>

#include <fcntl.h>
#include <linux/capability.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace {

// Root opens files whatever their mode. While this lives, the calling thread
// has no such override, and neither have the threads it starts (the engine
// reads a file on a thread that its play call starts): a file of mode 000
// stays closed to them as to any other user.
class TNoFileAccessOverride
{
public:
    TNoFileAccessOverride()
    {
        if (syscall(SYS_capget, &FHeader, FSaved) != 0)
            return;
        __user_cap_data_struct reduced[2] = {FSaved[0], FSaved[1]};
        reduced[0].effective &= ~(CAP_TO_MASK(CAP_DAC_OVERRIDE) | CAP_TO_MASK(CAP_DAC_READ_SEARCH));
        FDropped = syscall(SYS_capset, &FHeader, reduced) == 0;
    }
    ~TNoFileAccessOverride()
    {
        if (FDropped)
            syscall(SYS_capset, &FHeader, FSaved);
    }
    TNoFileAccessOverride(const TNoFileAccessOverride&) = delete;
    TNoFileAccessOverride& operator=(const TNoFileAccessOverride&) = delete;

private:
    __user_cap_header_struct FHeader {_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct FSaved[2] {};
    bool FDropped = false;
};

} // namespace

// A chosen video that the engine cannot play, whatever the reason, ends the
// wait: the tabs are free again, the status bar says so, and the next video
// opens as usual.
class tst_TfrmMain_Unplayable : public QObject
{
    Q_OBJECT

private:
    // The window gives a video this long to report playing.
    static constexpr int PlayingWaitMs = 10000;

    TfrmMainFixture F;
    QTemporaryDir FMedia;
    std::unique_ptr<QTemporaryDir> FFolder;

    enum TCause { ZeroBytes, Unreadable, DeletedAfterListing, NeverAnswered };

    QString Path(const QString& sName) const { return FFolder->filePath(sName); }

    // A click where a person would click: on whatever lies over the tab.
    void ClickOverTab(int AIndex)
    {
        THeaderTabBar* header = F.Header();
        QTest::mouseClick(F.Window->windowHandle(), Qt::LeftButton, {},
                          header->mapTo(F.Window.get(), header->tabRect(AIndex).center()));
    }

    // The share of AImage's pixels that are not near black.
    static double LitShare(const QImage& AImage)
    {
        qint64 lit = 0;
        for (int y = 0; y < AImage.height(); ++y) {
            const auto* line = reinterpret_cast<const QRgb*>(AImage.constScanLine(y));
            for (int x = 0; x < AImage.width(); ++x)
                lit += std::max({qRed(line[x]), qGreen(line[x]), qBlue(line[x])}) > 60;
        }
        return AImage.isNull() ? 0 : double(lit) / (double(AImage.width()) * AImage.height());
    }

    // The screen over AWidget shows what the window draws there.
    static bool ShownAsDrawn(QWidget* AWidget)
    {
        QWidget* window = AWidget->window();
        const QImage drawn = window->grab(QRect(AWidget->mapTo(window, QPoint(0, 0)), AWidget->size()))
                                 .toImage()
                                 .convertToFormat(QImage::Format_RGB32);
        const QImage screen = TestScreen::grab(AWidget);
        return screen.size() == drawn.size() && TestMedia::meanAbsDiff(screen, drawn) < 1;
    }

    // True when AImage holds more than one colour: something is written there.
    static bool HasInk(const QImage& AImage)
    {
        for (int y = 0; y < AImage.height(); ++y)
            for (int x = 0; x < AImage.width(); ++x)
                if (AImage.pixel(x, y) != AImage.pixel(0, 0))
                    return true;
        return false;
    }

private slots:
    void initTestCase()
    {
        F.Start();
        TestMedia::VideoFormat format;
        format.durationMs = 10000;
        format.size = QSize(320, 180);
        format.fps = 5;
        QVERIFY(TestMedia::makeVideo(FMedia.filePath(QStringLiteral("run.avi")), format));
    }

    void cleanupTestCase() { F.Finish(); }

    void cleanup() { FFolder.reset(); }

    void endsCleanlyAndTheNextVideoOpens_data()
    {
        QTest::addColumn<int>("cause");
        QTest::newRow("zero bytes") << int(ZeroBytes);
        QTest::newRow("unreadable") << int(Unreadable);
        QTest::newRow("deleted after it was listed") << int(DeletedAfterListing);
        // A pipe that the test holds open and never writes to: the engine
        // waits for its first bytes and reports nothing.
        QTest::newRow("engine never answers") << int(NeverAnswered);
    }

    void endsCleanlyAndTheNextVideoOpens()
    {
        QFETCH(int, cause);
        FFolder = std::make_unique<QTemporaryDir>();
        const QString bad = Path(QStringLiteral("x.avi"));
        const QString good = Path(QStringLiteral("run.avi"));
        QVERIFY(QFile::copy(FMedia.filePath(QStringLiteral("run.avi")), good));
        if (cause == ZeroBytes) {
            QFile empty(bad);
            QVERIFY(empty.open(QIODevice::WriteOnly));
        } else {
            QVERIFY(QFile::copy(good, bad));
        }

        F.FreshWindow();
        // Lists the folder without opening a video.
        F.Choose(Path(QStringLiteral("photo.jpg")));
        QCOMPARE(F.Access().FileListTexts(), (QStringList {"run.avi", "x.avi"}));

        std::unique_ptr<TNoFileAccessOverride> noOverride;
        int pipeWriter = -1;
        const auto closePipe = qScopeGuard([&] {
            if (pipeWriter >= 0)
                ::close(pipeWriter);
        });
        switch (cause) {
        case Unreadable:
            QCOMPARE(::chmod(QFile::encodeName(bad).constData(), 0), 0);
            noOverride = std::make_unique<TNoFileAccessOverride>();
            QVERIFY2(!QFile(bad).open(QIODevice::ReadOnly), "x.avi can still be read");
            break;
        case DeletedAfterListing:
            QVERIFY(QFile::remove(bad));
            break;
        case NeverAnswered:
            QVERIFY(QFile::remove(bad));
            QCOMPARE(::mkfifo(QFile::encodeName(bad).constData(), 0600), 0);
            pipeWriter = ::open(QFile::encodeName(bad).constData(), O_RDWR);
            QVERIFY(pipeWriter >= 0);
            break;
        default:
            break;
        }

        F.ClickFile(QStringLiteral("x.avi"));
        QVERIFY(F.CoverShown());
        // A report of the engine ends the wait well before the window would
        // give up waiting for one.
        const int waitMs = cause == NeverAnswered ? 3 * PlayingWaitMs : PlayingWaitMs * 8 / 10;
        QVERIFY2(TestLoop::waitFor([&] { return !F.CoverShown(); }, waitMs), qPrintable(F.Player()->GetStateName()));
        QCOMPARE(F.Access().FileName(), bad);
        QVERIFY(!F.Access().StopImmediately());
        QVERIFY(!F.Control("AniIndicatorCover")->isEnabled());
        QCOMPARE(F.PlayLook(), QStringLiteral("playtoolbutton"));

        // The status bar says why, beside the time labels and the timeline,
        // and that is what the screen shows there.
        auto* message = F.Control<QLabel>("LabelStatusMessage");
        QCOMPARE(message->text(), QStringLiteral("x.avi cannot be played"));
        QVERIFY(message->isVisible());
        QCOMPARE(F.Text("LabelMediaTime"), QStringLiteral("0:00:00-0000"));
        QCOMPARE(F.Text("LabelMediaDuration"), QStringLiteral("-:--:-------"));
        for (const char* name : {"LabelMediaTime", "LabelMediaDuration", "tbProcess"})
            QVERIFY2(F.Control(name)->isVisible() && F.Control(name)->width() > 0, name);
        for (const char* name : {"LabelStatusMessage", "LabelMediaTime", "tbProcess", "LabelMediaDuration"})
            QVERIFY2(TestLoop::waitFor([&] { return ShownAsDrawn(F.Control(name)); }), name);
        QVERIFY(HasInk(TestScreen::grab(message)));

        // The tabs answer clicks again.
        THeaderTabBar* header = F.Header();
        ClickOverTab(1);
        QCOMPARE(header->currentIndex(), 1);
        ClickOverTab(0);
        QCOMPARE(header->currentIndex(), 0);

        // Playing it once more ends the same way.
        if (cause != NeverAnswered) {
            F.PressKey(Qt::Key_P);
            QCOMPARE(F.PlayLook(), QStringLiteral("stoptoolbutton"));
            QVERIFY(TestLoop::waitFor([&] { return F.PlayLook() == QStringLiteral("playtoolbutton"); }, waitMs));
            QCOMPARE(message->text(), QStringLiteral("x.avi cannot be played"));
            QCOMPARE(F.Text("LabelMediaTime"), QStringLiteral("0:00:00-0000"));
            QCOMPARE(F.Text("LabelMediaDuration"), QStringLiteral("-:--:-------"));
            QVERIFY(!F.CoverShown());
        }

        // The next video rests on its first frames, on screen, the message
        // gone, and S saves its picture.
        F.ChooseAndRest(good);
        QVERIFY(!message->isVisible());
        QCOMPARE(F.Text("LabelMediaDuration"), TfrmMainAccess::MediaTime_Text(10000));
        QWidget* panel = F.Control("PanelMedia");
        QVERIFY2(TestLoop::waitFor([&] { return LitShare(TestScreen::grab(panel)) > 0.3; }, 10000),
                 qPrintable(QString::number(LitShare(TestScreen::grab(panel)))));
        const QString shot = Path(QStringLiteral("run_0001.png"));
        F.PressKey(Qt::Key_S);
        QVERIFY(TestLoop::waitFor([&] { return !QImage(shot).isNull(); }, 10000));
    }

    // The wait for playing ends with the playing report: a video that
    // plays is never taken for one that cannot.
    void aVideoThatPlaysIsNotCutShort()
    {
        FFolder = std::make_unique<QTemporaryDir>();
        const QString good = Path(QStringLiteral("run.avi"));
        QVERIFY(QFile::copy(FMedia.filePath(QStringLiteral("run.avi")), good));
        F.FreshWindow();
        F.ChooseAndRest(good);
        const qint64 position = F.Player()->GetVideoPosInMs();

        TestLoop::run(PlayingWaitMs + 1000);
        QVERIFY(F.Resting());
        QCOMPARE(F.Player()->GetVideoPosInMs(), position);
        QVERIFY(!F.Control("LabelStatusMessage")->isVisible());
        QCOMPARE(F.Text("LabelMediaDuration"), TfrmMainAccess::MediaTime_Text(10000));

        F.PressKey(Qt::Key_P);
        F.WaitState(vlcPlayer_Playing);
        QVERIFY(TestLoop::waitFor([&] { return F.Player()->GetVideoPosInMs() > position + 500; }, 10000));
        QCOMPARE(F.PlayLook(), QStringLiteral("stoptoolbutton"));
    }
};

QTEST_MAIN(tst_TfrmMain_Unplayable)
#include "tst_TfrmMain_Unplayable.moc"
