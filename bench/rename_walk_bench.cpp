// rename_walk_bench [folders]: the old-log walk over a tree of 10 000 folders (unless told) of
// 10 files each, a hundredth of them named "LOGS", under the progress window. Prints per run
// the walk's time, how often the window let messages run (the largest and smallest gap between
// two), and in a last run how long a "Break" took to end the walk.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "AppPaths.h"
#include "BenchSupport.h"
#include "Forms.h"
#include "Panel.h"
#include "Timer.h"
#include "app/Progress.h"
#include "app/Qelunit.h"

namespace fs = std::filesystem;

int main(int argc, char** argv)
{
  const int leaves = argc > 1 ? std::max(100, std::atoi(argv[1])) : 10000;
  const std::string root = bench::MakeScratchFolder("rename-bench-XXXXXX");
  const std::string settings = bench::MakeScratchFolder("rename-bench-settings-XXXXXX");
  if (root.empty() || settings.empty())
    return 1;
  // 100 groups of leaves; the first leaf of each group is a "LOGS" folder.
  std::vector<std::string> logs;
  for (int leaf = 0; leaf < leaves; ++leaf) {
    const std::string folder = root + "/g" + std::to_string(leaf % 100) + "/" +
                               (leaf < 100 ? std::string("LOGS") : "f" + std::to_string(leaf));
    fs::create_directories(folder);
    for (int file = 0; file < 10; ++file) {
      const std::string name = folder + "/" + std::to_string(file) + ".txt";
      std::ofstream{name};
      if (leaf < 100)
        logs.push_back(name);
    }
  }

  SetDataFolderForTests(settings);
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  Application->Initialize(argc, argv);
  {
    BQELunit unit;
    unit.Progress = new BProgress(unit.MainPanel, &unit.AbortFlag);
    // Ticks only when the window lets messages run: the gaps between them are the pumps'.
    std::vector<bench::Clock::time_point> pumps;
    TTimer ticker(nullptr);
    ticker.SetInterval(1);
    ticker.OnTimer = [&](TObject*) { pumps.push_back(bench::Clock::now()); };
    TTimer breaker(nullptr);
    breaker.SetEnabled(false);
    breaker.SetInterval(300);
    bench::Clock::time_point broke{};
    breaker.OnTimer = [&](TObject*) {
      breaker.SetEnabled(false);
      broke = bench::Clock::now();
      unit.Progress->AbortClick(nullptr);
    };
    std::vector<double> ms;
    for (int run = 0; run < 6; ++run) {
      const bool breaking = run == 5;
      for (const std::string& log : logs)  // every run finds the logs to rename
        if (!fs::exists(log))
          fs::rename(log.substr(0, log.size() - 4) + ".qel", log);
      pumps.clear();
      unit.AbortFlag = 0;
      unit.RenameFolderCounter = unit.RenameFileCounter = 0;
      unit.Progress->Show(true);
      ticker.SetEnabled(true);
      breaker.SetEnabled(breaking);
      const auto start = bench::Clock::now();
      unit.RenameLogsInFolder(root, true);
      const auto end = bench::Clock::now();
      ticker.SetEnabled(false);
      unit.Progress->Show(false);
      double widest = 0, narrowest = 1e9;
      for (size_t i = 1; i < pumps.size(); ++i) {
        widest = std::max(widest, bench::Ms(pumps[i - 1], pumps[i]));
        narrowest = std::min(narrowest, bench::Ms(pumps[i - 1], pumps[i]));
      }
      int renamed = 0;
      for (const std::string& log : logs)
        renamed += !fs::exists(log);
      if (breaking) {
        std::printf("break after %.1f ms: the walk ended %.3f ms after the click, %d logs renamed\n",
                    bench::Ms(start, broke), bench::Ms(broke, end), renamed);
        break;
      }
      ms.push_back(bench::Ms(start, end));
      std::printf("run %d: %.1f ms, %d logs renamed, %zu pumps, gaps between pumps %.1f to %.1f ms\n", run + 1,
                  ms.back(), renamed, pumps.size(), pumps.size() > 1 ? narrowest : 0.0, widest);
    }
    std::sort(ms.begin(), ms.end());
    std::printf("walk over %d folders, %d files: median %.1f ms (min %.1f, max %.1f)\n", leaves + 101, leaves * 10,
                ms[ms.size() / 2], ms.front(), ms.back());
  }
  fs::remove_all(root);
  fs::remove_all(settings);
  return 0;
}
