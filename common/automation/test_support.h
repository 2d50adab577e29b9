#pragma once
// Helpers for the automation tests: a minimal virtual event loop and a trace
// captured in memory.

#include <cstdint>
#include <functional>
#include <map>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "common/automation/trace.h"
#include "common/platform/event_loop.h"

namespace orva::testing {

// Timers fire in due order (then start order) as the test advances time.
class TinyLoop : public EventLoop {
 public:
  std::int64_t NowMs() const override { return now_; }
  TimerId StartTimer(int delayMs, std::function<void()> fire) override {
    const TimerId id = ++lastId_;
    timers_[{now_ + delayMs, id}] = std::move(fire);
    return id;
  }
  void StopTimer(TimerId id) override {
    for (auto it = timers_.begin(); it != timers_.end(); ++it) {
      if (it->first.second == id) {
        timers_.erase(it);
        return;
      }
    }
  }
  void DoEvents() override {}
  void Sleep(int ms) override { now_ += ms; }

  // Runs every timer due up to now + ms, moving the clock to each.
  void Advance(std::int64_t ms) {
    const std::int64_t until = now_ + ms;
    while (!timers_.empty() && timers_.begin()->first.first <= until) {
      auto node = timers_.extract(timers_.begin());
      now_ = node.key().first;
      node.mapped()();
    }
    now_ = until;
  }
  std::size_t Pending() const { return timers_.size(); }

 private:
  std::int64_t now_ = 0;
  TimerId lastId_ = 0;
  std::map<std::pair<std::int64_t, TimerId>, std::function<void()>> timers_;
};

// Installs a trace into a string for the life of the object.
class CapturedTrace {
 public:
  explicit CapturedTrace(const Clock* clock = nullptr) { InstallTrace(MakeStreamTraceSink(out_), clock); }
  ~CapturedTrace() { InstallTrace(nullptr, nullptr); }
  std::vector<std::string> Lines() const {
    std::vector<std::string> lines;
    std::istringstream in(out_.str());
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
  }
  std::string Text() const { return out_.str(); }

 private:
  std::ostringstream out_;
};

}  // namespace orva::testing
