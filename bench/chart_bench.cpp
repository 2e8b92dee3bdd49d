// chart_bench <log>: the chart renderer on a parsed log, with the real central object,
// headless, on a 1920 x 1080 chart; one "name: value" a line. Make a large log first, e.g.
// `loggen /tmp/QEL_bench.qel --size 100000000`.
//
// The chart mask holds every parameter and every status of the log, drawn with thickness 2.
//   records           line records of the log
//   index_ms          the chains' index and the curves' block summaries, built once per parse
//                     and mask
//   index_mb, records_mb   their memory beside that of the line records
//   (drawing times are the thread's processor time)
//   redraw_ms_median, redraw_ms_max   DrawChart at zoom 1, 10, 100, 1000 and the largest zoom
//                     (a zoomed width of 2^30 pixels), each at the start, middle and end
//   pan_step_ms_max   the redraw after a pan of 20 pixels at each of those zooms
//   redraw_ms_max_thickness5   the largest redraw with thickness 5
//   peak_rss_mb
#include <time.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "AppPaths.h"
#include "BenchSupport.h"
#include "ComboBox.h"
#include "Forms.h"
#include "PaintBox.h"
#include "app/Qelunit.h"
#include "chart/ChartValues.h"

namespace {

using bench::Clock;
using bench::MsSince;

double Median(std::vector<double> values)
{
  if (values.empty())
    return 0.0;
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

// The thread's processor time: on a shared machine the wall clock counts the others' work too.
double ThreadMs()
{
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

double Redraw(BQELunit& unit)
{
  const double start = ThreadMs();
  unit.DrawChart();
  return ThreadMs() - start;
}

// Every zoom at the start, middle and end of the log: the redraw times, and the pan steps'.
void Views(BQELunit& unit, std::vector<double>& redraws, std::vector<double>& pans)
{
  const int plot = unit.ChartPaintBox->Width() - 65;
  for (double zoom : {1.0, 10.0, 100.0, 1000.0, static_cast<double>(1 << 30) / plot}) {
    unit.ZoomX = zoom;
    const int64_t room = static_cast<int64_t>(plot * zoom) - plot;
    for (double at : {0.0, 0.5, 1.0}) {
      unit.PanX = static_cast<int32_t>(static_cast<double>(room) * at);
      redraws.push_back(Redraw(unit));
      if (std::getenv("CHART_BENCH_VERBOSE"))
        std::fprintf(stderr, "zoom %g at %g: %.2f ms\n", zoom, at, redraws.back());
      unit.PanX = static_cast<int32_t>(std::clamp<int64_t>(unit.PanX + (at < 1 ? 20 : -20), 0, room));
      pans.push_back(Redraw(unit));
    }
  }
}

int Usage()
{
  std::fprintf(stderr, "usage: chart_bench <log>\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv)
{
  if (argc != 2)
    return Usage();
  const std::string file = argv[1];

  // The settings of a first start, read from and written to a folder of the run's own.
  const std::string settings = bench::MakeScratchFolder("chart-bench-XXXXXX");
  if (settings.empty())
    return 1;
  SetDataFolderForTests(settings);

  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  Application->Initialize(argc, argv);
  auto* unit = new BQELunit;
  unit->Language = 1;
  unit->FramePeriod = 1000 / 45;
  unit->LogFileName = file;
  unit->ParseLogText();
  unit->MakeDefaultStatuses();
  unit->MapStatusesToData();
  if (unit->ErrorCells->Count() == 0)
    unit->BuildErrorIntervals();

  auto* mask = new LMaskCell;
  mask->NameRu = mask->NameEn = mask->NameDe = "Everything";
  mask->Items = new TPtrList<LTypeCell>;
  mask->YBottom = -100000;
  mask->YTop = 100000;
  mask->Thickness = 2;
  unit->MaskCells->Add(mask);
  for (int i = 0; i < unit->TypeCells->Count(); ++i) {
    const LTypeCell* channel = unit->TypeCells->Get(i);
    unit->AddChannelItem(mask, channel->NameRu, channel->NameEn, channel->NameDe);
  }
  for (int i = 0; i < unit->StatusCells->Count(); ++i)
    unit->AddStatusItem(mask, unit->StatusCells->Get(i)->Name);
  std::vector<int32_t> kinds;
  for (int i = 0; i < mask->Items->Count(); ++i) {
    LTypeCell* item = mask->Items->Get(i);
    item->Chart = 1;
    item->Color = static_cast<TColor>(0x101010 * (i % 15));
    if (HasRecordKind(*item))
      kinds.push_back(item->Id);
  }
  TComboBox combo(nullptr);
  combo.Items()->Add("Everything");
  combo.SetItemIndex(0);
  unit->ChartMaskCombo = &combo;
  unit->ChartMaskIndex = 0;
  unit->ReadyFlag = 1;
  unit->ChartPaintBox->SetAlign(alNone);
  unit->ChartPaintBox->SetBounds(0, 0, 1920, 1080);
  unit->CalcValueRange();

  // The index from nothing, as after a parse.
  unit->DropChartCaches();
  auto start = Clock::now();
  unit->CursorChains.Add(*unit->DataCells, kinds);
  unit->CurveSummary.Follow(unit->ChartDataGeneration, *unit->DataCells, kinds);
  const double indexMs = MsSince(start);

  std::vector<double> redraws;
  std::vector<double> pans;
  Redraw(*unit);  // the first drawing measures the fonts
  Views(*unit, redraws, pans);
  std::vector<double> thick;
  std::vector<double> thickPans;
  mask->Thickness = 5;
  Views(*unit, thick, thickPans);

  const int64_t records = unit->DataCells->Count();
  std::printf("records: %lld\n", static_cast<long long>(records));
  int64_t steps = 0;
  for (int i = 0; i < unit->StatusCells->Count(); ++i)
    if (const LStatusCell* status = unit->StatusCells->Get(i); status && status->Steps)
      steps += status->Steps->Count();
  std::printf("status_steps: %lld\n", static_cast<long long>(steps));
  std::printf("fault_intervals: %d\n", unit->ErrorCells->Count());
  std::printf("mask_items: %d\n", mask->Items->Count());
  std::printf("index_ms: %.1f\n", indexMs);
  std::printf("index_mb: %.1f\n", static_cast<double>(unit->CurveSummary.Bytes()) / 1048576.0);
  std::printf("records_mb: %.1f\n",
              static_cast<double>(records) * (sizeof(LDataCell) + sizeof(void*)) / 1048576.0);
  std::printf("redraw_ms_median: %.2f\n", Median(redraws));
  std::printf("redraw_ms_max: %.2f\n", *std::max_element(redraws.begin(), redraws.end()));
  std::printf("pan_step_ms_max: %.2f\n", *std::max_element(pans.begin(), pans.end()));
  std::printf("redraw_ms_max_thickness5: %.2f\n", std::max(*std::max_element(thick.begin(), thick.end()),
                                                           *std::max_element(thickPans.begin(), thickPans.end())));
  std::printf("peak_rss_mb: %.1f\n", bench::PeakRssMb());

  unit->ChartMaskCombo = nullptr;
  delete unit;
  SetDataFolderForTests("");
  std::filesystem::remove_all(settings);
  return 0;
}
