#pragma once
// Points and rectangles in pixels, with the Windows member names the program's code uses.

struct TPoint {
  int x = 0;
  int y = 0;
};

// Right and bottom are exclusive: the rectangle (0, 0, 10, 5) covers 10 × 5 pixels.
struct TRect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;

  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
};

inline TPoint Point(int x, int y)
{
  return TPoint{x, y};
}
inline TRect Rect(int left, int top, int right, int bottom)
{
  return TRect{left, top, right, bottom};
}
