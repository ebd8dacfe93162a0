#include "engine/TVlcPlayer.h"

#include <QEvent>
#include <QPalette>
#include <QWindow>

#include "engine/TFrameSource.h"
#include "engine/TStillPicture.h"
#include "engine/TVlc.h"
#include "engine/VlcLoader.h"

namespace {

constexpr int DefaultWidth = 320;
constexpr int DefaultHeight = 240;

void PaintBlack(QWidget* w)
{
    QPalette pal = w->palette();
    pal.setColor(QPalette::Window, Qt::black);
    w->setPalette(pal);
    w->setAutoFillBackground(true);
}

} // namespace

TVlcPlayer::TVlcPlayer(QWidget* AOwner)
    : QWidget(nullptr), FOwner(AOwner)
{
    setAttribute(Qt::WA_NativeWindow);
    PaintBlack(this);
    resize(DefaultWidth, DefaultHeight);

    FPlayerWinCtrl = new QWidget(this);
    FPlayerWinCtrl->setAttribute(Qt::WA_NativeWindow);
    PaintBlack(FPlayerWinCtrl);
    FPlayerWinCtrl->setGeometry(0, 0, width(), height());
    FPlayerWinCtrl->installEventFilter(this);

    FStillWinCtrl = new TStillPicture(this);
    FStillWinCtrl->setGeometry(0, 0, width(), height());

    FMouseEventWinCtrl = new TVlcMouseEventWinCtrl(this);
    FMouseEventWinCtrl->SetBounds(0, 0, width(), height());
    BindMouseEvents();

    FFrames = new TFrameSource(this);
    connect(FFrames, &TFrameSource::frameReady, this, &TVlcPlayer::Rest_FrameReady);
}

TVlcPlayer::~TVlcPlayer()
{
    {
        std::lock_guard lock(FCS);
        // Once this returns no engine callback for the control is running or
        // will run (see EventsDisable), so there is nothing left to wait for.
        EventsDisable();
        Stop();
        p_mi_ev_mgr = nullptr;
        p_mi.reset();
    }
    FStartOptions.clear();
    FVLC.reset();
}

void TVlcPlayer::BindMouseEvents()
{
    // The overlay's events reach the control's handlers with the control as Sender.
    FMouseEventWinCtrl->OnClick = [this](QObject*) {
        if (OnClick)
            OnClick(this);
    };
    FMouseEventWinCtrl->OnDblClick = [this](QObject*) {
        if (OnDblClick)
            OnDblClick(this);
    };
    FMouseEventWinCtrl->OnMouseDown = [this](QObject*, Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y) {
        if (OnMouseDown)
            OnMouseDown(this, button, shift, x, y);
    };
    FMouseEventWinCtrl->OnMouseMove = [this](QObject*, Qt::MouseButtons buttons, Qt::KeyboardModifiers shift, int x, int y) {
        if (OnMouseMove)
            OnMouseMove(this, buttons, shift, x, y);
    };
    FMouseEventWinCtrl->OnMouseUp = [this](QObject*, Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y) {
        if (OnMouseUp)
            OnMouseUp(this, button, shift, x, y);
    };
    FMouseEventWinCtrl->OnMouseActivate = [this](QObject*, Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y,
                                                 TMouseActivate& activate) {
        if (OnMouseActivate)
            OnMouseActivate(this, button, shift, x, y, activate);
    };
    FMouseEventWinCtrl->OnMouseEnter = [this](QObject*) {
        if (OnMouseEnter)
            OnMouseEnter(this);
    };
    FMouseEventWinCtrl->OnMouseLeave = [this](QObject*) {
        if (OnMouseLeave)
            OnMouseLeave(this);
    };
}

// ---- Window ---------------------------------------------------------------

void TVlcPlayer::SetParentFromHWND(WId hWnd, float x, float y, float w, float h)
{
    if (parentWidget())
        return;
    QWidget* foreignParent = QWidget::find(hWnd);
    if (!foreignParent)
        return;
    // The container belongs to the foreign window and lives as long as it.
    auto* container = new QWidget(foreignParent);
    container->setAttribute(Qt::WA_NativeWindow);
    PaintBlack(container);
    container->show();
    ShowInParent(container);
    SetParentLocation(x, y, w, h);
}

void TVlcPlayer::SetParentLocation(float x, float y, float w, float h)
{
    QWidget* container = parentWidget();
    if (!container)
        return;
    const int width = static_cast<int>(w);
    const int height = static_cast<int>(h);
    container->setGeometry(static_cast<int>(x), static_cast<int>(y), width, height);
    SetBounds(0, 0, width, height);
    // A native child makes Qt give its siblings native windows too, and the
    // window system stacks those made later above the container, where they
    // hide the video. Qt's raise skips the window system when the container
    // already comes last in Qt's own order of siblings, so the native window
    // is raised as well.
    container->raise();
    container->windowHandle()->raise();
}

void TVlcPlayer::SetBounds(int ALeft, int ATop, int AWidth, int AHeight)
{
    setGeometry(ALeft, ATop, AWidth, AHeight);
    LayoutChildren();
}

void TVlcPlayer::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    LayoutChildren();
}

bool TVlcPlayer::eventFilter(QObject* watched, QEvent* event)
{
    // A video window created after the still picture and the overlay would
    // cover them.
    if (watched == FPlayerWinCtrl && event->type() == QEvent::WinIdChange) {
        FStillWinCtrl->raise();
        FMouseEventWinCtrl->BringToFront();
    }
    // Once for a burst of exposes (a splitter drag resizes on every move).
    if (watched == FPlayerWinCtrl && event->type() == QEvent::Paint && FEngineOverlays && !FEngineRedrawQueued) {
        FEngineRedrawQueued = true;
        QMetaObject::invokeMethod(
            this,
            [this] {
                FEngineRedrawQueued = false;
                Rest_EngineRedraw();
            },
            Qt::QueuedConnection);
    }
    return QWidget::eventFilter(watched, event);
}

void TVlcPlayer::LayoutChildren()
{
    FPlayerWinCtrl->setGeometry(0, 0, width(), height());
    FStillWinCtrl->setGeometry(0, 0, width(), height());
    if (FMouseEventsHandler == mehComponent)
        FMouseEventWinCtrl->SetBounds(0, 0, width(), height());
    else
        FMouseEventWinCtrl->SetBounds(-1, -1, 1, 1);
    FMouseEventWinCtrl->BringToFront();
}

void TVlcPlayer::SetMouseEventsHandler(TVlcPlayerMouseEventsHandler AValue)
{
    FMouseEventsHandler = AValue;
    LayoutChildren();
}

void TVlcPlayer::ShowInParent(QWidget* AParent)
{
    const bool hiddenOnPurpose = isHidden() && testAttribute(Qt::WA_WState_ExplicitShowHide);
    setParent(AParent);
    if (!hiddenOnPurpose)
        show();
}

// ---- Engine instance, engine player and start options ----------------------

TVlc* TVlcPlayer::GetVLC()
{
    if (!FVLC) {
        FVLC = std::make_unique<TVlc>();
        TVlc* vlc = FVLC.get();
        for (const QString& line : std::as_const(FStartOptions))
            vlc->AddOption(line);
        vlc->AddOption(QStringLiteral("--ignore-config"));
        vlc->AddOption(QStringLiteral("--no-one-instance"));
        vlc->AddOption(QStringLiteral("--intf=dummy"));
        vlc->AddOption(QStringLiteral("--quiet"));
        vlc->AddOption(QStringLiteral("--drop-late-frames"));
        vlc->SetTitleShow(FTitleShow);
        vlc->AddOption(FSpuShow ? QStringLiteral("--spu") : QStringLiteral("--no-spu"));
        vlc->AddOption(FOsdShow ? QStringLiteral("--osd") : QStringLiteral("--no-osd"));
        vlc->AddOption(FVideoOnTop ? QStringLiteral("--video-on-top") : QStringLiteral("--no-video-on-top"));
        vlc->AddOption(FUseOverlay ? QStringLiteral("--overlay") : QStringLiteral("--no-overlay"));
        vlc->AddOption(FSnapshotPrv ? QStringLiteral("--snapshot-preview") : QStringLiteral("--no-snapshot-preview"));
        if (FVideoOutput != voDefault)
            vlc->AddOption(QStringLiteral("--vout=") + QLatin1String(VideoOutputName[FVideoOutput]));
        if (FAudioOutput != aoDefault)
            vlc->AddOption(QStringLiteral("--aout=") + QLatin1String(AudioOutputName[FAudioOutput]));
    }
    return FVLC.get();
}

libvlc_media_player_t* TVlcPlayer::GetPlayerHandle()
{
    if (!p_mi) {
        if (libvlc_instance_t* instance = GetVLC()->GetHandle()) {
            p_mi.reset(LibVlcEntries.libvlc_media_player_new(instance));
            if (p_mi) {
                LibVlcEntries.libvlc_video_set_mouse_input(p_mi.get(), 1);
                LibVlcEntries.libvlc_video_set_key_input(p_mi.get(), 1);
            }
        }
    }
    UpdateTitleShow();
    if (FUseEvents)
        EventsEnable();
    return p_mi.get();
}

void TVlcPlayer::UpdateDisplayWindow()
{
    if (p_mi)
        LibVlcSetDisplayWindow(p_mi.get(), FPlayerWinCtrl->winId());
}

void TVlcPlayer::UpdateTitleShow()
{
    if (!p_mi || GetVLC()->GetVersionBin() < LibVlcPackVersion(2, 1, 0))
        return;
    // libvlc's positions follow TVlcTitlePosition from centre (0) on; -1 hides the title.
    const auto position = FTitleShow ? static_cast<libvlc_position_t>(FTitleShowPos) : libvlc_position_disable;
    LibVlcEntries.libvlc_media_player_set_video_title_display(p_mi.get(), position, FTitleShowTimeOut);
}

void TVlcPlayer::UpdateDeinterlace()
{
    if (!p_mi)
        return;
    if (FDeinterlaceFilter == deON)
        LibVlcEntries.libvlc_video_set_deinterlace(p_mi.get(), DeinterlaceModeName[FDeinterlaceMode]);
    else
        LibVlcEntries.libvlc_video_set_deinterlace(p_mi.get(), nullptr);
}

void TVlcPlayer::SetTitleShow(bool AValue)
{
    if (FTitleShow == AValue)
        return;
    FTitleShow = AValue;
    UpdateTitleShow();
}

void TVlcPlayer::SetTitleShowPos(TVlcTitlePosition AValue)
{
    if (FTitleShowPos == AValue)
        return;
    FTitleShowPos = AValue;
    UpdateTitleShow();
}

void TVlcPlayer::SetTitleShowTimeOut(quint32 AValue)
{
    if (FTitleShowTimeOut == AValue)
        return;
    FTitleShowTimeOut = AValue;
    UpdateTitleShow();
}

void TVlcPlayer::SetDeinterlaceFilter(TDeinterlaceFilter AValue)
{
    if (FDeinterlaceFilter == AValue)
        return;
    FDeinterlaceFilter = AValue;
    UpdateDeinterlace();
}

void TVlcPlayer::SetDeinterlaceMode(TDeinterlaceMode AValue)
{
    if (FDeinterlaceMode == AValue)
        return;
    FDeinterlaceMode = AValue;
    UpdateDeinterlace();
}

QString TVlcPlayer::GetDeinterlaceModeName() const
{
    return QLatin1String(DeinterlaceModeName[FDeinterlaceMode]);
}

void TVlcPlayer::SetSnapShotFmt(const QString& AValue)
{
    const QString format = AValue.toLower();
    FSnapshotFmt = format == QLatin1String("jpg") ? format : QStringLiteral("png");
}
