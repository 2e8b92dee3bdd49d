#pragma once
// Shared by the graphics tests: an application for fonts and palettes, and pixel reading.
#include <gtest/gtest.h>

#include <QApplication>

#include "Graphics.h"

// The application lives from before the first test to after the last, unless another part of
// the test program made one already; freeing it at the end lets the leak checker see only ours.
class GraphicsTestApplication : public ::testing::Environment {
public:
  void SetUp() override
  {
    if (QCoreApplication::instance() == nullptr)
      app_ = new QApplication(argc_, argv_);
  }
  void TearDown() override
  {
    delete app_;
    app_ = nullptr;
  }

private:
  int argc_ = 1;
  char name_[10] = "gui_tests";
  char* argv_[2] = {name_, nullptr};
  QApplication* app_ = nullptr;
};

inline ::testing::Environment* const kGraphicsTestApplication =
    ::testing::AddGlobalTestEnvironment(new GraphicsTestApplication);

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
