#pragma once
// Standard controls.
#include "Label.h"
#include "Memo.h"
#include "Edit.h"
#include "Button.h"
#include "CheckBox.h"
#include "RadioButton.h"
#include "GroupBox.h"
#include "ComboBox.h"
#include "ListBox.h"
