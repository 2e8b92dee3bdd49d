#pragma once
// Pictures built into the program (glyphs, flags, chart-style samples, the eye mark).
#include "System.h"

class TGraphic;

// Loads the named "RT_RCDATA" resource into graphic; without such a resource the graphic stays
// as it was. Bytes that are no picture throw EInvalidGraphic, the graphic unchanged.
void LoadResourceGraphic(TGraphic* graphic, const AnsiString& resourceName);

// As LoadResourceGraphic, but a picture that fails to load (broken bytes, no memory) leaves
// the graphic as it was and is not reported: building a window goes on without it.
void LoadResourceGraphicOrNone(TGraphic* graphic, const AnsiString& resourceName) noexcept;
