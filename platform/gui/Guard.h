#pragma once
// Every call from Qt into the program's handlers passes through here: an exception a handler
// throws goes to Application->HandleException and never unwinds through Qt.
#include <utility>

class TObject;

// To be called inside a catch block; hands the current exception on and never throws.
void HandleGuardedException(TObject* Sender) noexcept;

// Runs fn; anything it throws is handed on for Sender.
template <class Fn>
void Guarded(TObject* Sender, Fn&& fn) noexcept
{
  try {
    std::forward<Fn>(fn)();
  } catch (...) {
    HandleGuardedException(Sender);
  }
}

// Fires an event member when one is bound. The handler is copied first, so a handler that
// rebinds or clears its own event while it runs stays alive until it returns.
template <class Handler, class... Args>
void FireEvent(const Handler& handler, TObject* Sender, Args&&... args) noexcept
{
  if (!handler)
    return;
  Guarded(Sender, [&] {
    const Handler call = handler;
    call(Sender, std::forward<Args>(args)...);
  });
}
