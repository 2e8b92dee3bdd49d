// The legend, the floating value window and the fault panel: pixel-exact goldens of every kind of
// row and of the fault panel's cases, the paints copying the pictures, and what the legend's hit
// test and a running parse rely on.
#include <QImage>

#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>
#include <random>

#include "Bitmap.h"
#include "Numbers.h"
#include "PaintBox.h"
#include "Panel.h"
#include "ScrollBox.h"
#include "TextBoundary.h"
#include "app/ResourceGraphic.h"
#include "chart/ChartValues.h"
#include "program/ChartPictureTestSupport.h"
#include "support/Golden.h"

namespace {

class PanelsTest : public ChartPictureTest {
protected:
  void SetUp() override
  {
    ChartPictureTest::SetUp();
    unit.ChartColumnPanel->SetWidth(264);
  }

  LTypeCell* Item(int32_t id, const AnsiString& name, double value, Byte drawn, Byte listed, TColor color,
                  Byte present = 1)
  {
    LTypeCell* item = AddItem(chart->Items, id, name, drawn);
    item->CursorValue = value;
    item->Cursor = listed;
    item->Color = color;
    item->Present = present;
    return item;
  }
  // Each kind of legend row once, the value window listing all but the first status.
  void EveryKindOfRow()
  {
    Item(2, "Engine speed", 812.5, 1, 1, 0xFF0000);
    Item(3, "Hidden load", NoValue, 0, 1, 0x00A000);
    Item(StatusItemId, "IDLE", 1.0, 1, 0, 0x0080FF);
    Item(StatusItemId, "Drive", -1.0, 1, 1, 0x800080);
    Item(StatusItemId, "EVAP absent", -1.0, 1, 1, 0x0000FF, 0);
    Item(4, "Beyond 32 bits", 98765432109.875, 1, 1, 0x808000);
  }
  static const QImage& Surface(TPaintBox* box) { return *box->Canvas()->Target(); }
};

TEST_F(PanelsTest, LegendAndValueWindowShowEveryKindOfRowAndThePaintCopiesTheLegend)
{
  EveryKindOfRow();
  unit.DrawValuePanels();
  EXPECT_TRUE(MatchesGolden(*unit.LegendBitmap, "legend_rows"));
  EXPECT_TRUE(MatchesGolden(*unit.ValueWindowBitmap, "value_window"));
  // Drawn, and again by the paint box's own paint after its surface was lost.
  for (int paint = 0; paint < 2; ++paint) {
    EXPECT_EQ(Surface(unit.LegendPaintBox),
              unit.LegendBitmap->Image().copy(0, 0, unit.LegendWidth, unit.LegendHeight));
    unit.LegendPaintBox->Canvas()->FillRect(Rect(0, 0, unit.LegendWidth, unit.LegendHeight));
    unit.LegendPaintBox->OnPaint(unit.LegendPaintBox);
  }

  // The value column never narrows; the hit test keeps the legend's row height after the bold
  // fault panel measured its own.
  const int wide = unit.PanelValueWidth;
  chart->Items->Get(5)->CursorValue = 1.0;
  unit.DrawValuePanels();
  unit.DrawErrorPanel();
  EXPECT_EQ(unit.PanelValueWidth, wide);
  EXPECT_EQ(unit.LegendHeight, (unit.LegendRowHeight + unit.PanelRowSpacing) * 6 + unit.PanelRowSpacing);
}

// A status's name comes from the log: in German it is drawn as the same Cyrillic letters.
TEST_F(PanelsTest, StatusNamesKeepTheLogsCodePageInEveryLanguage)
{
  Item(StatusItemId, "\xC8\xC4\xCB\xC5 \xA8", NoValue, 1, 1, 0x0080FF);
  unit.DrawValuePanels();
  const QImage english = unit.LegendBitmap->Image().copy();
  unit.Language = 2;
  SetDisplayCodePage(1252);
  unit.DropChartCaches();  // drawn whole again
  unit.DrawValuePanels();
  const QImage german = unit.LegendBitmap->Image().copy();
  SetDisplayCodePage(1251);
  EXPECT_TRUE(english == german);
}

TEST_F(PanelsTest, ValueTextsAndValuesNoConversionCanBreak)
{
  struct Case {
    int32_t id;
    double value;
    const char* text;
  } cases[] = {
      {2, NoValue, "-"},
      {2, -0.004, "0.00"},
      {2, 1e300, "1E300"},
      {2, std::nan(""), "NAN"},
      {2, -INFINITY, "-INF"},
      {StatusItemId, NoValue, "-"},
      {StatusItemId, 1.0, "active"},
      {StatusItemId, -1.0, ""},
  };
  for (const Case& c : cases) {
    LTypeCell* item = Item(c.id, "x", c.value, 1, 1, 0);
    EXPECT_EQ(unit.PanelValueText(*item), c.text) << c.value;
  }
  unit.DrawValuePanels();  // all of them at once: drawn, not thrown
  EXPECT_EQ(unit.LegendHeight, (unit.TextHeight + 10) * int{std::size(cases)} + 10);

  // A column narrower than its borders: pictures without pixels, nothing thrown or divided.
  unit.ChartColumnPanel->SetWidth(1);
  AddFault(unit, 0, {{"P0101", "A"}});
  unit.CalcCursorValues();
  unit.DrawValuePanels();
  unit.DrawErrorPanel();
  EXPECT_EQ(unit.LegendBitmap->Width() + unit.ValueWindowBitmap->Width() + unit.FaultPanelBitmap->Width(), 0);
}

// Measured in both pictures' fonts, growing only: the widest text so far, "no value" measured
// as the number it is.
TEST_F(PanelsTest, ValueColumnIsAsWideAsTheWidestValueMeasuredSoFar)
{
  LTypeCell* item = Item(2, "x", 0.0, 1, 1, 0);
  TBitmap legendFont, windowFont;
  legendFont.Canvas()->Font()->Assign(unit.MainPanel->Font());
  int widest = 0;
  for (double value : {0.25, -1.0, 812.5, NoValue, -1.0}) {
    item->CursorValue = value;
    const AnsiString text = FloatToStrF(value, ffFixed, 10, 2);
    widest = std::max({widest, legendFont.Canvas()->TextWidth(text), windowFont.Canvas()->TextWidth(text)});
    unit.DrawValuePanels();
    EXPECT_EQ(unit.PanelValueWidth, widest) << text;
  }
}

TEST_F(PanelsTest, FaultPanelShowsCodesByKindOrOneMessageOrNothing)
{
  AddFault(unit, 100, {{"P0101", "P"}, {"P0300", "A"}, {"P0420", "T"}, {"P0500", "D"}, {"P0700", "?"}});
  AddFault(unit, 200);
  const struct {
    int64_t cursor;
    const char* golden;
  } cases[] = {{150, "fault_codes"}, {250, "fault_no_errors"}, {50, "fault_unread"}};
  for (const auto& c : cases) {
    unit.CursorTime = c.cursor;
    unit.CalcCursorValues();
    unit.DrawErrorPanel();
    EXPECT_TRUE(MatchesGolden(*unit.FaultPanelBitmap, c.golden));
    unit.FaultPaintBox->Canvas()->FillRect(Rect(0, 0, unit.FaultPanelWidth, unit.FaultPanelHeight));
    unit.FaultPaintBox->OnPaint(unit.FaultPaintBox);
    EXPECT_EQ(Surface(unit.FaultPaintBox), unit.FaultPanelBitmap->Image());
  }

  unit.CursorFaultInterval = nullptr;  // a log no longer on disk: white
  unit.LogFileName += ".gone";
  unit.DrawErrorPanel();
  QImage white(unit.FaultPanelBitmap->Image().size(), QImage::Format_RGB32);
  white.fill(Qt::white);
  EXPECT_EQ(unit.FaultPanelBitmap->Image(), white);
  unit.LogFileName.clear();  // no log: the box shrinks to nothing
  unit.DrawErrorPanel();
  EXPECT_EQ(unit.FaultPaintBox->Width() + unit.FaultPaintBox->Height(), 0);
}

TEST_F(PanelsTest, WhileAParseRunsThePanelsKeepTheirLastPictures)
{
  EveryKindOfRow();
  AddFault(unit, 0, {{"P0101", "A"}});
  unit.CalcCursorValues();
  unit.DrawValuePanels();
  unit.DrawErrorPanel();
  const QImage legend = unit.LegendBitmap->Image().copy(), faults = unit.FaultPanelBitmap->Image().copy();
  unit.ParseRunning = 1;
  unit.ClearErrorCells();
  chart->Items->Get(0)->CursorValue = 1.0;
  unit.DrawValuePanels();
  unit.DrawErrorPanel();
  unit.ParseRunning = 0;
  EXPECT_EQ(unit.LegendBitmap->Image(), legend);
  EXPECT_EQ(unit.FaultPanelBitmap->Image(), faults);
}

// A cursor move redraws only the value cells whose text changed: after each of many random
// changes, the pictures equal a drawing of the whole from nothing.
TEST_F(PanelsTest, RedrawingOnlyChangedValuesGivesTheSamePicturesAsDrawingAll)
{
  EveryKindOfRow();
  std::mt19937 random(11);
  const double values[] = {NoValue, -1.0, 1.0, 0.5, 123456.789, -42.0};
  for (int step = 0; step < 300; ++step) {
    LTypeCell* item = chart->Items->Get(static_cast<int>(random() % chart->Items->Count()));
    switch (random() % 12) {
    case 0: item->Chart ^= 1; break;
    case 1: item->Cursor ^= 1; break;
    case 2: item->Present ^= 1; break;
    case 3: unit.ChartColumnPanel->SetWidth(200 + static_cast<int>(random() % 120)); break;
    case 4: unit.Language = static_cast<int>(random() % 3); break;
    case 5: item->NameEn += "e"; break;
    default: item->CursorValue = values[random() % std::size(values)];
    }
    unit.DrawValuePanels();
    if (unit.LegendScrollBox->ClientWidth() != unit.LegendWidth)  // its scroll bar came or went
      unit.DrawValuePanels();
    const QImage legend = unit.LegendBitmap->Image().copy(), window = unit.ValueWindowBitmap->Image().copy();
    unit.LegendMemo = {};
    unit.ValueWindowMemo = {};
    unit.DrawValuePanels();
    ASSERT_EQ(unit.LegendBitmap->Image(), legend) << step;
    ASSERT_EQ(unit.ValueWindowBitmap->Image(), window) << step;
  }
}

TEST(EyeMark, FitsTheColourBoxAndARowWithTransparentCorners)
{
  TBitmap eye;
  LoadResourceGraphic(&eye, "glaz");
  const QImage& image = eye.Image();
  ASSERT_FALSE(image.isNull());
  EXPECT_LE(image.width(), 30 - 2);
  EXPECT_LE(image.height(), 13);
  EXPECT_TRUE(image.hasAlphaChannel());
  for (QPoint corner : {QPoint(0, 0), QPoint(image.width() - 1, image.height() - 1)})
    EXPECT_EQ(qAlpha(image.pixel(corner)), 0);
  EXPECT_EQ(qAlpha(image.pixel(image.width() / 2, image.height() / 2)), 255);
}

}  // namespace
