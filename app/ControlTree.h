#pragma once
// Small makers shared by the files that build the window's control tree.
#include "Buttons.h"
#include "ComboBox.h"
#include "Control.h"
#include "PageControl.h"
#include "Panel.h"

namespace control_tree {

// A control owned by its parent, as nearly every control of the window is.
template <class Control>
Control* Add(TWinControl* parent)
{
  Control* control = new Control(parent);
  control->SetParent(parent);
  return control;
}

// A tab sheet, owned by its page control.
TTabSheet* AddPage(TPageControl* pageControl);
// A panel without bevel or caption.
TPanel* AddPlainPanel(TWinControl* parent);
// A bit button with its glyph (none when the picture is missing or broken) and no caption.
TBitBtn* AddBitBtn(TWinControl* parent, const char* glyph, bool showHint = true);
// A drop-down list of 12 rows.
TComboBox* AddListCombo(TWinControl* parent);
void SetFont(TControl* control, const char* name, int size);

}  // namespace control_tree
