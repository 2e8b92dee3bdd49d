// panels_bench [--items N] [--moves M] [--changing P]: the legend, value window and fault panel
// drawn for M cursor moves, with the real central object, headless; one "name: value" a line,
// times in ms.
//
// The chart mask holds N items (a quarter of them statuses, one absent), all listed in the value
// window. Each move gives each item a new value with probability P (default 1: all change, as
// on a jump; a short move changes a few), parameters taking one of 2000 levels as a log's
// samples do, and the fault panel a new interval of three codes. Prints panels_ms_median, panels_ms_p99,
// panels_ms_max over the moves (legend, value window and fault panel together, each with its paint), and
// legend_ms_median alone.
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
#include "Panel.h"
#include "app/Qelunit.h"

namespace {

using bench::Clock;
using bench::MsSince;

double Percentile(std::vector<double> values, double share)
{
  std::sort(values.begin(), values.end());
  return values[std::min(values.size() - 1, static_cast<size_t>(share * static_cast<double>(values.size())))];
}

}  // namespace

int main(int argc, char** argv)
{
  int items = 40;
  int moves = 1000;
  double changing = 1.0;
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string option = argv[i];
    if (option == "--items")
      items = std::max(1, std::atoi(argv[i + 1]));
    else if (option == "--moves")
      moves = std::max(1, std::atoi(argv[i + 1]));
    else if (option == "--changing")
      changing = std::clamp(std::atof(argv[i + 1]), 0.0, 1.0);
  }
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  int qtArgc = 1;
  Application->Initialize(qtArgc, argv);
  const std::string folder = bench::MakeScratchFolder("panels-bench-XXXXXX");
  if (folder.empty())
    return 1;
  SetDataFolderForTests(folder);

  auto* unitPointer = new BQELunit;
  BQELunit& unit = *unitPointer;
  unit.ClearMaskCells();
  auto* mask = new LMaskCell;
  mask->NameRu = mask->NameEn = mask->NameDe = "Bench";
  mask->Items = new TPtrList<LTypeCell>;
  unit.MaskCells->Add(mask);
  TComboBox combo(nullptr);
  combo.Items()->Add("Bench");
  combo.SetItemIndex(0);
  unit.ChartMaskCombo = &combo;
  unit.ChartMaskIndex = 0;
  for (int i = 0; i < items; ++i) {
    auto* item = new LTypeCell;
    const bool status = i % 4 == 3;
    item->Id = status ? StatusItemId : 2 + i;
    item->NameRu = item->NameEn = item->NameDe = (status ? "STATUS " : "Parameter ") + std::to_string(i);
    item->Chart = item->Cursor = 1;
    item->Present = i != 3;
    item->Color = static_cast<TColor>(0x102030 * (i + 1)) & 0xFFFFFF;
    mask->Items->Add(item);
  }
  unit.LogFileName = folder + "/log.qel";
  LErrorCell fault;
  fault.Codes = new TStringList;
  fault.Kinds = new TStringList;
  unit.ChartColumnPanel->SetWidth(300);

  std::mt19937 random(7);
  std::uniform_int_distribution<int> level(-1000, 999);
  std::uniform_real_distribution<double> chance(0.0, 1.0);
  std::vector<double> panels, legend;
  for (int m = 0; m < moves; ++m) {
    for (int i = 0; i < items; ++i) {
      LTypeCell* item = mask->Items->Get(i);
      if (chance(random) < changing)
        item->CursorValue = item->Id == StatusItemId ? (random() % 2 ? 1.0 : -1.0) : level(random) * 2.5;
    }
    fault.Codes->Clear();
    fault.Kinds->Clear();
    for (int c = 0; c < 3; ++c) {
      fault.Codes->Add("P0" + std::to_string(100 + random() % 900));
      fault.Kinds->Add(c % 2 ? "A" : "P");
    }
    unit.CursorFaultInterval = &fault;
    const auto start = Clock::now();
    unit.DrawValuePanels();
    legend.push_back(MsSince(start));
    unit.DrawErrorPanel();
    panels.push_back(MsSince(start));
  }
  unit.CursorFaultInterval = nullptr;
  delete fault.Codes;
  delete fault.Kinds;
  unit.ChartMaskCombo = nullptr;
  delete unitPointer;
  SetDataFolderForTests("");
  std::filesystem::remove_all(folder);
  std::printf("items: %d\nmoves: %d\nchanging: %.2f\n", items, moves, changing);
  std::printf("panels_ms_median: %.4f\npanels_ms_p99: %.4f\npanels_ms_max: %.4f\n", Percentile(panels, 0.5),
              Percentile(panels, 0.99), Percentile(panels, 1.0));
  std::printf("legend_ms_median: %.4f\n", Percentile(legend, 0.5));
  return 0;
}
