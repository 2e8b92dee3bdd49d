#pragma once
// The pen lines are drawn with and the brush rectangles are filled with.
#include "System.h"

enum TPenStyle { psSolid, psDot };

class TPen {
public:
  TColor Color() const { return color_; }
  void SetColor(TColor color) { color_ = color; }
  // Widths below 1 draw as 1.
  int Width() const { return width_; }
  void SetWidth(int width) { width_ = width; }
  TPenStyle Style() const { return style_; }
  void SetStyle(TPenStyle style) { style_ = style; }

private:
  TColor color_ = 0x000000;
  int width_ = 1;
  TPenStyle style_ = psSolid;
};

// Always solid.
class TBrush {
public:
  TColor Color() const { return color_; }
  void SetColor(TColor color) { color_ = color; }

private:
  TColor color_ = 0xFFFFFF;
};
