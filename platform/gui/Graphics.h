#pragma once
// Everything the program draws with: colours, font, pen, brush, canvas, bitmaps.
#include "Bitmap.h"
#include "Canvas.h"
#include "Colors.h"
#include "Font.h"
#include "PenBrush.h"
#include "Types.h"
