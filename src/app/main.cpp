#include "app/OrvStartup.h"
#include "ui/StyleResources.h"
#include "ui/TfrmMain.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    // Qt's own start-up: no platform service can be asked before the application object exists.
    QApplication app(argc, argv);
    // The window shows the icon that the menu entry shows, and names that entry,
    // so that docks and task bars put the two together.
    QGuiApplication::setDesktopFileName(QStringLiteral(SCENORA_APP_ID));
    QApplication::setWindowIcon(StyleIcon(QStringLiteral("scenora")));
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
