#pragma once
// Bounds of the reading speed and the frame period that follows from it.
#include <cstdint>

constexpr int32_t MinReadingSpeed = 16;  // Hz
constexpr int32_t MaxReadingSpeed = 50;

inline int32_t ClampReadingSpeed(int32_t hz)
{
  return hz < MinReadingSpeed ? MinReadingSpeed : hz > MaxReadingSpeed ? MaxReadingSpeed : hz;
}

// Whole milliseconds per frame; the speed must already be clamped.
inline int32_t FramePeriodOf(int32_t hz)
{
  return 1000 / hz;
}
