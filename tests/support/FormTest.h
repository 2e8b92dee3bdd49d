#pragma once
// The usual scene of a control test: a form of its own for each test, freed after it, with
// controls placed on it (or on a panel of it) by Place.
#include <memory>

#include "Form.h"
#include "Panel.h"
#include "support/GuiTest.h"

class FormTest : public GuiTest {
protected:
  void SetUp() override
  {
    GuiTest::SetUp();
    form = std::make_unique<TForm>(nullptr);
    form->SetBounds(0, 0, 500, 400);
  }
  void TearDown() override
  {
    form.reset();
    GuiTest::TearDown();
  }

  // A new control owned by and placed on parent, at these bounds.
  template <class Control>
  static Control* Place(TWinControl* parent, int left, int top, int width, int height)
  {
    auto* control = new Control(parent);
    control->SetParent(parent);
    control->SetBounds(left, top, width, height);
    return control;
  }
  template <class Control>
  Control* Place(int left, int top, int width, int height)
  {
    return Place<Control>(form.get(), left, top, width, height);
  }

  // A panel without a bevel, so that its client area is its whole size.
  TPanel* PlacePanel(TWinControl* parent, int left, int top, int width, int height)
  {
    TPanel* panel = Place<TPanel>(parent, left, top, width, height);
    panel->SetBevelOuter(bvNone);
    return panel;
  }

  // Shows the form and waits until its window is the active one, which focus and input
  // through the window system need.
  void ShowActive()
  {
    form->Show();
    ASSERT_TRUE(RunLoopUntil([&] { return form->Widget()->isActiveWindow(); }));
  }

  std::unique_ptr<TForm> form;
};
