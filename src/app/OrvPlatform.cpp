#include "app/OrvPlatform.h"

#include <QtGlobal>

TOrvSession OrvPlatform_Session()
{
    return {qEnvironmentVariable("QT_QPA_PLATFORM"), qEnvironmentVariable("DISPLAY"),
            qEnvironmentVariable("WAYLAND_DISPLAY")};
}

TOrvPlatform OrvPlatform_Choose(const TOrvSession& ASession)
{
    if (!ASession.Platform.isEmpty())
        return TOrvPlatform::UserChoice;
    // Also in a Wayland session, where Qt itself would pick its Wayland
    // platform, whose windows libvlc cannot draw into.
    if (!ASession.XDisplay.isEmpty())
        return TOrvPlatform::Xcb;
    if (!ASession.WaylandDisplay.isEmpty())
        return TOrvPlatform::NoXDisplay;
    return TOrvPlatform::NoDisplay;
}

void OrvPlatform_Apply(TOrvPlatform AChoice)
{
    switch (AChoice) {
    case TOrvPlatform::Xcb:
        qputenv("QT_QPA_PLATFORM", "xcb");
        break;
    case TOrvPlatform::NoXDisplay:
        // Only to say why there is no window; Qt on GNOME would otherwise try X11.
        qputenv("QT_QPA_PLATFORM", "wayland");
        break;
    case TOrvPlatform::UserChoice:
    case TOrvPlatform::NoDisplay:
        break;
    }
}

QString OrvPlatform_NoXDisplayText()
{
    return QStringLiteral("Scenora shows its videos in an X11 window, and this session has no X display "
                          "(DISPLAY is not set).\n\n"
                          "Install Xwayland (the package xwayland), then log out and in again; "
                          "or start Scenora in an X11 session.");
}
