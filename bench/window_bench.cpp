// window_bench [--records N]: the real main form, headless; one "name: value" a line, times in
// ms, each the least of several runs unless said:
//   create_controls_ms   CreateControls alone, on a central object without a form
//   construct_ms         the main form shown: the central object with its dictionary, settings
//                        and first language switch (once)
//   switch_language_ms_ru/en/de          a flag button's click and the events it leaves
//   layout_ms            the five layouts once, nothing drawn
//   switch_language_log_ms_ru/en/de      the same with a generated log of about N line records
//                                        (default 1 000 000) parsed and the Chart page shown
//   fill_channel_list_5000_ms, fill_status_list_5000_ms   the Mask tab's parameter or status
//                                        list refilled with 5000 names in random order and
//                                        repainted, the list in view
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <utility>

#include "AppPaths.h"
#include "BenchSupport.h"
#include "Forms.h"
#include "PageControl.h"
#include "Panel.h"
#include "app/Qelform.h"
#include "app/Qelunit.h"
#include "tools/loggen_core.h"

namespace {

using bench::Clock;
using bench::MsSince;

constexpr int Runs = 5;

template <class Work>
double LeastMs(int runs, Work work)
{
  double least = 1e300;
  for (int i = 0; i < runs; ++i) {
    const auto start = Clock::now();
    work();
    least = std::min(least, MsSince(start));
  }
  return least;
}

// Each run switches away first (untimed), so that every timed click changes the language.
void PrintSwitches(BQELunit& unit, const char* name)
{
  const std::pair<const char*, void (BQELunit::*)(TObject*)> clicks[] = {{"ru", &BQELunit::RussianButtonClick},
                                                                         {"en", &BQELunit::EnglishButtonClick},
                                                                         {"de", &BQELunit::GermanButtonClick}};
  for (int i = 0; i < 3; ++i) {
    double least = 1e300;
    for (int run = 0; run < Runs; ++run) {
      (unit.*clicks[(i + 1) % 3].second)(nullptr);
      Application->ProcessMessages();
      const auto start = Clock::now();
      (unit.*clicks[i].second)(nullptr);
      Application->ProcessMessages();
      least = std::min(least, MsSince(start));
    }
    std::printf("%s_%s: %.2f\n", name, clicks[i].first, least);
  }
}

// 5000 parameters and statuses with names in random order, the Mask tab in view.
void PrintListFills(BQELunit& unit)
{
  unit.ClearTypeCells();
  unit.ClearStatusCells();
  unit.HideUnusedChannels = 0;
  std::srand(1);
  for (int i = 0; i < 5000; ++i) {
    const std::string name = "Parameter " + std::to_string(std::rand() % 100000) + " " + std::to_string(i);
    auto* channel = new LTypeCell;
    channel->Id = 2 + i;
    channel->NameRu = channel->NameEn = channel->NameDe = name;
    channel->Chart = static_cast<Byte>(i % 2);
    unit.TypeCells->Add(channel);
    auto* status = new LStatusCell;
    status->Name = name;
    status->Steps = new TPtrList<LStatusStep>;
    unit.StatusCells->Add(status);
  }
  unit.PageControl->SetActivePage(unit.OptionsPage);
  unit.OptionsPageControl->SetActivePage(unit.MaskPage);
  unit.ListPageControl->SetActivePage(unit.ChannelListPage);
  Application->ProcessMessages();
  std::printf("fill_channel_list_5000_ms: %.2f\n", LeastMs(Runs, [&] {
                unit.FillChannelList();
                Application->ProcessMessages();
              }));
  unit.ListPageControl->SetActivePage(unit.StatusListPage);
  Application->ProcessMessages();
  std::printf("fill_status_list_5000_ms: %.2f\n", LeastMs(Runs, [&] {
                unit.FillStatusList();
                Application->ProcessMessages();
              }));
}

}  // namespace

int main(int argc, char** argv)
{
  long records = 1000000;
  if (argc == 3 && std::string(argv[1]) == "--records")
    records = std::max(1L, std::atol(argv[2]));
  else if (argc != 1) {
    std::fprintf(stderr, "usage: window_bench [--records N]\n");
    return 2;
  }
  const std::string folder = bench::MakeScratchFolder("window-bench-XXXXXX");
  if (folder.empty())
    return 1;
  SetDataFolderForTests(folder);
  bench::PrivateDesktop(folder);
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  Application->Initialize(argc, argv);

  {
    BQELunit loose;
    // As in the constructor: no layout runs on a tree half built.
    loose.ReadyFlag = 0;
    const double ms = LeastMs(Runs, [&] {
      delete loose.MainPanel;
      loose.CreateControls();
    });
    loose.ReadyFlag = 1;
    std::printf("create_controls_ms: %.2f\n", ms);
  }

  auto* form = new TQELMainForm(Application);
  auto start = Clock::now();
  form->Show();
  std::printf("construct_ms: %.2f\n", MsSince(start));
  Application->ProcessMessages();
  BQELunit& unit = *gQELunit;
  PrintSwitches(unit, "switch_language_ms");
  std::printf("layout_ms: %.3f\n", LeastMs(20, [&] {
                unit.MainPanelResize(nullptr);
                unit.FindPanelResize(nullptr);
                unit.OptionsPageResize(nullptr);
                unit.ChartPageResize(nullptr);
                unit.ChartStatusBarResize(nullptr);
              }));

  // About 29 bytes a line record.
  const std::string log = folder + "/Q5_bench.qel";
  {
    std::ofstream out(log, std::ios::binary);
    loggen::Options options;
    options.size = static_cast<std::uint64_t>(records) * 29;
    loggen::Generate(out, options);
  }
  unit.ShowProgress = 0;
  unit.LogFileName = log;
  start = Clock::now();
  unit.ParseLogText();
  std::printf("parse_ms: %.0f (once)\n", MsSince(start));
  std::printf("records: %d\n", unit.DataCells->Count());
  unit.PageControl->SetActivePage(unit.ChartPage);
  Application->ProcessMessages();
  PrintSwitches(unit, "switch_language_log_ms");
  PrintListFills(unit);
  std::printf("peak_rss_mb: %.1f\n", bench::PeakRssMb());

  form->Close();
  delete form;
  std::filesystem::remove_all(folder);
  return 0;
}
