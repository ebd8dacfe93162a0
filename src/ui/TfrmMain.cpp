#include "ui/TfrmMain.h"

#include "app/OrvApp.h"
#include "ui/TImageViewer.h"
#include "ui/TScrollPhysics.h"
#include "ui/TStyleButton.h"

#include <QEvent>
#include <QKeyEvent>
#include <QListWidget>

TfrmMain::TfrmMain(QWidget* parent)
    : QMainWindow(parent)
{
    Layout_Build();
    FormCreate();
}

TfrmMain::~TfrmMain() = default;

void TfrmMain::FormCreate()
{
    setWindowTitle(QStringLiteral("Scenora V") + OrvAppVersion);
    FProcessTrackDragging = false;

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

    TScrollPhysics physics;
    physics.Animation = false;
    physics.Averaging = true;
    physics.AutoShowing = false;
    physics.BoundsAnimation = true;
    physics.TouchTracking = Qt::Vertical | Qt::Horizontal;
    ImageViewerScreenshot->SetScrollPhysics(physics);
}

bool TfrmMain::eventFilter(QObject* watched, QEvent* event)
{
    // The list still handles the key afterwards (Up and Down move in it).
    if (watched == ListBoxFiles && event->type() == QEvent::KeyPress)
        ListBoxFilesKeyDown(static_cast<QKeyEvent*>(event));
    return QMainWindow::eventFilter(watched, event);
}

void TfrmMain::resizeEvent(QResizeEvent* event)
{
    QMainWindow::resizeEvent(event);
    Layout_PlaceVolume();
}
