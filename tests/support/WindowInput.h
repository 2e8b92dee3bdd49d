#pragma once
// Input through the window system, as a real user's: Qt routes these events itself (focus on a
// click, the grab of a pressed button, double clicks, context menus, popups, short-cuts), which
// events sent straight to a widget skip.
#include <QCoreApplication>
#include <QWidget>
#include <QWindow>

QT_BEGIN_NAMESPACE
// Qt's own test entry points (exported by Qt GUI for its test library).
Q_GUI_EXPORT void qt_handleMouseEvent(QWindow* window, const QPointF& local, const QPointF& global,
                                      Qt::MouseButtons state, Qt::MouseButton button, QEvent::Type type,
                                      Qt::KeyboardModifiers mods, int timestamp);
Q_GUI_EXPORT void qt_handleKeyEvent(QWindow* w, QEvent::Type t, int k, Qt::KeyboardModifiers mods,
                                    const QString& text, bool autorep, ushort count);
// The window system's wheel entry point (Qt's platform interface; its header is not installed,
// the function is exported).
class Q_GUI_EXPORT QWindowSystemInterface {
public:
  static bool handleWheelEvent(QWindow* window, const QPointF& local, const QPointF& global, QPoint pixelDelta,
                               QPoint angleDelta, Qt::KeyboardModifiers mods, Qt::ScrollPhase phase,
                               Qt::MouseEventSource source);
};
QT_END_NAMESPACE

namespace window_input {

// Milliseconds since the last event; presses further apart than the double-click time never
// make a double click.
inline int NextTimestamp(int gap)
{
  static int timestamp = 0;
  timestamp += gap;
  return timestamp;
}

// A mouse event at a point of widget (which may lie outside it); buttons are those held after
// the event.
inline void Mouse(QWidget* widget, QEvent::Type type, QPoint local, Qt::MouseButton button,
                  Qt::MouseButtons buttons, int gap = 10000)
{
  QWidget* window = widget->window();
  const QPoint inWindow = widget->mapTo(window, local);
  qt_handleMouseEvent(window->windowHandle(), QPointF(inWindow), QPointF(widget->mapToGlobal(local)), buttons,
                      button, type, Qt::NoModifier, NextTimestamp(gap));
  QCoreApplication::processEvents();
}

inline void Press(QWidget* widget, QPoint local, Qt::MouseButton button = Qt::LeftButton, int gap = 10000)
{
  Mouse(widget, QEvent::MouseButtonPress, local, button, button, gap);
}

inline void Release(QWidget* widget, QPoint local, Qt::MouseButton button = Qt::LeftButton, int gap = 10)
{
  Mouse(widget, QEvent::MouseButtonRelease, local, button, Qt::NoButton, gap);
}

inline void Click(QWidget* widget, QPoint local, Qt::MouseButton button = Qt::LeftButton)
{
  Press(widget, local, button);
  Release(widget, local, button);
}

inline void DoubleClick(QWidget* widget, QPoint local)
{
  Click(widget, local);
  Press(widget, local, Qt::LeftButton, 10);
  Release(widget, local);
}

// One wheel step (120 = a notch away from the user) at a point of widget, delivered to the window
// under it: Qt gives the focus by the focus policy and routes the wheel as for a real one.
inline void Wheel(QWidget* widget, QPoint local, int delta)
{
  QWidget* window = widget->window();
  QWindowSystemInterface::handleWheelEvent(window->windowHandle(), QPointF(widget->mapTo(window, local)),
                                           QPointF(widget->mapToGlobal(local)), QPoint(), QPoint(0, delta),
                                           Qt::NoModifier, Qt::NoScrollPhase, Qt::MouseEventNotSynthesized);
  QCoreApplication::processEvents();
}

// A key pressed and released in the widget's window, wherever the focus is.
inline void Key(QWidget* widget, int key)
{
  QWindow* window = widget->window()->windowHandle();
  qt_handleKeyEvent(window, QEvent::KeyPress, key, Qt::NoModifier, QString(), false, 1);
  qt_handleKeyEvent(window, QEvent::KeyRelease, key, Qt::NoModifier, QString(), false, 1);
  QCoreApplication::processEvents();
}

}  // namespace window_input
