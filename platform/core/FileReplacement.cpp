#include "FileReplacement.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

#include "Exceptions.h"
#include "Paths.h"

FileReplacement::FileReplacement(const AnsiString& target)
{
  int error = 0;
  target_ = FollowLinkChain(target, error);
  if (error) {
    Fail(error);
    return;
  }
  // Writing in place would fail on such a target, so the replacement fails the same way.
  struct stat st;
  const bool exists = ::stat(target_.c_str(), &st) == 0;
  if (exists && S_ISDIR(st.st_mode)) {
    Fail(EISDIR);
    return;
  }
  if (exists && ::access(target_.c_str(), W_OK) != 0) {
    Fail(errno);
    return;
  }
  // Created exclusively, so no other file is ever clobbered.
  for (int attempt = 0;; ++attempt) {
    tempName_ = target_ + ".part" + std::to_string(::getpid()) + "-" + std::to_string(attempt);
    fd_ = ::open(tempName_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd_ >= 0)
      break;
    if (errno != EEXIST || attempt >= 100) {
      const int reason = errno;
      tempName_.clear();
      Fail(reason);
      return;
    }
  }
  // The replacement keeps the old file's permissions (a private file stays private).
  if (exists)
    ::fchmod(fd_, st.st_mode & 07777);
}

FileReplacement::~FileReplacement()
{
  if (!done_)
    Abandon();
}

void FileReplacement::Fail(int error)
{
  if (!error_)
    error_ = error ? error : EIO;
}

AnsiString FileReplacement::Reason() const
{
  return error_ ? AnsiString(std::strerror(error_)) : AnsiString();
}

bool FileReplacement::Write(const void* data, size_t size)
{
  if (error_ || fd_ < 0)
    return false;
  const auto* bytes = static_cast<const char*>(data);
  while (size > 0) {
    const ssize_t written = ::write(fd_, bytes, size);
    if (written < 0) {
      if (errno == EINTR)
        continue;
      Fail(errno);
      return false;
    }
    bytes += written;
    size -= static_cast<size_t>(written);
  }
  return true;
}

bool FileReplacement::Commit()
{
  if (done_ || error_ || fd_ < 0) {
    Abandon();
    return false;
  }
  // A full disk or a lost network share may only show at the flush or the close.
  if (::fsync(fd_) != 0 && errno != EINVAL)
    Fail(errno);
  if (::close(fd_) != 0)
    Fail(errno);
  fd_ = -1;
  if (!error_ && ::rename(tempName_.c_str(), target_.c_str()) != 0)
    Fail(errno);
  if (error_) {
    Abandon();
    return false;
  }
  done_ = true;
  return true;
}

void FileReplacement::Abandon()
{
  done_ = true;
  if (fd_ >= 0) {
    ::close(fd_);
    fd_ = -1;
  }
  if (!tempName_.empty())
    ::unlink(tempName_.c_str());
}

void ReplaceFileContents(const AnsiString& fileName, const void* data, size_t size)
{
  struct stat st;
  if (::stat(fileName.c_str(), &st) == 0 && !S_ISREG(st.st_mode) && !S_ISDIR(st.st_mode)) {
    const int fd = ::open(fileName.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC);
    if (fd < 0)
      throw EFCreateError(std::strerror(errno));
    const auto* bytes = static_cast<const char*>(data);
    int error = 0;
    for (size_t left = size; left > 0 && !error;) {
      const ssize_t written = ::write(fd, bytes + (size - left), left);
      if (written > 0)
        left -= static_cast<size_t>(written);
      else if (written == 0 || errno != EINTR)
        error = written == 0 ? EIO : errno;
    }
    ::close(fd);
    if (error)
      throw EWriteError(std::strerror(error));
    return;
  }
  FileReplacement file(fileName);
  if (file.Failed())
    throw EFCreateError(file.Reason());
  if (!file.Write(data, size) || !file.Commit())
    throw EWriteError(file.Reason());
}
