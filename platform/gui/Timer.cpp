#include "Timer.h"

#include <QTimer>

#include "Guard.h"

TTimer::TTimer(TComponent* AOwner) : TComponent(AOwner), timer_(std::make_unique<QTimer>())
{
  QObject::connect(timer_.get(), &QTimer::timeout, timer_.get(), [this] { FireEvent(OnTimer, this); });
  Update();
}

TTimer::~TTimer() = default;

void TTimer::SetEnabled(bool enabled)
{
  if (enabled == enabled_)
    return;
  enabled_ = enabled;
  Update();
}

void TTimer::SetInterval(int milliseconds)
{
  if (milliseconds == interval_)
    return;
  interval_ = milliseconds;
  Update();
}

void TTimer::Update()
{
  if (enabled_ && interval_ > 0)
    timer_->start(interval_);
  else
    timer_->stop();
}
