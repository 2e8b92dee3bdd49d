// mask_editor_bench [--items N]: the mask editor of the real main form, headless, on a mask of N
// items (default 300) shown on the Mask page. One "name: value" a line, times in ms:
//   first_show_ms       the rows made and shown the first time (once)
//   show_ms_median      the rows shown again, reused: MaskComboChange back from another mask,
//                       with the events it leaves; median of the runs
//   show_ms_max         the slowest of those runs
//   hover_ms_median     one mouse move over a row (the hover bar placed)
//   delete_row_ms_median  an item deleted with the bar's delete button (the rows shown again)
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "AppPaths.h"
#include "BenchSupport.h"
#include "ComboBox.h"
#include "Forms.h"
#include "PageControl.h"
#include "Panel.h"
#include "ScrollBox.h"
#include "app/Qelform.h"
#include "app/Qelunit.h"

namespace {

using bench::Clock;
using bench::MsSince;

constexpr int Runs = 21;

double Median(std::vector<double> values)
{
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv)
{
  int items = 300;
  if (argc == 3 && std::string(argv[1]) == "--items")
    items = std::max(1, std::atoi(argv[2]));
  else if (argc != 1) {
    std::fprintf(stderr, "usage: mask_editor_bench [--items N]\n");
    return 2;
  }
  const std::string folder = bench::MakeScratchFolder("mask-editor-bench-XXXXXX");
  if (folder.empty())
    return 1;
  SetDataFolderForTests(folder);
  bench::PrivateDesktop(folder);
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  Application->Initialize(argc, argv);

  auto* form = new TQELMainForm(Application);
  form->Show();
  form->SetBounds(0, 0, 1280, 900);
  Application->ProcessMessages();
  BQELunit& unit = *gQELunit;

  // Mask 0 grows to N parameter items; the combo lists the masks.
  LMaskCell* mask = unit.MaskCells->Get(0);
  for (int i = mask->Items->Count(); i < items; ++i) {
    const AnsiString name = "Parameter " + std::to_string(i);
    unit.AddChannelItem(mask, name, name, name);
  }
  if (unit.MaskCombo->Items()->Count() == 0)
    for (int i = 0; i < unit.MaskCells->Count(); ++i)
      unit.MaskCombo->Items()->Add(unit.MaskName(unit.MaskCells->Get(i)));
  unit.PageControl->SetActivePage(unit.OptionsPage);
  unit.EditorRowsValid = 1;
  Application->ProcessMessages();

  const auto pick = [&](int index) {
    unit.MaskCombo->SetItemIndex(index);
    unit.MaskComboChange(unit.MaskCombo);
    Application->ProcessMessages();
  };
  pick(1);
  auto start = Clock::now();
  pick(0);
  std::printf("items: %d\n", mask->Items->Count());
  std::printf("first_show_ms: %.2f\n", MsSince(start));

  std::vector<double> shows, hovers, deletes;
  for (int run = 0; run < Runs; ++run) {
    pick(1);
    start = Clock::now();
    pick(0);
    shows.push_back(MsSince(start));
  }
  std::printf("show_ms_median: %.2f\n", Median(shows));
  std::printf("show_ms_max: %.2f\n", *std::max_element(shows.begin(), shows.end()));

  const MaskRowLayout& g = unit.MaskRowGeometry;
  const int firstRow = g.TopMargin + g.RowHeight + g.HeaderGap;
  for (int run = 0; run < Runs; ++run) {
    start = Clock::now();
    unit.MaskRowBoxMouseMove(unit.MaskRowBox, {}, 20, firstRow + (run % 5) * (g.RowHeight + 2 * g.RowSpacing) + 4);
    hovers.push_back(MsSince(start));
  }
  std::printf("hover_ms_median: %.3f\n", Median(hovers));
  for (int run = 0; run < Runs; ++run) {
    unit.MaskRowBoxMouseMove(unit.MaskRowBox, {}, 20, firstRow + 4);
    start = Clock::now();
    unit.RowDeleteButtonClick(nullptr);
    Application->ProcessMessages();
    deletes.push_back(MsSince(start));
  }
  std::printf("delete_row_ms_median: %.2f\n", Median(deletes));
  std::printf("peak_rss_mb: %.1f\n", bench::PeakRssMb());

  form->Close();
  delete form;
  std::filesystem::remove_all(folder);
  return 0;
}
