#include "fakes/virtual_event_loop.h"

namespace orva::fakes {

TimerId VirtualEventLoop::StartTimer(int delayMs, std::function<void()> fire) {
  const TimerId id = nextId_++;
  const std::int64_t due = now_ + (delayMs < 0 ? 0 : delayMs);
  timers_.emplace(Key{due, id}, std::move(fire));
  dueById_.emplace(id, due);
  return id;
}

void VirtualEventLoop::StopTimer(TimerId id) {
  auto it = dueById_.find(id);
  if (it == dueById_.end()) return;
  timers_.erase(Key{it->second, id});
  dueById_.erase(it);
}

bool VirtualEventLoop::FireFirstDueBy(std::int64_t limit) {
  if (timers_.empty()) return false;
  auto first = timers_.begin();
  if (first->first.first > limit) return false;
  const auto [due, id] = first->first;
  std::function<void()> fire = std::move(first->second);
  timers_.erase(first);
  dueById_.erase(id);
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
