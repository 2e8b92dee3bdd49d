#pragma once
// Shared by the benchmarks: the clock, peak memory, a whole file read as any reader would, and a
// scratch folder of the run's own.
#include <cstdio>
#include <sys/resource.h>
#include <unistd.h>

#include <stdlib.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "FileStream.h"

namespace bench {

using Clock = std::chrono::steady_clock;

inline double Ms(Clock::time_point from, Clock::time_point to)
{
  return std::chrono::duration<double, std::milli>(to - from).count();
}

inline double MsSince(Clock::time_point from)
{
  return Ms(from, Clock::now());
}

inline double SecondsSince(Clock::time_point from)
{
  return std::chrono::duration<double>(Clock::now() - from).count();
}

// What the process holds in memory now (resident pages).
inline double CurrentRssMb()
{
  long pages = 0, resident = 0;
  if (FILE* statm = std::fopen("/proc/self/statm", "r")) {
    if (std::fscanf(statm, "%ld %ld", &pages, &resident) != 2)
      resident = 0;
    std::fclose(statm);
  }
  return static_cast<double>(resident) * static_cast<double>(sysconf(_SC_PAGESIZE)) / (1024.0 * 1024.0);
}

// ru_maxrss: the most the process has held so far.
inline long PeakRssKb()
{
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
}

inline double PeakRssMb()
{
  return PeakRssKb() / 1024.0;
}

// The file's bytes in one buffer, read in pieces of at most 1 GiB since one read takes no more;
// cut to what was read.
inline std::string ReadWholeFile(const std::string& file)
{
  TFileStream stream(file, fmOpenRead);
  std::string bytes(static_cast<size_t>(stream.Size()), '\0');
  size_t filled = 0;
  for (int32_t got;
       filled < bytes.size() &&
       (got = stream.Read(bytes.data() + filled,
                          static_cast<int32_t>(std::min<size_t>(bytes.size() - filled, 1 << 30)))) > 0;)
    filled += static_cast<size_t>(got);
  bytes.resize(filled);
  return bytes;
}

// A new folder below the temporary one, named after `pattern` (ending in XXXXXX); empty when
// it could not be made.
inline std::string MakeScratchFolder(const char* pattern)
{
  std::string folder = (std::filesystem::temp_directory_path() / pattern).string();
  if (!::mkdtemp(folder.data()))
    return {};
  return folder;
}

// Stand-ins that do nothing for the desktop tools the start's file-type registration runs, and
// a desktop data folder of the run's own.
inline void PrivateDesktop(const std::string& folder)
{
  const std::string tools = folder + "/tools";
  std::filesystem::create_directory(tools);
  for (const char* tool : {"update-mime-database", "update-desktop-database"}) {
    std::ofstream(tools + "/" + tool) << "#!/bin/sh\n";
    std::filesystem::permissions(tools + "/" + tool, std::filesystem::perms::owner_all);
  }
  const char* path = std::getenv("PATH");
  setenv("PATH", (tools + ":" + (path ? path : "")).c_str(), 1);
  setenv("XDG_DATA_HOME", (folder + "/desktop").c_str(), 1);
}

}  // namespace bench
