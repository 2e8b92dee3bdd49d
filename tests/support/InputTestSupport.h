#pragma once
// Input as the user gives it, for the control tests: keys and typed text sent to a widget, and a
// pick in a combo box's open list.
#include <QAbstractItemView>
#include <QComboBox>
#include <QCoreApplication>
#include <QKeyEvent>

inline void PressKey(QWidget* widget, int key, const QString& text = QString())
{
  QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
  QCoreApplication::sendEvent(widget, &press);
  QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
  QCoreApplication::sendEvent(widget, &release);
}

// Each character as a key without a key code of its own, as an input method delivers it.
inline void TypeText(QWidget* widget, const QString& text)
{
  for (QChar c : text)
    PressKey(widget, Qt::Key_unknown, QString(c));
}

// Opens the list, moves its highlight to row and presses Enter there.
inline void PickInOpenList(QComboBox* combo, int row)
{
  combo->showPopup();
  QAbstractItemView* view = combo->view();
  view->setCurrentIndex(combo->model()->index(row, 0));
  PressKey(view, Qt::Key_Return);
}
