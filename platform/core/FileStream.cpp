#include "FileStream.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

#include "Exceptions.h"

namespace {

constexpr size_t BufferSize = 64 * 1024;

std::string SystemMessage(int error)
{
  return std::system_category().message(error);
}

}  // namespace

TFileStream::TFileStream(const AnsiString& fileName, uint16_t mode) : fileName_(fileName)
{
  const bool create = (mode & fmCreate) == fmCreate;
  int flags = O_CLOEXEC;
  if (create) {
    flags |= O_RDWR | O_CREAT | O_TRUNC;
    canRead_ = canWrite_ = true;
  } else {
    switch (mode & 0x3) {
    case fmOpenWrite:
      flags |= O_WRONLY;
      canWrite_ = true;
      break;
    case fmOpenReadWrite:
      flags |= O_RDWR;
      canRead_ = canWrite_ = true;
      break;
    default:
      // A FIFO would block the open until a writer comes: the open must not wait, the check
      // below then refuses it.
      flags |= O_RDONLY | O_NONBLOCK;
      canRead_ = true;
      break;
    }
  }
  do {
    fd_ = ::open(fileName.c_str(), flags, 0666);
  } while (fd_ < 0 && errno == EINTR);
  if (fd_ < 0) {
    const int error = errno;
    if (create)
      throw EFCreateError("Cannot create file \"" + fileName + "\". " + SystemMessage(error));
    throw EFOpenError("Cannot open file \"" + fileName + "\". " + SystemMessage(error));
  }
  // Linux lets a folder be opened read-only; as a stream it is no file at all. What is only
  // read must be a regular file, checked on what was opened, not on the name: a FIFO, a
  // device or /dev/zero never ends.
  struct stat st;
  const bool statted = ::fstat(fd_, &st) == 0;
  const bool readOnly = (flags & O_NONBLOCK) != 0;
  if (statted && (S_ISDIR(st.st_mode) || (readOnly && !S_ISREG(st.st_mode)))) {
    ::close(fd_);
    fd_ = -1;
    throw EFOpenError("Cannot open file \"" + fileName + "\". " +
                      SystemMessage(S_ISDIR(st.st_mode) ? EISDIR : EINVAL));
  }
  if (readOnly)
    ::fcntl(fd_, F_SETFL, ::fcntl(fd_, F_GETFL) & ~O_NONBLOCK);
}

TFileStream::~TFileStream()
{
  Close();
}

bool TFileStream::WriteAll(const uint8_t* data, size_t count, int64_t at)
{
  while (count > 0) {
    const ssize_t done = ::pwrite(fd_, data, count, at);
    if (done < 0 && errno == EINTR)
      continue;
    if (done <= 0) {
      failed_ = true;
      return false;
    }
    data += done;
    count -= static_cast<size_t>(done);
    at += done;
  }
  return true;
}

bool TFileStream::Flush()
{
  if (state_ == Buffered::PendingWrite) {
    const bool ok = WriteAll(buf_.get(), bufLen_, bufStart_);
    state_ = Buffered::Nothing;
    bufLen_ = 0;
    if (!ok)
      return false;  // those bytes were already counted as written; Failed() tells
  }
  return !failed_;
}

bool TFileStream::Sync()
{
  if (!Flush())
    return false;
  if (fd_ < 0)
    return false;
  if (::fsync(fd_) != 0) {
    failed_ = true;
    return false;
  }
  return true;
}

bool TFileStream::Close()
{
  if (fd_ < 0)
    return !failed_;
  Flush();
  if (::close(fd_) != 0 && errno != EINTR)
    failed_ = true;
  fd_ = -1;
  canRead_ = canWrite_ = false;
  buf_.reset();
  return !failed_;
}

uint8_t* TFileStream::Buffer()
{
  if (!buf_)
    buf_ = std::make_unique_for_overwrite<uint8_t[]>(BufferSize);
  return buf_.get();
}

int32_t TFileStream::Read(void* buffer, int32_t count)
{
  if (fd_ < 0 || !canRead_ || count <= 0)
    return 0;
  if (state_ == Buffered::PendingWrite && !Flush())
    return 0;
  uint8_t* out = static_cast<uint8_t*>(buffer);
  size_t wanted = static_cast<size_t>(count);
  size_t got = 0;
  while (wanted > 0) {
    if (state_ == Buffered::ReadData && pos_ >= bufStart_ && pos_ < bufStart_ + static_cast<int64_t>(bufLen_)) {
      const size_t offset = static_cast<size_t>(pos_ - bufStart_);
      const size_t n = std::min(wanted, bufLen_ - offset);
      std::memcpy(out + got, buf_.get() + offset, n);
      got += n;
      wanted -= n;
      pos_ += static_cast<int64_t>(n);
      continue;
    }
    // Large reads bypass the buffer; small ones refill it.
    const bool direct = wanted >= BufferSize;
    uint8_t* target = direct ? out + got : Buffer();
    const size_t ask = direct ? wanted : BufferSize;
    ssize_t done;
    do {
      done = ::pread(fd_, target, ask, pos_);
    } while (done < 0 && errno == EINTR);
    if (done <= 0)
      break;
    if (direct) {
      got += static_cast<size_t>(done);
      wanted -= static_cast<size_t>(done);
      pos_ += done;
    } else {
      state_ = Buffered::ReadData;
      bufStart_ = pos_;
      bufLen_ = static_cast<size_t>(done);
    }
  }
  return static_cast<int32_t>(got);
}

int32_t TFileStream::Write(const void* buffer, int32_t count)
{
  if (fd_ < 0 || !canWrite_ || count <= 0)
    return 0;
  if (failed_)
    return 0;
  const uint8_t* in = static_cast<const uint8_t*>(buffer);
  const size_t n = static_cast<size_t>(count);
  if (state_ != Buffered::PendingWrite) {
    state_ = Buffered::PendingWrite;
    bufStart_ = pos_;
    bufLen_ = 0;
  }
  if (bufLen_ + n > BufferSize) {
    if (!Flush())
      return 0;
    if (n >= BufferSize) {
      const int64_t at = pos_;
      if (!WriteAll(in, n, at))
        return 0;
      pos_ += static_cast<int64_t>(n);
      return count;
    }
    state_ = Buffered::PendingWrite;
    bufStart_ = pos_;
    bufLen_ = 0;
  }
  std::memcpy(Buffer() + bufLen_, in, n);
  bufLen_ += n;
  pos_ += static_cast<int64_t>(n);
  return count;
}

int64_t TFileStream::Size()
{
  if (fd_ < 0)
    return 0;
  struct stat st;
  int64_t size = ::fstat(fd_, &st) == 0 ? static_cast<int64_t>(st.st_size) : 0;
  if (state_ == Buffered::PendingWrite)
    size = std::max(size, bufStart_ + static_cast<int64_t>(bufLen_));
  return size;
}

int64_t TFileStream::Seek(int64_t offset, TSeekOrigin origin)
{
  if (fd_ < 0)
    return -1;
  const int64_t target = SeekTarget(offset, origin, pos_);
  if (target < 0)
    return -1;
  if (target != pos_ && state_ == Buffered::PendingWrite)
    Flush();
  pos_ = target;
  return pos_;
}
