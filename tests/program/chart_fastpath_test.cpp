// The chart drawn column by column over its summaries paints the very pixels of the plain walk
// over every segment: random logs, both styles, every thickness, negative factors, inverted
// ranges, many zooms and pans.
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <random>
#include <string>

#include "Bitmap.h"
#include "ComboBox.h"
#include "PaintBox.h"
#include "program/ParserTestSupport.h"

namespace {

class ChartFastPathTest : public ParserTest {
protected:
  void SetUp() override
  {
    ParserTest::SetUp();
    unit.ClearMaskCells();
    unit.ClearStatusCells();
    chart = ChooseNewChartMask(unit, combo);
    unit.LogFileName = folder.Write("log.qel", "00000000\r\n");
    unit.ReadyFlag = 1;
    unit.ChartPaintBox->SetAlign(alNone);
  }
  void TearDown() override { unit.ChartMaskCombo = nullptr; }

  // A log of a few parameters sampled at rising times (some at equal times, some after long
  // gaps), values wandering with jumps, now and then a chain out of time order; status lines
  // and faults; and a mask drawing it all.
  void RandomLog(std::mt19937_64& random)
  {
    const auto below = [&](int64_t n) { return std::uniform_int_distribution<int64_t>(0, n - 1)(random); };
    unit.DropChartCaches();
    unit.ClearDataCells();
    unit.ClearErrorCells();
    unit.ClearStatusCells();
    for (int i = 0; i < chart->Items->Count(); ++i)
      delete chart->Items->Get(i);
    chart->Items->Clear();
    const int kinds = 1 + static_cast<int>(below(4));
    const int64_t records = below(4) == 0 ? below(20) : below(6000);
    const int64_t gap = 1 + below(200);
    int64_t time = below(3) == 0 ? 0 : below(5000);
    std::vector<double> value(static_cast<size_t>(kinds), 0.0);
    // Status lines among them, of two statuses, often or now and then.
    const int64_t statusShare = below(2) ? 3 : 40;
    for (int64_t r = 0; r < records; ++r) {
      time += below(10) == 0 ? 0 : below(3) == 0 ? below(50 * gap) : below(gap);
      if (below(statusShare) == 0) {
        const int s = static_cast<int>(below(2));
        AddLine(unit, KindStatus, time, 0.0, below(2) ? "S" + std::to_string(s) : "", "S0000" + std::to_string(s));
        continue;
      }
      // The first parameter stops early, so that its curve ends in view.
      const auto kind =
          static_cast<size_t>(kinds > 1 && 3 * r > 2 * records ? 1 + below(kinds - 1) : below(kinds));
      double& v = value[kind];
      v += below(8) == 0 ? static_cast<double>(below(4000)) - 2000 : static_cast<double>(below(21)) - 10;
      AddLine(unit, 2 + static_cast<int32_t>(kind), time, below(200) == 0 ? v * 1e7 : v);
    }
    if (records > 10 && below(8) == 0)  // a record out of time order
      unit.DataCells->Get(static_cast<int32_t>(below(records)))->Time = below(time + 1);
    LinkLines(unit);
    for (int k = 0; k < kinds; ++k) {
      const int32_t factor = static_cast<int32_t>(below(3) == 0 ? -below(20) - 1 : below(20) + 1);
      LTypeCell* item = AddItem(chart->Items, 2 + k, "P" + std::to_string(k), 1, factor,
                                static_cast<int32_t>(below(2000)) - 1000);
      item->Color = static_cast<TColor>(below(0x1000000));
    }
    for (int s = 0; s < 2; ++s) {
      AddStatus(unit, "S" + std::to_string(s));
      LTypeCell* item = AddItem(chart->Items, StatusItemId, "S" + std::to_string(s), 1, 100, -500);
      item->Color = static_cast<TColor>(below(0x1000000));
    }
    unit.MapStatusesToData();
    int64_t faultTime = 0;  // in time order, now and then not
    for (int64_t f = below(40); f > 0; --f) {
      LErrorCell* fault = AddFault(unit, below(10) ? faultTime += below(time / 20 + 1) : below(time + 1));
      fault->HasActual = static_cast<Byte>(below(2));
      fault->Changed = static_cast<Byte>(below(2));
    }
    chart->Thickness = 1 + static_cast<int32_t>(below(5));
    chart->YBottom = below(6) == 0 ? 100 : -100000000;  // 100: often an inverted range
    chart->YTop = 100000000;
    unit.ParamChartStyle = static_cast<Byte>(below(2));
    unit.StatusChartStyle = static_cast<Byte>(below(2));
  }

  QImage Draw(bool everySegment)
  {
    unit.EveryCurveSegment = everySegment;
    unit.DrawChart();
    return unit.ChartBitmap->Image().copy();
  }

  std::unique_ptr<TComboBox> combo;
  LMaskCell* chart = nullptr;
};

TEST_F(ChartFastPathTest, SummarisedCurvesPaintThePixelsOfEverySegment)
{
  std::mt19937_64 random(std::getenv("CHART_SEED") ? std::atoll(std::getenv("CHART_SEED")) : 21);
  const auto below = [&](int64_t n) { return std::uniform_int_distribution<int64_t>(0, n - 1)(random); };
  int compared = 0;
  for (int log = 0; log < 60; ++log) {
    RandomLog(random);
    unit.ChartPaintBox->SetBounds(0, 0, 120 + static_cast<int>(below(400)), 60 + static_cast<int>(below(300)));
    unit.CalcValueRange();
    for (int view = 0; view < 8; ++view) {
      const double zooms[] = {1, 10, 100, 1000, 1 + static_cast<double>(below(5000)) / 100};
      unit.ZoomX = zooms[below(5)];
      unit.ZoomY = below(3) == 0 ? 1 + static_cast<double>(below(400)) / 100 : 1;
      const int64_t plotWidth = std::max(0, unit.ChartPaintBox->Width() - 65);
      const int64_t plotHeight = std::max(0, unit.ChartPaintBox->Height() - 50);
      unit.PanX = static_cast<int32_t>(below(static_cast<int64_t>(plotWidth * (unit.ZoomX - 1)) + 1));
      unit.PanY = static_cast<int32_t>(below(static_cast<int64_t>(plotHeight * (unit.ZoomY - 1)) + 1));
      const QImage plain = Draw(true);
      const QImage fast = Draw(false);
      if (plain != fast) {
        plain.save("/tmp/chart_plain.png");
        fast.save("/tmp/chart_fast.png");
      }
      ASSERT_TRUE(plain == fast) << "log " << log << " view " << view << " zoom " << unit.ZoomX << " pan "
                                 << unit.PanX << " style " << int{unit.ParamChartStyle} << " thickness "
                                 << chart->Thickness;
      ++compared;
    }
  }
  EXPECT_EQ(compared, 480);
}

// A thin curve that ends in view leaves its very last pixel out; falling to its end inside
// the last column, it must not be drawn back up.
TEST_F(ChartFastPathTest, AThinCurveEndingInViewEndsAtItsLastSample)
{
  for (int i = 0; i < 40; ++i)
    AddLine(unit, 2, i * 10, 100 - i);  // ten samples a column, each column falling
  AddLine(unit, 3, 4000, 0);
  LinkLines(unit);
  AddItem(chart->Items, 2, "P2", 1, 10, 0)->Color = 0x0000FF;
  chart->Thickness = 1;
  unit.ChartPaintBox->SetBounds(0, 0, 165, 150);  // a column is 40 ms
  unit.CalcValueRange();
  EXPECT_TRUE(Draw(true) == Draw(false));
}

}  // namespace
