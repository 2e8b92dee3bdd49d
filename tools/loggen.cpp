// loggen: writes a synthetic engine-unit log for tests, benchmarks and samples.
//
//   loggen <output-file> [--size BYTES] [--seed N] [--family QEL|PMS|LH]
//          [--bad-rate R] [--recorder-log]
//
// The family defaults from the file name. --recorder-log also writes the first
// free "log<N>.txt" beside the log, naming its ".bin" file and the reading speed.
#include "loggen_core.h"

#include <charconv>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <string_view>
#include <vector>

namespace {

int Usage()
{
  std::cerr << "usage: loggen <output-file> [--size BYTES] [--seed N] [--family QEL|PMS|LH]"
               " [--bad-rate R] [--recorder-log]\n";
  return 2;
}

template <typename T>
bool ParseNumber(std::string_view text, T& out)
{
  const char* end = text.data() + text.size();
  const auto res = std::from_chars(text.data(), end, out);
  return res.ec == std::errc() && res.ptr == end;
}

bool WriteRecorderLog(const std::filesystem::path& log)
{
  const std::filesystem::path folder = log.parent_path();
  std::filesystem::path target;
  for (int n = 1;; ++n) {
    target = folder / ("log" + std::to_string(n) + ".txt");
    if (!std::filesystem::exists(target))
      break;
  }
  std::ofstream out(target, std::ios::binary);
  const std::string bin = std::filesystem::path(log).replace_extension(".bin").filename().string();
  out << "Recorder session\r\n"
      << "Speed " << loggen::ReadingSpeedHz << " Hz\r\n"
      << "Log: " << bin << "\r\n";
  out.close();
  if (!out)
    return false;
  std::cout << "recorder log: " << target.string() << "\n";
  return true;
}

}  // namespace

int main(int argc, char** argv)
{
  // An option in the file's place (--help, say) would otherwise become a file of that name.
  if (argc < 2 || argv[1][0] == '-')
    return Usage();
  const std::string output = argv[1];
  loggen::Options options;
  options.family = loggen::FamilyFromFileName(output).value_or(loggen::Family::QEL);
  bool recorderLog = false;

  for (int i = 2; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if (arg == "--recorder-log") {
      recorderLog = true;
      continue;
    }
    if (i + 1 >= argc)
      return Usage();
    const std::string_view value = argv[++i];
    bool ok = true;
    if (arg == "--size") {
      ok = ParseNumber(value, options.size);
    } else if (arg == "--seed") {
      ok = ParseNumber(value, options.seed);
    } else if (arg == "--bad-rate") {
      ok = ParseNumber(value, options.bad_rate) && options.bad_rate >= 0.0 && options.bad_rate <= 1.0;
    } else if (arg == "--family") {
      if (value == "QEL")
        options.family = loggen::Family::QEL;
      else if (value == "PMS")
        options.family = loggen::Family::PMS;
      else if (value == "LH")
        options.family = loggen::Family::LH;
      else
        ok = false;
    } else {
      ok = false;
    }
    if (!ok)
      return Usage();
  }

  std::vector<char> buffer(1 << 20);
  std::ofstream out;
  out.rdbuf()->pubsetbuf(buffer.data(), static_cast<std::streamsize>(buffer.size()));
  out.open(output, std::ios::binary | std::ios::trunc);
  if (!out) {
    std::cerr << "loggen: cannot create " << output << "\n";
    return 1;
  }
  const std::uint64_t bytes = loggen::Generate(out, options);
  out.close();
  if (!out) {
    std::cerr << "loggen: write failed: " << output << "\n";
    return 1;
  }
  std::cout << output << ": " << bytes << " bytes, family " << loggen::FamilyWord(options.family) << "\n";
  if (recorderLog && !WriteRecorderLog(output)) {
    std::cerr << "loggen: cannot write the recorder log\n";
    return 1;
  }
  return 0;
}
