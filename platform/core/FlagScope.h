#pragma once
// A busy flag raised for as long as the scope lives and lowered on every way out of it, also by
// an exception: a flag left raised would refuse the close and every later opening.
#include "System.h"

class FlagScope {
public:
  explicit FlagScope(Byte& flag) : flag_(flag) { flag_ = 1; }
  ~FlagScope() { flag_ = 0; }
  FlagScope(const FlagScope&) = delete;
  FlagScope& operator=(const FlagScope&) = delete;

private:
  Byte& flag_;
};
