#pragma once
// Input through the window system, as a real user's: Qt routes these events itself (focus on a
// click, the grab of a pressed button, double clicks, context menus, popups, short-cuts), which
// events sent straight to a widget skip.
#include <QCoreApplication>
#include <QWheelEvent>
#include <QWidget>
#include <QWindow>
#include <QtTest/qtestspontaneevent.h>

QT_BEGIN_NAMESPACE
// Qt's own test entry points (exported by Qt GUI for its test library).
Q_GUI_EXPORT void qt_handleMouseEvent(QWindow* window, const QPointF& local, const QPointF& global,
                                      Qt::MouseButtons state, Qt::MouseButton button, QEvent::Type type,
                                      Qt::KeyboardModifiers mods, int timestamp);
Q_GUI_EXPORT void qt_handleKeyEvent(QWindow* w, QEvent::Type t, int k, Qt::KeyboardModifiers mods,
                                    const QString& text, bool autorep, ushort count);
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

// A wheel turn (120 a notch, negative towards the user) at a point of widget, to the widget
// under it; Qt hands it on to the parents while nobody takes it.
inline void Wheel(QWidget* widget, QPoint local, int delta)
{
  QWidget* window = widget->window();
  const QPoint inWindow = widget->mapTo(window, local);
  QWidget* target = window->childAt(inWindow);
  if (!target)
    target = window;
  QWheelEvent wheel(QPointF(target->mapFrom(window, inWindow)), QPointF(widget->mapToGlobal(local)), QPoint(),
                    QPoint(0, delta), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
  QSpontaneKeyEvent::setSpontaneous(&wheel);
  QCoreApplication::instance()->notify(target, &wheel);  // sendEvent would clear the mark
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
