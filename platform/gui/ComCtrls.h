#pragma once
// Common controls: page controls, status bars, up-downs.
#include "PageControl.h"
#include "StatusBar.h"
#include "UpDown.h"
