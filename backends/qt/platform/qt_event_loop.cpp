#include "backends/qt/platform/qt_event_loop.h"

#include <QCoreApplication>
#include <QTimer>
#include <chrono>
#include <thread>

namespace orva {

QtEventLoop::QtEventLoop() { clock_.start(); }

QtEventLoop::~QtEventLoop() = default;

std::int64_t QtEventLoop::NowMs() const { return clock_.elapsed(); }

TimerId QtEventLoop::StartTimer(int delayMs, std::function<void()> fire) {
  const TimerId id = ++lastId_;
  auto* timer = new QTimer(&owner_);
  timer->setSingleShot(true);
  // Precise timers keep the start order of timers due together and do not
  // stretch a 1 ms end-of-file timer to the coarse timers' 5 %.
  timer->setTimerType(Qt::PreciseTimer);
  QObject::connect(timer, &QTimer::timeout, &owner_, [this, id, fire = std::move(fire)] {
    auto node = timers_.extract(id);
    if (node.empty()) return;
    // The timer is inside its own signal (and `fire` lives in it): delete
    // it once control is back in the loop.
    node.mapped()->deleteLater();
    fire();
  });
  timer->start(delayMs < 0 ? 0 : delayMs);
  timers_.emplace(id, timer);
  return id;
}

void QtEventLoop::StopTimer(TimerId id) {
  auto node = timers_.extract(id);
  if (node.empty()) return;
  node.mapped()->stop();
  node.mapped()->deleteLater();
}

void QtEventLoop::DoEvents() { QCoreApplication::processEvents(QEventLoop::AllEvents); }

void QtEventLoop::Sleep(int ms) {
  if (ms > 0) std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

}  // namespace orva
