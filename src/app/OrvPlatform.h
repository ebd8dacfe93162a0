#pragma once

#include <QString>

// The windowing system the program runs on. libvlc draws its video only into
// X11 windows, so the window must be an X11 one wherever an X display exists,
// also in a Wayland session (through Xwayland).

// What the environment says of the session the program starts in.
struct TOrvSession
{
    QString Platform;       // QT_QPA_PLATFORM: Qt's platform as the user chose it; empty when not chosen
    QString XDisplay;       // DISPLAY: the X display, empty when there is none
    QString WaylandDisplay; // WAYLAND_DISPLAY: the Wayland display, empty when there is none
};

enum class TOrvPlatform {
    UserChoice, // Qt's platform as the user chose it, whichever it is
    Xcb,        // Qt's X11 platform
    NoXDisplay, // a Wayland session without X display: said in a message box on Wayland
    NoDisplay,  // no display at all: said on the standard error
};

// The session of this process, read from its environment.
TOrvSession OrvPlatform_Session();

TOrvPlatform OrvPlatform_Choose(const TOrvSession& ASession);

// Sets Qt's platform for AChoice; must run before the application object
// exists. Nothing for UserChoice and NoDisplay.
void OrvPlatform_Apply(TOrvPlatform AChoice);

// What the program says when it cannot show its video for want of an X display.
QString OrvPlatform_NoXDisplayText();
