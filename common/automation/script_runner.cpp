#include "common/automation/script_runner.h"

#include <exception>

#include "common/automation/trace.h"
#include "common/runtime/vb_error.h"

namespace orva {

ScriptRunner::ScriptRunner(EventLoop& loop, Script script, const ScriptActions& actions,
                           DialogAnswerQueue& answers, std::ostream* diagnostics)
    : loop_(loop),
      script_(std::move(script)),
      actions_(actions),
      answers_(answers),
      diagnostics_(diagnostics) {}

ScriptRunner::~ScriptRunner() {
  if (timer_ != kNoTimer) loop_.StopTimer(timer_);
}

void ScriptRunner::Start() {
  if (started_) return;
  started_ = true;
  TraceEvent("script_start",
             {{"file", script_.file}, {"steps", static_cast<long long>(script_.steps.size())}});
  // The program may ask a question while it starts, before the loop runs any
  // timer: the answers the script gives first must already be waiting.
  while (next_ < script_.steps.size()) {
    const ScriptStep& step = script_.steps[next_];
    const bool answer = step.kind == ScriptStepKind::kAnswer || step.kind == ScriptStepKind::kInput;
    if (!answer || step.delayMs != 0) break;
    ++next_;
    RunStep(step);
  }
  ArmNext();
}

void ScriptRunner::ArmNext() {
  const int delay = next_ < script_.steps.size() ? script_.steps[next_].delayMs : script_.trailingDelayMs;
  timer_ = loop_.StartTimer(delay, [this] {
    timer_ = kNoTimer;
    RunNext();
  });
}

void ScriptRunner::RunNext() {
  if (ended_) return;
  if (next_ >= script_.steps.size()) {
    End(EndReason::kEnd);
    return;
  }
  const ScriptStep& step = script_.steps[next_++];
  RunStep(step);
  if (step.kind == ScriptStepKind::kQuit) {
    End(EndReason::kQuit);
    return;
  }
  // A step may pump events and end the script from inside (a nested quit).
  if (!ended_) ArmNext();
}

void ScriptRunner::RunStep(const ScriptStep& step) {
  TraceEvent("script", {{"line", step.line}, {"action", step.action}, {"args", step.args}});
  switch (step.kind) {
    case ScriptStepKind::kAnswer: answers_.Push({step.line, step.answer, std::nullopt}); return;
    case ScriptStepKind::kInput: answers_.Push({step.line, std::nullopt, step.args.at(0)}); return;
    case ScriptStepKind::kNote: TraceEvent("note", {{"text", step.args.at(0)}}); return;
    case ScriptStepKind::kQuit: return;
    case ScriptStepKind::kAction: break;
  }
  std::string failure;
  const ScriptActionSpec* spec = actions_.Find(step.action);
  if (!spec || !spec->run) {
    failure = "the action \"" + step.action + "\" is not available in this program yet";
  } else {
    try {
      spec->run(step.args);
    } catch (...) {
      const ErrObject err = ErrFromException(std::current_exception());
      failure = err.Description + " (" + std::to_string(err.Number) + ")";
    }
  }
  if (failure.empty()) return;
  TraceEvent("script_error", {{"line", step.line}, {"message", failure}});
  if (diagnostics_) *diagnostics_ << script_.file << ':' << step.line << ": " << failure << '\n';
}

void ScriptRunner::End(EndReason reason) {
  if (ended_) return;
  ended_ = true;
  if (timer_ != kNoTimer) {
    loop_.StopTimer(timer_);
    timer_ = kNoTimer;
  }
  TraceEvent("script_end", {{"reason", reason == EndReason::kQuit ? "quit" : "end"},
                            {"unused_answers", static_cast<long long>(answers_.Size())}});
  if (end_) end_(reason);
}

}  // namespace orva
