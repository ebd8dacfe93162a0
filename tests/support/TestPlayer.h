#pragma once

#include "TestMedia.h"
#include "engine/TVlcPlayer.h"
#include "engine/VlcLoader.h"

#include <QDeadlineTimer>
#include <QGuiApplication>
#include <QImage>
#include <QPointer>
#include <QScreen>
#include <QSize>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>

namespace TestPlayer {

// Xvfb has no GPU, and Mesa's software EGL crashes inside libvlc's OpenGL
// outputs there. Binding the player to an X window resets libvlc's --vout
// choice, so the OpenGL outputs are ruled out instead, which leaves the plain
// X11 output; it also blends overlays into what is on screen.
inline const QStringList StartOptions {QStringLiteral("--gl=none"), QStringLiteral("--gles2=none"),
                                       QStringLiteral("--glconv=none")};

// What a test program of the player starts with, once: a home of its own, a
// folder for its files, the video it plays made there, and the machine's
// libvlc loaded.
struct TClipFixture {
    QTemporaryDir dir;
    QString video;

    // Makes the video sName from format; fails the calling initTestCase when
    // ffmpeg or libvlc is missing.
    void start(const QString& sName, const TestMedia::VideoFormat& format)
    {
        QVERIFY(dir.isValid());
        TestMedia::isolateHome(dir.filePath(QStringLiteral("home")));
        video = dir.filePath(sName);
        QVERIFY(TestMedia::makeVideo(video, format));
        LibVlcLoadInstalled();
        QVERIFY2(LibVlcLastError().isEmpty(), qPrintable(LibVlcLastError()));
    }

    QString filePath(const QString& sName) const { return dir.filePath(sName); }
};

// Waits up to 10 s for the player to report state; true once it has.
inline bool waitForState(TVlcPlayer* player, TVlcPlayerState state)
{
    QDeadlineTimer deadline(10000);
    while (player->GetState() != state && !deadline.hasExpired())
        QTest::qWait(10);
    return player->GetState() == state;
}

// A shown top-level window at the screen's origin with a player embedded over
// its whole area, so video pixels are window pixels. Audio goes nowhere; the
// on-screen display stays off so that it never covers the picture.
struct TEmbeddedPlayer {
    QWidget window;
    QPointer<TVlcPlayer> player;

    explicit TEmbeddedPlayer(QSize size)
    {
        window.resize(size);
        window.move(0, 0);
        window.show();
        player = new TVlcPlayer(&window);
        player->SetStartOptions(StartOptions);
        player->SetAudioOutput(aoDummy);
        player->SetOsdShow(false);
        player->SetParentFromHWND(window.winId(), 0, 0, size.width(), size.height());
    }
    // The player goes first, as in the main window: a closing window is
    // hidden before its children go, and the engine must not be left setting
    // up its output on a window that is no longer shown.
    ~TEmbeddedPlayer() { delete player.data(); }
};

// What the X server shows in the player's video window, the engine's own
// output window inside it included.
inline QImage grabVideo(const TVlcPlayer* player)
{
    return QGuiApplication::primaryScreen()
        ->grabWindow(player->PlayerWinCtrl()->winId())
        .toImage()
        .convertToFormat(QImage::Format_RGB32);
}

// Mean brightness (0..255) of an image.
inline double meanBrightness(const QImage& image)
{
    if (image.isNull())
        return 0;
    qint64 sum = 0;
    for (int y = 0; y < image.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x)
            sum += qRed(line[x]) + qGreen(line[x]) + qBlue(line[x]);
    }
    return double(sum) / (3.0 * image.width() * image.height());
}

// True once the engine has made its video output and the screen shows a
// picture in the video window rather than the window's black. libvlc 3.0
// pauses its decoder at once: paused before its first picture, it makes no
// video output and shows nothing until it plays again. A test that looks at
// a paused picture therefore waits for this before it pauses.
inline bool showsPicture(TVlcPlayer* player)
{
    return player->HasVout() && meanBrightness(grabVideo(player)) > 30;
}

} // namespace TestPlayer
