#pragma once
// Buttons, check boxes and radio buttons start at Qt's size-hint height for their font and
// follow it when the font changes (a new parent's font), until the program sets a height of
// its own.
#include "Control.h"

class HintHeight {
public:
  // The height to start with.
  int Start(int hint)
  {
    hint_ = hint;
    return hint;
  }
  // After a font change: hint is the size hint for the new font.
  void Follow(TControl& control, int hint)
  {
    if (control.Height() == hint_)
      control.SetHeight(hint);
    hint_ = hint;
  }

private:
  int hint_ = -1;
};
