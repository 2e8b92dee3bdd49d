#pragma once
// The abstract byte stream: Read/Write return counts, the *Buffer forms throw on a short transfer.
#include <cstdint>

enum TSeekOrigin { soFromBeginning = 0, soFromCurrent = 1, soFromEnd = 2 };

class TStream {
public:
  virtual ~TStream() = default;
  // A short read at the end returns fewer bytes, never throws.
  virtual int32_t Read(void* buffer, int32_t count) = 0;
  virtual int32_t Write(const void* buffer, int32_t count) = 0;
  virtual int64_t Seek(int64_t offset, TSeekOrigin origin) = 0;

  int64_t Position() { return Seek(0, soFromCurrent); }
  void SetPosition(int64_t pos) { Seek(pos, soFromBeginning); }
  virtual int64_t Size();

  void ReadBuffer(void* buffer, int32_t count);         // EReadError when fewer bytes come
  void WriteBuffer(const void* buffer, int32_t count);  // EWriteError when fewer bytes go

protected:
  // Where a seek from `current` lands; -1 for an unknown origin, a position before the start
  // or an overflow. Subclasses that use it must override Size().
  int64_t SeekTarget(int64_t offset, TSeekOrigin origin, int64_t current);
};
