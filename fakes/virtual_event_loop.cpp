#include "fakes/virtual_event_loop.h"

namespace orva::fakes {

TimerId VirtualEventLoop::StartTimer(int delayMs, std::function<void()> fire) {
  const TimerId id = nextId_++;
  const std::int64_t due = now_ + (delayMs < 0 ? 0 : delayMs);
  timers_.emplace(Key{due, id}, std::move(fire));
  return id;
}

void VirtualEventLoop::StopTimer(TimerId id) {
  std::erase_if(timers_, [id](const auto& timer) { return timer.first.second == id; });
}

bool VirtualEventLoop::FireFirstDueBy(std::int64_t limit) {
  if (timers_.empty()) return false;
  auto first = timers_.begin();
  if (first->first.first > limit) return false;
  const std::int64_t due = first->first.first;
  std::function<void()> fire = std::move(first->second);
  timers_.erase(first);
  if (due > now_) now_ = due;
  fire();
  return true;
}

void VirtualEventLoop::DoEvents() {
  if (onDoEvents_) onDoEvents_();
  const std::int64_t limit = now_;
  while (FireFirstDueBy(limit)) {
  }
}

void VirtualEventLoop::Advance(std::int64_t ms) {
  const std::int64_t target = now_ + ms;
  while (FireFirstDueBy(target)) {
  }
  if (target > now_) now_ = target;
}

void VirtualEventLoop::RunUntilIdle(std::int64_t limitMs) {
  const std::int64_t limit = now_ + limitMs;
  while (FireFirstDueBy(limit)) {
  }
}

}  // namespace orva::fakes
