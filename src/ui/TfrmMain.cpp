#include "ui/TfrmMain.h"

#include "app/OrvApp.h"
#include "engine/TVlcPlayer.h"
#include "engine/VlcLoader.h"
#include "services/TOrvTask_IdleWorker.h"
#include "ui/TImageViewer.h"
#include "ui/TScrollPhysics.h"
#include "ui/TStyleButton.h"

#include <QCloseEvent>
#include <QEvent>
#include <QKeyEvent>
#include <QListWidget>
#include <QMouseEvent>
#include <QSplitter>
#include <QTimer>

TfrmMain::TfrmMain(QWidget* parent)
    : QMainWindow(parent)
{
    Layout_Build();
    Playback_Bind();
    View_Bind();
    FormCreate();
}

TfrmMain::~TfrmMain()
{
    FormDestroy();
}

void TfrmMain::FormCreate()
{
    setWindowTitle(QStringLiteral("Scenora V") + OrvAppVersion);
    FProcessTrackDragging = false;
    VideoSurface_LoadEngine();

    b1SecBackward->SetTag(20);
    b1SecForward->SetTag(20);
    b10SecBackward->SetTag(1000);
    b10SecForward->SetTag(1000);

    FLibraryPath = LibraryPath_Default();
    FileList_Update();
    Screenshots_Create();
    Screenshots_Clear();

    FStartPosition = 0;
    FEndPosition = -1;
    FStopImmediately = false;

    VideoSurface_Create();

    TScrollPhysics physics;
    physics.Animation = false;
    physics.Averaging = true;
    physics.AutoShowing = false;
    physics.BoundsAnimation = true;
    physics.TouchTracking = Qt::Vertical | Qt::Horizontal;
    ImageViewerScreenshot->SetScrollPhysics(physics);
}

void TfrmMain::Idle_Execute(std::function<void()> AAction, quint32 ADelay)
{
    TOrvTask_IdleWorker::Default().Execute(std::move(AAction), ADelay);
    QTimer::singleShot(std::chrono::milliseconds(ADelay), Qt::PreciseTimer, this, [] {});
}

void TfrmMain::FormDestroy()
{
    Screenshots_Close();
    // No window handler may run once the teardown has begun.
    if (FPlayer) {
        FPlayer->OnMediaPlayerPlaying = nullptr;
        FPlayer->OnMediaPlayerTimeChanged = nullptr;
        FPlayer->OnMediaPlayerAudioVolume = nullptr;
        FPlayer->OnMediaPlayerEncounteredError = nullptr;
        FPlayer->OnMediaPlayerEndReached = nullptr;
        FPlayer->OnMediaPlayerVideoOutChanged = nullptr;
        FPlayer->OnMediaPlayerOpening = nullptr;
        FPlayer->OnMediaPlayerBuffering = nullptr;
        FPlayer.reset();
    }
    LibVlcUnload();
}

bool TfrmMain::eventFilter(QObject* watched, QEvent* event)
{
    // The list still handles the key afterwards (Up and Down move in it).
    if (watched == ListBoxFiles && event->type() == QEvent::KeyPress)
        ListBoxFilesKeyDown(static_cast<QKeyEvent*>(event));
    // The splitter moves its panes on every mouse move of a drag (opaque
    // resizing), so the release only ends the drag.
    if (watched == Splitter1->handle(1)
        && (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonRelease)
        && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        if (event->type() == QEvent::MouseButtonPress)
            Splitter1MouseDown();
        else
            Splitter1MouseUp();
    }
    return QMainWindow::eventFilter(watched, event);
}

void TfrmMain::resizeEvent(QResizeEvent* event)
{
    QMainWindow::resizeEvent(event);
    Layout_PlaceVolume();
    StatusBar_FitMessage();
    FormResize(this);
}

void TfrmMain::closeEvent(QCloseEvent* event)
{
    // Stop while the video window is still shown: a closing window is hidden
    // before it is destroyed, and an engine still setting up its video output
    // on a hidden window can crash in software OpenGL drivers.
    Screenshots_Close();
    if (FPlayer)
        FPlayer->Stop();
    QMainWindow::closeEvent(event);
}

void TfrmMain::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    // PanelMedia gets its final place only once the window's layouts have run.
    FormResize(this);
}
