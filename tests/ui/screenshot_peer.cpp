// Another copy of the program for the screenshot tests: opens the video named
// on its command line, says "ready" once it rests on it, waits for a line on
// its input, then presses S as often as asked and ends when the screenshots
// are written. Started twice, it lets two copies save at the same moment.
#include "TestLoop.h"
#include "TfrmMainAccess.h"

#include "app/OrvStartup.h"
#include "ui/TOpenDialog.h"

#include <QApplication>
#include <QTest>

#include <cstdio>
#include <iostream>
#include <string>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: screenshot_peer VIDEO COUNT\n");
        return 2;
    }
    const QString video = QString::fromLocal8Bit(argv[1]);
    const int count = std::atoi(argv[2]);
    OrvStartup_ModuleInit();
    TOpenDialog::SetRunner([&](QWidget*, const QString&, const QString&) { return std::optional<QString>(video); });
    int rc = 0;
    {
        TfrmMain window;
        window.show();
        TfrmMainAccess access {window};
        access.Button1Click();
        const bool resting = TestLoop::waitFor(
            [&] {
                return access.FileName() == video && access.Player()->GetState() == vlcPlayer_Paused
                       && !window.findChild<QWidget*>(QStringLiteral("RectangleCover"))->isVisible();
            },
            30000);
        if (!resting) {
            std::fprintf(stderr, "the video did not come to rest\n");
            rc = 1;
        } else {
            std::printf("ready\n");
            std::fflush(stdout);
            std::string go;
            std::getline(std::cin, go);
            for (int i = 0; i < count; ++i)
                QTest::keyClick(&window, Qt::Key_S);
            if (!TestLoop::waitFor([&] { return access.ScreenshotsPending() == 0; }, 30000)) {
                std::fprintf(stderr, "the screenshots were not written\n");
                rc = 1;
            }
            if (!access.StatusMessage().isEmpty())
                std::fprintf(stderr, "%s\n", qPrintable(access.StatusMessage()));
        }
    }
    TOpenDialog::SetRunner({});
    OrvStartup_ModuleFinalize();
    return rc;
}
