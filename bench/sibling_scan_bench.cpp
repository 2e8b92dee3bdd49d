// sibling_scan_bench [files]: the previous/next step's scan of a folder of many logs (100 000
// unless told), all of the same prefix and extension, so every one is gathered and sorted.
// Prints each run's time and the median.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "AppPaths.h"
#include "BenchSupport.h"
#include "Forms.h"
#include "StringList.h"
#include "app/Qelunit.h"

int main(int argc, char** argv)
{
  const int files = argc > 1 ? std::max(1, std::atoi(argv[1])) : 100000;
  const std::string folder = bench::MakeScratchFolder("sibling-bench-XXXXXX");
  const std::string settings = bench::MakeScratchFolder("sibling-bench-settings-XXXXXX");
  if (folder.empty() || settings.empty())
    return 1;
  // Made in a shuffled order, so the folder's own order is no sorted one.
  std::vector<int> numbers(static_cast<size_t>(files));
  for (int i = 0; i < files; ++i)
    numbers[static_cast<size_t>(i)] = i;
  std::shuffle(numbers.begin(), numbers.end(), std::mt19937(7));
  char name[64];
  for (int n : numbers) {
    std::snprintf(name, sizeof name, "/4711_%c%06d.qel", n % 2 ? 'a' : 'B', n);
    std::ofstream(folder + name);
  }

  SetDataFolderForTests(settings);
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  Application->Initialize(argc, argv);
  {
    BQELunit unit;
    std::snprintf(name, sizeof name, "/4711_%c%06d.qel", 'B', files / 2 / 2 * 2);
    unit.LogFileName = folder + name;
    // Wall time, and the time the process had the processor: on a busy machine the two part.
    std::vector<double> ms, cpuMs;
    for (int run = 0; run < 7; ++run) {
      const auto start = bench::Clock::now();
      const std::clock_t cpuStart = std::clock();
      unit.ScanSiblingLogFiles();
      cpuMs.push_back(1000.0 * static_cast<double>(std::clock() - cpuStart) / CLOCKS_PER_SEC);
      ms.push_back(bench::MsSince(start));
      std::printf("run %d: %.1f ms (processor %.1f ms), %d siblings, current at %d\n", run + 1, ms.back(),
                  cpuMs.back(), unit.SiblingList->Count(), unit.SiblingIndex);
    }
    std::sort(ms.begin(), ms.end());
    std::sort(cpuMs.begin(), cpuMs.end());
    std::printf("scan and sort of %d files: median %.1f ms (min %.1f, max %.1f), processor median %.1f ms\n",
                files, ms[ms.size() / 2], ms.front(), ms.back(), cpuMs[cpuMs.size() / 2]);
  }
  std::filesystem::remove_all(folder);
  std::filesystem::remove_all(settings);
  return 0;
}
