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
