#include "Keys.h"

#include <iterator>

namespace {

struct KeyPair {
  int qt;
  Word vk;
};

// Keys other than letters, digits and function keys, which map by range below.
constexpr KeyPair Keys[] = {
    {Qt::Key_Backspace, 8}, {Qt::Key_Tab, 9},       {Qt::Key_Backtab, 9},      {Qt::Key_Return, 13},
    {Qt::Key_Enter, 13},    {Qt::Key_Shift, 16},    {Qt::Key_Control, 17},     {Qt::Key_Alt, 18},
    {Qt::Key_Pause, 19},    {Qt::Key_CapsLock, 20}, {Qt::Key_Escape, 27},      {Qt::Key_Space, 32},
    {Qt::Key_PageUp, 33},   {Qt::Key_PageDown, 34}, {Qt::Key_End, 35},         {Qt::Key_Home, 36},
    {Qt::Key_Left, 37},     {Qt::Key_Up, 38},       {Qt::Key_Right, 39},       {Qt::Key_Down, 40},
    {Qt::Key_Print, 44},    {Qt::Key_Insert, 45},   {Qt::Key_Delete, 46},      {Qt::Key_Meta, 91},
    {Qt::Key_Menu, 93},     {Qt::Key_NumLock, 144}, {Qt::Key_ScrollLock, 145},
};

constexpr int FunctionKeys = 24;  // F1 (VK 112) to F24 (VK 135)

}  // namespace

Word VirtualKeyFromQt(int qtKey)
{
  if (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z)
    return static_cast<Word>('A' + (qtKey - Qt::Key_A));
  if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9)
    return static_cast<Word>('0' + (qtKey - Qt::Key_0));
  if (qtKey >= Qt::Key_F1 && qtKey < Qt::Key_F1 + FunctionKeys)
    return static_cast<Word>(112 + (qtKey - Qt::Key_F1));
  for (const KeyPair& pair : Keys)
    if (pair.qt == qtKey)
      return pair.vk;
  return 0;
}

int QtKeyFromVirtualKey(Word key)
{
  if (key >= 'A' && key <= 'Z')
    return Qt::Key_A + (key - 'A');
  if (key >= '0' && key <= '9')
    return Qt::Key_0 + (key - '0');
  if (key >= 112 && key < 112 + FunctionKeys)
    return Qt::Key_F1 + (key - 112);
  for (const KeyPair& pair : Keys)
    if (pair.vk == key)
      return pair.qt;
  return 0;
}

TShiftState ShiftStateFromQt(Qt::KeyboardModifiers modifiers, Qt::MouseButtons buttons)
{
  TShiftState shift;
  if (modifiers & Qt::ShiftModifier)
    shift << ssShift;
  if (modifiers & Qt::AltModifier)
    shift << ssAlt;
  if (modifiers & Qt::ControlModifier)
    shift << ssCtrl;
  if (buttons & Qt::LeftButton)
    shift << ssLeft;
  if (buttons & Qt::RightButton)
    shift << ssRight;
  if (buttons & Qt::MiddleButton)
    shift << ssMiddle;
  return shift;
}
