#pragma once
// A read-only stream over a resource built into the executable.
#include <cstdint>

#include "Stream.h"
#include "System.h"

class TResourceStream : public TStream {
public:
  // Throws EResNotFound when there is no such resource (see FindResource).
  TResourceStream(const AnsiString& name, const AnsiString& type);

  int32_t Read(void* buffer, int32_t count) override;
  int32_t Write(const void* buffer, int32_t count) override;  // always 0: the bytes are read-only
  // Positions from 0 up; before the start: -1, position unchanged.
  int64_t Seek(int64_t offset, TSeekOrigin origin) override;
  int64_t Size() override { return static_cast<int64_t>(size_); }

  const uint8_t* Memory() const { return data_; }

private:
  const uint8_t* data_;
  std::size_t size_;
  int64_t pos_ = 0;
};
