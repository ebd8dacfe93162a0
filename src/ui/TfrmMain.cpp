#include "ui/TfrmMain.h"

TfrmMain::TfrmMain(QWidget* parent)
    : QMainWindow(parent)
{
    setWindowTitle(QStringLiteral("Scenora"));
}

TfrmMain::~TfrmMain() = default;
