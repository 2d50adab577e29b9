#include "common/controls/timer_control.h"

namespace orva {

TimerControl::TimerControl(EventLoop& loop, int interval, bool enabled)
    : loop_(loop), interval_(interval < 0 ? 0 : interval), enabled_(enabled) {
  Rearm();
}

TimerControl::~TimerControl() { loop_.StopTimer(pending_); }

void TimerControl::SetInterval(int ms) {
  interval_ = ms < 0 ? 0 : ms;
  Rearm();
}

void TimerControl::SetEnabled(bool enabled) {
  if (enabled == enabled_) return;
  enabled_ = enabled;
  Rearm();
}

void TimerControl::Rearm() {
  if (pending_ != kNoTimer) {
    loop_.StopTimer(pending_);
    pending_ = kNoTimer;
  }
  if (enabled_ && interval_ > 0) pending_ = loop_.StartTimer(interval_, [this] { Fire(); });
}

void TimerControl::Fire() {
  pending_ = kNoTimer;
  // Arm the next tick before the handler runs, so a handler that disables or
  // re-times the timer has the last word.
  Rearm();
  if (Timer) Timer();
}

}  // namespace orva
