#include "MemoryStream.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <stdexcept>

#include "Exceptions.h"

int32_t TMemoryStream::Read(void* buffer, int32_t count)
{
  const int64_t size = Size();
  if (count <= 0 || pos_ >= size)
    return 0;
  const int32_t n = static_cast<int32_t>(std::min<int64_t>(count, size - pos_));
  std::memcpy(buffer, data_.data() + pos_, static_cast<size_t>(n));
  pos_ += n;
  return n;
}

int32_t TMemoryStream::Write(const void* buffer, int32_t count)
{
  if (count <= 0)
    return 0;
  const size_t end = static_cast<size_t>(pos_) + static_cast<size_t>(count);
  if (end > data_.size()) {
    try {
      data_.resize(end);
    } catch (const std::bad_alloc&) {
      return 0;
    } catch (const std::length_error&) {
      return 0;
    }
  }
  std::memcpy(data_.data() + pos_, buffer, static_cast<size_t>(count));
  pos_ += count;
  return count;
}

int64_t TMemoryStream::Seek(int64_t offset, TSeekOrigin origin)
{
  const int64_t target = SeekTarget(offset, origin, pos_);
  if (target < 0)
    return -1;
  pos_ = target;
  return pos_;
}

void TMemoryStream::SetSize(int64_t size)
{
  if (size < 0)
    throw EStreamError("Invalid stream size");
  try {
    data_.resize(static_cast<size_t>(size));
  } catch (const std::bad_alloc&) {
    throw EStreamError("Out of memory while expanding memory stream");
  } catch (const std::length_error&) {
    throw EStreamError("Out of memory while expanding memory stream");
  }
}

void TMemoryStream::Clear()
{
  data_.clear();
  data_.shrink_to_fit();
  pos_ = 0;
}
