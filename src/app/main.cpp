#include "app/OrvPlatform.h"
#include "app/OrvStartup.h"
#include "ui/OrvDlg.h"
#include "ui/StyleResources.h"
#include "ui/TfrmMain.h"

#include <QApplication>

#include <cstdio>
#include <cstdlib>

int main(int argc, char* argv[])
{
    const TOrvPlatform platform = OrvPlatform_Choose(OrvPlatform_Session());
    const bool noXDisplay = platform == TOrvPlatform::NoXDisplay || platform == TOrvPlatform::NoDisplay;
    if (noXDisplay)
        std::fprintf(stderr, "%s\n", qPrintable(OrvPlatform_NoXDisplayText()));
    if (platform == TOrvPlatform::NoDisplay)
        return EXIT_FAILURE;
    // Qt reads its platform when the application object is made.
    OrvPlatform_Apply(platform);
    // Qt's own start-up: no platform service can be asked before the application object exists.
    QApplication app(argc, argv);
    // The window shows the icon that the menu entry shows, and names that entry,
    // so that docks and task bars put the two together.
    QGuiApplication::setDesktopFileName(QStringLiteral(SCENORA_APP_ID));
    QApplication::setWindowIcon(StyleIcon(QStringLiteral("scenora")));
    // Rather than a window whose video could never show.
    if (noXDisplay) {
        OrvDlg::DlgMessage(OrvPlatform_NoXDisplayText(), QMessageBox::Critical, QMessageBox::Ok, {});
        return EXIT_FAILURE;
    }
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
