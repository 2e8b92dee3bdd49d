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

  TBitmap bitmap;
  TCanvas* canvas = nullptr;
};

TEST_F(CanvasTest, FillRectLeavesRightAndBottomEdgesOut)
{
  canvas->Brush()->SetColor(kRed);
  canvas->FillRect(Rect(2, 3, 6, 7));
  EXPECT_EQ(PixelAt(bitmap, 2, 3), kRed);
  EXPECT_EQ(PixelAt(bitmap, 5, 6), kRed);
  EXPECT_EQ(PixelAt(bitmap, 6, 3), kWhite);
  EXPECT_EQ(PixelAt(bitmap, 2, 7), kWhite);
  EXPECT_EQ(PixelAt(bitmap, 1, 3), kWhite);
  EXPECT_EQ(PixelAt(bitmap, 2, 2), kWhite);
  EXPECT_EQ(Count(kRed), 16);

  // Empty and inside-out rectangles fill nothing.
  canvas->Brush()->SetColor(kBlue);
  canvas->FillRect(Rect(10, 10, 10, 20));
  canvas->FillRect(Rect(20, 10, 15, 20));
  EXPECT_EQ(Count(kBlue), 0);
}

TEST_F(CanvasTest, FrameRectIsOnePixelInsideInBrushColour)
{
  canvas->Pen()->SetColor(kRed);
  canvas->Brush()->SetColor(kBlue);
  canvas->FrameRect(Rect(1, 1, 7, 6));
  for (int x = 1; x <= 6; ++x) {
    EXPECT_EQ(PixelAt(bitmap, x, 1), kBlue) << x;
    EXPECT_EQ(PixelAt(bitmap, x, 5), kBlue) << x;
  }
  for (int y = 1; y <= 5; ++y) {
    EXPECT_EQ(PixelAt(bitmap, 1, y), kBlue) << y;
    EXPECT_EQ(PixelAt(bitmap, 6, y), kBlue) << y;
  }
  EXPECT_EQ(Count(kBlue), 2 * 6 + 2 * 3);  // nothing inside, nothing outside
  EXPECT_EQ(Count(kRed), 0);               // the pen plays no part
}

TEST_F(CanvasTest, LineToLeavesOutTheEndPixelInEveryDirection)
{
  canvas->Pen()->SetColor(kRed);
  canvas->MoveTo(2, 1);
  canvas->LineTo(10, 1);  // right: 2..9
  canvas->MoveTo(10, 3);
  canvas->LineTo(2, 3);   // left: 10..3
  canvas->MoveTo(20, 2);
  canvas->LineTo(20, 8);  // down: 2..7
  canvas->MoveTo(22, 8);
  canvas->LineTo(22, 2);  // up: 8..3
  EXPECT_EQ(PixelAt(bitmap, 2, 1), kRed);
  EXPECT_EQ(PixelAt(bitmap, 9, 1), kRed);
  EXPECT_EQ(PixelAt(bitmap, 10, 1), kWhite);
  EXPECT_EQ(PixelAt(bitmap, 10, 3), kRed);
  EXPECT_EQ(PixelAt(bitmap, 3, 3), kRed);
  EXPECT_EQ(PixelAt(bitmap, 2, 3), kWhite);
  EXPECT_EQ(PixelAt(bitmap, 20, 2), kRed);
  EXPECT_EQ(PixelAt(bitmap, 20, 7), kRed);
  EXPECT_EQ(PixelAt(bitmap, 20, 8), kWhite);
  EXPECT_EQ(PixelAt(bitmap, 22, 8), kRed);
  EXPECT_EQ(PixelAt(bitmap, 22, 3), kRed);
  EXPECT_EQ(PixelAt(bitmap, 22, 2), kWhite);
  EXPECT_EQ(Count(kRed), 8 + 8 + 6 + 6);
}

TEST_F(CanvasTest, LineToMovesThePenAndSlopedLinesHaveOnePixelPerStep)
{
  canvas->Pen()->SetColor(kRed);
  canvas->MoveTo(2, 2);
  canvas->LineTo(8, 2);
  canvas->LineTo(8, 6);  // continues from (8, 2), which this segment draws
  EXPECT_EQ(PixelAt(bitmap, 8, 2), kRed);
  EXPECT_EQ(PixelAt(bitmap, 8, 5), kRed);
  EXPECT_EQ(PixelAt(bitmap, 8, 6), kWhite);
  EXPECT_EQ(Count(kRed), 6 + 4);

  Fill(bitmap, 40, 30, kWhite);
  canvas->MoveTo(0, 10);
  canvas->LineTo(7, 13);  // seven columns, one pixel each, ending short of (7, 13)
  for (int x = 0; x < 7; ++x) {
    int hits = 0;
    for (int y = 0; y < 30; ++y)
      hits += PixelAt(bitmap, x, y) == kRed;
    EXPECT_EQ(hits, 1) << x;
  }
  EXPECT_EQ(PixelAt(bitmap, 0, 10), kRed);
  EXPECT_EQ(Count(kRed), 7);
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

TEST_F(CanvasTest, DottedThinPenIsThreeOnThreeOffWithGapsInBrushColour)
{
  Fill(bitmap, 40, 30, kGreen);
  canvas->Pen()->SetColor(kRed);
  canvas->Pen()->SetStyle(psDot);
  canvas->Brush()->SetColor(kBlue);
  canvas->MoveTo(0, 1);
  canvas->LineTo(18, 1);
  for (int x = 0; x < 18; ++x)
    EXPECT_EQ(PixelAt(bitmap, x, 1), x % 6 < 3 ? kRed : kBlue) << x;
  EXPECT_EQ(PixelAt(bitmap, 18, 1), kGreen);

  // The pattern runs from the start point, whichever way the line goes.
  canvas->MoveTo(30, 20);
  canvas->LineTo(30, 10);
  EXPECT_EQ(PixelAt(bitmap, 30, 20), kRed);
  EXPECT_EQ(PixelAt(bitmap, 30, 17), kBlue);
  EXPECT_EQ(PixelAt(bitmap, 30, 14), kRed);
  EXPECT_EQ(PixelAt(bitmap, 30, 10), kGreen);
}

TEST_F(CanvasTest, DottedWidePenIsDrawnSolid)
{
  canvas->Pen()->SetColor(kRed);
  canvas->Pen()->SetStyle(psDot);
  canvas->Pen()->SetWidth(2);
  canvas->Brush()->SetColor(kBlue);
  canvas->MoveTo(2, 10);
  canvas->LineTo(30, 10);
  for (int x = 3; x < 30; ++x)
    EXPECT_EQ(PixelAt(bitmap, x, 10), kRed) << x;
  EXPECT_EQ(Count(kBlue), 0);
}

TEST_F(CanvasTest, WidePenHasRoundEnds)
{
  canvas->Pen()->SetColor(kRed);
  canvas->Pen()->SetWidth(6);
  canvas->MoveTo(10, 10);
  canvas->LineTo(20, 10);
  EXPECT_EQ(PixelAt(bitmap, 22, 10), kRed);    // beyond the end: not a flat end
  EXPECT_EQ(PixelAt(bitmap, 22, 7), kWhite);   // corner left out: not a square end
  EXPECT_EQ(PixelAt(bitmap, 7, 10), kRed);
  EXPECT_EQ(PixelAt(bitmap, 7, 7), kWhite);
  for (int y = 5; y <= 14; ++y)  // six pixels thick, centred on the line
    EXPECT_EQ(PixelAt(bitmap, 15, y), y >= 7 && y <= 12 ? kRed : kWhite) << y;
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
  EXPECT_EQ(PixelAt(bitmap, 3, 15), kRed);  // the start disc reaches past the start
  EXPECT_EQ(PixelAt(bitmap, 26, 15), kRed); // and the end disc past the end
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
  EXPECT_GE(top, y);                // nothing above the cell
  EXPECT_LT(bottom, y + height);    // nor below it
  EXPECT_GE(bottom, y + ascent);    // the descenders hang below the baseline
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
