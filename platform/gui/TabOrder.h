#pragma once
// Tab and Shift+Tab walk a window's controls in the order the user sees them: within each
// container its children row by row, top to bottom, and left to right within a row; a
// container's own children follow it. Qt's order (that of creation) is ignored.
#include <QWidget>

#include "HostWidget.h"

// Moves the focus to the next (or previous) control of window that takes the focus by Tab,
// wrapping at the ends; false when none does.
bool FocusNextInScreenOrder(QWidget* window, bool next);

// A form's widget: its Tab walk is the screen order.
class FormWidget : public HostWidget<QWidget> {
public:
  using HostWidget<QWidget>::HostWidget;

protected:
  bool focusNextPrevChild(bool next) override { return FocusNextInScreenOrder(this, next); }
};
