#include "engine/TVlcMouseEventWinCtrl.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QPointer>
#include <QStyleHints>
#include <QWidget>
#include <QtMath>
#include <QtGui/qguiapplication_platform.h>

#include <xcb/xcb.h>

#include <algorithm>
#include <cstdlib>

namespace {

xcb_connection_t* X11Connection()
{
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    return x11 ? x11->connection() : nullptr;
}

Qt::KeyboardModifiers ModifiersOfState(uint16_t state)
{
    Qt::KeyboardModifiers m;
    if (state & XCB_MOD_MASK_SHIFT)
        m |= Qt::ShiftModifier;
    if (state & XCB_MOD_MASK_CONTROL)
        m |= Qt::ControlModifier;
    if (state & XCB_MOD_MASK_1)
        m |= Qt::AltModifier;
    if (state & XCB_MOD_MASK_4)
        m |= Qt::MetaModifier;
    return m;
}

Qt::MouseButtons ButtonsOfState(uint16_t state)
{
    Qt::MouseButtons b;
    if (state & XCB_BUTTON_MASK_1)
        b |= Qt::LeftButton;
    if (state & XCB_BUTTON_MASK_2)
        b |= Qt::MiddleButton;
    if (state & XCB_BUTTON_MASK_3)
        b |= Qt::RightButton;
    return b;
}

// X button numbers 4 to 7 are wheel steps, not buttons.
Qt::MouseButton ButtonOfDetail(uint8_t detail)
{
    switch (detail) {
    case 1: return Qt::LeftButton;
    case 2: return Qt::MiddleButton;
    case 3: return Qt::RightButton;
    case 8: return Qt::BackButton;
    case 9: return Qt::ForwardButton;
    default: return Qt::NoButton;
    }
}

} // namespace

TVlcMouseEventWinCtrl::TVlcMouseEventWinCtrl(QWidget* AHost)
    : QObject(AHost), FHost(AHost)
{
    FHost->installEventFilter(this);
    if (X11Connection())
        QCoreApplication::instance()->installNativeEventFilter(this);
}

TVlcMouseEventWinCtrl::~TVlcMouseEventWinCtrl()
{
    if (QCoreApplication::instance())
        QCoreApplication::instance()->removeNativeEventFilter(this);
    DestroyWindow();
}

bool TVlcMouseEventWinCtrl::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == FHost && event->type() == QEvent::WinIdChange)
        SyncWithHost();
    return false;
}

void TVlcMouseEventWinCtrl::SetBounds(int ALeft, int ATop, int AWidth, int AHeight)
{
    FBounds = QRect(ALeft, ATop, AWidth, AHeight);
    ApplyBounds();
}

void TVlcMouseEventWinCtrl::SyncWithHost()
{
    xcb_connection_t* c = X11Connection();
    if (!c)
        return;
    const WId host = FHost->internalWinId();
    if (host != FHostWindow) {
        DestroyWindow();
        if (host) {
            const qreal dpr = FHost->devicePixelRatio();
            FWindow = xcb_generate_id(c);
            FHostWindow = host;
            const uint32_t mask = XCB_CW_EVENT_MASK;
            const uint32_t events = XCB_EVENT_MASK_BUTTON_PRESS | XCB_EVENT_MASK_BUTTON_RELEASE
                                  | XCB_EVENT_MASK_POINTER_MOTION | XCB_EVENT_MASK_ENTER_WINDOW
                                  | XCB_EVENT_MASK_LEAVE_WINDOW;
            xcb_create_window(c, 0, static_cast<xcb_window_t>(FWindow), static_cast<xcb_window_t>(host),
                              qRound(FBounds.x() * dpr), qRound(FBounds.y() * dpr),
                              std::max(1, qRound(FBounds.width() * dpr)), std::max(1, qRound(FBounds.height() * dpr)),
                              0, XCB_WINDOW_CLASS_INPUT_ONLY, XCB_COPY_FROM_PARENT, mask, &events);
            xcb_map_window(c, static_cast<xcb_window_t>(FWindow));
        }
    }
    BringToFront();
}

void TVlcMouseEventWinCtrl::BringToFront()
{
    xcb_connection_t* c = X11Connection();
    if (!c || !FWindow)
        return;
    const uint32_t above = XCB_STACK_MODE_ABOVE;
    xcb_configure_window(c, static_cast<xcb_window_t>(FWindow), XCB_CONFIG_WINDOW_STACK_MODE, &above);
    xcb_flush(c);
}

void TVlcMouseEventWinCtrl::DestroyWindow()
{
    xcb_connection_t* c = X11Connection();
    if (c && FWindow) {
        // The host's window may already be gone and our window with it; a
        // checked request keeps that BadWindow out of Qt's error log.
        free(xcb_request_check(c, xcb_destroy_window_checked(c, static_cast<xcb_window_t>(FWindow))));
    }
    FWindow = 0;
    FHostWindow = 0;
    FClicked = false;
    FHaveLastLeftPress = false;
}

void TVlcMouseEventWinCtrl::ApplyBounds()
{
    xcb_connection_t* c = X11Connection();
    if (!c || !FWindow)
        return;
    const qreal dpr = FHost->devicePixelRatio();
    const int32_t values[] = {qRound(FBounds.x() * dpr), qRound(FBounds.y() * dpr),
                              std::max(1, qRound(FBounds.width() * dpr)), std::max(1, qRound(FBounds.height() * dpr))};
    xcb_configure_window(c, static_cast<xcb_window_t>(FWindow),
                         XCB_CONFIG_WINDOW_X | XCB_CONFIG_WINDOW_Y | XCB_CONFIG_WINDOW_WIDTH | XCB_CONFIG_WINDOW_HEIGHT,
                         values);
    xcb_flush(c);
}

QPoint TVlcMouseEventWinCtrl::ToLogical(int x, int y) const
{
    const qreal dpr = FHost->devicePixelRatio();
    return QPoint(qFloor(x / dpr), qFloor(y / dpr));
}

bool TVlcMouseEventWinCtrl::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*)
{
    if (!FWindow || eventType != "xcb_generic_event_t")
        return false;
    const auto* event = static_cast<const xcb_generic_event_t*>(message);
    switch (event->response_type & ~0x80) {
    case XCB_BUTTON_PRESS: {
        const auto* e = reinterpret_cast<const xcb_button_press_event_t*>(event);
        if (e->event != FWindow)
            return false;
        const Qt::MouseButton button = ButtonOfDetail(e->detail);
        if (button != Qt::NoButton)
            ButtonPressed(button, ModifiersOfState(e->state), ToLogical(e->event_x, e->event_y), e->time);
        return true;
    }
    case XCB_BUTTON_RELEASE: {
        const auto* e = reinterpret_cast<const xcb_button_release_event_t*>(event);
        if (e->event != FWindow)
            return false;
        const Qt::MouseButton button = ButtonOfDetail(e->detail);
        if (button != Qt::NoButton)
            ButtonReleased(button, ModifiersOfState(e->state), ToLogical(e->event_x, e->event_y));
        return true;
    }
    case XCB_MOTION_NOTIFY: {
        const auto* e = reinterpret_cast<const xcb_motion_notify_event_t*>(event);
        if (e->event != FWindow)
            return false;
        if (OnMouseMove) {
            const QPoint pos = ToLogical(e->event_x, e->event_y);
            OnMouseMove(this, ButtonsOfState(e->state), ModifiersOfState(e->state), pos.x(), pos.y());
        }
        return true;
    }
    case XCB_ENTER_NOTIFY:
    case XCB_LEAVE_NOTIFY: {
        const auto* e = reinterpret_cast<const xcb_enter_notify_event_t*>(event);
        if (e->event != FWindow)
            return false;
        // Crossings caused by grabs are not the pointer entering or leaving.
        if (e->mode == XCB_NOTIFY_MODE_NORMAL) {
            const TNotifyEvent& handler = (event->response_type & ~0x80) == XCB_ENTER_NOTIFY ? OnMouseEnter : OnMouseLeave;
            if (handler)
                handler(this);
        }
        return true;
    }
    default:
        return false;
    }
}

void TVlcMouseEventWinCtrl::ButtonPressed(Qt::MouseButton button, Qt::KeyboardModifiers shift, QPoint pos, quint32 time)
{
    // Handlers may destroy the overlay together with its host.
    const QPointer<TVlcMouseEventWinCtrl> alive(this);
    QWidget* topLevel = FHost->window();
    if (!topLevel->isActiveWindow()) {
        TMouseActivate activate = maDefault;
        if (OnMouseActivate)
            OnMouseActivate(this, button, shift, pos.x(), pos.y(), activate);
        if (!alive)
            return;
        if (activate == maActivate || activate == maActivateAndEat)
            topLevel->activateWindow();
        if (activate == maActivateAndEat || activate == maNoActivateAndEat) {
            FClicked = false;
            return;
        }
    }

    bool isDouble = false;
    if (button == Qt::LeftButton) {
        const QStyleHints* hints = QGuiApplication::styleHints();
        isDouble = FHaveLastLeftPress
                && time - FLastLeftPressTime < static_cast<quint32>(hints->mouseDoubleClickInterval())
                && (pos - FLastLeftPressPos).manhattanLength() <= hints->mouseDoubleClickDistance();
        // A third press starts a new pair rather than another double click.
        FHaveLastLeftPress = !isDouble;
        FLastLeftPressTime = time;
        FLastLeftPressPos = pos;
        FClicked = !isDouble;
        if (isDouble && OnDblClick) {
            OnDblClick(this);
            if (!alive)
                return;
        }
    }
    if (OnMouseDown)
        OnMouseDown(this, button, shift, pos.x(), pos.y());
}

void TVlcMouseEventWinCtrl::ButtonReleased(Qt::MouseButton button, Qt::KeyboardModifiers shift, QPoint pos)
{
    if (button == Qt::LeftButton && FClicked) {
        FClicked = false;
        // A click is a press and a release both inside the overlay.
        if (QRect(QPoint(0, 0), FBounds.size()).contains(pos) && OnClick) {
            const QPointer<TVlcMouseEventWinCtrl> alive(this);
            OnClick(this);
            if (!alive)
                return;
        }
    }
    if (OnMouseUp)
        OnMouseUp(this, button, shift, pos.x(), pos.y());
}
