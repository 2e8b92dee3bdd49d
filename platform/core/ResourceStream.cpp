#include "ResourceStream.h"

#include <algorithm>
#include <cstring>

#include "Exceptions.h"
#include "Resources.h"

TResourceStream::TResourceStream(const AnsiString& name, const AnsiString& type)
{
  const ResourceEntry* entry = FindResource(name, type);
  if (!entry)
    throw EResNotFound("Resource " + name + " not found");
  data_ = entry->Data;
  size_ = entry->Size;
}

int32_t TResourceStream::Read(void* buffer, int32_t count)
{
  const int64_t size = Size();
  if (count <= 0 || pos_ >= size)
    return 0;
  const int32_t n = static_cast<int32_t>(std::min<int64_t>(count, size - pos_));
  std::memcpy(buffer, data_ + pos_, static_cast<std::size_t>(n));
  pos_ += n;
  return n;
}

int32_t TResourceStream::Write(const void*, int32_t)
{
  return 0;
}

int64_t TResourceStream::Seek(int64_t offset, TSeekOrigin origin)
{
  const int64_t target = SeekTarget(offset, origin, pos_);
  if (target < 0)
    return -1;
  pos_ = target;
  return pos_;
}
