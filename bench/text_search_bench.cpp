// text_search_bench <log>: the Text page's find, down from the start and up from the end of a
// log (a generated one of 1 GB, say), for a word that is absent and for one found only near the
// far end (a piece of the text there, long enough not to occur before it). Each search runs through the find
// button's handler; prints each time, the match's place and the peak memory before and after the searches.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "AppPaths.h"
#include "BenchSupport.h"
#include "Edit.h"
#include "Forms.h"
#include "Memo.h"
#include "RadioButton.h"
#include "app/Qelunit.h"
#include "app/TextSearch.h"

namespace {

void Search(BQELunit& unit, const char* label, const AnsiString& word, bool down)
{
  TMemo* memo = unit.TextMemo;
  const int64_t length = memo->GetTextLen();
  std::vector<double> ms;
  for (int run = 0; run < 3; ++run) {
    memo->SetSelStart(down ? 0 : length);
    unit.FindEdit->SetText(word);
    (down ? unit.FindDownRadio : unit.FindUpRadio)->SetChecked(true);
    const auto start = bench::Clock::now();
    unit.FindButtonClick(nullptr);
    ms.push_back(bench::MsSince(start));
  }
  const bool found = memo->SelLength() > 0;
  std::printf("%-34s %8.1f %8.1f %8.1f ms  %s at %lld of %lld\n", label, ms[0], ms[1], ms[2],
              found ? "found" : "not found", static_cast<long long>(memo->SelStart()),
              static_cast<long long>(length));
}

}  // namespace

int main(int argc, char** argv)
{
  if (argc < 2) {
    std::fprintf(stderr, "usage: text_search_bench <log>\n");
    return 1;
  }
  const std::string settings = bench::MakeScratchFolder("text-search-bench-XXXXXX");
  if (settings.empty())
    return 1;
  SetDataFolderForTests(settings);
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  Application->Initialize(argc, argv);
  {
    BQELunit unit;
    const auto load = bench::Clock::now();
    unit.TextMemo->Lines()->LoadFromFile(argv[1]);
    std::printf("loaded %lld bytes of text in %.0f ms\n", static_cast<long long>(unit.TextMemo->GetTextLen()),
                bench::MsSince(load));
    const std::string_view text = unit.TextMemo->Store().Text();
    // Pieces long enough to be found only near the far end (a generated log repeats itself):
    // doubled until the nearest match from the other end is the piece itself.
    size_t piece = std::min<size_t>(40, text.size() / 4);
    while (piece < text.size() / 4 &&
           FindForward(text, 0, {AnsiString(text.substr(text.size() - 2 * piece, piece))}).Position <
               static_cast<int64_t>(text.size() - 2 * piece))
      piece *= 2;
    const AnsiString nearEnd(text.substr(text.size() - 2 * piece, piece));
    piece = std::min<size_t>(40, text.size() / 4);
    while (
        piece < text.size() / 4 &&
        FindBackward(text, static_cast<int64_t>(text.size()), {AnsiString(text.substr(piece, piece))}).Position >
            static_cast<int64_t>(piece))
      piece *= 2;
    const AnsiString nearStart(text.substr(piece, piece));
    const long before = bench::PeakRssKb();
    std::printf("%-34s %8s %8s %8s\n", "case", "run 1", "run 2", "run 3");
    Search(unit, "down, absent word", "Zqx#absent", true);
    Search(unit, "down, a piece near the end", nearEnd, true);
    Search(unit, "up, absent word", "Zqx#absent", false);
    Search(unit, "up, a piece near the start", nearStart, false);
    std::printf("peak memory: %.1f MB before the searches, %.1f MB after\n", before / 1024.0, bench::PeakRssMb());
  }
  std::filesystem::remove_all(settings);
  return 0;
}
