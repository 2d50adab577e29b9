#pragma once
// Plays a script on the program's event loop. Each step runs from a one-shot
// timer, its wait after the previous step has finished, so events queued by
// one action (a page load, a dialog) are handled before the next. Dialog
// answers go to the queue the scripted dialogs read. Answers at the very top
// of the script are queued at once, before the program asks its first
// question. A step that fails is traced and reported; the script goes on.

#include <cstddef>
#include <functional>
#include <ostream>

#include "common/automation/script.h"
#include "common/automation/scripted_dialogs.h"
#include "common/platform/event_loop.h"

namespace orva {

class ScriptRunner {
 public:
  enum class EndReason { kQuit, kEnd };

  // `actions` must outlive the runner; handlers may be bound after it is
  // made. `diagnostics` (may be nullptr) receives one line per failed step.
  ScriptRunner(EventLoop& loop, Script script, const ScriptActions& actions, DialogAnswerQueue& answers,
               std::ostream* diagnostics = nullptr);
  ~ScriptRunner();
  ScriptRunner(const ScriptRunner&) = delete;
  ScriptRunner& operator=(const ScriptRunner&) = delete;

  // Called once, after "quit" or after the last step and its trailing wait.
  void OnEnd(std::function<void(EndReason)> end) { end_ = std::move(end); }
  // Queues the leading answers and arms the first step. Once only.
  void Start();
  bool Ended() const { return ended_; }
  // Steps run so far.
  std::size_t StepsRun() const { return next_; }

 private:
  void ArmNext();
  void RunNext();
  void RunStep(const ScriptStep& step);
  void End(EndReason reason);

  EventLoop& loop_;
  Script script_;
  const ScriptActions& actions_;
  DialogAnswerQueue& answers_;
  std::ostream* diagnostics_;
  std::function<void(EndReason)> end_;
  std::size_t next_ = 0;
  TimerId timer_ = kNoTimer;
  bool started_ = false;
  bool ended_ = false;
};

}  // namespace orva
