// memo_load_bench [megabytes]: loads a generated log (100 MB unless told) into the memo and
// scrolls to its end, beside a plain read of the same file. Each case runs three times, each
// time in a process of its own, so that its peak memory (ru_maxrss) is its own.

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <QApplication>
#include <QPixmap>

#include "BenchSupport.h"
#include "MemoLines.h"
#include "MemoView.h"
#include "tools/loggen_core.h"

namespace {

using bench::Clock;
using bench::SecondsSince;

struct Result {
  double seconds = 0;       // the timed work
  double extraSeconds = 0;  // scroll and paint, for the view case
  long peakKb = 0;          // ru_maxrss at the end
  long startKb = 0;         // ru_maxrss before the timed work
  long long lines = 0;
};

// What any reader of the file has to do: its bytes into one buffer.
Result PlainRead(const std::string& file)
{
  Result r;
  r.startKb = bench::PeakRssKb();
  const auto start = Clock::now();
  const std::string bytes = bench::ReadWholeFile(file);
  r.seconds = SecondsSince(start);
  r.lines = std::count(bytes.begin(), bytes.end(), '\n');
  r.peakKb = bench::PeakRssKb();
  return r;
}

Result StoreLoad(const std::string& file)
{
  Result r;
  MemoStore store;
  r.startKb = bench::PeakRssKb();
  const auto start = Clock::now();
  store.LoadFromFile(file);
  r.seconds = SecondsSince(start);
  r.lines = store.Count();
  r.peakKb = bench::PeakRssKb();
  return r;
}

// The memo as the program uses it: Lines->LoadFromFile, then the end button's scroll and caret,
// then one painting of the last page.
Result ViewLoadAndScroll(const std::string& file)
{
  qputenv("QT_QPA_PLATFORM", "offscreen");
  int argc = 1;
  char name[] = "memo_load_bench";
  char* argv[] = {name, nullptr};
  QApplication app(argc, argv);
  MemoView view;
  TMemoStrings lines(view.Store(), [&view](bool replaced) { view.TextChanged(replaced); });
  view.resize(1000, 700);
  view.show();
  QApplication::processEvents();

  Result r;
  r.startKb = bench::PeakRssKb();
  auto start = Clock::now();
  lines.LoadFromFile(file);
  r.seconds = SecondsSince(start);
  start = Clock::now();
  view.ScrollLines(lines.Count());
  const int64_t end = view.Store().TextLength() - 2;
  view.Select(end, end);
  const QPixmap shown = view.viewport()->grab();
  r.extraSeconds = SecondsSince(start);
  r.lines = lines.Count();
  r.peakKb = bench::PeakRssKb();
  return r;
}

// Runs one case in a child process and reads its result back through a pipe.
Result InChild(Result (*run)(const std::string&), const std::string& file)
{
  int fds[2];
  if (pipe(fds) != 0)
    std::exit(1);
  const pid_t pid = fork();
  if (pid == 0) {
    close(fds[0]);
    const Result r = run(file);
    const ssize_t written = write(fds[1], &r, sizeof r);
    _exit(written == sizeof r ? 0 : 1);
  }
  close(fds[1]);
  Result r;
  const ssize_t got = read(fds[0], &r, sizeof r);
  close(fds[0]);
  int status = 0;
  waitpid(pid, &status, 0);
  if (got != sizeof r || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
    std::fprintf(stderr, "a measurement failed\n");
    std::exit(1);
  }
  return r;
}

void Report(const char* label, Result (*run)(const std::string&), const std::string& file)
{
  std::vector<Result> runs;
  for (int i = 0; i < 3; ++i)
    runs.push_back(InChild(run, file));
  const auto best = std::min_element(runs.begin(), runs.end(),
                                     [](const Result& a, const Result& b) { return a.seconds < b.seconds; });
  long peak = 0, start = 0;
  for (const Result& r : runs) {
    peak = std::max(peak, r.peakKb);
    start = std::max(start, r.startKb);
  }
  std::printf("%-28s %8.3f s", label, best->seconds);
  if (best->extraSeconds > 0)
    std::printf("  + scroll to end and paint %.4f s", best->extraSeconds);
  std::printf("   peak %6.1f MB (%.1f MB before the work)   %lld lines\n", peak / 1024.0, start / 1024.0,
              best->lines);
}

}  // namespace

int main(int argc, char** argv)
{
  const long long megabytes = argc > 1 ? std::atoll(argv[1]) : 100;
  if (megabytes <= 0) {
    std::fprintf(stderr, "usage: memo_load_bench [megabytes]\n");
    return 2;
  }
  const std::string folder = bench::MakeScratchFolder("dravolin-bench-XXXXXX");
  if (folder.empty()) {
    std::perror("mkdtemp");
    return 1;
  }
  const std::string file = folder + "/bench.qel";
  {
    loggen::Options options;
    options.size = static_cast<std::uint64_t>(megabytes) << 20;
    std::ofstream out(file, std::ios::binary);
    const auto start = Clock::now();
    const std::uint64_t bytes = loggen::Generate(out, options);
    out.close();
    std::printf("generated %.1f MB of log in %.1f s: %s\n", static_cast<double>(bytes) / (1 << 20),
                SecondsSince(start), file.c_str());
  }
  // The same log with LF breaks, which the store widens to CR LF.
  const std::string lfFile = folder + "/bench-lf.qel";
  {
    std::ifstream in(file, std::ios::binary);
    std::ofstream out(lfFile, std::ios::binary);
    std::string chunk(1 << 20, '\0');
    while (in.read(chunk.data(), static_cast<std::streamsize>(chunk.size())) || in.gcount() > 0) {
      std::string part = chunk.substr(0, static_cast<size_t>(in.gcount()));
      part.erase(std::remove(part.begin(), part.end(), '\r'), part.end());
      out << part;
    }
  }
  PlainRead(file);  // both files now come from the page cache for every case alike
  PlainRead(lfFile);

  Report("plain read of the file", PlainRead, file);
  Report("MemoStore::LoadFromFile", StoreLoad, file);
  Report("memo Lines->LoadFromFile", ViewLoadAndScroll, file);
  Report("plain read, LF breaks", PlainRead, lfFile);
  Report("MemoStore, LF breaks", StoreLoad, lfFile);

  std::error_code ignored;
  std::filesystem::remove_all(folder, ignored);
  return 0;
}
