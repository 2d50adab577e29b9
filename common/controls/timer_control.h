#pragma once
// The old Timer control: an Interval in milliseconds and an Enabled switch.
// It fires every Interval while enabled. Interval 0 stops it without
// clearing Enabled; switching Enabled on, or changing the Interval while
// enabled, starts the countdown again from the full interval.

#include <functional>

#include "common/platform/event_loop.h"

namespace orva {

class TimerControl {
 public:
  explicit TimerControl(EventLoop& loop, int interval = 0, bool enabled = false);
  ~TimerControl();
  TimerControl(const TimerControl&) = delete;
  TimerControl& operator=(const TimerControl&) = delete;

  // The Timer event handler.
  std::function<void()> Timer;

  int Interval() const { return interval_; }
  void SetInterval(int ms);
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled);
  // True while a countdown runs (enabled with a non-zero interval).
  bool Running() const { return pending_ != kNoTimer; }

 private:
  void Rearm();
  void Fire();

  EventLoop& loop_;
  int interval_;
  bool enabled_;
  TimerId pending_ = kNoTimer;
};

}  // namespace orva
