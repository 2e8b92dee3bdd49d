#pragma once
// Clean-up steps that must not stop the steps after them when one fails. Not for a delete:
// destructors do not throw (one that did would end the program before any catch).
#include <utility>

template <class F>
void IgnoreFailure(F&& step) noexcept
{
  try {
    std::forward<F>(step)();
  } catch (...) {
  }
}
