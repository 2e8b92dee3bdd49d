#pragma once
// What the control tests share: every control of the layer and the Qt widgets behind them, the
// shown-form fixture, input as the user gives it, and the modal-dialog answerer.
#include <QtWidgets>
#include <string>
#include <vector>

#include "ActnList.h"
#include "Buttons.h"
#include "Colors.h"
#include "ComCtrls.h"
#include "Dialogs.h"
#include "ExtCtrls.h"
#include "FileCtrl.h"
#include "Gauges.h"
#include "Guard.h"
#include "Menus.h"
#include "Mouse.h"
#include "StdCtrls.h"
#include "TextBoundary.h"
#include "support/DialogDriver.h"
#include "support/FormTest.h"
#include "support/InputTestSupport.h"
#include "support/WindowInput.h"

// What a test saw, in order.
using Log = std::vector<std::string>;

// A control (or form) of kind T that counts the deaths of its kind.
template <class T>
class Probe : public T {
public:
  using T::T;
  ~Probe() override { ++deaths; }
  static inline int deaths = 0;
};

// The display code page set for a scope (a fixture's life) and restored after.
class DisplayCodePageScope {
public:
  explicit DisplayCodePageScope(int codePage) : saved_(DisplayCodePage()) { SetDisplayCodePage(codePage); }
  ~DisplayCodePageScope() { SetDisplayCodePage(saved_); }

private:
  int saved_;
};
