#pragma once
// SIGTERM, SIGINT and SIGHUP (a logout, Ctrl+C, kill) close the program as its window's close
// box does, so that it ends as at every close; a second one while that close is under way
// ends the process at once. The handler only writes to a pipe; the close runs on the window
// thread.
#include <functional>
#include <memory>

class QSocketNotifier;

class CloseOnSignals {
public:
  // close runs once, from the event loop: at once, also inside a pump, as a click on the close
  // box would; while a dialog is open, that dialog is closed first and close runs after it.
  explicit CloseOnSignals(std::function<void()> close);
  // The signals' former handling comes back.
  ~CloseOnSignals();
  CloseOnSignals(const CloseOnSignals&) = delete;
  CloseOnSignals& operator=(const CloseOnSignals&) = delete;

private:
  void Arrived();

  std::function<void()> close_;
  std::unique_ptr<QSocketNotifier> notifier_;
  bool closing_ = false;
};
