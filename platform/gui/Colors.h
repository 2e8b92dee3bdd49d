#pragma once
// Colours as the program stores them (0x00BBGGRR, system colours by index) and as Qt draws them.
#include <QColor>

#include "System.h"

// The RGB value (0x00BBGGRR) of a colour; a system colour is looked up in the application's
// palette at the moment of the call, so it follows the desktop theme.
TColor ColorToRGB(TColor color);

QColor ToQColor(TColor color);
