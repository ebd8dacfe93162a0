#pragma once

#include "TestLoop.h"
#include "TestMedia.h"
#include "TfrmMainAccess.h"

#include "app/OrvStartup.h"
#include "engine/TVlcPlayer.h"
#include "services/TOrvTask_IdleWorker.h"
#include "ui/TOpenDialog.h"

#include <QTemporaryDir>
#include <QtTest>

#include <memory>
#include <optional>

// The real main window with the real engine, for the window tests: a home of
// its own, the folder dialog answered by the test, a fresh window on demand.
struct TfrmMainFixture
{
    QTemporaryDir Home;
    std::unique_ptr<TfrmMain> Window;
    // What the folder dialog answers when the folder button asks it.
    std::optional<QString> DialogAnswer;

    // Once per test program, before any window.
    void Start()
    {
        TestMedia::isolateHome(Home.path());
        OrvStartup_ModuleInit();
        TOpenDialog::SetRunner([this](QWidget*, const QString&, const QString&) { return DialogAnswer; });
    }

    void Finish()
    {
        Window.reset();
        TOpenDialog::SetRunner({});
        OrvStartup_ModuleFinalize();
    }

    void FreshWindow()
    {
        Window.reset();
        TOrvTask_IdleWorker::Default().Clear();
        Window = std::make_unique<TfrmMain>();
        Window->show();
        QVERIFY(QTest::qWaitForWindowExposed(Window.get()));
    }

    TfrmMainAccess Access() const { return TfrmMainAccess {*Window}; }
    TVlcPlayer* Player() const { return Access().Player(); }

    template <typename T = QWidget>
    T* Control(const char* AName) const
    {
        return Window->findChild<T*>(QLatin1String(AName));
    }

    bool CoverShown() const { return Control("RectangleCover")->isVisible(); }
    bool Resting() const { return Player()->GetState() == vlcPlayer_Paused && !CoverShown(); }

    // Chooses sPath with the folder button, which lists its folder and opens it.
    void Choose(const QString& sPath)
    {
        DialogAnswer = sPath;
        Access().Button1Click();
    }

    // Chooses the video sPath and waits until it rests on its first frames.
    void ChooseAndRest(const QString& sPath)
    {
        Choose(sPath);
        QVERIFY2(TestLoop::waitFor([&] { return Access().FileName() == sPath && Resting(); }, 15000),
                 qPrintable(Player()->GetStateName()));
    }

    void WaitState(TVlcPlayerState AState)
    {
        QVERIFY2(TestLoop::waitFor([&] { return Player()->GetState() == AState; }, 15000),
                 qPrintable(Player()->GetStateName()));
    }
};
