#include "ui/TfrmMain.h"

#include "engine/TVlcPlayer.h"
#include "engine/VlcLoader.h"
#include "services/OrvPath.h"
#include "ui/THeaderTabBar.h"

#include <QCoreApplication>
#include <QEvent>
#include <QLabel>
#include <QListWidget>
#include <QPointer>
#include <QSlider>
#include <QSplitter>
#include <QStackedWidget>
#include <QWindow>

namespace {
// The thumbnails are re-read once the view switch has settled.
constexpr quint32 ViewRefreshDelayMs = 100;
// Splitter1's tag: 1 while the splitter is being dragged.
constexpr const char* TagProperty = "tag";
} // namespace

void TfrmMain::View_Bind()
{
    // Also a switch made by code reaches the handler.
    connect(TabControl1_Header, &QTabBar::currentChanged, this, [this] { TabControl1_HeaderChange(TabControl1_Header); });
    Splitter1->setProperty(TagProperty, 0);
    Splitter1->setOpaqueResize(true);
    // The handle's presses and releases frame a drag; every move in between
    // comes as the splitter's move notification.
    Splitter1->handle(1)->installEventFilter(this);
    connect(Splitter1, &QSplitter::splitterMoved, this, &TfrmMain::Splitter1MouseMove);
}

void TfrmMain::VideoSurface_LoadEngine()
{
    // The result is not looked at: without an engine the player operations do nothing.
    LibVlcLoad(PathCombine(QCoreApplication::applicationDirPath(), QStringLiteral("Vlc/")));
}

void TfrmMain::VideoSurface_Create()
{
    FPlayer = std::make_unique<TVlcPlayer>(this);
    FPlayer->OnMediaPlayerPlaying = [this](QObject* Sender) { EvOnMediaPlayerPlaying(Sender); };
    FPlayer->OnMediaPlayerTimeChanged = [this](QObject* Sender, qint64 time) {
        EvOnMediaPlayerTimeChanged(Sender, time);
    };
    FPlayer->OnMediaPlayerAudioVolume = [this](QObject* Sender, float volume) {
        EvOnMediaPlayerAudioVolume(Sender, volume);
    };
    FPlayer->OnMediaPlayerEncounteredError = [this](QObject* Sender) { EvOnMediaPlayerEncounteredError(Sender); };
    FPlayer->OnMediaPlayerEndReached = [this](QObject* Sender) { EvOnMediaPlayerEndReached(Sender); };
    FPlayer->OnMediaPlayerVideoOutChanged = [this](QObject* Sender, int video_out) {
        EvOnMediaPlayerVideoOutChanged(Sender, video_out);
    };
    FPlayer->OnMediaPlayerOpening = [this](QObject* Sender) { EvOnMediaPlayerProgress(Sender); };
    FPlayer->OnMediaPlayerBuffering = [this](QObject* Sender) { EvOnMediaPlayerProgress(Sender); };
    if (const WId handle = winId()) {
        const QRectF media = PanelMedia_AbsoluteRect();
        FPlayer->SetParentFromHWND(handle, float(media.left()), float(media.top()), float(media.width()),
                                   float(media.height()));
    }
}

QRectF TfrmMain::PanelMedia_AbsoluteRect()
{
    // A page that has just been shown, or a column that has just been
    // resized, may still have its layout pending.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    return QRectF(PanelMedia->mapTo(this, QPoint(0, 0)), PanelMedia->size());
}

void TfrmMain::VideoSurface_Place(const QRectF& ARect)
{
    FPlayer->SetParentLocation(float(ARect.left()), float(ARect.top()), float(ARect.width()), float(ARect.height()));
    // The volume bar floats over the video's right edge. Its native window
    // is raised itself: Qt skips that when the bar already comes last in
    // Qt's own order of siblings.
    tbVolume->raise();
    tbVolume->windowHandle()->raise();
}

void TfrmMain::VideoSurface_Show()
{
    FPlayer->setVisible(true);
    VideoSurface_Place(PanelMedia_AbsoluteRect());
    FPlayer->repaint();
}

void TfrmMain::VideoSurface_Hide()
{
    FPlayer->setVisible(false);
    VideoSurface_Place(QRectF(PanelMedia_AbsoluteRect().topLeft(), QSizeF(1, 1)));
}

void TfrmMain::TabControl1_Header_Activate(int ATab)
{
    if (TabControl1_Header->currentIndex() == ATab) {
        // The Video view shows the video surface, also after a choice of a
        // file that listed nothing took it away without leaving the view.
        if (ATab == TabItem1H_Video && FPlayer && FPlayer->isHidden())
            VideoSurface_Show();
        return;
    }
    TabControl1_Header->setCurrentIndex(ATab);
    TabControl1_HeaderChange(nullptr);
}

void TfrmMain::TabControl1_HeaderChange(QObject*)
{
    const int tab = TabControl1_Header->currentIndex();
    TabControl2_Body->setCurrentIndex(tab);

    const bool video = tab == TabItem1H_Video;
    LabelMediaTime->setVisible(video);
    LabelMediaDuration->setVisible(video);
    tbProcess->setVisible(video);
    if (FPlayer) {
        if (video)
            VideoSurface_Show();
        else
            VideoSurface_Hide();
    }

    // The thumbnails are those of the displayed video, which the list
    // highlights unless the user has moved the highlight without opening.
    if (ListBoxFiles->selectedItems().isEmpty() || FFileName.isEmpty())
        return;
    const QString file = FFileName;
    Idle_Execute(
        [self = QPointer<TfrmMain>(this), file] {
            if (self)
                self->Screenshots_UpdateFromFile(file);
        },
        ViewRefreshDelayMs);
}

void TfrmMain::FormResize(QObject*)
{
    if (!FPlayer || TabControl1_Header->currentIndex() != TabItem1H_Video)
        return;
    VideoSurface_Place(PanelMedia_AbsoluteRect());
}

void TfrmMain::Splitter1MouseDown()
{
    Splitter1->setProperty(TagProperty, 1);
}

void TfrmMain::Splitter1MouseMove()
{
    if (Splitter1->property(TagProperty).toInt() != 0)
        FormResize(Splitter1);
}

void TfrmMain::Splitter1MouseUp()
{
    Splitter1->setProperty(TagProperty, 0);
    Splitter1->setOpaqueResize(true);
    FormResize(Splitter1);
}
