// The chart renderer: pictures of small logs drawn headless.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "Bitmap.h"
#include "ComboBox.h"
#include "PaintBox.h"
#include "program/ParserTestSupport.h"

namespace {

class ChartRenderTest : public ParserTest {
protected:
  void SetUp() override
  {
    ParserTest::SetUp();
    unit.ClearMaskCells();
    unit.ClearStatusCells();
    chart = ChooseNewChartMask(unit, combo);
    unit.LogFileName = folder.Write("log.qel", "00000000\r\n");
    unit.ReadyFlag = 1;
    Size(800, 500);
  }
  void TearDown() override { unit.ChartMaskCombo = nullptr; }
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

  std::unique_ptr<TComboBox> combo;
  LMaskCell* chart = nullptr;
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

}  // namespace
