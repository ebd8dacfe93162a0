#include "TestScreen.h"
#include "TfrmMainFixture.h"

#include <QFile>
#include <QScopeGuard>
#include <QSlider>

#include <atomic>
#include <chrono>
#include <memory>
#include <thread>

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
    // The window gives up on a video whose opening shows no progress this long.
    static constexpr int NoProgressWaitMs = 30000;

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
        const int waitMs = cause == NeverAnswered ? NoProgressWaitMs + 20000 : NoProgressWaitMs / 3;
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

        TestLoop::run(NoProgressWaitMs + 1000);
        QVERIFY(F.Resting());
        QCOMPARE(F.Player()->GetVideoPosInMs(), position);
        QVERIFY(!F.Control("LabelStatusMessage")->isVisible());
        QCOMPARE(F.Text("LabelMediaDuration"), TfrmMainAccess::MediaTime_Text(10000));

        F.PressKey(Qt::Key_P);
        F.WaitState(vlcPlayer_Playing);
        QVERIFY(TestLoop::waitFor([&] { return F.Player()->GetVideoPosInMs() > position + 500; }, 10000));
        QCOMPARE(F.PlayLook(), QStringLiteral("stoptoolbutton"));
    }

    // A video that arrives late, as from a disk that spins up or a network
    // share, is waited for while the engine opens it, and plays.
    void aVideoThatArrivesLateIsWaitedFor()
    {
        FFolder = std::make_unique<QTemporaryDir>();
        const QString good = Path(QStringLiteral("run.avi"));
        QVERIFY(QFile::copy(FMedia.filePath(QStringLiteral("run.avi")), good));
        const QString late = Path(QStringLiteral("late.avi"));
        QVERIFY(QFile::copy(good, late));
        F.FreshWindow();
        F.Choose(good);
        F.WaitResting(good);
        // Listed as a file, it is a pipe by the time it is opened.
        QVERIFY(QFile::remove(late));
        QCOMPARE(::mkfifo(QFile::encodeName(late).constData(), 0600), 0);

        // A stream that plays without seeking, as an AVI cannot, read from
        // the pipe as from a disk that answers only after a while.
        const QString stream = FMedia.filePath(QStringLiteral("run.ts"));
        TestMedia::VideoFormat format;
        format.durationMs = 10000;
        format.size = QSize(320, 180);
        format.fps = 5;
        format.codec = QStringLiteral("mpeg2video");
        QVERIFY(QFile::exists(stream) || TestMedia::makeVideo(stream, format));
        QFile source(stream);
        QVERIFY(source.open(QIODevice::ReadOnly));
        const QByteArray bytes = source.readAll();
        const int disk = ::open(QFile::encodeName(late).constData(), O_RDWR);
        QVERIFY(disk >= 0);

        F.ClickFile(QStringLiteral("late.avi"));
        QVERIFY(F.CoverShown());
        // Its first bytes come a third of the way into the window's limit,
        // and more than the engine takes to open a file at hand; then the
        // video comes at the pace it plays, as from a slow disk. The engine
        // opens the file a second time once it has read the first bytes, and
        // a pipe gives each byte to one reader only: what the first opening
        // takes while it lasts is lost to the second, which then gets the
        // rest. Once the video rests the engine reads no more and the rest is
        // not written.
        std::atomic<bool> done {false};
        QCOMPARE(::fcntl(disk, F_SETFL, O_NONBLOCK), 0);
        std::thread answer([&] {
            std::this_thread::sleep_for(std::chrono::milliseconds(12000));
            const qsizetype chunk = bytes.size() * 100 / format.durationMs + 1;
            for (qsizetype sent = 0; sent < bytes.size() && !done;) {
                const ssize_t written =
                    ::write(disk, bytes.constData() + sent, size_t(std::min(chunk, bytes.size() - sent)));
                if (written > 0)
                    sent += written;
                std::this_thread::sleep_for(std::chrono::milliseconds(written > 0 ? 100 : 10));
            }
        });
        const auto joined = qScopeGuard([&] {
            done = true;
            answer.join();
            ::close(disk);
        });
        // It plays: it rests at its start like any video, and nothing says
        // it cannot be played.
        QVERIFY2(TestLoop::waitFor([&] { return F.Resting() || F.Control("LabelStatusMessage")->isVisible(); },
                                   NoProgressWaitMs + 20000),
                 qPrintable(F.Player()->GetStateName()));
        QVERIFY2(F.Control("LabelStatusMessage")->isHidden(), qPrintable(F.Access().StatusMessage()));
        QVERIFY(F.Resting());
    }

    // Names in the status bar are plain text, shortened in their middle to
    // fit, whole in the tooltip; a long one never widens the window.
    void namesShowAsTheyAre_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("markup") << "a<b>c<i>d&amp;.avi";
        QTest::newRow("long") << QString(150, u'n').replace(70, 3, QStringLiteral("MID")) + QStringLiteral(".avi");
    }

    void namesShowAsTheyAre()
    {
        QFETCH(QString, name);
        FFolder = std::make_unique<QTemporaryDir>();
        const QString bad = Path(name);
        QVERIFY(QFile(bad).open(QIODevice::WriteOnly));
        F.FreshWindow();
        const int width = F.Window->width();
        F.Choose(bad);
        QVERIFY(TestLoop::waitFor([&] { return F.Control("LabelStatusMessage")->isVisible(); }, NoProgressWaitMs));

        auto* message = F.Control<QLabel>("LabelStatusMessage");
        const QString whole = name + QStringLiteral(" cannot be played");
        QCOMPARE(message->textFormat(), Qt::PlainText);
        QCOMPARE(F.Window->width(), width);
        QVERIFY(message->width() < F.Control("StatusBar1")->width());
        QVERIFY2(F.Control("tbProcess")->width() > 0, "the timeline keeps some room");
        if (message->fontMetrics().horizontalAdvance(whole) < F.Window->width() / 2) {
            QCOMPARE(message->text(), whole);
        } else {
            QVERIFY2(message->text().endsWith(QStringLiteral("… cannot be played").mid(1))
                         && message->text().contains(QChar(u'…')) && !message->text().contains(QLatin1String("MID")),
                     qPrintable(message->text()));
            QVERIFY(message->text().startsWith(name.left(8)));
            QCOMPARE(message->toolTip(), whole);
        }
        // On screen: the text drawn as text, not as markup.
        QVERIFY(TestLoop::waitFor([&] { return ShownAsDrawn(message); }));
        QVERIFY(HasInk(TestScreen::grab(message)));
    }
};

QTEST_MAIN(tst_TfrmMain_Unplayable)
#include "tst_TfrmMain_Unplayable.moc"
