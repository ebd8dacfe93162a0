#include "app/OrvStartup.h"
#include "ui/TfrmMain.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    // Qt's own start-up: no platform service can be asked before the application object exists.
    QApplication app(argc, argv);
    OrvStartup_ModuleInit();
    // Hints need no switch: Qt shows a widget's tool tip whenever the widget has one.
    int rc = 0;
    {
        TfrmMain frmMain;
        frmMain.show();
        rc = app.exec();
    }
    OrvStartup_ModuleFinalize();
    return rc;
}
