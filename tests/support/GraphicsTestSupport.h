#pragma once
// Shared by the graphics tests: pixel reading and filling (the application comes with TestApp).
#include <QImage>

#include "Graphics.h"
#include "support/TestApp.h"

// A pixel as the program names colours (0x00BBGGRR).
inline TColor PixelAt(TBitmap& bitmap, int x, int y)
{
  const QRgb p = bitmap.Image().pixel(x, y);
  return static_cast<TColor>(qRed(p) | (qGreen(p) << 8) | (qBlue(p) << 16));
}

// A bitmap of the given size filled with one colour.
inline void Fill(TBitmap& bitmap, int width, int height, TColor color)
{
  bitmap.SetWidth(width);
  bitmap.SetHeight(height);
  bitmap.Canvas()->Brush()->SetColor(color);
  bitmap.Canvas()->FillRect(Rect(0, 0, width, height));
}
