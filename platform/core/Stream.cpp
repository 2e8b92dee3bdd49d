#include "Stream.h"

#include "Exceptions.h"

int64_t TStream::Size()
{
  int64_t pos = Seek(0, soFromCurrent);
  int64_t end = Seek(0, soFromEnd);
  Seek(pos, soFromBeginning);
  return end;
}

void TStream::ReadBuffer(void* buffer, int32_t count)
{
  if (count != 0 && Read(buffer, count) != count)
    throw EReadError("Stream read error");
}

void TStream::WriteBuffer(const void* buffer, int32_t count)
{
  if (count != 0 && Write(buffer, count) != count)
    throw EWriteError("Stream write error");
}

int64_t TStream::SeekTarget(int64_t offset, TSeekOrigin origin, int64_t current)
{
  int64_t base;
  switch (origin) {
  case soFromBeginning: base = 0; break;
  case soFromCurrent: base = current; break;
  case soFromEnd: base = Size(); break;
  default: return -1;
  }
  int64_t target;
  if (__builtin_add_overflow(base, offset, &target) || target < 0)
    return -1;
  return target;
}
