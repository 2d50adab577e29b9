#include "fakes/virtual_event_loop.h"

namespace orva::fakes {

TimerId VirtualEventLoop::StartTimer(int delayMs, std::function<void()> fire) {
  const TimerId id = nextId_++;
  timers_.emplace(Key{now_ + std::max(delayMs, 0), id}, std::move(fire));
  return id;
}

void VirtualEventLoop::StopTimer(TimerId id) {
  std::erase_if(timers_, [id](const auto& timer) { return timer.first.second == id; });
}

void VirtualEventLoop::FireDueBy(std::int64_t limit) {
  while (!timers_.empty() && timers_.begin()->first.first <= limit) {
    const auto first = timers_.begin();
    now_ = std::max(now_, first->first.first);
    std::function<void()> fire = std::move(first->second);
    timers_.erase(first);
    fire();
  }
}

void VirtualEventLoop::DoEvents() {
  if (onDoEvents_) onDoEvents_();
  FireDueBy(now_);
}

void VirtualEventLoop::Advance(std::int64_t ms) {
  const std::int64_t target = now_ + ms;
  FireDueBy(target);
  now_ = std::max(now_, target);
}

void VirtualEventLoop::RunUntilIdle(std::int64_t limitMs) { FireDueBy(now_ + limitMs); }

}  // namespace orva::fakes
