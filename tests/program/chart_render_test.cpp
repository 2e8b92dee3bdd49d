// The chart renderer: pictures of small logs drawn headless.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <initializer_list>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "Bitmap.h"
#include "ComboBox.h"
#include "Numbers.h"
#include "PaintBox.h"
#include "program/ChartPictureTestSupport.h"
#include "support/Golden.h"

namespace {

class ChartRenderTest : public ChartPictureTest {
protected:
  void SetUp() override
  {
    ChartPictureTest::SetUp();
    unit.ReadyFlag = 1;
    Size(800, 500);
  }
  void Size(int width, int height)
  {
    unit.ChartPaintBox->SetAlign(alNone);
    unit.ChartPaintBox->SetBounds(0, 0, width, height);
  }
  const QImage& Draw()
  {
    unit.CalcValueRange();
    unit.DrawChart();
    return unit.ChartBitmap->Image();
  }
};

// What a picture shows, as letters: f the plot's fill, g grid lines inside the plot, c the
// curve (red), l labels (black text), m a fault mark (navy); '-' for each that is missing.
std::string Shows(const QImage& image, int plotWidth, int plotHeight)
{
  bool fill = false, grid = false, curve = false, labels = false, mark = false;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) {
      const QRgb p = image.pixel(x, y) & 0xFFFFFF;
      const bool inside = x > 61 && x < 58 + plotWidth && y > 6 && y < 3 + plotHeight;
      fill |= p == 0xC0DCC0;
      grid |= inside && p == 0x808080;
      curve |= p == 0xFF0000;
      labels |= !inside && p == 0x000000;
      mark |= p == 0x000080;
    }
  return std::string(fill ? "f" : "-") + (grid ? "g" : "-") + (curve ? "c" : "-") + (labels ? "l" : "-") +
         (mark ? "m" : "-");
}

// Whatever the sizes and numbers, a drawing ends: it leaves out only the steps that need what is
// missing, and the margins are always drawn.
TEST_F(ChartRenderTest, EveryDegenerateScaleDrawsWhatItCan)
{
  struct Case {
    const char* name;
    int width, height;
    std::function<void(BQELunit&)> before;  // after the range
    double value;                           // of the middle record
    const char* shows;
  };
  const auto none = [](BQELunit&) {};
  const Case cases[] = {
      {"plain", 400, 250, none, 50, "fgclm"},
      {"within the margins", 50, 40, none, 50, "-----"},
      {"no height", 400, 50, none, 50, "---lm"},
      {"no width", 60, 250, none, 50, "---l-"},
      {"zero time span", 400, 250, [](BQELunit& u) { u.ZoomX = 1e9; }, 50, "fg-l-"},
      {"zero value span", 400, 250, [](BQELunit& u) { u.ValueMin = u.ValueMax = 7; }, 50, "fg-lm"},
      {"beyond 32 bits", 400, 250, none, 1e13, "fgclm"},
      {"range beyond 32 bits", 400, 250, [](BQELunit& u) { u.ValueMin = -1e12, u.ValueMax = 1e12; }, 1e13,
       "fgclm"},
      {"inverted range", 400, 250, [](BQELunit& u) { u.ValueMin = 90, u.ValueMax = -10; }, 50, "fgclm"},
      {"no number", 400, 250, none, HUGE_VAL, "fgclm"},
  };
  LTypeCell* item = AddItem(chart->Items, 2, "A", 1, 1000, 0);
  item->Color = 0x0000FF;
  chart->YBottom = INT32_MIN;
  chart->YTop = INT32_MAX;
  std::vector<LDataCell*> cells;
  for (int i = 0; i < 5; ++i)
    cells.push_back(AddLine(unit, 2, i * 1000, i % 2 * 0.05));
  LinkLines(unit);
  AddFault(unit, 2000)->HasPost = 1;
  for (const Case& c : cases) {
    Size(c.width, c.height);
    cells[2]->Value = c.value;
    unit.ZoomX = 1.0;
    unit.CalcValueRange();
    c.before(unit);
    unit.DrawChart();
    const QImage& image = unit.ChartBitmap->Image();
    EXPECT_EQ(image.size(), QSize(c.width, c.height)) << c.name;
    EXPECT_EQ(Shows(image, unit.PlotWidth, unit.PlotHeight), c.shows) << c.name;
    // The margins: button face at the corners.
    EXPECT_EQ(image.pixel(0, 0), image.pixel(c.width - 1, c.height - 1)) << c.name;
  }
}

// A parameter item drawn in a colour, over records at the given times and values.
LTypeCell* Curve(BQELunit& unit, LMaskCell* mask, int32_t id, TColor color, int32_t factor,
                 std::initializer_list<std::pair<int64_t, double>> samples)
{
  LTypeCell* item = AddItem(mask->Items, id, "P" + std::to_string(id), 1, factor, 0);
  item->Color = color;
  for (const auto& [time, value] : samples)
    AddLine(unit, id, time, value);
  return item;
}

// Status lines of one code that name the status (on) or not (off), and the status.
void StatusLines(BQELunit& unit, const AnsiString& name, const AnsiString& code,
                 std::initializer_list<std::pair<int64_t, bool>> lines)
{
  for (const auto& [time, on] : lines)
    AddLine(unit, KindStatus, time, 0.0, on ? name : "", code);
  AddStatus(unit, name);
}

// 800 x 500, a span of 19.6 s (grid every 2.5 s, whole seconds, the line of 20 s just right of
// the plot, so its label ends at it), a range of about 0 .. 4100 (grid every 500); straight
// curves (the records of each parameter in a stretch of time of its own), one with a negative
// factor, thickness 2; straight status lines, one running on to the right edge; the marks of
// faults with and without a change of codes.
TEST_F(ChartRenderTest, GoldenStraightStyleWholeSecondsAndAStepOf500)
{
  StatusLines(unit, "IDLE", "S00001", {{0, false}, {1000, true}, {3000, true}, {3200, false}, {8100, true}});
  StatusLines(unit, "Drive", "S00002",
              {{2000, false}, {6000, false}, {6500, true}, {11000, true}, {11200, false}});
  Curve(unit, chart, 3, 0x800000, -100, {{0, -5}, {3000, -30}, {4000, -12}, {4800, -25}, {4900, -2}});
  for (int i = 0; i < 200; ++i)  // dense: eight samples a column
    AddLine(unit, 4, 5000 + 4 * i, 1000 + (i * 37) % 400);
  AddItem(chart->Items, 4, "P4", 1)->Color = 0x008000;
  Curve(unit, chart, 2, 0x0000FF, 1, {{6000, 800}, {9000, 2600}, {9010, 4000}, {14000, 3100}, {19600, 2200}});
  LinkLines(unit);
  unit.MapStatusesToData();
  AddItem(chart->Items, StatusItemId, "IDLE", 1, 1000, 200)->Color = 0xFF00FF;
  AddItem(chart->Items, StatusItemId, "Drive", 1, 500, 2500)->Color = 0x00FFFF;
  AddFault(unit, 4000)->HasActual = 1;
  LErrorCell* changed = AddFault(unit, 12000);
  changed->HasPost = 1;
  changed->Changed = 1;
  chart->Thickness = 2;
  chart->YBottom = -1000;
  chart->YTop = 5000;
  EXPECT_TRUE(MatchesGolden(Draw(), "chart_straight_800x500"));
  EXPECT_EQ(unit.VisibleTimeTo - unit.VisibleTimeFrom, 19600);
}

// 400 x 250, a span of 8 s (labels in hundredths), the range 0 .. 25 (grid every 2.5, labels
// truncated); curves and status lines in steps, thin; the eight kinds of fault mark in a row,
// then a changed one.
TEST_F(ChartRenderTest, GoldenStepStyleHundredthsAStepOf2_5AndEveryFaultMark)
{
  const char saved = DecimalSeparator;
  DecimalSeparator = '.';
  StatusLines(unit, "KAT", "S00003", {{500, false}, {2000, false}, {2200, true}, {5000, true}, {5100, false}});
  Curve(unit, chart, 2, 0x0000FF, 1, {{0, 3}, {1000, 12}, {2500, 7}, {4000, 25}, {6500, 15}, {8000, 15}});
  LinkLines(unit);
  unit.MapStatusesToData();
  AddItem(chart->Items, StatusItemId, "KAT", 1, 5, 10)->Color = 0x008080;
  for (int row = 0; row < 9; ++row) {
    LErrorCell* fault = AddFault(unit, 400 + row * 850);
    fault->HasActual = row & 1;
    fault->HasPost = (row >> 1) & 1;
    fault->Erase = (row >> 2) & 1;
    fault->Changed = row == 8;
  }
  chart->Thickness = 1;
  chart->YBottom = 0;
  chart->YTop = 25;
  unit.ParamChartStyle = 0;
  unit.StatusChartStyle = 0;
  Size(400, 250);
  EXPECT_TRUE(MatchesGolden(Draw(), "chart_steps_400x250"));
  EXPECT_EQ(unit.VisibleValueTop - unit.VisibleValueBottom, 25);
  DecimalSeparator = saved;
}

// A paint box within the margins: no plot, the margins all the same, and the mask's curves and
// marks left out.
TEST_F(ChartRenderTest, GoldenWithinTheMargins)
{
  Curve(unit, chart, 2, 0x0000FF, 1, {{0, 3}, {1000, 12}});
  LinkLines(unit);
  AddFault(unit, 500);
  Size(50, 40);
  EXPECT_TRUE(MatchesGolden(Draw(), "chart_within_margins_50x40"));
}

}  // namespace
