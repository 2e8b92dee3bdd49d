#pragma once
// Qt's keys and modifiers in the class library's terms: Windows virtual-key codes and shift
// states.
#include <Qt>

#include "Events.h"

// The virtual-key code of a Qt key; 0 for keys the program cannot name.
Word VirtualKeyFromQt(int qtKey);
// The Qt key of a virtual-key code; 0 when there is none.
int QtKeyFromVirtualKey(Word key);

TShiftState ShiftStateFromQt(Qt::KeyboardModifiers modifiers, Qt::MouseButtons buttons);
