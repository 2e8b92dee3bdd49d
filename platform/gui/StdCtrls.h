#pragma once
// Standard controls.
#include "Button.h"
#include "CheckBox.h"
#include "ComboBox.h"
#include "Edit.h"
#include "GroupBox.h"
#include "Label.h"
#include "ListBox.h"
#include "Memo.h"
#include "RadioButton.h"
