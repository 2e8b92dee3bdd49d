#pragma once
// The mouse pointer and the desktop's wheel setting.
#include "Types.h"

class TMouse {
public:
  // The pointer's position on the screen.
  TPoint CursorPos() const;
  // Moves the pointer where the window system lets programs do so (X11; Wayland ignores it).
  // The window under the pointer then sees a mouse move, as after a move by hand.
  void SetCursorPos(const TPoint& pos);
};

extern TMouse* const Mouse;

// Lines to scroll per wheel notch: the desktop's setting, 3 unless the user changed it.
int WheelScrollLines();
