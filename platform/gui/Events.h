#pragma once
// Event types with the class library's signatures; the program binds them with lambdas.
#include <cstdint>
#include <functional>

#include "Set.h"
#include "Types.h"

class TObject;

using Word = uint16_t;

enum TMouseButton { mbLeft, mbRight, mbMiddle };

enum ShiftStateItem { ssShift, ssAlt, ssCtrl, ssLeft, ssRight, ssMiddle, ssDouble };

using TShiftState = Set<ShiftStateItem>;

// How an owner-drawn line of a list is to be drawn.
enum OwnerDrawStateItem { odSelected, odFocused };
using TOwnerDrawState = Set<OwnerDrawStateItem>;

enum TCloseAction { caNone, caHide, caFree, caMinimize };

using TNotifyEvent = std::function<void(TObject* Sender)>;
using TMouseEvent = std::function<void(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y)>;
using TMouseMoveEvent = std::function<void(TObject* Sender, TShiftState Shift, int X, int Y)>;
// MousePos in screen coordinates; a handler that sets Handled stops the default scrolling.
using TMouseWheelEvent =
    std::function<void(TObject* Sender, TShiftState Shift, int WheelDelta, TPoint MousePos, bool& Handled)>;
// Key is a Windows virtual-key code.
using TKeyEvent = std::function<void(TObject* Sender, Word& Key, TShiftState Shift)>;
using TCloseEvent = std::function<void(TObject* Sender, TCloseAction& Action)>;
using TCloseQueryEvent = std::function<void(TObject* Sender, bool& CanClose)>;
