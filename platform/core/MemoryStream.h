#pragma once
// A stream over bytes it owns.
#include <cstdint>
#include <vector>

#include "Stream.h"

class TMemoryStream : public TStream {
public:
  int32_t Read(void* buffer, int32_t count) override;
  // Writing past the end grows the stream; a gap left by an earlier Seek is zero-filled.
  int32_t Write(const void* buffer, int32_t count) override;
  // Any position from 0 up is allowed, also past the end; before the start: -1, position unchanged.
  int64_t Seek(int64_t offset, TSeekOrigin origin) override;
  int64_t Size() override { return static_cast<int64_t>(data_.size()); }

  // Truncates or zero-extends; the position is kept (reads past the end return nothing).
  void SetSize(int64_t size);
  void Clear();

  uint8_t* Memory() { return data_.data(); }
  const uint8_t* Memory() const { return data_.data(); }

private:
  std::vector<uint8_t> data_;
  int64_t pos_ = 0;
};
