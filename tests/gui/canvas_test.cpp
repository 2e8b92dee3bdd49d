// The canvas's pixel rules, read back from bitmaps.
#include <gtest/gtest.h>

#include <QBuffer>
#include <QFontMetrics>

#include <algorithm>

#include "MemoryStream.h"
#include "support/GraphicsTestSupport.h"

namespace {

constexpr TColor kRed = 0x0000FF;
constexpr TColor kBlue = 0xFF0000;
constexpr TColor kGreen = 0x00FF00;
constexpr TColor kWhite = 0xFFFFFF;

class CanvasTest : public ::testing::Test {
protected:
  void SetUp() override
  {
    Fill(bitmap, 40, 30, kWhite);
    canvas = bitmap.Canvas();
  }

  // Pixels of one colour inside the bitmap.
  int Count(TColor color)
  {
    int n = 0;
    for (int y = 0; y < bitmap.Height(); ++y)
      for (int x = 0; x < bitmap.Width(); ++x)
        n += PixelAt(bitmap, x, y) == color;
    return n;
  }

  // Rows y0..y1 of columns x0..x1, a letter a pixel: W, R, G, B, ? for other colours.
  std::string Picture(int x0, int y0, int x1, int y1)
  {
    std::string rows;
    for (int y = y0; y <= y1; ++y) {
      for (int x = x0; x <= x1; ++x) {
        const TColor c = PixelAt(bitmap, x, y);
        rows += c == kWhite ? 'W' : c == kRed ? 'R' : c == kGreen ? 'G' : c == kBlue ? 'B' : '?';
      }
      rows += '\n';
    }
    return rows;
  }

  TBitmap bitmap;
  TCanvas* canvas = nullptr;
};

// Fills and frames leave the right and bottom edges out (empty and inside-out rectangles fill
// nothing; a frame is in the brush colour, one pixel inside); a thin line has its start pixel
// and not its end one in every direction, one pixel a step when sloped, and moves the pen.
TEST_F(CanvasTest, ShapesLeaveTheRightAndBottomEdgesOutAndLinesTheirEndPixel)
{
  canvas->Brush()->SetColor(kRed);
  canvas->FillRect(Rect(1, 1, 4, 3));
  canvas->Brush()->SetColor(kBlue);
  canvas->FillRect(Rect(1, 8, 1, 9));
  canvas->FillRect(Rect(4, 8, 2, 9));
  canvas->Pen()->SetColor(kRed);
  canvas->FrameRect(Rect(6, 1, 11, 5));
  canvas->Pen()->SetColor(kGreen);
  for (const auto& [from, to] : {std::pair{Point(1, 5), Point(5, 5)},
                                 {Point(5, 7), Point(1, 7)},
                                 {Point(12, 1), Point(12, 5)},
                                 {Point(13, 8), Point(13, 3)}}) {
    canvas->MoveTo(from.x, from.y);
    canvas->LineTo(to.x, to.y);
  }
  canvas->MoveTo(7, 6);
  canvas->LineTo(10, 6);
  canvas->LineTo(10, 9);
  canvas->MoveTo(15, 0);
  canvas->LineTo(22, 3);
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
}

TEST_F(CanvasTest, LinesReachingOutsideAreClippedNotWrapped)
{
  canvas->Pen()->SetColor(kRed);
  canvas->MoveTo(-1000000, 5);
  canvas->LineTo(1000000, 5);
  canvas->MoveTo(35, -50);
  canvas->LineTo(35, 2000000000);
  EXPECT_EQ(Count(kRed), 40 + 30 - 1);
}

// The pattern runs from the start point, whichever way the line goes.
TEST_F(CanvasTest, DottedThinPenIsThreeOnThreeOffWithGapsInBrushColour)
{
  Fill(bitmap, 40, 30, kGreen);
  canvas->Pen()->SetColor(kRed);
  canvas->Pen()->SetStyle(psDot);
  canvas->Brush()->SetColor(kBlue);
  canvas->MoveTo(0, 1);
  canvas->LineTo(18, 1);
  canvas->MoveTo(30, 20);
  canvas->LineTo(30, 10);
  EXPECT_EQ(Picture(0, 1, 18, 1), "RRRBBBRRRBBBRRRBBBG\n");
  EXPECT_EQ(Picture(30, 10, 30, 20), "G\nB\nR\nR\nR\nB\nB\nB\nR\nR\nR\n");
}

// Wide pens draw solid, dotted or not, with round ends: beyond the end but not its corners.
TEST_F(CanvasTest, WidePensAreSolidWithRoundEnds)
{
  canvas->Pen()->SetColor(kRed);
  canvas->Pen()->SetStyle(psDot);
  canvas->Pen()->SetWidth(2);
  canvas->Brush()->SetColor(kBlue);
  canvas->MoveTo(2, 25);
  canvas->LineTo(30, 25);
  EXPECT_EQ(Picture(3, 25, 29, 25), std::string(27, 'R') + "\n");
  canvas->Pen()->SetWidth(6);
  canvas->MoveTo(10, 10);
  canvas->LineTo(20, 10);
  EXPECT_EQ(Picture(22, 7, 22, 10) + Picture(7, 7, 7, 10), "W\nR\nR\nR\nW\nR\nR\nR\n");
  EXPECT_EQ(Picture(15, 5, 15, 14), "W\nW\nR\nR\nR\nR\nR\nR\nW\nW\n");  // six thick, centred
  EXPECT_EQ(Count(kBlue), 0);
}

TEST_F(CanvasTest, LinesSetPixelsOnlyWithNoPainterOpenAndMixWithPaintedShapes)
{
  // Painted fill, then a thin line over it, then paint over part of the line.
  canvas->Brush()->SetColor(kGreen);
  canvas->FillRect(Rect(0, 0, 20, 20));
  ASSERT_TRUE(canvas->Target()->paintingActive());  // fills keep the painter open
  canvas->Pen()->SetColor(kRed);
  canvas->MoveTo(0, 5);
  canvas->LineTo(30, 5);
  EXPECT_FALSE(canvas->Target()->paintingActive());
  canvas->Brush()->SetColor(kBlue);
  canvas->FillRect(Rect(10, 4, 12, 7));
  for (int x = 0; x < 30; ++x)
    EXPECT_EQ(PixelAt(bitmap, x, 5), x == 10 || x == 11 ? kBlue : kRed) << x;
  EXPECT_EQ(PixelAt(bitmap, 30, 5), kWhite);

  // A wide line: painted segment, then discs set directly, then a painted frame across it.
  canvas->Pen()->SetWidth(4);
  canvas->MoveTo(5, 15);
  canvas->LineTo(25, 15);
  EXPECT_FALSE(canvas->Target()->paintingActive());
  canvas->FrameRect(Rect(14, 10, 17, 20));
  EXPECT_EQ(PixelAt(bitmap, 3, 15), kRed);   // the start disc reaches past the start
  EXPECT_EQ(PixelAt(bitmap, 26, 15), kRed);  // and the end disc past the end
  EXPECT_EQ(PixelAt(bitmap, 10, 15), kRed);
  EXPECT_EQ(PixelAt(bitmap, 14, 15), kBlue);  // the frame over the line
  EXPECT_EQ(PixelAt(bitmap, 15, 15), kRed);
  EXPECT_EQ(PixelAt(bitmap, 10, 11), kGreen);
  EXPECT_EQ(PixelAt(bitmap, 27, 15), kWhite);
}

TEST_F(CanvasTest, TextRectFillsItsRectangleAndClipsTheText)
{
  Fill(bitmap, 120, 40, kGreen);
  canvas->Brush()->SetColor(kWhite);
  canvas->Font()->SetColor(0x000000);
  const TRect r = Rect(10, 5, 40, 25);
  canvas->TextRect(r, 12, 8, "WWWWWWWWWWWW");
  ASSERT_GT(canvas->TextWidth("WWWWWWWWWWWW"), r.right - 12);  // the text is longer than r

  int textPixels = 0;
  for (int y = 0; y < bitmap.Height(); ++y) {
    for (int x = 0; x < bitmap.Width(); ++x) {
      const bool inside = x >= r.left && x < r.right && y >= r.top && y < r.bottom;
      const TColor p = PixelAt(bitmap, x, y);
      if (!inside)
        ASSERT_EQ(p, kGreen) << x << "," << y;
      else
        textPixels += p != kWhite;
    }
  }
  EXPECT_GT(textPixels, 20);
  EXPECT_EQ(PixelAt(bitmap, 10, 5), kWhite);   // the margin left of x is brush
  EXPECT_EQ(PixelAt(bitmap, 39, 24), kWhite);  // and so is the corner below the text
}

TEST_F(CanvasTest, TextRectPlacesTheTopOfTheCharacterCellAtY)
{
  Fill(bitmap, 200, 80, kWhite);
  canvas->Font()->SetColor(0x000000);
  const int y = 30;
  canvas->TextRect(Rect(0, 0, 200, 80), 5, y, "ABCypg");
  const int height = canvas->TextHeight("ABCypg");
  const int ascent = QFontMetrics(canvas->Font()->QtFont()).ascent();
  int top = 80;
  int bottom = -1;
  for (int row = 0; row < 80; ++row)
    for (int x = 0; x < 200; ++x)
      if (PixelAt(bitmap, x, row) != kWhite) {
        top = std::min(top, row);
        bottom = std::max(bottom, row);
      }
  EXPECT_GE(top, y);              // nothing above the cell
  EXPECT_LT(bottom, y + height);  // nor below it
  EXPECT_GE(bottom, y + ascent);  // the descenders hang below the baseline
}

TEST_F(CanvasTest, TextExtentsFollowTheTextAndTheFont)
{
  EXPECT_GT(canvas->TextHeight("ABCypg"), 0);
  EXPECT_EQ(canvas->TextWidth(""), 0);
  EXPECT_LT(canvas->TextWidth("A"), canvas->TextWidth("AB"));
  EXPECT_LT(canvas->TextWidth("AB"), canvas->TextWidth("ABC"));
  const int small = canvas->TextHeight("ABCypg");
  canvas->Font()->SetSize(20);
  EXPECT_GT(canvas->TextHeight("ABCypg"), small);
  // Cyrillic bytes (1251) are measured as letters, one each.
  EXPECT_GT(canvas->TextWidth("\xC0\xC1\xC2"), canvas->TextWidth("\xC0\xC1"));
}

TEST_F(CanvasTest, PenBrushAndFontStayBetweenDrawingsAndResizes)
{
  canvas->Pen()->SetStyle(psDot);
  canvas->Pen()->SetColor(kBlue);
  canvas->Brush()->SetColor(kGreen);
  canvas->Font()->SetStyle(fsBold);
  canvas->MoveTo(0, 0);
  canvas->LineTo(10, 0);
  bitmap.SetWidth(60);

  // Only colour and width set again, as the chart's grid does: the dots stay.
  canvas->Pen()->SetColor(kRed);
  canvas->Pen()->SetWidth(1);
  canvas->MoveTo(0, 5);
  canvas->LineTo(50, 5);
  EXPECT_EQ(PixelAt(bitmap, 0, 5), kRed);
  EXPECT_EQ(PixelAt(bitmap, 3, 5), kGreen);
  EXPECT_EQ(PixelAt(bitmap, 45, 5), kGreen);
  EXPECT_EQ(canvas->Font()->Style(), fsBold);
}

TEST_F(CanvasTest, DrawCopiesAPictureAtItsOwnSizeAndHonoursAlpha)
{
  TBitmap picture;
  Fill(picture, 3, 2, kRed);
  picture.Canvas()->Brush()->SetColor(kBlue);
  picture.Canvas()->FillRect(Rect(2, 1, 3, 2));
  canvas->Draw(4, 5, &picture);
  EXPECT_EQ(PixelAt(bitmap, 4, 5), kRed);
  EXPECT_EQ(PixelAt(bitmap, 6, 6), kBlue);
  EXPECT_EQ(Count(kRed) + Count(kBlue), 6);

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
  EXPECT_EQ(PixelAt(bitmap, 20, 20), kBlue);
  EXPECT_EQ(PixelAt(bitmap, 21, 20), kWhite);  // transparent: the canvas shows through
}

TEST_F(CanvasTest, CopyRectAndBitBltCopyPixelsExactly)
{
  TBitmap source;
  Fill(source, 20, 10, kWhite);
  for (int x = 0; x < 20; ++x) {
    source.Canvas()->Pen()->SetColor(static_cast<TColor>(0x010203 * x));
    source.Canvas()->MoveTo(x, 0);
    source.Canvas()->LineTo(x, 10);
  }

  canvas->CopyRect(Rect(1, 2, 11, 7), source.Canvas(), Rect(5, 3, 15, 8));
  for (int x = 0; x < 10; ++x)
    EXPECT_EQ(PixelAt(bitmap, 1 + x, 2), static_cast<TColor>(0x010203 * (5 + x))) << x;
  EXPECT_EQ(PixelAt(bitmap, 11, 2), kWhite);
  EXPECT_EQ(PixelAt(bitmap, 1, 7), kWhite);

  // A copy running over the destination's edge keeps what fits.
  Fill(bitmap, 40, 30, kWhite);
  BitBlt(canvas, 30, 25, 20, 10, source.Canvas(), 0, 0);
  EXPECT_EQ(PixelAt(bitmap, 30, 25), 0x000000);
  EXPECT_EQ(PixelAt(bitmap, 39, 29), static_cast<TColor>(0x010203 * 9));
  EXPECT_EQ(PixelAt(bitmap, 29, 25), kWhite);
  EXPECT_EQ(PixelAt(bitmap, 30, 24), kWhite);
}

TEST_F(CanvasTest, CopyRectWithinOneCanvasUsesThePixelsBeforeTheCopy)
{
  for (int x = 0; x < 10; ++x) {
    canvas->Pen()->SetColor(static_cast<TColor>(0x000010 * (x + 1)));
    canvas->MoveTo(x, 0);
    canvas->LineTo(x, 1);
  }
  canvas->CopyRect(Rect(3, 0, 13, 1), canvas, Rect(0, 0, 10, 1));  // overlapping, to the right
  for (int x = 0; x < 10; ++x)
    EXPECT_EQ(PixelAt(bitmap, 3 + x, 0), static_cast<TColor>(0x000010 * (x + 1))) << x;
}

TEST_F(CanvasTest, ACanvasWithoutPixelsMeasuresButDrawsNothing)
{
  TCanvas measuring;
  EXPECT_GT(measuring.TextWidth("abc"), 0);
  measuring.FillRect(Rect(0, 0, 10, 10));
  measuring.MoveTo(0, 0);
  measuring.LineTo(10, 10);
  measuring.TextRect(Rect(0, 0, 10, 10), 0, 0, "abc");
  EXPECT_EQ(measuring.Target(), nullptr);
}

TEST_F(CanvasTest, ControlsAttachTheirOwnImageAndHearOfEveryDrawing)
{
  QImage surface(16, 8, QImage::Format_RGB32);
  surface.fill(Qt::white);
  TCanvas onSurface;
  int drawings = 0;
  onSurface.OnChange = [&] { ++drawings; };
  onSurface.SetTarget(&surface);
  onSurface.Brush()->SetColor(kRed);
  onSurface.FillRect(Rect(0, 0, 4, 4));
  onSurface.MoveTo(0, 6);
  onSurface.LineTo(10, 6);
  EXPECT_EQ(drawings, 2);
  EXPECT_EQ(surface.pixel(3, 3), qRgb(255, 0, 0));  // readable while the canvas is in use

  // The owner replaces its image (a resize) after detaching; drawing goes to the new one.
  onSurface.EndPainting();
  surface = QImage(32, 8, QImage::Format_RGB32);
  surface.fill(Qt::white);
  onSurface.SetTarget(&surface);
  onSurface.FillRect(Rect(20, 0, 24, 4));
  EXPECT_EQ(surface.pixel(21, 1), qRgb(255, 0, 0));
}

}  // namespace
