#pragma once

#include "engine/TVlcPlayer.h"

#include <QPointer>
#include <QSize>
#include <QStringList>
#include <QWidget>

namespace TestPlayer {

// Xvfb has no GPU, and Mesa's software EGL crashes inside libvlc's OpenGL
// outputs there. Binding the player to an X window resets libvlc's --vout
// choice, so the OpenGL outputs are ruled out instead, which leaves the plain
// X11 output; it also blends overlays into what is on screen.
inline const QStringList StartOptions {QStringLiteral("--gl=none"), QStringLiteral("--gles2=none"),
                                       QStringLiteral("--glconv=none")};

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

} // namespace TestPlayer
