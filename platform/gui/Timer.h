#pragma once
// TTimer: OnTimer from the message loop every Interval milliseconds while Enabled; it ticks in
// modal loops and inside ProcessMessages too, and missed ticks do not pile up.
#include <memory>

#include "Component.h"
#include "Events.h"

class QTimer;

class TTimer : public TComponent {
public:
  explicit TTimer(TComponent* AOwner);
  ~TTimer() override;

  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled);
  int Interval() const { return interval_; }
  // Restarts the count; 0 stops the timer.
  void SetInterval(int milliseconds);

  TNotifyEvent OnTimer;

private:
  void Update();

  std::unique_ptr<QTimer> timer_;
  bool enabled_ = true;
  int interval_ = 1000;
};
