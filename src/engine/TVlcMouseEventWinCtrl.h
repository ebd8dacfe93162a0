#pragma once

#include <QAbstractNativeEventFilter>
#include <QObject>
#include <QRect>
#include <QtGui/qwindowdefs.h>

#include <functional>

class QWidget;

// Mouse event handlers shared by the input overlay and the player control.
// Sender is the object that raises the event; coordinates are in the
// sender's own pixels.
using TNotifyEvent = std::function<void(QObject* Sender)>;
using TMouseEvent = std::function<void(QObject* Sender, Qt::MouseButton Button, Qt::KeyboardModifiers Shift, int X, int Y)>;
using TMouseMoveEvent = std::function<void(QObject* Sender, Qt::MouseButtons Buttons, Qt::KeyboardModifiers Shift, int X, int Y)>;

// What a button press on an inactive window does: activate it or not, and
// whether the press is eaten (no OnMouseDown, no OnClick) or handled as usual.
enum TMouseActivate { maDefault, maActivate, maActivateAndEat, maNoActivate, maNoActivateAndEat };
using TMouseActivateEvent = std::function<void(QObject* Sender, Qt::MouseButton Button, Qt::KeyboardModifiers Shift,
                                               int X, int Y, TMouseActivate& MouseActivate)>;

// Transparent input overlay. On X11 it is an InputOnly window inside the
// native window of its host widget: it receives the pointer input over
// whatever lies beneath it and never draws, so the video below stays visible.
// Without an X11 connection (another Qt platform) it holds no window and
// raises nothing.
class TVlcMouseEventWinCtrl : public QObject, public QAbstractNativeEventFilter {
    Q_OBJECT

public:
    explicit TVlcMouseEventWinCtrl(QWidget* AHost);
    ~TVlcMouseEventWinCtrl() override;

    // Bounds in the host's coordinates (logical pixels).
    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight);
    QRect Bounds() const { return FBounds; }

    // Makes the window live in the host's current native window: creates it
    // when the host has one, recreates it when the host's window was replaced
    // and forgets it when the host lost its window. Ends with BringToFront.
    void SyncWithHost();
    // Stacks the window above all its siblings (the video window among them).
    void BringToFront();
    // The X window, 0 while there is none.
    WId Handle() const { return FWindow; }

    TNotifyEvent OnClick;
    TNotifyEvent OnDblClick;
    TMouseActivateEvent OnMouseActivate;
    TMouseEvent OnMouseDown;
    TNotifyEvent OnMouseEnter;
    TNotifyEvent OnMouseLeave;
    TMouseMoveEvent OnMouseMove;
    TMouseEvent OnMouseUp;

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

protected:
    // Follows the host's native window as it is created or replaced.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void DestroyWindow();
    void ApplyBounds();
    QPoint ToLogical(int x, int y) const;
    void ButtonPressed(Qt::MouseButton button, Qt::KeyboardModifiers shift, QPoint pos, quint32 time);
    void ButtonReleased(Qt::MouseButton button, Qt::KeyboardModifiers shift, QPoint pos);

    QWidget* FHost;
    QRect FBounds;
    WId FWindow = 0;
    WId FHostWindow = 0;
    // Click and double-click tracking of the left button.
    bool FClicked = false;
    quint32 FLastLeftPressTime = 0;
    QPoint FLastLeftPressPos;
    bool FHaveLastLeftPress = false;
};
