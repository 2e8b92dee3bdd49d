// cursor_bench <log> [--moves N]: the value range and the values at the cursor on a parsed log,
// with the real central object, headless; one "name: value" a line. Make a large log first,
// e.g. `loggen /tmp/Q5_bench.qel --size 100000000`.
//
// The chart mask holds every parameter of the log and every status, the most a cursor has to
// find. Times in ms:
//   parse_ms          the parse with the fault intervals and status labels (for scale)
//   value_range_ms    CalcValueRange right after the parse (it also indexes the chains)
//   value_range_again_ms  the least of five more runs
//   status_steps_ms   the least of five runs of BuildStatusIntervals alone, which the value range
//                     runs first
//   cursor_first_ms   the first CalcCursorValues after it
//   cursor_median_ms, cursor_p99_ms, cursor_max_ms   over N moves to random times
//   walk_median_ms    the same moves answered by walking the chains from their first records
//                     and the record list from the chosen record, as a plain reading would
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "AppPaths.h"
#include "BenchSupport.h"
#include "ComboBox.h"
#include "Forms.h"
#include "app/Qelunit.h"
#include "chart/ChartValues.h"

namespace {

using bench::Clock;
using bench::MsSince;

double Percentile(std::vector<double> values, double share)
{
  if (values.empty())
    return 0.0;
  std::sort(values.begin(), values.end());
  const size_t at = std::min(values.size() - 1, static_cast<size_t>(share * static_cast<double>(values.size())));
  return values[at];
}

// What a plain reading does for one cursor move, to compare against; returns the record found
// so that the work is not optimised away.
const LDataCell* WalkAt(const BQELunit& unit, const LMaskCell& mask, int64_t time)
{
  const LDataCell* chosen = nullptr;
  for (int i = 0; i < mask.Items->Count(); ++i) {
    const LTypeCell* item = mask.Items->Get(i);
    if (item->Id < 2)
      continue;
    const LDataCell* cell = nullptr;
    for (int r = 0; r < unit.DataCells->Count() && !cell; ++r)
      if (unit.DataCells->Get(r)->Kind == item->Id)
        cell = unit.DataCells->Get(r);
    while (cell && cell->Next && cell->Next->Time <= time)
      cell = cell->Next;
    if (cell && cell->Time <= time && (!chosen || cell->Time > chosen->Time))
      chosen = cell;
  }
  const LDataCell* record = chosen;
  for (int r = chosen ? chosen->Index : 0; r < unit.DataCells->Count() && unit.DataCells->Get(r)->Time <= time;
       ++r)
    record = unit.DataCells->Get(r);
  return record;
}

int Usage()
{
  std::fprintf(stderr, "usage: cursor_bench <log> [--moves N]\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv)
{
  if (argc < 2)
    return Usage();
  const std::string file = argv[1];
  int moves = 1000;
  for (int i = 2; i < argc; ++i) {
    if (std::string(argv[i]) == "--moves" && i + 1 < argc)
      moves = std::max(1, std::atoi(argv[++i]));
    else
      return Usage();
  }

  // The settings of a first start, read from and written to a folder of the run's own.
  const std::string settings = bench::MakeScratchFolder("cursor-bench-XXXXXX");
  if (settings.empty())
    return 1;
  SetDataFolderForTests(settings);

  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  Application->Initialize(argc, argv);
  auto* unit = new BQELunit;
  unit->Language = 1;
  unit->FramePeriod = 1000 / 45;
  unit->LogFileName = file;

  auto start = Clock::now();
  unit->ParseLogText();
  unit->MakeDefaultStatuses();
  unit->MapStatusesToData();
  if (unit->ErrorCells->Count() == 0)
    unit->BuildErrorIntervals();
  const double parseMs = MsSince(start);

  auto* mask = new LMaskCell;
  mask->NameRu = mask->NameEn = mask->NameDe = "Everything";
  mask->Items = new TPtrList<LTypeCell>;
  mask->YBottom = -100000;
  mask->YTop = 100000;
  unit->MaskCells->Add(mask);
  for (int i = 0; i < unit->TypeCells->Count(); ++i) {
    const LTypeCell* channel = unit->TypeCells->Get(i);
    unit->AddChannelItem(mask, channel->NameRu, channel->NameEn, channel->NameDe);
  }
  for (int i = 0; i < unit->StatusCells->Count(); ++i)
    unit->AddStatusItem(mask, unit->StatusCells->Get(i)->Name);
  for (int i = 0; i < mask->Items->Count(); ++i)
    mask->Items->Get(i)->Chart = 1;
  TComboBox combo(nullptr);
  combo.Items()->Add("Everything");
  combo.SetItemIndex(0);
  unit->ChartMaskCombo = &combo;
  unit->ChartMaskIndex = 0;

  start = Clock::now();
  unit->CalcValueRange();
  const double rangeMs = MsSince(start);
  double rangeAgainMs = 1e300;
  for (int i = 0; i < 5; ++i) {
    start = Clock::now();
    unit->CalcValueRange();
    rangeAgainMs = std::min(rangeAgainMs, MsSince(start));
  }

  double stepsMs = 1e300;
  for (int i = 0; i < 5; ++i) {
    start = Clock::now();
    unit->BuildStatusIntervals();
    stepsMs = std::min(stepsMs, MsSince(start));
  }

  std::mt19937_64 random(1);
  std::uniform_int_distribution<int64_t> anyTime(0, unit->TimeSpan);
  unit->CursorTime = anyTime(random);
  start = Clock::now();
  unit->CalcCursorValues();
  const double firstMs = MsSince(start);

  std::vector<int64_t> times(static_cast<size_t>(moves));
  for (int64_t& time : times)
    time = anyTime(random);
  std::vector<double> cursorMs;
  long long found = 0;
  for (int64_t time : times) {
    unit->CursorTime = time;
    start = Clock::now();
    unit->CalcCursorValues();
    cursorMs.push_back(MsSince(start));
    found += unit->CursorDataCell != nullptr;
  }
  // The plain walk is slow: a tenth of the moves is enough for its median.
  std::vector<double> walkMs;
  long long agree = 0;
  for (size_t i = 0; i < times.size(); i += 10) {
    start = Clock::now();
    const LDataCell* record = WalkAt(*unit, *mask, times[i]);
    walkMs.push_back(MsSince(start));
    unit->CursorTime = times[i];
    unit->CalcCursorValues();
    agree += record == unit->CursorDataCell;
  }

  const int items = mask->Items->Count();
  std::printf("records: %d\n", unit->DataCells->Count());
  std::printf("fault_intervals: %d\n", unit->ErrorCells->Count());
  std::printf("mask_items: %d\n", items);
  std::printf("time_span_ms: %lld\n", static_cast<long long>(unit->TimeSpan));
  std::printf("value_min: %.2f\n", unit->ValueMin);
  std::printf("value_max: %.2f\n", unit->ValueMax);
  std::printf("parse_ms: %.1f\n", parseMs);
  std::printf("value_range_ms: %.2f\n", rangeMs);
  std::printf("value_range_again_ms: %.2f\n", rangeAgainMs);
  std::printf("status_steps_ms: %.2f\n", stepsMs);
  std::printf("cursor_first_ms: %.4f\n", firstMs);
  std::printf("cursor_moves: %d\n", moves);
  std::printf("cursor_median_ms: %.4f\n", Percentile(cursorMs, 0.5));
  std::printf("cursor_p99_ms: %.4f\n", Percentile(cursorMs, 0.99));
  std::printf("cursor_max_ms: %.4f\n", Percentile(cursorMs, 1.0));
  std::printf("cursor_records_found: %lld\n", found);
  std::printf("walk_median_ms: %.2f\n", Percentile(walkMs, 0.5));
  std::printf("walk_agrees: %lld of %zu\n", agree, walkMs.size());
  std::printf("peak_rss_mb: %.1f\n", bench::PeakRssMb());

  unit->ChartMaskCombo = nullptr;
  delete unit;
  SetDataFolderForTests("");
  std::filesystem::remove_all(settings);
  return 0;
}
