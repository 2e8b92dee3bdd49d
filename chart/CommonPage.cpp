// The controls of the Common options page that show the option fields.
#include "CheckBox.h"
#include "Edit.h"
#include "GroupBox.h"
#include "PageControl.h"
#include "RadioButton.h"
#include "ScrollBox.h"
#include "app/Qelunit.h"

namespace {

// A control owned by its parent, as every control below the page is.
template <class Control>
Control* AddChild(TWinControl* parent)
{
  Control* control = new Control(parent);
  control->SetParent(parent);
  return control;
}

} // namespace

void BQELunit::BuildCommonPageControls()
{
  if (CommonPage)
    return;
  // Without the options page control (yet) the page stands alone and this object frees it.
  CommonPage = new TTabSheet(OptionsPageControl);
  if (OptionsPageControl)
    CommonPage->SetPageControl(OptionsPageControl);
  CommonPage->SetBorderWidth(5);

  CommonBox = AddChild<TScrollBox>(CommonPage);
  CommonBox->SetAlign(alClient);
  CommonBox->SetBorderStyle(bsNone);

  // Each edit's label is created just before it by the control tree.
  TextLinePeriodEdit = AddChild<TEdit>(CommonBox);
  FramePeriodEdit = AddChild<TEdit>(CommonBox);
  FramePeriodEdit->OnExit = [this](TObject* sender) { FramePeriodEditExit(sender); };
  ZoomF5Edit = AddChild<TEdit>(CommonBox);
  ZoomF6Edit = AddChild<TEdit>(CommonBox);
  ZoomF7Edit = AddChild<TEdit>(CommonBox);
  ZoomF8Edit = AddChild<TEdit>(CommonBox);
  ValueWindowXEdit = AddChild<TEdit>(CommonBox);
  ValueWindowYEdit = AddChild<TEdit>(CommonBox);

  EnableYZoomCheck = AddChild<TCheckBox>(CommonBox);
  ShowProgressCheck = AddChild<TCheckBox>(CommonBox);
  OldErrorAlgorithmCheck = AddChild<TCheckBox>(CommonBox);
  MultiLineStatusesCheck = AddChild<TCheckBox>(CommonBox);

  // The radio buttons have no caption: the sample pictures beside them name the styles.
  ParamStyleGroup = AddChild<TGroupBox>(CommonBox);
  ParamStyleRadio1 = AddChild<TRadioButton>(ParamStyleGroup);
  ParamStyleRadio2 = AddChild<TRadioButton>(ParamStyleGroup);
  StatusStyleGroup = AddChild<TGroupBox>(CommonBox);
  StatusStyleRadio1 = AddChild<TRadioButton>(StatusStyleGroup);
  StatusStyleRadio2 = AddChild<TRadioButton>(StatusStyleGroup);
}
