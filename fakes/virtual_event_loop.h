#pragma once
// A virtual clock with the event loop's timers: time moves only when a test
// advances it, and due timers fire in time order (ties in start order), so
// minutes of playback run in microseconds and every run is the same.

#include <algorithm>
#include <cstdint>
#include <functional>
#include <map>
#include <utility>

#include "common/platform/event_loop.h"

namespace orva::fakes {

class VirtualEventLoop : public EventLoop {
 public:
  std::int64_t NowMs() const override { return now_; }
  TimerId StartTimer(int delayMs, std::function<void()> fire) override;
  void StopTimer(TimerId id) override;
  // Runs the events already due (a timer of 0 ms started before is due).
  void DoEvents() override;
  // The old Sleep blocks without running events; the virtual clock just moves.
  void Sleep(int ms) override { now_ += ms; }

  // Moves time forward by `ms`, firing every timer that falls due, in order,
  // with the clock set to each timer's due time while it runs.
  void Advance(std::int64_t ms);
  // Fires timers until none is pending or `limitMs` of virtual time passed.
  void RunUntilIdle(std::int64_t limitMs = 24 * 3600 * 1000);
  std::size_t PendingTimers() const { return timers_.size(); }
  // Called on every DoEvents, to let a test inject events that "arrive"
  // while a procedure waits.
  void SetOnDoEvents(std::function<void()> hook) { onDoEvents_ = std::move(hook); }

 private:
  using Key = std::pair<std::int64_t, TimerId>;  // due time, then start order
  // Fires the due timers one at a time, so a timer may start or stop others.
  void FireDueBy(std::int64_t limit);

  std::int64_t now_ = 0;
  TimerId nextId_ = 1;
  std::map<Key, std::function<void()>> timers_;
  std::function<void()> onDoEvents_;
};

}  // namespace orva::fakes
