#pragma once
// Makes writes fail part way, as a full disk does.
#include <csignal>
#include <sys/resource.h>

// Writes beyond `limit` bytes fail with EFBIG for as long as it lives.
class FileSizeLimit {
public:
  explicit FileSizeLimit(rlim_t limit)
  {
    getrlimit(RLIMIT_FSIZE, &Old);
    OldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit l = Old;
    l.rlim_cur = limit;
    setrlimit(RLIMIT_FSIZE, &l);
  }
  ~FileSizeLimit()
  {
    setrlimit(RLIMIT_FSIZE, &Old);
    std::signal(SIGXFSZ, OldHandler);
  }

private:
  rlimit Old{};
  void (*OldHandler)(int) = nullptr;
};
