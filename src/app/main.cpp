#include "app/OrvStartup.h"
#include "ui/TfrmMain.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    OrvStartup_ModuleInit();
    int rc = 0;
    {
        TfrmMain frmMain;
        frmMain.show();
        rc = app.exec();
    }
    OrvStartup_ModuleFinalize();
    return rc;
}
