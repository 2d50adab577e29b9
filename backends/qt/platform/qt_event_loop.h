#pragma once
// The event loop of the Qt programs: one-shot QTimers keyed by id, the
// monotonic clock, DoEvents as processEvents.

#include <QElapsedTimer>
#include <QObject>
#include <map>

#include "common/platform/event_loop.h"

class QTimer;

namespace orva {

class QtEventLoop : public EventLoop {
 public:
  // Needs a QCoreApplication (or a subclass) to exist.
  QtEventLoop();
  ~QtEventLoop() override;
  QtEventLoop(const QtEventLoop&) = delete;
  QtEventLoop& operator=(const QtEventLoop&) = delete;

  std::int64_t NowMs() const override;
  TimerId StartTimer(int delayMs, std::function<void()> fire) override;
  void StopTimer(TimerId id) override;
  void DoEvents() override;
  void Sleep(int ms) override;

  std::size_t PendingTimers() const { return timers_.size(); }

 private:
  QElapsedTimer clock_;
  // Parent of every timer, so the timers still waiting for deleteLater go
  // with the loop.
  QObject owner_;
  TimerId lastId_ = kNoTimer;
  std::map<TimerId, QTimer*> timers_;
};

}  // namespace orva
