// The canvas's pixel rules, read back from bitmaps; fonts (sizes in points and pixels, the
// installed look-alikes) and colours (the program's byte order, system colours from the theme).
#include <gtest/gtest.h>

#include <QBuffer>
#include <QFontInfo>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QPalette>

#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <random>
#include <utility>

#include "MemoryStream.h"
#include "support/GraphicsTestSupport.h"

namespace {

constexpr TColor Red = 0x0000FF;
constexpr TColor Blue = 0xFF0000;
constexpr TColor Green = 0x00FF00;
constexpr TColor White = 0xFFFFFF;

class CanvasTest : public ::testing::Test {
protected:
  void SetUp() override
  {
    Fill(bitmap, 40, 30, White);
    canvas = bitmap.Canvas();
  }

  static char Letter(TColor c)
  {
    return c == White ? 'W' : c == Red ? 'R' : c == Green ? 'G' : c == Blue ? 'B' : '?';
  }

  // Rows y0..y1 of columns x0..x1, a letter a pixel: W, R, G, B, ? for other colours.
  std::string Picture(int x0, int y0, int x1, int y1)
  {
    std::string rows;
    for (int y = y0; y <= y1; ++y) {
      for (int x = x0; x <= x1; ++x)
        rows += Letter(PixelAt(bitmap, x, y));
      rows += '\n';
    }
    return rows;
  }
  // The letters of single pixels.
  std::string Points(std::initializer_list<std::pair<int, int>> points)
  {
    std::string letters;
    for (auto [x, y] : points)
      letters += Letter(PixelAt(bitmap, x, y));
    return letters;
  }
  // How many pixels of the whole bitmap have this colour.
  int Count(TColor color)
  {
    const std::string all = Picture(0, 0, bitmap.Width() - 1, bitmap.Height() - 1);
    return static_cast<int>(std::count(all.begin(), all.end(), Letter(color)));
  }
  void Line(int x1, int y1, int x2, int y2)
  {
    canvas->MoveTo(x1, y1);
    canvas->LineTo(x2, y2);
  }

  TBitmap bitmap;
  TCanvas* canvas = nullptr;
};

// Empty and inside-out rectangles fill nothing; a frame is in the brush colour, one pixel inside.
TEST_F(CanvasTest, ShapesLeaveTheRightAndBottomEdgesOutAndLinesTheirEndPixel)
{
  canvas->Brush()->SetColor(Red);
  canvas->FillRect(Rect(1, 1, 4, 3));
  canvas->Brush()->SetColor(Blue);
  canvas->FillRect(Rect(1, 8, 1, 9));
  canvas->FillRect(Rect(4, 8, 2, 9));
  canvas->Pen()->SetColor(Red);
  canvas->FrameRect(Rect(6, 1, 11, 5));
  canvas->Pen()->SetColor(Green);
  Line(1, 5, 5, 5);
  Line(5, 7, 1, 7);
  Line(12, 1, 12, 5);
  Line(13, 8, 13, 3);
  Line(7, 6, 10, 6);
  canvas->LineTo(10, 9);
  Line(15, 0, 22, 3);
  EXPECT_EQ(Picture(0, 0, 23, 9), "WWWWWWWWWWWWWWWGGWWWWWWW\n"
                                  "WRRRWWBBBBBWGWWWWGGWWWWW\n"
                                  "WRRRWWBWWWBWGWWWWWWGGWWW\n"
                                  "WWWWWWBWWWBWGWWWWWWWWGWW\n"
                                  "WWWWWWBBBBBWGGWWWWWWWWWW\n"
                                  "WGGGGWWWWWWWWGWWWWWWWWWW\n"
                                  "WWWWWWWGGGGWWGWWWWWWWWWW\n"
                                  "WWGGGGWWWWGWWGWWWWWWWWWW\n"
                                  "WWWWWWWWWWGWWGWWWWWWWWWW\n"
                                  "WWWWWWWWWWWWWWWWWWWWWWWW\n");

  // Lines reaching far outside are clipped, not wrapped.
  Fill(bitmap, 40, 30, White);
  canvas->Pen()->SetColor(Red);
  Line(-1000000, 5, 1000000, 5);
  Line(35, -50, 35, 2000000000);
  EXPECT_EQ(Count(Red), 40 + 30 - 1);
}

// Dots are three on, three off in the brush colour from the start point; wide pens draw solid.
TEST_F(CanvasTest, DottedThinPensAndSolidWidePensWithRoundEnds)
{
  Fill(bitmap, 40, 30, Green);
  canvas->Pen()->SetColor(Red);
  canvas->Pen()->SetStyle(psDot);
  canvas->Brush()->SetColor(Blue);
  Line(0, 1, 18, 1);
  Line(30, 20, 30, 10);
  EXPECT_EQ(Picture(0, 1, 18, 1), "RRRBBBRRRBBBRRRBBBG\n");
  EXPECT_EQ(Picture(30, 10, 30, 20), "G\nB\nR\nR\nR\nB\nB\nB\nR\nR\nR\n");

  Fill(bitmap, 40, 30, White);
  canvas->Brush()->SetColor(Blue);
  canvas->Pen()->SetWidth(2);
  Line(2, 25, 30, 25);
  EXPECT_EQ(Picture(3, 25, 29, 25), std::string(27, 'R') + "\n");
  canvas->Pen()->SetWidth(6);
  Line(10, 10, 20, 10);
  EXPECT_EQ(Picture(22, 7, 22, 10) + Picture(7, 7, 7, 10), "W\nR\nR\nR\nW\nR\nR\nR\n");
  EXPECT_EQ(Picture(15, 5, 15, 14), "W\nW\nR\nR\nR\nR\nR\nR\nW\nW\n");
  EXPECT_EQ(Count(Blue), 0);

  // Only colour and width set again, as the chart's grid does: the dots stay, across a resize.
  canvas->Pen()->SetStyle(psDot);
  canvas->Brush()->SetColor(Green);
  canvas->Font()->SetStyle(fsBold);
  bitmap.SetWidth(60);
  canvas->Pen()->SetWidth(1);
  Line(0, 29, 50, 29);
  EXPECT_EQ(Points({{0, 29}, {3, 29}, {45, 29}}), "RGG");
  EXPECT_EQ(canvas->Font()->Style(), fsBold);
}

// Fills painted before and after directly set lines keep their order.
TEST_F(CanvasTest, LinesSetPixelsOnlyWithNoPainterOpenAndMixWithPaintedShapes)
{
  canvas->Brush()->SetColor(Green);
  canvas->FillRect(Rect(0, 0, 20, 20));
  ASSERT_TRUE(canvas->Target()->paintingActive());  // fills keep the painter open
  canvas->Pen()->SetColor(Red);
  Line(0, 5, 30, 5);
  EXPECT_FALSE(canvas->Target()->paintingActive());
  canvas->Brush()->SetColor(Blue);
  canvas->FillRect(Rect(10, 4, 12, 7));
  EXPECT_EQ(Picture(0, 5, 30, 5), "RRRRRRRRRRBBRRRRRRRRRRRRRRRRRRW\n");

  canvas->Pen()->SetWidth(4);
  Line(5, 15, 25, 15);
  EXPECT_FALSE(canvas->Target()->paintingActive());
  canvas->FrameRect(Rect(14, 10, 17, 20));
  // The start disc past the start, the end disc past the end, the frame over the line.
  EXPECT_EQ(Points({{3, 15}, {26, 15}, {10, 15}, {14, 15}, {15, 15}, {10, 11}, {27, 15}}), "RRRBRGW");
}

// The top of the character cell is at y; Cyrillic bytes (1251) are measured as letters.
TEST_F(CanvasTest, TextRectFillsItsRectangleAndClipsTheTextBelowY)
{
  Fill(bitmap, 120, 60, Green);
  canvas->Brush()->SetColor(White);
  canvas->Font()->SetColor(0x000000);
  const TRect r = Rect(10, 5, 40, 55);
  const int y = 20;
  canvas->TextRect(r, 12, y, "ypgWWWWWWWWWWWW");
  ASSERT_GT(canvas->TextWidth("ypgWWWWWWWWWWWW"), r.right - 12);  // the text is longer than r
  int top = 60, bottom = -1, textPixels = 0;
  for (int row = 0; row < bitmap.Height(); ++row)
    for (int x = 0; x < bitmap.Width(); ++x) {
      const bool inside = x >= r.left && x < r.right && row >= r.top && row < r.bottom;
      const TColor p = PixelAt(bitmap, x, row);
      ASSERT_TRUE(inside || p == Green) << x << "," << row;
      if (inside && p != White) {
        ++textPixels;
        top = std::min(top, row);
        bottom = std::max(bottom, row);
      }
    }
  EXPECT_GT(textPixels, 20);
  EXPECT_EQ(Points({{10, 5}, {11, 30}, {39, 54}}), "WWW");  // the margins are brush
  EXPECT_GE(top, y);                                        // nothing above the cell
  EXPECT_LT(bottom, y + canvas->TextHeight("Wypg"));        // nor below it
  EXPECT_GE(bottom, y + QFontMetrics(canvas->Font()->QtFont()).ascent());
  EXPECT_GT(canvas->TextWidth("\xC0\xC1\xC2"), canvas->TextWidth("\xC0\xC1"));
  const int small = canvas->TextHeight("ABCypg");
  canvas->Font()->SetSize(20);
  EXPECT_GT(canvas->TextHeight("ABCypg"), small);
}

TEST_F(CanvasTest, DrawHonoursAlphaAndCopyRectAndBitBltCopyPixelsExactly)
{
  TBitmap picture;
  Fill(picture, 3, 2, Red);
  picture.Canvas()->Brush()->SetColor(Blue);
  picture.Canvas()->FillRect(Rect(2, 1, 3, 2));
  canvas->Draw(4, 5, &picture);
  EXPECT_EQ(Picture(3, 4, 7, 7), "WWWWW\nWRRRW\nWRRBW\nWWWWW\n");

  QImage mark(2, 1, QImage::Format_ARGB32);
  mark.setPixel(0, 0, qRgba(0, 0, 255, 255));
  mark.setPixel(1, 0, qRgba(0, 0, 0, 0));
  QByteArray png;
  QBuffer buffer(&png);
  buffer.open(QIODevice::WriteOnly);
  ASSERT_TRUE(mark.save(&buffer, "PNG"));
  TMemoryStream stream;
  stream.WriteBuffer(png.constData(), static_cast<int32_t>(png.size()));
  stream.SetPosition(0);
  TBitmap eye;
  eye.LoadFromStream(stream);
  canvas->Draw(20, 20, &eye);
  EXPECT_EQ(Picture(20, 20, 21, 20), "BW\n");

  // A copy over the destination's edge keeps what fits; within one canvas it reads the old pixels.
  Fill(bitmap, 40, 30, White);
  TBitmap source;
  Fill(source, 20, 10, White);
  auto shade = [](int x) { return static_cast<TColor>(0x010203 * x); };
  for (int x = 0; x < 20; ++x) {
    source.Canvas()->Pen()->SetColor(shade(x));
    source.Canvas()->MoveTo(x, 0);
    source.Canvas()->LineTo(x, 10);
  }
  canvas->CopyRect(Rect(1, 2, 11, 7), source.Canvas(), Rect(5, 3, 15, 8));
  BitBlt(canvas, 30, 25, 20, 10, source.Canvas(), 0, 0);
  canvas->CopyRect(Rect(3, 10, 13, 11), canvas, Rect(1, 2, 11, 3));
  canvas->CopyRect(Rect(5, 10, 15, 11), canvas, Rect(3, 10, 13, 11));  // overlapping, to the right
  for (int x = 0; x < 10; ++x) {
    EXPECT_EQ(PixelAt(bitmap, 1 + x, 6), shade(5 + x)) << x;
    EXPECT_EQ(PixelAt(bitmap, 30 + x, 29), shade(x)) << x;
    EXPECT_EQ(PixelAt(bitmap, 5 + x, 10), shade(5 + x)) << x;
  }
  EXPECT_EQ(Points({{11, 2}, {1, 7}, {29, 25}, {30, 24}}), "WWWW");
}

TEST(Font, PointsAndPixelsAtNinetySixDotsPerInchAndWindowsFamiliesAsInstalledLookAlikes)
{
  TFont font;
  EXPECT_EQ(font.Height(), -11);  // 8 points
  font.SetName("Verdana");
  const int defaultCell = QFontMetrics(font.QtFont()).height();
  // {points set, height read, Qt's pixel size}; 10 points are 13.33 pixels.
  const int rows[][3] = {{10, -13, 13}, {9, -12, 12}, {0, 0, 11}};
  for (const auto& row : rows) {
    font.SetSize(row[0]);
    EXPECT_EQ(font.Height(), row[1]) << row[0];
    EXPECT_EQ(font.QtFont().pixelSize(), row[2]) << row[0];  // the cached Qt font follows
  }
  EXPECT_EQ(QFontMetrics(font.QtFont()).height(), defaultCell);
  font.SetHeight(-13);
  EXPECT_EQ(font.Size(), 10);
  font.SetHeight(20);  // positive: the cell height
  EXPECT_NEAR(QFontMetrics(font.QtFont()).height(), 20, 1);

  // Windows families map to installed look-alikes whatever the case.
  const char* families[][2] = {
      {"MS Sans Serif", "DejaVu Sans"}, {"verdana", "DejaVu Sans"}, {"LUCIDA CONSOLE", "DejaVu Sans Mono"}};
  for (const auto& [windows, installed] : families) {
    font.SetName(windows);
    EXPECT_EQ(QFontInfo(font.QtFont()).family(), installed) << windows;
  }
  const QFontMetrics metrics(font.QtFont());
  EXPECT_EQ(metrics.horizontalAdvance("iii"), metrics.horizontalAdvance("WWW"));
}

class ColorsTest : public ::testing::Test {
protected:
  void TearDown() override { QGuiApplication::setPalette(saved); }

  QPalette saved = QGuiApplication::palette();
};

TEST_F(ColorsTest, RedIsTheLowByteAndSystemColoursAreThePalettesOfTheMoment)
{
  EXPECT_EQ(ToQColor(0x0080FF), QColor(255, 128, 0));
  EXPECT_EQ(ColorToRGB(SystemColor(200)), 0);  // no such system colour: black
  QPalette palette = saved;
  palette.setColor(QPalette::Window, QColor(0x11, 0x22, 0x33));
  palette.setColor(QPalette::ToolTipBase, QColor(0x44, 0x55, 0x66));
  QGuiApplication::setPalette(palette);
  EXPECT_EQ(ColorToRGB(clBtnFace), 0x332211);
  EXPECT_EQ(ColorToRGB(clInfoBk), 0x665544);
}

// A wide pen sets exactly the pixels whose centres lie within half its width of the segment,
// against a plain distance test, for random segments including far-off and degenerate ones.
TEST_F(CanvasTest, WideLinesAreThePixelsWithinHalfTheWidthOfTheSegment)
{
  std::mt19937 random(11);
  std::uniform_int_distribution<int> near(-8, 48);
  std::uniform_int_distribution<int> width(2, 6);
  for (int round = 0; round < 400; ++round) {
    const int w = width(random);
    int x1 = near(random), y1 = near(random), x2 = near(random), y2 = near(random);
    if (round % 10 == 0)
      x2 = x1;  // vertical
    if (round % 10 == 1)
      x2 = x1, y2 = y1;  // a dot
    if (round % 10 == 2)
      y2 = round % 20 ? 2000000000 : -2000000000;  // far off
    Fill(bitmap, 40, 30, White);
    canvas->Pen()->SetColor(Red);
    canvas->Pen()->SetWidth(w);
    Line(x1, y1, x2, y2);
    for (int y = 0; y < 30; ++y)
      for (int x = 0; x < 40; ++x) {
        const long double px = x + 0.5L - x1, py = y + 0.5L - y1, dx = x2 - x1, dy = y2 - y1;
        const long double length2 = dx * dx + dy * dy;
        const long double t = length2 > 0 ? std::clamp((px * dx + py * dy) / length2, 0.0L, 1.0L) : 0.0L;
        const long double ex = px - t * dx, ey = py - t * dy;
        const long double distance2 = ex * ex + ey * ey;
        // Centres within rounding of the edge may go either way.
        if (std::fabs(distance2 - w * w / 4.0L) < 1e-6L)
          continue;
        ASSERT_EQ(PixelAt(bitmap, x, y) == Red, distance2 < w * w / 4.0L)
            << x << ',' << y << " of " << x1 << ',' << y1 << ' ' << x2 << ',' << y2 << " w" << w;
      }
  }
}

}  // namespace
