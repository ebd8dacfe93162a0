#include "ui/TfrmMain.h"

#include "ui/StyleResources.h"
#include "ui/TAniIndicator.h"
#include "ui/TClickPanel.h"
#include "ui/TCoverRectangle.h"
#include "ui/THeaderTabBar.h"
#include "ui/TImageViewer.h"
#include "ui/TOpenDialog.h"
#include "ui/TScreenshotListView.h"
#include "ui/TStyleButton.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QScrollArea>
#include <QSlider>
#include <QSplitter>
#include <QStackedWidget>
#include <QStatusBar>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>
#include <limits>

namespace {

constexpr QSize ClientSize(727, 585);
// Small enough for any screen, large enough that the left column shows all of
// its strips and one thumbnail without scrolling, and the header tabs fit.
constexpr QSize MinimumClientSize(500, 450);
constexpr int BannerHeight = 33;
constexpr QSize BannerImageSize(361, 33);
constexpr int StatusBarHeight = 22;
constexpr int TimeLabelWidth = 96;
constexpr int TimelineMargin = 15;
// A status message leaves the timeline at least this wide.
constexpr int MessageMinTimelineWidth = 48;
constexpr int LeftColumnWidth = 241;
constexpr int LeftColumnMinWidth = 20;
constexpr int SplitterWidth = 16;
constexpr int StripHeight = 50;
constexpr int StripButtonSize = 46;
constexpr int FileListHeight = 113;
constexpr int SpacerPanelHeight = 12;
constexpr int HeaderTabsHeight = 48;
constexpr int HeaderTabHeight = 50;
constexpr int BodyMargin = 2;
constexpr QColor CoverFill(112, 112, 112);
constexpr float CoverOpacity = 0.7f;
constexpr int CoverIndicatorMargin = 4;
// The volume bar floats over the right edge, anchored top, right and bottom:
// designed at left 702, top 8, 24 x 551 in the 727 x 585 client area.
constexpr QRect VolumeDesignRect(702, 8, 24, 551);
constexpr int TimerIntervalMs = 100;

const QString OpenDialogFilter = QStringLiteral(
    "Media files (*.jpg; *.avi)|*.jpg;*.avi|Video files (*.avi)|*.avi|Image files (*.jpg)|*.jpg|All files (*.*)|*.*");

template <typename T>
T* Named(T* AWidget, const char* AName)
{
    AWidget->setObjectName(QLatin1String(AName));
    return AWidget;
}

TStyleButton* StripButton(QWidget* AParent, const char* AName, const QString& sStyleLookup, const QString& sHint,
                          const QString& sText = {})
{
    auto* button = Named(new TStyleButton(AParent), AName);
    button->setFixedSize(StripButtonSize, StripButtonSize);
    button->SetStyleLookup(sStyleLookup);
    button->setToolTip(sHint);
    button->setText(sText);
    return button;
}

QHBoxLayout* StripLayout(QWidget* AStrip)
{
    AStrip->setFixedHeight(StripHeight);
    auto* layout = new QHBoxLayout(AStrip);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    return layout;
}

// Whole milliseconds of a timeline value, truncated toward zero and kept within what the slider holds.
int SliderMs(float AValue)
{
    return int(std::clamp(double(AValue), double(std::numeric_limits<int>::min()),
                          double(std::numeric_limits<int>::max())));
}

} // namespace

void TfrmMain::Layout_Build()
{
    setStyleSheet(StyleSheet());
    setMinimumSize(MinimumClientSize);
    resize(ClientSize);

    auto* central = Named(new QWidget(this), "ClientArea");
    auto* column = new QVBoxLayout(central);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    setCentralWidget(central);

    Panel6 = Named(new QWidget(central), "Panel6");
    Panel6->setFixedHeight(BannerHeight);
    auto* bannerLayout = new QHBoxLayout(Panel6);
    bannerLayout->setContentsMargins(0, 0, 0, 0);
    Rectangle2 = Named(new QWidget(Panel6), "Rectangle2");
    Rectangle2->setAttribute(Qt::WA_StyledBackground);
    bannerLayout->addWidget(Rectangle2);
    auto* rectangle2Layout = new QHBoxLayout(Rectangle2);
    rectangle2Layout->setContentsMargins(0, 0, 0, 0);
    Image1 = Named(new QLabel(Rectangle2), "Image1");
    Image1->setFixedSize(BannerImageSize);
    Image1->setScaledContents(true);
    Image1->setPixmap(StyleBanner(BannerImageSize, devicePixelRatio()));
    rectangle2Layout->addWidget(Image1);
    rectangle2Layout->addStretch(1);
    column->addWidget(Panel6);

    Splitter1 = Named(new QSplitter(Qt::Horizontal, central), "Splitter1");
    Splitter1->setHandleWidth(SplitterWidth);
    Splitter1->setChildrenCollapsible(false);
    column->addWidget(Splitter1, 1);

    Layout_BuildLeftColumn();
    Layout_BuildRightArea();
    Splitter1->addWidget(ScrollBox1);
    Splitter1->addWidget(Panel3);
    Splitter1->setStretchFactor(0, 0);
    Splitter1->setStretchFactor(1, 1);
    Splitter1->setSizes({LeftColumnWidth, ClientSize.width() - LeftColumnWidth - SplitterWidth});
    Splitter1->handle(1)->setCursor(Qt::SplitHCursor);

    Layout_BuildStatusBar();

    tbVolume = Named(new QSlider(Qt::Vertical, this), "tbVolume");
    // Only a native window can lie above the video surface, itself native.
    tbVolume->setAttribute(Qt::WA_NativeWindow);
    tbVolume->setRange(0, 100);
    tbVolume->setValue(0);
    connect(tbVolume, &QSlider::valueChanged, this, &TfrmMain::tbVolumeChange);
    Layout_PlaceVolume();

    setTabOrder(bPlay, b10SecForward);
    setTabOrder(b10SecForward, b1SecForward);
    setTabOrder(b1SecForward, b1SecBackward);
    setTabOrder(b1SecBackward, b10SecBackward);
    setTabOrder(b10SecBackward, tbVolume);

    OpenDialogFolder = Named(new TOpenDialog(this), "OpenDialogFolder");
    OpenDialogFolder->SetFilter(OpenDialogFilter);

    Timer1 = Named(new QTimer(this), "Timer1");
    Timer1->setInterval(TimerIntervalMs);
    connect(Timer1, &QTimer::timeout, this, &TfrmMain::Timer1Timer);
    Timer1->start();
}

void TfrmMain::Layout_BuildLeftColumn()
{
    ScrollBox1 = Named(new QScrollArea(Splitter1), "ScrollBox1");
    ScrollBox1->setWidgetResizable(true);
    ScrollBox1->setFrameShape(QFrame::NoFrame);
    ScrollBox1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    ScrollBox1->setMinimumWidth(LeftColumnMinWidth);
    auto* content = Named(new QWidget(ScrollBox1), "ScrollBox1_Content");
    auto* column = new QVBoxLayout(content);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);

    PanelHead_Control = Named(new QWidget(content), "PanelHead_Control");
    auto* head = StripLayout(PanelHead_Control);
    head->setContentsMargins(3, 0, 0, 0);
    Button1 = StripButton(PanelHead_Control, "Button1", QStringLiteral("searchtoolbutton"),
                          QStringLiteral("Open folder directory"));
    Button1->setFocusPolicy(Qt::NoFocus);
    connect(Button1, &QToolButton::clicked, this, &TfrmMain::Button1Click);
    head->addWidget(Button1);
    head->addSpacing(2);
    Label1 = Named(new QLabel(QStringLiteral("Select directory"), PanelHead_Control), "Label1");
    head->addWidget(Label1, 1);
    column->addWidget(PanelHead_Control);

    ListBoxFiles = Named(new QListWidget(content), "ListBoxFiles");
    ListBoxFiles->setFixedHeight(FileListHeight);
    ListBoxFiles->setSelectionMode(QAbstractItemView::SingleSelection);
    ListBoxFiles->setEditTriggers(QAbstractItemView::NoEditTriggers);
    auto* groupHeader = new QListWidgetItem(QStringLiteral("Files list"));
    groupHeader->setData(Qt::UserRole, QStringLiteral("ListBoxGroupHeader1"));
    groupHeader->setFlags(Qt::NoItemFlags);
    QFont headerFont = groupHeader->font();
    headerFont.setBold(true);
    groupHeader->setFont(headerFont);
    ListBoxFiles->addItem(groupHeader);
    connect(ListBoxFiles, &QListWidget::itemClicked, this, &TfrmMain::ListBoxFilesItemClick);
    ListBoxFiles->installEventFilter(this);
    column->addWidget(ListBoxFiles);

    Panel1 = Named(new TClickPanel(content), "Panel1");
    Panel1->setFixedHeight(SpacerPanelHeight);
    connect(Panel1, &TClickPanel::Click, this, &TfrmMain::Panel1Click);
    column->addWidget(Panel1);

    Layout1 = Named(new QWidget(content), "Layout1");
    auto* playback = StripLayout(Layout1);
    playback->setContentsMargins(5, 0, 5, 0);
    bPlay = StripButton(Layout1, "bPlay", QStringLiteral("playtoolbutton"),
                        QStringLiteral("Start/Stop video playback  (P)"), QStringLiteral("Play"));
    b10SecBackward = StripButton(Layout1, "b10SecBackward", QStringLiteral("rewindtoolbutton"),
                                 QStringLiteral("Video posion rewind 1 sec.  (CTRL + LEFT)"),
                                 QStringLiteral("10 Sec Backward"));
    b1SecBackward = StripButton(Layout1, "b1SecBackward", QStringLiteral("arrowlefttoolbutton"),
                                QStringLiteral("Video posion rewind  (LEFT)"), QStringLiteral("10 Sec Backward"));
    b1SecForward = StripButton(Layout1, "b1SecForward", QStringLiteral("arrowrighttoolbutton"),
                               QStringLiteral("Video posion forward  (RIGHT)"), QStringLiteral("10 Sec Backward"));
    b10SecForward = StripButton(Layout1, "b10SecForward", QStringLiteral("forwardtoolbutton"),
                                QStringLiteral("Video posion forward 1 sec.  (CTRL + RIGHT)"),
                                QStringLiteral("10 Sec Forward"));
    for (TStyleButton* button : {bPlay, b10SecBackward, b1SecBackward, b1SecForward, b10SecForward})
        playback->addWidget(button);
    playback->addStretch(1);
    column->addWidget(Layout1);

    Panel2 = Named(new QFrame(content), "Panel2");
    Panel2->setFrameShape(QFrame::StyledPanel);
    Panel2->setFixedHeight(SpacerPanelHeight);
    column->addWidget(Panel2);

    Layout2 = Named(new QWidget(content), "Layout2");
    auto* shots = StripLayout(Layout2);
    shots->setContentsMargins(5, 0, 5, 0);
    ButtonScreenshot = StripButton(Layout2, "ButtonScreenshot", QStringLiteral("cameratoolbutton"),
                                   QStringLiteral("Take a new screenshot  (S)"));
    ButtonDeleteScreenshot = StripButton(Layout2, "ButtonDeleteScreenshot", QStringLiteral("deleteitembutton"),
                                         QStringLiteral("DELETE the current screenshot"));
    shots->addWidget(ButtonScreenshot);
    shots->addStretch(1);
    shots->addWidget(ButtonDeleteScreenshot);
    column->addWidget(Layout2);

    ListViewScreenshots = Named(new TScreenshotListView(content), "ListViewScreenshots");
    connect(ListViewScreenshots, &TScreenshotListView::ItemClickEx, this, &TfrmMain::ListViewScreenshotsItemClickEx);
    column->addWidget(ListViewScreenshots, 1);

    ScrollBox1->setWidget(content);
}

void TfrmMain::Layout_BuildRightArea()
{
    Panel3 = Named(new QWidget(Splitter1), "Panel3");
    auto* area = new QVBoxLayout(Panel3);
    area->setContentsMargins(0, 0, 0, 0);
    area->setSpacing(0);

    TabControl1_Header = Named(new THeaderTabBar(Panel3, HeaderTabHeight), "TabControl1_Header");
    TabControl1_Header->setFixedHeight(HeaderTabsHeight);
    TabControl1_Header->AddTab(QStringLiteral("TabItem1H_Video"), QStringLiteral("Video"), 62);
    TabControl1_Header->AddTab(QStringLiteral("TabItem2H_Screenshot"), QStringLiteral("Screenshot"), 99);
    TabControl1_Header->setCurrentIndex(TabItem1H_Video);
    area->addWidget(TabControl1_Header);

    auto* bodyFrame = new QVBoxLayout;
    bodyFrame->setContentsMargins(BodyMargin, BodyMargin, BodyMargin, BodyMargin);
    TabControl2_Body = Named(new QStackedWidget(Panel3), "TabControl2_Body");
    bodyFrame->addWidget(TabControl2_Body);
    area->addLayout(bodyFrame, 1);

    TabItem1B_Video = Named(new QWidget(TabControl2_Body), "TabItem1B_Video");
    auto* videoPage = new QGridLayout(TabItem1B_Video);
    videoPage->setContentsMargins(0, 0, 0, 0);
    Rectangle1 = Named(new QWidget(TabItem1B_Video), "Rectangle1");
    Rectangle1->setAttribute(Qt::WA_StyledBackground);
    PanelMedia = Named(new QWidget(TabItem1B_Video), "PanelMedia");
    videoPage->addWidget(Rectangle1, 0, 0);
    videoPage->addWidget(PanelMedia, 0, 0);
    TabControl2_Body->addWidget(TabItem1B_Video);

    TabItem2B_Screenshot = Named(new QWidget(TabControl2_Body), "TabItem2B_Screenshot");
    auto* screenshotPage = new QVBoxLayout(TabItem2B_Screenshot);
    screenshotPage->setContentsMargins(0, 0, 0, 0);
    screenshotPage->setSpacing(0);
    Panel4 = Named(new QWidget(TabItem2B_Screenshot), "Panel4");
    auto* annotations = StripLayout(Panel4);
    ButtonItemAdd = StripButton(Panel4, "ButtonItemAdd", QStringLiteral("additembutton"),
                                QStringLiteral("Add a new Annotation"));
    ButtonItemDelete = StripButton(Panel4, "ButtonItemDelete", QStringLiteral("deleteitembutton"),
                                   QStringLiteral("DELETE the selected Annotation"));
    ButtonItemAdd->hide();
    ButtonItemDelete->hide();
    connect(ButtonItemAdd, &QToolButton::clicked, this, &TfrmMain::ButtonItemAddClick);
    annotations->addWidget(ButtonItemAdd);
    annotations->addWidget(ButtonItemDelete);
    annotations->addStretch(1);
    screenshotPage->addWidget(Panel4);
    Rectangle3 = Named(new QWidget(TabItem2B_Screenshot), "Rectangle3");
    Rectangle3->setAttribute(Qt::WA_StyledBackground);
    auto* viewerBox = new QVBoxLayout(Rectangle3);
    viewerBox->setContentsMargins(0, 0, 0, 0);
    ImageViewerScreenshot = Named(new TImageViewer(Rectangle3), "ImageViewerScreenshot");
    viewerBox->addWidget(ImageViewerScreenshot);
    screenshotPage->addWidget(Rectangle3, 1);
    TabControl2_Body->addWidget(TabItem2B_Screenshot);
    TabControl2_Body->setCurrentWidget(TabItem1B_Video);

    RectangleCover = Named(new TCoverRectangle(Panel3, HeaderTabsHeight), "RectangleCover");
    RectangleCover->SetFill(CoverFill);
    RectangleCover->SetFillOpacity(CoverOpacity);
    auto* coverLayout = new QHBoxLayout(RectangleCover);
    coverLayout->setContentsMargins(CoverIndicatorMargin, CoverIndicatorMargin, CoverIndicatorMargin,
                                    CoverIndicatorMargin);
    AniIndicatorCover = Named(new TAniIndicator(RectangleCover), "AniIndicatorCover");
    AniIndicatorCover->setFixedSize(AniIndicatorCover->sizeHint());
    AniIndicatorCover->setEnabled(false);
    coverLayout->addWidget(AniIndicatorCover, 0, Qt::AlignCenter);
    RectangleCover->hide();
}

void TfrmMain::Layout_BuildStatusBar()
{
    StatusBar1 = Named(new QStatusBar(this), "StatusBar1");
    StatusBar1->setSizeGripEnabled(true);
    StatusBar1->setFixedHeight(StatusBarHeight);
    setStatusBar(StatusBar1);

    auto* bar = Named(new QWidget(StatusBar1), "StatusBar1_Content");
    auto* row = new QHBoxLayout(bar);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);

    const QString noTime = QStringLiteral("-:--:------");
    LabelMediaTime = Named(new QLabel(noTime, bar), "LabelMediaTime");
    LabelMediaDuration = Named(new QLabel(noTime, bar), "LabelMediaDuration");
    for (QLabel* label : {LabelMediaTime, LabelMediaDuration}) {
        label->setFixedWidth(TimeLabelWidth);
        label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        label->setContentsMargins(0, 2, 5, 2);
    }

    tbProcess = Named(new QSlider(Qt::Horizontal, bar), "tbProcess");
    tbProcess->setRange(0, 0);

    // QStatusBar::showMessage would hide the timeline and the time labels
    // while its message shows; this label sits beside them instead.
    LabelStatusMessage = Named(new QLabel(bar), "LabelStatusMessage");
    LabelStatusMessage->setContentsMargins(5, 2, 5, 2);
    // Names of files can look like markup; they are shown as they are.
    LabelStatusMessage->setTextFormat(Qt::PlainText);
    LabelStatusMessage->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Preferred);
    LabelStatusMessage->hide();

    row->addWidget(LabelStatusMessage);
    row->addWidget(LabelMediaTime);
    row->addSpacing(TimelineMargin);
    row->addWidget(tbProcess, 1, Qt::AlignVCenter);
    row->addSpacing(TimelineMargin);
    row->addWidget(LabelMediaDuration);
    StatusBar1->addWidget(bar, 1);
}

void TfrmMain::StatusBar_ShowMessage(const QString& sMsg, const QString& sName)
{
    FStatusMessage = sMsg;
    FStatusName = sName;
    StatusBar_FitMessage();
    LabelStatusMessage->show();
}

void TfrmMain::StatusBar_ClearMessage()
{
    FStatusMessage.clear();
    FStatusName.clear();
    LabelStatusMessage->clear();
    LabelStatusMessage->setToolTip(QString());
    LabelStatusMessage->hide();
}

void TfrmMain::StatusBar_FitMessage()
{
    if (FStatusMessage.isEmpty())
        return;
    // A long name must not widen the window or push the timeline away.
    const QFontMetrics metrics(LabelStatusMessage->font());
    const QMargins margins = LabelStatusMessage->contentsMargins();
    const int room = StatusBar1->width() - 2 * (TimeLabelWidth + TimelineMargin) - MessageMinTimelineWidth
                     - margins.left() - margins.right();
    const QString whole = FStatusName.isEmpty() ? FStatusMessage : FStatusMessage.arg(FStatusName);
    QString shown = whole;
    if (!FStatusName.isEmpty()) {
        const int around = metrics.horizontalAdvance(FStatusMessage.arg(QString()));
        shown = FStatusMessage.arg(metrics.elidedText(FStatusName, Qt::ElideMiddle, std::max(0, room - around)));
    }
    LabelStatusMessage->setText(shown);
    LabelStatusMessage->setToolTip(shown == whole ? QString() : whole);
    LabelStatusMessage->setFixedWidth(metrics.horizontalAdvance(shown) + margins.left() + margins.right());
}

void TfrmMain::Layout_PlaceVolume()
{
    if (!tbVolume)
        return;
    const int right = ClientSize.width() - VolumeDesignRect.left();
    const int bottom = ClientSize.height() - (VolumeDesignRect.top() + VolumeDesignRect.height());
    tbVolume->setGeometry(width() - right, VolumeDesignRect.top(), VolumeDesignRect.width(),
                          std::max(0, height() - VolumeDesignRect.top() - bottom));
}

float TfrmMain::Timeline_Value() const
{
    return float(tbProcess->value());
}

void TfrmMain::Timeline_SetValue(float AValue)
{
    tbProcess->setValue(SliderMs(AValue));
}

float TfrmMain::Timeline_Maximum() const
{
    return float(tbProcess->maximum());
}

void TfrmMain::Timeline_SetMaximum(float AMaximum)
{
    tbProcess->setMaximum(SliderMs(AMaximum));
}

// The timer only keeps the event loop waking, so that idle-time tasks run on time.
void TfrmMain::Timer1Timer()
{
}

// Playback is always silent; the volume bar changes nothing.
void TfrmMain::tbVolumeChange()
{
}

void TfrmMain::ListViewScreenshotsItemClickEx(int)
{
}

// Annotations are not supported; the button stays hidden.
void TfrmMain::ButtonItemAddClick()
{
}
