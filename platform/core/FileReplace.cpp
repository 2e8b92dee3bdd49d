#include "FileReplace.h"

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

#include "Exceptions.h"

namespace {

AnsiString Reason(int error)
{
  return std::system_category().message(error);
}

// The file a link names, when it resolves; any other name as it is.
AnsiString FollowedLink(const AnsiString& fileName)
{
  struct stat st;
  if (::lstat(fileName.c_str(), &st) != 0 || !S_ISLNK(st.st_mode))
    return fileName;
  char resolved[PATH_MAX];
  return ::realpath(fileName.c_str(), resolved) ? AnsiString(resolved) : fileName;
}

bool WriteAll(int fd, const char* data, size_t size)
{
  while (size > 0) {
    const ssize_t written = ::write(fd, data, size);
    if (written < 0 && errno == EINTR)
      continue;
    if (written <= 0) {
      if (written == 0)
        errno = EIO;
      return false;
    }
    data += written;
    size -= static_cast<size_t>(written);
  }
  return true;
}

}  // namespace

void ReplaceFileContents(const AnsiString& fileName, const void* data, size_t size)
{
  const AnsiString target = FollowedLink(fileName);
  struct stat old;
  const bool exists = ::stat(target.c_str(), &old) == 0;
  // rename would put the file inside such a folder, or refuse with a less telling reason.
  if (exists && S_ISDIR(old.st_mode))
    throw EFCreateError(Reason(EISDIR));
  // A device or a pipe is written to, never replaced by a file.
  if (exists && !S_ISREG(old.st_mode)) {
    const int fd = ::open(target.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC);
    if (fd < 0)
      throw EFCreateError(Reason(errno));
    const bool ok = WriteAll(fd, static_cast<const char*>(data), size);
    const int error = errno;
    ::close(fd);
    if (!ok)
      throw EWriteError(Reason(error));
    return;
  }

  static std::atomic<unsigned> counter{0};
  AnsiString temp;
  int fd = -1;
  for (int attempt = 0; fd < 0; ++attempt) {
    temp = target + ".~" + std::to_string(::getpid()) + "-" + std::to_string(counter.fetch_add(1));
    fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0 && (errno != EEXIST || attempt >= 100))
      throw EFCreateError(Reason(errno));
  }
  if (exists)
    ::fchmod(fd, old.st_mode & 07777);
  bool ok = WriteAll(fd, static_cast<const char*>(data), size) && ::fsync(fd) == 0;
  int error = ok ? 0 : errno;
  if (::close(fd) != 0 && ok) {
    ok = false;
    error = errno;
  }
  if (ok && ::rename(temp.c_str(), target.c_str()) != 0) {
    ok = false;
    error = errno;
  }
  if (!ok) {
    ::unlink(temp.c_str());
    throw EWriteError(Reason(error));
  }
}
