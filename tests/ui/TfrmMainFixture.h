#pragma once

#include "TestLoop.h"
#include "TestMedia.h"
#include "TfrmMainAccess.h"

#include "app/OrvStartup.h"
#include "engine/TVlcPlayer.h"
#include "services/TOrvTask_IdleWorker.h"
#include "ui/THeaderTabBar.h"
#include "ui/TOpenDialog.h"
#include "ui/TStyleButton.h"

#include <QImage>
#include <QLabel>
#include <QListWidget>
#include <QSemaphore>
#include <QTemporaryDir>
#include <QThreadPool>
#include <QtTest>

#include <memory>
#include <optional>

// Keeps the screenshot thread busy until released, as a disk that does not
// answer would; a screenshot asked for meanwhile waits behind it.
struct TBusyScreenshotThread
{
    QThreadPool* Thread;
    QSemaphore Released;
    explicit TBusyScreenshotThread(QThreadPool* AThread)
        : Thread(AThread)
    {
        Thread->start([this] { Released.tryAcquire(1, 60000); });
    }
    // Also when a test ends early: the thread must not outlive the semaphore.
    ~TBusyScreenshotThread()
    {
        Release();
        Thread->waitForDone();
    }
    void Release()
    {
        if (Released.available() == 0)
            Released.release();
    }
};

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

    // Closes the window and drops what it left queued, so that nothing of it
    // runs under the next test.
    void CloseWindow()
    {
        Window.reset();
        TOrvTask_IdleWorker::Default().Clear();
    }

    TfrmMainAccess Access() const { return TfrmMainAccess {*Window}; }
    TVlcPlayer* Player() const { return Access().Player(); }

    template <typename T = QWidget>
    T* Control(const char* AName) const
    {
        return Window->findChild<T*>(QLatin1String(AName));
    }

    THeaderTabBar* Header() const { return Control<THeaderTabBar>("TabControl1_Header"); }
    QString Text(const char* ALabel) const { return Control<QLabel>(ALabel)->text(); }
    // The play button's look: "playtoolbutton", or "stoptoolbutton" while it would stop.
    QString PlayLook() const { return Control<TStyleButton>("bPlay")->StyleLookup(); }
    bool CoverShown() const { return Control("RectangleCover")->isVisible(); }
    bool Resting() const { return Player()->GetState() == vlcPlayer_Paused && !CoverShown(); }

    // The text of the file list's highlighted row, empty when none is.
    QString HighlightedFile() const
    {
        const QList<QListWidgetItem*> selected = Access().ListBoxFiles()->selectedItems();
        return selected.isEmpty() ? QString() : selected.first()->text();
    }

    // Chooses sPath with the folder button, which lists its folder and opens it.
    void Choose(const QString& sPath)
    {
        DialogAnswer = sPath;
        Access().Button1Click();
    }

    // Waits until the window shows the video sPath at rest: paused, the busy
    // cover gone.
    void WaitResting(const QString& sPath)
    {
        QVERIFY2(TestLoop::waitFor([&] { return Access().FileName() == sPath && Resting(); }, 15000),
                 qPrintable(QStringLiteral("%1: %2").arg(Access().FileName(), Player()->GetStateName())));
    }

    // Chooses the video sPath and waits until it rests on its first frames.
    void ChooseAndRest(const QString& sPath)
    {
        Choose(sPath);
        WaitResting(sPath);
    }

    void WaitState(TVlcPlayerState AState)
    {
        QVERIFY2(TestLoop::waitFor([&] { return Player()->GetState() == AState; }, 15000),
                 qPrintable(Player()->GetStateName()));
    }

    // A click on the file list's row sText, as the user makes it.
    void ClickFile(const QString& sText)
    {
        QListWidget* list = Access().ListBoxFiles();
        const QList<QListWidgetItem*> found = list->findItems(sText, Qt::MatchExactly);
        QVERIFY2(found.size() == 1, qPrintable(sText));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(found.first()).center());
    }

    void ClickTab(int AIndex) { QTest::mouseClick(Header(), Qt::LeftButton, {}, Header()->tabRect(AIndex).center()); }

    // A key pressed in the file list; the window's own keys reach the window
    // from there.
    void PressKey(Qt::Key AKey, Qt::KeyboardModifiers AModifiers = {})
    {
        QTest::keyClick(Control("ListBoxFiles"), AKey, AModifiers);
    }

    // A picture cleared to white: there, and every pixel white.
    static bool AllWhite(const QImage& AImage)
    {
        const QImage rgb = AImage.convertToFormat(QImage::Format_RGB32);
        for (int y = 0; y < rgb.height(); ++y)
            for (int x = 0; x < rgb.width(); ++x)
                if (rgb.pixel(x, y) != qRgb(255, 255, 255))
                    return false;
        return !rgb.isNull();
    }
};
