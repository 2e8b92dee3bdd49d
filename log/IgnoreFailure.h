#pragma once
// Freeing and clean-up steps that must not stop the steps after them when one fails.
#include <utility>

template <class F>
void IgnoreFailure(F&& step) noexcept
{
  try {
    std::forward<F>(step)();
  } catch (...) {
  }
}
