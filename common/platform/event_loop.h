#pragma once
#include <cstdint>
#include <functional>

#include "common/platform/clock.h"

namespace orva {

using TimerId = std::uint64_t;
inline constexpr TimerId kNoTimer = 0;

// One-shot timers and the event pump of the single user-interface thread.
// The old Timer control's rules are built on top of this in TimerControl;
// backends only have to fire a callback once after a delay.
class EventLoop : public Clock {
 public:
  // Calls `fire` once, on the UI thread, after at least `delayMs`. Timers due
  // at the same moment fire in the order they were started.
  virtual TimerId StartTimer(int delayMs, std::function<void()> fire) = 0;
  // Harmless for a timer that already fired or was stopped.
  virtual void StopTimer(TimerId id) = 0;
  // Lets pending events run (timers, browser and player events, keys), as
  // the old DoEvents did. Re-entrancy is intended.
  virtual void DoEvents() = 0;
  // Blocks the UI thread without running events, as the old Sleep did.
  virtual void Sleep(int ms) = 0;
};

}  // namespace orva
