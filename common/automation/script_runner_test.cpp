#include "common/automation/script_runner.h"

#include <gtest/gtest.h>

#include <sstream>

#include "common/automation/testing/captured_trace.h"
#include "common/runtime/vb_error.h"
#include "fakes/virtual_event_loop.h"

namespace orva {
namespace {

using fakes::VirtualEventLoop;
using testing::CapturedTrace;

// What the program under script did, with the virtual time of each deed.
struct Recorder {
  VirtualEventLoop* loop;
  std::vector<std::string> log;
  void Add(const std::string& what) { log.push_back(std::to_string(loop->NowMs()) + " " + what); }
};

class ScriptRunnerTest : public ::testing::Test {
 protected:
  ScriptRunnerTest() {
    actions.Add({"key", "key KEYS", 1, 1, nullptr, [this](const ScriptArgs& a) { rec.Add("key " + a[0]); }});
    actions.Add(
        {"fail", "fail", 0, 0, nullptr, [](const ScriptArgs&) { RaiseVbError(vberr::kFileNotFound); }});
    actions.Add({"later", "later", 0, 0, nullptr, nullptr});  // never bound
    actions.Add({"ask", "ask", 0, 0, nullptr, [this](const ScriptArgs&) {
                   rec.Add("asked " +
                           std::string(dialogs.MsgBox("Uscire?", MsgBoxButtons::kYesNo, MsgBoxIcon::kQuestion,
                                                      "ORVA") == MsgBoxResult::kYes
                                           ? "Yes"
                                           : "No"));
                 }});
  }

  // Parses, starts and runs the script until nothing is left to fire.
  void Play(const std::string& text) {
    runner = std::make_unique<ScriptRunner>(loop, ParseScript(text, "t.script", actions), actions, answers,
                                            &diagnostics);
    runner->OnEnd(
        [this](ScriptRunner::EndReason r) { rec.Add(r == ScriptRunner::EndReason::kQuit ? "quit" : "end"); });
    runner->Start();
    loop.Advance(1'000'000);
  }

  VirtualEventLoop loop;
  Recorder rec{&loop, {}};
  ScriptActions actions;
  DialogAnswerQueue answers;
  ScriptedDialogs dialogs{nullptr, answers, true};
  std::ostringstream diagnostics;
  std::unique_ptr<ScriptRunner> runner;
};

TEST_F(ScriptRunnerTest, RunsEachStepItsWaitAfterThePrevious) {
  Play("wait 2000\nkey Ctrl+2\nkey Ctrl+3\nwait 500\nkey Ctrl+1\nwait 100\n");
  EXPECT_EQ(rec.log,
            (std::vector<std::string>{"2000 key Ctrl+2", "2000 key Ctrl+3", "2500 key Ctrl+1", "2600 end"}));
  EXPECT_EQ(loop.PendingTimers(), 0u);
}

TEST_F(ScriptRunnerTest, LeadingAnswersWaitBeforeTheFirstTimerFires) {
  runner = std::make_unique<ScriptRunner>(
      loop, ParseScript("answer No\ninput \"x\"\nkey A\nanswer Yes", "t", actions), actions, answers);
  runner->Start();
  // A question asked while the program starts finds the first answer.
  EXPECT_EQ(answers.Size(), 2u);
  EXPECT_EQ(runner->StepsRun(), 2u);
  loop.Advance(0);
  EXPECT_EQ(answers.Size(), 3u);
}

TEST_F(ScriptRunnerTest, AnswersReachTheDialogsInOrderUntilQuit) {
  Play("answer No\nask\nwait 5\nanswer Yes\nask\nask\nwait 10\nquit\n");
  // The third question had no answer; headless, it took the first button.
  EXPECT_EQ(rec.log, (std::vector<std::string>{"0 asked No", "5 asked Yes", "5 asked Yes", "15 quit"}));
  EXPECT_TRUE(runner->Ended());
}

TEST_F(ScriptRunnerTest, AFailedStepIsReportedAndTheScriptGoesOn) {
  CapturedTrace trace(&loop);
  Play("fail\nlater\nwait 1\nkey B\n");
  EXPECT_EQ(rec.log, (std::vector<std::string>{"1 key B", "1 end"}));
  EXPECT_NE(diagnostics.str().find("t.script:1: Impossibile trovare il file (53)"), std::string::npos)
      << diagnostics.str();
  EXPECT_NE(diagnostics.str().find("t.script:2: the action \"later\" is not available"), std::string::npos);
  EXPECT_NE(trace.Text().find(R"("ev":"script_error","line":1)"), std::string::npos);
}

TEST_F(ScriptRunnerTest, TracesEveryStepWithItsTime) {
  CapturedTrace trace(&loop);
  Play("answer Yes\nwait 20\nnote \"capitolo 1\"\nkey \"Ctrl+2\"\n");
  const std::vector<std::string> expected = {
      R"({"t":0,"ev":"script_start","file":"t.script","steps":3})",
      R"({"t":0,"ev":"script","line":1,"action":"answer","args":["Yes"]})",
      R"({"t":20,"ev":"script","line":3,"action":"note","args":["capitolo 1"]})",
      R"({"t":20,"ev":"note","text":"capitolo 1"})",
      R"({"t":20,"ev":"script","line":4,"action":"key","args":["Ctrl+2"]})",
      R"({"t":20,"ev":"script_end","reason":"end","unused_answers":1})",
  };
  EXPECT_EQ(trace.Lines(), expected);
}

TEST_F(ScriptRunnerTest, DestroyingTheRunnerCancelsItsTimer) {
  runner =
      std::make_unique<ScriptRunner>(loop, ParseScript("wait 50\nkey A", "t", actions), actions, answers);
  runner->Start();
  EXPECT_EQ(loop.PendingTimers(), 1u);
  runner.reset();
  EXPECT_EQ(loop.PendingTimers(), 0u);
}

}  // namespace
}  // namespace orva
