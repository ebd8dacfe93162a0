#include "TfrmMainFixture.h"

#include "engine/VlcLoader.h"
#include "ui/TScreenshotListModel.h"
#include "ui/TScreenshotListView.h"

#include <QFile>
#include <QScopeGuard>
#include <QSplitter>
#include <QStackedWidget>

// The Video and Screenshot views and the placement of the engine's native
// video window over PanelMedia, in the real window with the real engine.
class tst_TfrmMain_View : public QObject
{
    Q_OBJECT

private:
    TfrmMainFixture F;
    QTemporaryDir FMedia;

    QWidget* Container() const { return F.Player()->parentWidget(); }

    // PanelMedia's place in the window, as the layout has it now.
    QRect PanelMediaRect() const
    {
        QWidget* panel = F.Control("PanelMedia");
        return QRect(panel->mapTo(F.Window.get(), QPoint(0, 0)), panel->size());
    }

    // The surface is shown and covers PanelMedia exactly.
    bool Covers()
    {
        const QRect panel = PanelMediaRect();
        return !F.Player()->isHidden() && Container()->parentWidget() == F.Window.get()
               && Container()->geometry() == panel && F.Player()->geometry() == QRect(QPoint(0, 0), panel.size())
               && F.Player()->PlayerWinCtrl()->geometry() == QRect(QPoint(0, 0), panel.size());
    }

    // The surface is hidden, shrunk to 1 x 1 at PanelMedia's top-left corner.
    bool HiddenAtCorner()
    {
        return F.Player()->isHidden() && Container()->geometry() == QRect(PanelMediaRect().topLeft(), QSize(1, 1));
    }

    QString Describe()
    {
        const auto text = [](const QRect& r) {
            return QStringLiteral("%1,%2 %3x%4").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height());
        };
        return QStringLiteral("panel %1, container %2, player %3 %4")
            .arg(text(PanelMediaRect()), text(Container()->geometry()), text(F.Player()->geometry()),
                 F.Player()->isHidden() ? QStringLiteral("hidden") : QStringLiteral("shown"));
    }

    void Choose(const QString& sName) { F.Choose(FMedia.filePath(sName)); }
    void ChooseAndRest(const QString& sName) { F.ChooseAndRest(FMedia.filePath(sName)); }

    static void WritePng(const QString& sPath)
    {
        QImage image(64, 36, QImage::Format_RGB32);
        image.fill(Qt::darkCyan);
        QVERIFY(image.save(sPath));
    }

private slots:
    void initTestCase()
    {
        F.Start();
        TestMedia::VideoFormat format;
        format.durationMs = 4000;
        format.size = QSize(320, 180);
        format.fps = 5;
        QVERIFY(TestMedia::makeVideo(FMedia.filePath(QStringLiteral("clip.avi")), format));
        QFile photo(FMedia.filePath(QStringLiteral("photo.jpg")));
        QVERIFY(photo.open(QIODevice::WriteOnly));
    }

    void cleanupTestCase() { F.Finish(); }

    void init() { F.FreshWindow(); }

    void cleanup()
    {
        F.CloseWindow();
        QVERIFY(!LibVlcHandle());
    }

    void embeddedOverPanelMediaAtCreation()
    {
        QVERIFY(Container());
        QVERIFY(Container()->testAttribute(Qt::WA_NativeWindow));
        QVERIFY(F.Player()->PlayerWinCtrl()->internalWinId() != 0);
        QCOMPARE(F.Header()->currentIndex(), 0);
        QCOMPARE(F.Control<QStackedWidget>("TabControl2_Body")->currentWidget(), F.Control("TabItem1B_Video"));
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
        F.Window->resize(size);
        QVERIFY(TestLoop::waitFor([&] { return PanelMediaRect() != before; }));
        QVERIFY2(Covers(), qPrintable(Describe()));
    }

    void screenshotViewHidesTheSurfaceAndTheTimeline()
    {
        F.ClickTab(1);
        QCOMPARE(F.Control<QStackedWidget>("TabControl2_Body")->currentWidget(), F.Control("TabItem2B_Screenshot"));
        QVERIFY2(HiddenAtCorner(), qPrintable(Describe()));
        QVERIFY(F.Control("LabelMediaTime")->isHidden());
        QVERIFY(F.Control("LabelMediaDuration")->isHidden());
        QVERIFY(F.Control("tbProcess")->isHidden());

        F.ClickTab(0);
        QCOMPARE(F.Control<QStackedWidget>("TabControl2_Body")->currentWidget(), F.Control("TabItem1B_Video"));
        QVERIFY2(Covers(), qPrintable(Describe()));
        QVERIFY(!F.Control("LabelMediaTime")->isHidden());
        QVERIFY(!F.Control("LabelMediaDuration")->isHidden());
        QVERIFY(!F.Control("tbProcess")->isHidden());
    }

    // The switch itself places the surface, on the layout of the new size.
    void resizeInScreenshotViewThenSwitchToVideo()
    {
        F.ClickTab(1);
        const QRect hidden = Container()->geometry();
        F.Window->resize(1000, 760);
        TestLoop::run(100);
        QCOMPARE(Container()->geometry(), hidden);
        QVERIFY(F.Player()->isHidden());

        F.ClickTab(0);
        QVERIFY2(Covers(), qPrintable(Describe()));
        QCOMPARE(Container()->width(), PanelMediaRect().width());
        QVERIFY(Container()->width() > hidden.width());
    }

    void followsTheSplitterOnEveryMoveAndRelease()
    {
        QVERIFY(TestLoop::waitFor([&] { return Covers(); }));
        auto* splitter = F.Control<QSplitter>("Splitter1");
        QWidget* handle = splitter->handle(1);
        QWindow* window = F.Window->windowHandle();
        QPoint at = handle->mapTo(F.Window.get(), handle->rect().center());
        const int startLeft = PanelMediaRect().left();

        QTest::mousePress(window, Qt::LeftButton, {}, at);
        QCOMPARE(F.Access().Splitter1Tag(), 1);
        for (int dx : {30, 30, -15, 40}) {
            at.rx() += dx;
            QTest::mouseMove(window, at);
            QVERIFY2(Covers(), qPrintable(Describe()));
        }
        QCOMPARE(PanelMediaRect().left(), startLeft + 85);
        QTest::mouseRelease(window, Qt::LeftButton, {}, at);
        QCOMPARE(F.Access().Splitter1Tag(), 0);
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
        auto* thumbnails = F.Control<TScreenshotListView>("ListViewScreenshots");

        // Nothing displayed: no refresh is queued.
        F.ClickTab(1);
        QVERIFY(TOrvTask_IdleWorker::Default().Tasks().empty());
        F.ClickTab(0);

        ChooseAndRest(QStringLiteral("clip.avi"));
        QCOMPARE(thumbnails->Model()->Count(), 1);
        WritePng(FMedia.filePath(QStringLiteral("clip_0001.png")));
        F.ClickTab(1);
        QVERIFY(!TOrvTask_IdleWorker::Default().Tasks().empty());
        QCOMPARE(thumbnails->Model()->Count(), 1);
        QVERIFY(TestLoop::waitFor([&] { return thumbnails->Model()->Count() == 2; }));

        // The thumbnails stay those of the video displayed, also when the
        // file list's highlight has moved to another file without opening it.
        F.Access().ListBoxFiles()->setCurrentRow(F.Access().FileListTexts().indexOf(QStringLiteral("other.avi")));
        WritePng(FMedia.filePath(QStringLiteral("clip_0002.png")));
        F.ClickTab(0);
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
        QCOMPARE(F.Header()->currentIndex(), 0);

        ChooseAndRest(QStringLiteral("clip.avi"));
        QVERIFY2(Covers(), qPrintable(Describe()));
    }

    // The engine draws into the player's video window, inside the window.
    void theEngineDrawsIntoTheEmbeddedVideoWindow()
    {
        ChooseAndRest(QStringLiteral("clip.avi"));
        QWidget* video = F.Player()->PlayerWinCtrl();
        QCOMPARE(WId(LibVlcEntries.libvlc_media_player_get_xwindow(F.Player()->GetPlayerHandle())), video->winId());
        QVERIFY(TestLoop::waitFor([&] { return F.Player()->HasVout(); }));
        QVERIFY(F.Window->isAncestorOf(video));
        QVERIFY2(Covers(), qPrintable(Describe()));
    }

    void destroyingClearsTheHandlersAndUnloadsTheEngine()
    {
        ChooseAndRest(QStringLiteral("clip.avi"));
        F.PressKey(Qt::Key_P);
        QVERIFY(TestLoop::waitFor([&] { return F.Access().Timeline_Value() > 400; }));

        F.Access().FormDestroy();
        QVERIFY(!F.Player());
        QVERIFY(!LibVlcHandle());
        const QString time = F.Control<QLabel>("LabelMediaTime")->text();
        const float value = F.Access().Timeline_Value();
        TestLoop::run(400);
        QCOMPARE(F.Control<QLabel>("LabelMediaTime")->text(), time);
        QCOMPARE(F.Access().Timeline_Value(), value);
    }

    void closingWhilePlaying()
    {
        ChooseAndRest(QStringLiteral("clip.avi"));
        F.PressKey(Qt::Key_P);
        QVERIFY(TestLoop::waitFor([&] { return F.Player()->GetState() == vlcPlayer_Playing; }));
        // A playing report just before closing leaves its 50 ms task behind.
        F.Access().EvOnMediaPlayerPlaying();

        // Closing stops the engine before the window goes, while its video
        // window is still shown.
        F.Window->close();
        QCOMPARE(F.Player()->GetState(), vlcPlayer_Stopped);
        F.Window.reset();
        QVERIFY(!LibVlcHandle());
        TestLoop::run(300);
        QVERIFY(TOrvTask_IdleWorker::Default().Tasks().empty());
    }

    void withoutAnEngineTheWindowStillWorks()
    {
        F.Window.reset();
        QTemporaryDir nowhere;
        const TLibVlcInstallDirLookup previousLookup = LibVlcSetInstallDirLookup([&] { return nowhere.path(); });
        QStringList stubTexts;
        const TLibVlcStubNotifier previousNotifier =
            LibVlcSetStubNotifier([&](const QString& sText) { stubTexts << sText; });
        const auto restore = qScopeGuard([&] {
            LibVlcSetInstallDirLookup(previousLookup);
            LibVlcSetStubNotifier(previousNotifier);
        });

        F.FreshWindow();
        QVERIFY(!LibVlcLastError().isEmpty());
        Choose(QStringLiteral("clip.avi"));
        QVERIFY(F.Access().FileListTexts().contains(QStringLiteral("clip.avi")));
        QVERIFY(TestLoop::waitFor(
            [&] { return F.Access().FileName() == FMedia.filePath(QStringLiteral("clip.avi")); }));
        TestLoop::run(300);
        QVERIFY(!LibVlcHandle());
        QCOMPARE(F.Player()->GetStateName(), QStringLiteral("Player not initialised"));
        QCOMPARE(F.Control<QLabel>("LabelMediaDuration")->text(), QStringLiteral("-:--:-------"));
        QVERIFY(stubTexts.isEmpty());
        QVERIFY(F.Window->isVisible());

        // Stepping and playing do nothing visible either.
        F.PressKey(Qt::Key_P);
        F.PressKey(Qt::Key_Right);
        QCOMPARE(F.Player()->GetStateName(), QStringLiteral("Player not initialised"));
        QVERIFY(stubTexts.isEmpty());
    }
};

QTEST_MAIN(tst_TfrmMain_View)
#include "tst_TfrmMain_View.moc"
