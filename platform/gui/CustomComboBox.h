#pragma once
// The common part of the combo boxes: a drop-down list whose height follows its font (the
// layouts use it as their unit) and which reports only the user's picks, never changes made by
// the program. The wheel over a closed combo that does not have the focus is left to the
// parent, so that scrolling past a combo never changes its pick.
#include "Controls.h"

class QComboBox;

class TCustomComboBox : public TWinControl {
protected:
  explicit TCustomComboBox(TComponent* AOwner);

  QComboBox* Combo() const;

  // The user picked the item at index with the mouse or the keyboard; also the item already
  // selected.
  virtual void UserPicked(int index) = 0;

  bool WidgetEvent(QWidget* widget, QEvent* event, BaseEventFn base) override;
  void FontChanged() override;
  void ConstrainSize(int& width, int& height) const override;

private:
  int fontHeight_ = 0;
};
