// report_bench <log> [--out folder | --null]: parses a log with the real central object,
// headless, then writes its analysis report as F10 does after its dialog: into "<folder>/
// analysis <log name> .txt" under a temporary name, renamed into place (--out; the system's
// temporary folder by default), or formatted in full and handed to nothing (--null). One
// "name: value" a line:
//
//   records      line records of the parse
//   report_mb    bytes of the report, in MiB
//   write_ms     from the call of the write to its return (rename included)
//   mb_per_s     report_mb per second of write_ms
//   cpu_ms       processor time of the write, user and system (on a shared machine write_ms
//                also counts the time other processes held the core)
//   mb_per_cpu_s report_mb per second of cpu_ms
//   parsed_rss_mb  peak memory once the log was parsed, before the report
//   peak_rss_mb  peak memory at the end
//
// The report file is removed afterwards.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "AppPaths.h"
#include "BenchSupport.h"
#include "Forms.h"
#include "Paths.h"
#include "app/Qelunit.h"

namespace {

int Usage()
{
  std::fprintf(stderr, "usage: report_bench <log> [--out folder | --null]\n");
  return 2;
}

// User and system time of the process so far.
double CpuMs()
{
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  const auto ms = [](const timeval& t) { return static_cast<double>(t.tv_sec) * 1000.0 + t.tv_usec / 1000.0; };
  return ms(usage.ru_utime) + ms(usage.ru_stime);
}

}  // namespace

int main(int argc, char** argv)
{
  if (argc < 2)
    return Usage();
  const std::string log = argv[1];
  std::string folder = std::filesystem::temp_directory_path().string();
  bool toNothing = false;
  for (int i = 2; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--out" && i + 1 < argc)
      folder = argv[++i];
    else if (arg == "--null")
      toNothing = true;
    else
      return Usage();
  }

  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  Application->Initialize(argc, argv);
  const std::string data = bench::MakeScratchFolder("report-bench-XXXXXX");
  if (data.empty())
    return 1;
  SetDataFolderForTests(data);
  auto* unit = new BQELunit;
  unit->Language = 1;
  unit->ReadingSpeed = 45;
  unit->ShowProgress = 1;  // the write reports its progress as in the program
  unit->LogFileName = ExpandFileName(log);
  unit->ParseLogText();
  const double parsedRssMb = bench::PeakRssMb();

  AnsiString name = unit->DefaultReportName();
  name = JoinPath(folder, ExtractFileName(name));
  size_t bytes = 0;
  const double cpuStart = CpuMs();
  const auto start = bench::Clock::now();
  bool ok;
  AnsiString reason;
  if (toNothing) {
    ok = unit->StreamAnalysisReport(
        [&](const char*, size_t size) {
          bytes += size;
          return true;
        },
        true);
  } else {
    ok = unit->WriteAnalysisReport(name, reason) == BQELunit::ReportWrite::Written;
  }
  const double ms = bench::MsSince(start);
  const double cpuMs = CpuMs() - cpuStart;
  if (!toNothing) {
    std::error_code error;
    bytes = static_cast<size_t>(std::filesystem::file_size(name, error));
    std::filesystem::remove(name, error);
  }
  if (!ok) {
    std::fprintf(stderr, "report not written: %s\n", reason.c_str());
    return 1;
  }
  const double mb = static_cast<double>(bytes) / (1024.0 * 1024.0);
  std::printf("records: %d\n", unit->DataCells->Count());
  std::printf("report_mb: %.1f\n", mb);
  std::printf("write_ms: %.1f\n", ms);
  std::printf("mb_per_s: %.1f\n", ms > 0 ? mb / (ms / 1000.0) : 0.0);
  std::printf("cpu_ms: %.1f\n", cpuMs);
  std::printf("mb_per_cpu_s: %.1f\n", cpuMs > 0 ? mb / (cpuMs / 1000.0) : 0.0);
  std::printf("parsed_rss_mb: %.1f\n", parsedRssMb);
  std::printf("peak_rss_mb: %.1f\n", bench::PeakRssMb());
  delete unit;
  std::error_code ignored;
  std::filesystem::remove_all(data, ignored);
  return 0;
}
