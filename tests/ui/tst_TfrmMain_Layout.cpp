#include "TfrmMainFixture.h"

#include "ui/StyleResources.h"
#include "ui/TAniIndicator.h"
#include "ui/TCoverRectangle.h"
#include "ui/TImageViewer.h"
#include "ui/TScreenshotListModel.h"
#include "ui/TScreenshotListView.h"

#include <QScrollArea>
#include <QScrollBar>
#include <QSlider>
#include <QSplitter>
#include <QStackedWidget>
#include <QStatusBar>
#include <QTimer>

class tst_TfrmMain_Layout : public QObject
{
    Q_OBJECT

private:
    TfrmMainFixture F;

    static bool HasOpaquePixels(const QImage& AImage)
    {
        for (int y = 0; y < AImage.height(); ++y)
            for (int x = 0; x < AImage.width(); ++x)
                if (qAlpha(AImage.pixel(x, y)) > 0)
                    return true;
        return false;
    }

private slots:
    void initTestCase() { F.Start(); }

    void cleanupTestCase() { F.Finish(); }

    void init() { F.FreshWindow(); }

    void cleanup() { F.CloseWindow(); }

    void startState()
    {
        TfrmMainAccess access = F.Access();
        QCOMPARE(F.Window->windowTitle(), QStringLiteral("Scenora V1.1.0"));

        THeaderTabBar* header = F.Header();
        QCOMPARE(header->currentIndex(), 0);
        QCOMPARE(header->tabText(0), QStringLiteral("Video"));
        QCOMPARE(header->tabData(0).toString(), QStringLiteral("TabItem1H_Video"));
        QCOMPARE(header->tabText(1), QStringLiteral("Screenshot"));
        QCOMPARE(header->tabData(1).toString(), QStringLiteral("TabItem2H_Screenshot"));
        QCOMPARE(F.Control<QStackedWidget>("TabControl2_Body")->currentWidget(), F.Control("TabItem1B_Video"));

        QCOMPARE(F.Control<QLabel>("LabelMediaTime")->text(), QStringLiteral("-:--:------"));
        QCOMPARE(F.Control<QLabel>("LabelMediaDuration")->text(), QStringLiteral("-:--:------"));

        QVERIFY(!F.Control("RectangleCover")->isVisible());
        QVERIFY(!F.Control("AniIndicatorCover")->isEnabled());
        QVERIFY(!F.Control<TAniIndicator>("AniIndicatorCover")->IsSpinning());

        QCOMPARE(F.Control<TScreenshotListView>("ListViewScreenshots")->Model()->Count(), 0);
        QCOMPARE(F.Control<TScreenshotListView>("ListViewScreenshots")->Selected(), -1);

        QCOMPARE(access.StartPosition(), 0);
        QCOMPARE(access.EndPosition(), -1);
        QCOMPARE(access.StopImmediately(), false);
        QCOMPARE(access.ProcessTrackDragging(), false);

        QCOMPARE(F.Control<TStyleButton>("b1SecBackward")->Tag(), 20);
        QCOMPARE(F.Control<TStyleButton>("b1SecForward")->Tag(), 20);
        QCOMPARE(F.Control<TStyleButton>("b10SecBackward")->Tag(), 1000);
        QCOMPARE(F.Control<TStyleButton>("b10SecForward")->Tag(), 1000);

        auto* timer = F.Window->findChild<QTimer*>(QStringLiteral("Timer1"));
        QVERIFY(timer);
        QVERIFY(timer->isActive());
        QCOMPARE(timer->interval(), 100);

        const TScrollPhysics physics = F.Control<TImageViewer>("ImageViewerScreenshot")->ScrollPhysics();
        QCOMPARE(physics.Animation, false);
        QCOMPARE(physics.Averaging, true);
        QCOMPARE(physics.AutoShowing, false);
        QCOMPARE(physics.BoundsAnimation, true);
        QCOMPARE(physics.TouchTracking, Qt::Vertical | Qt::Horizontal);
    }

    void controls_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("className");
        QTest::addColumn<QString>("hint");
        QTest::addColumn<QString>("styleLookup");
        QTest::addColumn<QString>("text");

        const QString none;
        auto row = [](const char* AName, const char* AClass, const QString& sHint = {}, const QString& sLookup = {},
                      const QString& sText = {}) {
            QTest::newRow(AName) << QString::fromLatin1(AName) << QString::fromLatin1(AClass) << sHint << sLookup
                                 << sText;
        };
        row("Panel6", "QWidget");
        row("Rectangle2", "QWidget");
        row("Image1", "QLabel");
        row("StatusBar1", "QStatusBar");
        row("LabelMediaTime", "QLabel", none, none, QStringLiteral("-:--:------"));
        row("LabelMediaDuration", "QLabel", none, none, QStringLiteral("-:--:------"));
        row("tbProcess", "QSlider");
        row("ScrollBox1", "QScrollArea");
        row("PanelHead_Control", "QWidget");
        row("Button1", "TStyleButton", QStringLiteral("Open folder directory"), QStringLiteral("searchtoolbutton"));
        row("Label1", "QLabel", none, none, QStringLiteral("Select directory"));
        row("ListBoxFiles", "QListWidget");
        row("Panel1", "TClickPanel");
        row("Layout1", "QWidget");
        row("bPlay", "TStyleButton", QStringLiteral("Start/Stop video playback  (P)"), QStringLiteral("playtoolbutton"),
            QStringLiteral("Play"));
        row("b10SecBackward", "TStyleButton", QStringLiteral("Video posion rewind 1 sec.  (CTRL + LEFT)"),
            QStringLiteral("rewindtoolbutton"), QStringLiteral("10 Sec Backward"));
        row("b1SecBackward", "TStyleButton", QStringLiteral("Video posion rewind  (LEFT)"),
            QStringLiteral("arrowlefttoolbutton"), QStringLiteral("10 Sec Backward"));
        row("b1SecForward", "TStyleButton", QStringLiteral("Video posion forward  (RIGHT)"),
            QStringLiteral("arrowrighttoolbutton"), QStringLiteral("10 Sec Backward"));
        row("b10SecForward", "TStyleButton", QStringLiteral("Video posion forward 1 sec.  (CTRL + RIGHT)"),
            QStringLiteral("forwardtoolbutton"), QStringLiteral("10 Sec Forward"));
        row("Panel2", "QFrame");
        row("Layout2", "QWidget");
        row("ButtonScreenshot", "TStyleButton", QStringLiteral("Take a new screenshot  (S)"),
            QStringLiteral("cameratoolbutton"));
        row("ButtonDeleteScreenshot", "TStyleButton", QStringLiteral("DELETE the current screenshot"),
            QStringLiteral("deleteitembutton"));
        row("ListViewScreenshots", "TScreenshotListView");
        row("Splitter1", "QSplitter");
        row("Panel3", "QWidget");
        row("TabControl1_Header", "THeaderTabBar");
        row("TabControl2_Body", "QStackedWidget");
        row("TabItem1B_Video", "QWidget");
        row("Rectangle1", "QWidget");
        row("PanelMedia", "QWidget");
        row("TabItem2B_Screenshot", "QWidget");
        row("Panel4", "QWidget");
        row("ButtonItemAdd", "TStyleButton", QStringLiteral("Add a new Annotation"), QStringLiteral("additembutton"));
        row("ButtonItemDelete", "TStyleButton", QStringLiteral("DELETE the selected Annotation"),
            QStringLiteral("deleteitembutton"));
        row("Rectangle3", "QWidget");
        row("ImageViewerScreenshot", "TImageViewer");
        row("RectangleCover", "TCoverRectangle");
        row("AniIndicatorCover", "TAniIndicator");
        row("tbVolume", "QSlider");
    }

    void controls()
    {
        QFETCH(QString, name);
        QFETCH(QString, className);
        QFETCH(QString, hint);
        QFETCH(QString, styleLookup);
        QFETCH(QString, text);

        const QList<QWidget*> found = F.Window->findChildren<QWidget*>(name);
        QCOMPARE(found.size(), 1);
        QWidget* control = found.first();
        QVERIFY2(control->inherits(className.toLatin1()), control->metaObject()->className());
        QCOMPARE(control->toolTip(), hint);
        QCOMPARE(control->property("styleLookup").toString(), styleLookup);
        if (!text.isEmpty()) {
            const QVariant shown = control->property("text");
            QCOMPARE(shown.toString(), text);
        }
        if (!styleLookup.isEmpty())
            QVERIFY(!qobject_cast<QAbstractButton*>(control)->icon().isNull());
    }

    void nonVisualControls()
    {
        auto* dialog = F.Window->findChild<TOpenDialog*>(QStringLiteral("OpenDialogFolder"));
        QVERIFY(dialog);
        QCOMPARE(dialog->Filter(), QStringLiteral("Media files (*.jpg; *.avi)|*.jpg;*.avi|Video files (*.avi)|*.avi|"
                                                  "Image files (*.jpg)|*.jpg|All files (*.*)|*.*"));
        QVERIFY(F.Window->findChild<QTimer*>(QStringLiteral("Timer1")));
    }

    void annotationButtonsHidden()
    {
        QVERIFY(F.Control("ButtonItemAdd")->isHidden());
        QVERIFY(F.Control("ButtonItemDelete")->isHidden());
    }

    void designSizes()
    {
        QCOMPARE(F.Window->size(), QSize(727, 585));
        QCOMPARE(F.Control("Panel6")->height(), 33);
        QCOMPARE(F.Control("Image1")->size(), QSize(361, 33));
        QCOMPARE(F.Control("StatusBar1")->height(), 22);
        QCOMPARE(F.Control("ScrollBox1")->width(), 241);
        QCOMPARE(F.Control<QSplitter>("Splitter1")->handleWidth(), 16);
        QCOMPARE(F.Control<QSplitter>("Splitter1")->handle(1)->width(), 16);
        QCOMPARE(F.Control("PanelHead_Control")->height(), 50);
        QCOMPARE(F.Control("ListBoxFiles")->height(), 113);
        QCOMPARE(F.Control("Panel1")->height(), 12);
        QCOMPARE(F.Control("Layout1")->height(), 50);
        QCOMPARE(F.Control("Panel2")->height(), 12);
        QCOMPARE(F.Control("Layout2")->height(), 50);
        QCOMPARE(F.Control("LabelMediaTime")->width(), 96);
        QCOMPARE(F.Control("LabelMediaDuration")->width(), 96);
        for (const char* button : {"Button1", "bPlay", "b10SecBackward", "b1SecBackward", "b1SecForward",
                                   "b10SecForward", "ButtonScreenshot", "ButtonDeleteScreenshot"})
            QCOMPARE(F.Control(button)->size(), QSize(46, 46));

        // The strips' buttons, docked left in this order from their margins;
        // the delete button keeps 5 from the column's right edge.
        QCOMPARE(F.Control("Button1")->x(), 3);
        int left = 5;
        for (const char* button : {"bPlay", "b10SecBackward", "b1SecBackward", "b1SecForward", "b10SecForward"}) {
            QCOMPARE(F.Control(button)->x(), left);
            left += 46;
        }
        QCOMPARE(F.Control("ButtonScreenshot")->x(), 5);
        QCOMPARE(F.Control("ButtonDeleteScreenshot")->geometry().right(), F.Control("Layout2")->width() - 5 - 1);

        THeaderTabBar* header = F.Header();
        QCOMPARE(header->height(), 48);
        QCOMPARE(header->tabRect(0).width(), 62);
        QCOMPARE(header->tabRect(1).width(), 99);
        QCOMPARE(header->tabRect(0).height(), 50);
        QCOMPARE(F.Control("TabControl1_Header")->mapTo(F.Window.get(), QPoint(0, 0)).y(), 33);

        // The thumbnail list takes what the column leaves.
        QWidget* list = F.Control("ListViewScreenshots");
        QCOMPARE(list->mapTo(F.Window.get(), QPoint(0, list->height())).y(), 585 - 22);
    }

    void floatingVolumeFollowsTheRightAndBottomEdges_data()
    {
        QTest::addColumn<QSize>("client");
        QTest::addColumn<QRect>("expected");
        QTest::newRow("design size") << QSize(727, 585) << QRect(702, 8, 24, 551);
        QTest::newRow("larger") << QSize(1000, 700) << QRect(975, 8, 24, 666);
    }

    void floatingVolumeFollowsTheRightAndBottomEdges()
    {
        QFETCH(QSize, client);
        QFETCH(QRect, expected);
        F.Window->resize(client);
        QTRY_COMPARE(F.Window->size(), client);
        QCOMPARE(F.Control("tbVolume")->geometry(), expected);
        QVERIFY(F.Control("tbVolume")->isVisible());
        // Nothing lies over the bar, not even the video surface laid over the window.
        for (const QPoint point : {expected.topLeft(), expected.center(), expected.bottomRight() - QPoint(0, 5)})
            QCOMPARE(F.Window->childAt(point), F.Control("tbVolume"));
    }

    void widerWindowWidensTheRightArea()
    {
        F.Window->resize(1000, 700);
        QTRY_COMPARE(F.Window->width(), 1000);
        QCOMPARE(F.Control("ScrollBox1")->width(), 241);
        QCOMPARE(F.Control("Panel3")->width(), 1000 - 241 - 16);
    }

    void smallestWindowClipsNothing()
    {
        F.Window->resize(100, 100);
        QTRY_COMPARE(F.Window->size(), QSize(500, 450));
        auto* column = F.Control<QScrollArea>("ScrollBox1");
        QTRY_COMPARE(column->width(), 241);
        QVERIFY(!column->verticalScrollBar()->isVisible());
        const QRect shown = column->viewport()->rect();
        for (const char* name : {"Button1", "bPlay", "b10SecBackward", "b1SecBackward", "b1SecForward",
                                 "b10SecForward", "ButtonScreenshot", "ButtonDeleteScreenshot"}) {
            QWidget* button = F.Control(name);
            QVERIFY2(shown.contains(QRect(button->mapTo(column->viewport(), QPoint(0, 0)), button->size())), name);
        }
        QVERIFY(F.Control("ListViewScreenshots")->height() >= 80 + 24);
        THeaderTabBar* header = F.Header();
        QVERIFY(header->tabRect(1).right() < F.Control("tbVolume")->x() - header->mapTo(F.Window.get(), QPoint(0, 0)).x());
    }

    void coverSpansTheTabStripAndFollowsTheSplitter()
    {
        TfrmMainAccess access = F.Access();
        access.BusyCover_Show();
        QWidget* cover = F.Control("RectangleCover");
        QWidget* panel3 = F.Control("Panel3");
        QCOMPARE(cover->geometry(), QRect(0, 0, panel3->width(), 48));

        auto* splitter = F.Control<QSplitter>("Splitter1");
        splitter->setSizes({300, splitter->width() - 300 - splitter->handleWidth()});
        QTRY_COMPARE(F.Control("ScrollBox1")->width(), 300);
        QCOMPARE(cover->geometry(), QRect(0, 0, panel3->width(), 48));
    }

    void leftColumnKeepsItsMinimumWidth()
    {
        auto* splitter = F.Control<QSplitter>("Splitter1");
        splitter->setSizes({0, splitter->width()});
        QTRY_VERIFY(F.Control("ScrollBox1")->width() >= 20);
    }

    void busyCoverSwitchesCoverAndIndicatorTogether()
    {
        TfrmMainAccess access = F.Access();
        auto* indicator = F.Control<TAniIndicator>("AniIndicatorCover");
        access.BusyCover_Show();
        QVERIFY(F.Control("RectangleCover")->isVisible());
        QVERIFY(indicator->isEnabled());
        QVERIFY(indicator->IsSpinning());
        access.BusyCover_Hide();
        QVERIFY(!F.Control("RectangleCover")->isVisible());
        QVERIFY(!indicator->isEnabled());
        QVERIFY(!indicator->IsSpinning());
    }

    void busyCoverTakesTheTabClicks()
    {
        TfrmMainAccess access = F.Access();
        THeaderTabBar* header = F.Header();
        // The clicks go to the window, which hands them to whatever lies under
        // the pointer, as a person's clicks do.
        QWindow* window = F.Window->windowHandle();
        const QPoint screenshotTab = header->mapTo(F.Window.get(), header->tabRect(1).center());

        access.BusyCover_Show();
        QTest::mouseClick(window, Qt::LeftButton, {}, screenshotTab);
        QCOMPARE(header->currentIndex(), 0);

        access.BusyCover_Hide();
        QTest::mouseClick(window, Qt::LeftButton, {}, screenshotTab);
        QTRY_COMPARE(header->currentIndex(), 1);
    }

    void busyCoverIsTranslucentGrey()
    {
        QWidget* panel3 = F.Control("Panel3");
        // A spot of the strip right of the tabs and clear of the indicator and the volume bar.
        const QPoint spot(170 + 20, 24);
        const QColor under = panel3->grab().toImage().pixelColor(spot);

        F.Access().BusyCover_Show();
        const QColor covered = panel3->grab().toImage().pixelColor(spot);
        for (auto [top, bottom] : {std::pair {covered.red(), under.red()}, std::pair {covered.green(), under.green()},
                                   std::pair {covered.blue(), under.blue()}}) {
            const double expected = 0.7 * 112 + 0.3 * bottom;
            QVERIFY2(std::abs(top - expected) <= 3,
                     qPrintable(QStringLiteral("%1 over %2, expected %3").arg(top).arg(bottom).arg(expected)));
        }
    }

    void styleLookupSelectsTheIcon()
    {
        auto* play = F.Control<TStyleButton>("bPlay");
        const QImage playIcon = play->icon().pixmap(32).toImage();
        play->setProperty("styleLookup", QStringLiteral("stoptoolbutton"));
        QCOMPARE(play->StyleLookup(), QStringLiteral("stoptoolbutton"));
        QVERIFY(play->icon().pixmap(32).toImage() != playIcon);
        play->SetStyleLookup(QStringLiteral("playtoolbutton"));
        QCOMPARE(play->icon().pixmap(32).toImage(), playIcon);
    }

    void everyIconAndTheBannerRender_data()
    {
        QTest::addColumn<QString>("lookup");
        for (const char* lookup : {"searchtoolbutton", "playtoolbutton", "stoptoolbutton", "rewindtoolbutton",
                                   "arrowlefttoolbutton", "arrowrighttoolbutton", "forwardtoolbutton",
                                   "cameratoolbutton", "deleteitembutton", "additembutton"})
            QTest::newRow(lookup) << QString::fromLatin1(lookup);
    }

    void everyIconAndTheBannerRender()
    {
        QFETCH(QString, lookup);
        const QIcon icon = StyleIcon(lookup);
        QVERIFY(!icon.isNull());
        QVERIFY(HasOpaquePixels(icon.pixmap(32).toImage()));
        QVERIFY(HasOpaquePixels(icon.pixmap(QSize(32, 32), 2.0).toImage()));
        QCOMPARE(icon.pixmap(QSize(32, 32), 2.0).deviceIndependentSize(), QSizeF(32, 32));
    }

    void unknownStyleLookupHasNoIcon()
    {
        QVERIFY(StyleIcon(QStringLiteral("nosuchbutton")).isNull());
        QVERIFY(StyleIcon(QString()).isNull());
    }

    void bannerShowsMoreThanItsBackground()
    {
        const QImage banner = StyleBanner(QSize(361, 33), 1.0).toImage();
        QCOMPARE(banner.size(), QSize(361, 33));
        int bright = 0;
        for (int y = 0; y < banner.height(); ++y)
            for (int x = 0; x < banner.width(); ++x)
                bright += qGray(banner.pixel(x, y)) > 160;
        QVERIFY2(bright > 100, qPrintable(QString::number(bright)));
    }

    void timelineHoldsMilliseconds_data()
    {
        QTest::addColumn<float>("maximum");
        QTest::addColumn<float>("value");
        QTest::addColumn<float>("readValue");
        QTest::newRow("within") << 60000.f << 59990.f << 59990.f;
        QTest::newRow("fraction truncated") << 60000.f << 1234.9f << 1234.f;
        QTest::newRow("past the maximum") << 60000.f << 60010.f << 60000.f;
        QTest::newRow("below zero") << 60000.f << -5.f << 0.f;
        QTest::newRow("beyond a slider's range") << 3.0e10f << 3.0e10f << float(std::numeric_limits<int>::max());
    }

    void timelineHoldsMilliseconds()
    {
        QFETCH(float, maximum);
        QFETCH(float, value);
        QFETCH(float, readValue);
        TfrmMainAccess access = F.Access();
        access.Timeline_SetMaximum(maximum);
        access.Timeline_SetValue(value);
        QCOMPARE(access.Timeline_Value(), readValue);
    }

    void tabOrderOfThePlaybackButtons()
    {
        QWidget* widget = F.Control("bPlay");
        QStringList order {widget->objectName()};
        for (int i = 0; i < 5; ++i) {
            widget = widget->nextInFocusChain();
            while (widget->focusPolicy() == Qt::NoFocus || !widget->isVisible())
                widget = widget->nextInFocusChain();
            order << widget->objectName();
        }
        QCOMPARE(order, (QStringList {"bPlay", "b10SecForward", "b1SecForward", "b1SecBackward", "b10SecBackward",
                                      "tbVolume"}));
        QCOMPARE(F.Control("Button1")->focusPolicy(), Qt::NoFocus);
    }
};

QTEST_MAIN(tst_TfrmMain_Layout)
#include "tst_TfrmMain_Layout.moc"
