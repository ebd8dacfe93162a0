#include "TestLoop.h"
#include "TestMedia.h"
#include "TfrmMainAccess.h"

#include "app/OrvStartup.h"
#include "engine/TVlcPlayer.h"
#include "engine/VlcLoader.h"
#include "services/TOrvTask_IdleWorker.h"
#include "ui/THeaderTabBar.h"
#include "ui/TOpenDialog.h"
#include "ui/TScreenshotListModel.h"
#include "ui/TScreenshotListView.h"

#include <QFile>
#include <QImage>
#include <QLabel>
#include <QListWidget>
#include <QScopeGuard>
#include <QSlider>
#include <QSplitter>
#include <QStackedWidget>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>
#include <optional>

// The Video and Screenshot views and the placement of the engine's native
// video window over PanelMedia, in the real window with the real engine.
class tst_TfrmMain_View : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir FHome;
    QTemporaryDir FMedia;
    std::unique_ptr<TfrmMain> FWindow;
    std::optional<QString> FAnswer;

    TfrmMainAccess Access() { return TfrmMainAccess {*FWindow}; }
    TVlcPlayer* Player() { return Access().Player(); }
    QWidget* Container() { return Player()->parentWidget(); }

    template <typename T = QWidget>
    T* Control(const char* AName) const
    {
        return FWindow->findChild<T*>(QLatin1String(AName));
    }

    THeaderTabBar* Header() const { return Control<THeaderTabBar>("TabControl1_Header"); }
    bool CoverShown() const { return Control("RectangleCover")->isVisible(); }

    // PanelMedia's place in the window, as the layout has it now.
    QRect PanelMediaRect() const
    {
        QWidget* panel = Control("PanelMedia");
        return QRect(panel->mapTo(FWindow.get(), QPoint(0, 0)), panel->size());
    }

    // The surface is shown and covers PanelMedia exactly.
    bool Covers()
    {
        const QRect panel = PanelMediaRect();
        return !Player()->isHidden() && Container()->parentWidget() == FWindow.get() && Container()->geometry() == panel
               && Player()->geometry() == QRect(QPoint(0, 0), panel.size())
               && Player()->PlayerWinCtrl()->geometry() == QRect(QPoint(0, 0), panel.size());
    }

    // The surface is hidden, shrunk to 1 x 1 at PanelMedia's top-left corner.
    bool HiddenAtCorner()
    {
        return Player()->isHidden() && Container()->geometry() == QRect(PanelMediaRect().topLeft(), QSize(1, 1));
    }

    QString Describe()
    {
        const auto text = [](const QRect& r) {
            return QStringLiteral("%1,%2 %3x%4").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height());
        };
        return QStringLiteral("panel %1, container %2, player %3 %4")
            .arg(text(PanelMediaRect()), text(Container()->geometry()), text(Player()->geometry()),
                 Player()->isHidden() ? QStringLiteral("hidden") : QStringLiteral("shown"));
    }

    void FreshWindow()
    {
        FWindow.reset();
        TOrvTask_IdleWorker::Default().Clear();
        FWindow = std::make_unique<TfrmMain>();
        FWindow->show();
        QVERIFY(QTest::qWaitForWindowExposed(FWindow.get()));
    }

    void Choose(const QString& sName)
    {
        FAnswer = FMedia.filePath(sName);
        Access().Button1Click();
    }

    void ChooseAndRest(const QString& sName)
    {
        Choose(sName);
        QVERIFY2(TestLoop::waitFor(
                     [&] {
                         return Access().FileName() == FMedia.filePath(sName)
                                && Player()->GetState() == vlcPlayer_Paused && !CoverShown();
                     },
                     10000),
                 qPrintable(Player()->GetStateName()));
    }

    void ClickTab(int AIndex) { QTest::mouseClick(Header(), Qt::LeftButton, {}, Header()->tabRect(AIndex).center()); }

    static void WritePng(const QString& sPath)
    {
        QImage image(64, 36, QImage::Format_RGB32);
        image.fill(Qt::darkCyan);
        QVERIFY(image.save(sPath));
    }

private slots:
    void initTestCase()
    {
        TestMedia::isolateHome(FHome.path());
        OrvStartup_ModuleInit();
        TOpenDialog::SetRunner([this](QWidget*, const QString&, const QString&) { return FAnswer; });
        TestMedia::VideoFormat format;
        format.durationMs = 4000;
        format.size = QSize(320, 180);
        format.fps = 5;
        QVERIFY(TestMedia::makeVideo(FMedia.filePath(QStringLiteral("clip.avi")), format));
        QFile photo(FMedia.filePath(QStringLiteral("photo.jpg")));
        QVERIFY(photo.open(QIODevice::WriteOnly));
    }

    void cleanupTestCase()
    {
        FWindow.reset();
        TOpenDialog::SetRunner({});
        OrvStartup_ModuleFinalize();
    }

    void init() { FreshWindow(); }

    void cleanup()
    {
        FWindow.reset();
        TOrvTask_IdleWorker::Default().Clear();
        QVERIFY(!LibVlcHandle());
    }

    void embeddedOverPanelMediaAtCreation()
    {
        QVERIFY(Container());
        QVERIFY(Container()->testAttribute(Qt::WA_NativeWindow));
        QVERIFY(Player()->PlayerWinCtrl()->internalWinId() != 0);
        QCOMPARE(Header()->currentIndex(), 0);
        QCOMPARE(Control<QStackedWidget>("TabControl2_Body")->currentWidget(), Control("TabItem1B_Video"));
        QVERIFY2(TestLoop::waitFor([&] { return Covers(); }), qPrintable(Describe()));
    }

    void followsWindowResizes_data()
    {
        QTest::addColumn<QSize>("size");
        QTest::newRow("wider and taller") << QSize(1000, 760);
        QTest::newRow("narrower") << QSize(600, 500);
    }

    void followsWindowResizes()
    {
        QFETCH(QSize, size);
        const QRect before = PanelMediaRect();
        FWindow->resize(size);
        QVERIFY(TestLoop::waitFor([&] { return PanelMediaRect() != before; }));
        QVERIFY2(Covers(), qPrintable(Describe()));
    }

    void screenshotViewHidesTheSurfaceAndTheTimeline()
    {
        ClickTab(1);
        QCOMPARE(Control<QStackedWidget>("TabControl2_Body")->currentWidget(), Control("TabItem2B_Screenshot"));
        QVERIFY2(HiddenAtCorner(), qPrintable(Describe()));
        QVERIFY(Control("LabelMediaTime")->isHidden());
        QVERIFY(Control("LabelMediaDuration")->isHidden());
        QVERIFY(Control("tbProcess")->isHidden());

        ClickTab(0);
        QCOMPARE(Control<QStackedWidget>("TabControl2_Body")->currentWidget(), Control("TabItem1B_Video"));
        QVERIFY2(Covers(), qPrintable(Describe()));
        QVERIFY(!Control("LabelMediaTime")->isHidden());
        QVERIFY(!Control("LabelMediaDuration")->isHidden());
        QVERIFY(!Control("tbProcess")->isHidden());
    }

    // The switch itself places the surface, on the layout of the new size.
    void resizeInScreenshotViewThenSwitchToVideo()
    {
        ClickTab(1);
        const QRect hidden = Container()->geometry();
        FWindow->resize(1000, 760);
        TestLoop::run(100);
        QCOMPARE(Container()->geometry(), hidden);
        QVERIFY(Player()->isHidden());

        ClickTab(0);
        QVERIFY2(Covers(), qPrintable(Describe()));
        QCOMPARE(Container()->width(), PanelMediaRect().width());
        QVERIFY(Container()->width() > hidden.width());
    }

    void followsTheSplitterOnEveryMoveAndRelease()
    {
        QVERIFY(TestLoop::waitFor([&] { return Covers(); }));
        auto* splitter = Control<QSplitter>("Splitter1");
        QWidget* handle = splitter->handle(1);
        QWindow* window = FWindow->windowHandle();
        QPoint at = handle->mapTo(FWindow.get(), handle->rect().center());
        const int startLeft = PanelMediaRect().left();

        QTest::mousePress(window, Qt::LeftButton, {}, at);
        QCOMPARE(Access().Splitter1Tag(), 1);
        for (int dx : {30, 30, -15, 40}) {
            at.rx() += dx;
            QTest::mouseMove(window, at);
            QVERIFY2(Covers(), qPrintable(Describe()));
        }
        QCOMPARE(PanelMediaRect().left(), startLeft + 85);
        QTest::mouseRelease(window, Qt::LeftButton, {}, at);
        QCOMPARE(Access().Splitter1Tag(), 0);
        QVERIFY2(Covers(), qPrintable(Describe()));
    }

    void thumbnailsReReadAfterEachSwitch()
    {
        QFile other(FMedia.filePath(QStringLiteral("other.avi")));
        QVERIFY(other.open(QIODevice::WriteOnly));
        other.close();
        const auto removeFiles = qScopeGuard([&] {
            for (const char* name : {"other.avi", "clip_0001.png", "clip_0002.png"})
                QFile::remove(FMedia.filePath(QLatin1String(name)));
        });
        Choose(QStringLiteral("photo.jpg"));
        auto* thumbnails = Control<TScreenshotListView>("ListViewScreenshots");

        // Nothing displayed: no refresh is queued.
        ClickTab(1);
        QVERIFY(TOrvTask_IdleWorker::Default().Tasks().empty());
        ClickTab(0);

        ChooseAndRest(QStringLiteral("clip.avi"));
        QCOMPARE(thumbnails->Model()->Count(), 1);
        WritePng(FMedia.filePath(QStringLiteral("clip_0001.png")));
        ClickTab(1);
        QVERIFY(!TOrvTask_IdleWorker::Default().Tasks().empty());
        QCOMPARE(thumbnails->Model()->Count(), 1);
        QVERIFY(TestLoop::waitFor([&] { return thumbnails->Model()->Count() == 2; }));

        // The thumbnails stay those of the video displayed, also when the
        // file list's highlight has moved to another file without opening it.
        Access().ListBoxFiles()->setCurrentRow(Access().FileListTexts().indexOf(QStringLiteral("other.avi")));
        WritePng(FMedia.filePath(QStringLiteral("clip_0002.png")));
        ClickTab(0);
        QVERIFY(TestLoop::waitFor([&] { return thumbnails->Model()->Count() == 3; }));
        QCOMPARE(thumbnails->Model()->Row(1).Detail, QStringLiteral("clip_0002.png"));
    }

    // A chosen file that is not listed hides the surface; a video chosen
    // afterwards from the same folder brings it back.
    void choosingAnImageHidesTheSurfaceUntilAVideoIsChosen()
    {
        QVERIFY(TestLoop::waitFor([&] { return Covers(); }));
        Choose(QStringLiteral("photo.jpg"));
        QVERIFY2(HiddenAtCorner(), qPrintable(Describe()));
        QCOMPARE(Header()->currentIndex(), 0);

        ChooseAndRest(QStringLiteral("clip.avi"));
        QVERIFY2(Covers(), qPrintable(Describe()));
    }

    // The engine draws into the player's video window, inside the window.
    void theEngineDrawsIntoTheEmbeddedVideoWindow()
    {
        ChooseAndRest(QStringLiteral("clip.avi"));
        QWidget* video = Player()->PlayerWinCtrl();
        QCOMPARE(WId(LibVlcEntries.libvlc_media_player_get_xwindow(Player()->GetPlayerHandle())), video->winId());
        QVERIFY(TestLoop::waitFor([&] { return Player()->HasVout(); }));
        QVERIFY(FWindow->isAncestorOf(video));
        QVERIFY2(Covers(), qPrintable(Describe()));
    }

    void destroyingClearsTheHandlersAndUnloadsTheEngine()
    {
        ChooseAndRest(QStringLiteral("clip.avi"));
        QTest::keyClick(Control("ListBoxFiles"), Qt::Key_P);
        QVERIFY(TestLoop::waitFor([&] { return Access().Timeline_Value() > 400; }));

        Access().FormDestroy();
        QVERIFY(!Player());
        QVERIFY(!LibVlcHandle());
        const QString time = Control<QLabel>("LabelMediaTime")->text();
        const float value = Access().Timeline_Value();
        TestLoop::run(400);
        QCOMPARE(Control<QLabel>("LabelMediaTime")->text(), time);
        QCOMPARE(Access().Timeline_Value(), value);
    }

    void closingWhilePlaying()
    {
        ChooseAndRest(QStringLiteral("clip.avi"));
        QTest::keyClick(Control("ListBoxFiles"), Qt::Key_P);
        QVERIFY(TestLoop::waitFor([&] { return Player()->GetState() == vlcPlayer_Playing; }));
        // A playing report just before closing leaves its 50 ms task behind.
        Access().EvOnMediaPlayerPlaying();

        // Closing stops the engine before the window goes, while its video
        // window is still shown.
        FWindow->close();
        QCOMPARE(Player()->GetState(), vlcPlayer_Stopped);
        FWindow.reset();
        QVERIFY(!LibVlcHandle());
        TestLoop::run(300);
        QVERIFY(TOrvTask_IdleWorker::Default().Tasks().empty());
    }

    void withoutAnEngineTheWindowStillWorks()
    {
        FWindow.reset();
        QTemporaryDir nowhere;
        const TLibVlcInstallDirLookup previousLookup = LibVlcSetInstallDirLookup([&] { return nowhere.path(); });
        QStringList stubTexts;
        const TLibVlcStubNotifier previousNotifier =
            LibVlcSetStubNotifier([&](const QString& sText) { stubTexts << sText; });
        const auto restore = qScopeGuard([&] {
            LibVlcSetInstallDirLookup(previousLookup);
            LibVlcSetStubNotifier(previousNotifier);
        });

        FreshWindow();
        QVERIFY(!LibVlcLastError().isEmpty());
        Choose(QStringLiteral("clip.avi"));
        QVERIFY(Access().FileListTexts().contains(QStringLiteral("clip.avi")));
        QVERIFY(TestLoop::waitFor([&] { return Access().FileName() == FMedia.filePath(QStringLiteral("clip.avi")); }));
        TestLoop::run(300);
        QVERIFY(!LibVlcHandle());
        QCOMPARE(Player()->GetStateName(), QStringLiteral("Player not initialised"));
        QCOMPARE(Control<QLabel>("LabelMediaDuration")->text(), QStringLiteral("-:--:-------"));
        QVERIFY(stubTexts.isEmpty());
        QVERIFY(FWindow->isVisible());

        // Stepping and playing do nothing visible either.
        QTest::keyClick(Control("ListBoxFiles"), Qt::Key_P);
        QTest::keyClick(Control("ListBoxFiles"), Qt::Key_Right);
        QCOMPARE(Player()->GetStateName(), QStringLiteral("Player not initialised"));
        QVERIFY(stubTexts.isEmpty());
    }
};

QTEST_MAIN(tst_TfrmMain_View)
#include "tst_TfrmMain_View.moc"
