#pragma once
// Pictures built into the program (glyphs, flags, chart-style samples, the eye mark).
#include "System.h"

class TGraphic;

// Loads the named "RT_RCDATA" resource into graphic; without such a resource the graphic stays
// as it was. Bytes that are no picture throw EInvalidGraphic, the graphic unchanged.
void LoadResourceGraphic(TGraphic* graphic, const AnsiString& resourceName);
