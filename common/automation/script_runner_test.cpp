#include "common/automation/script_runner.h"

#include <gtest/gtest.h>

#include <sstream>

#include "common/automation/testing/captured_trace.h"
#include "common/automation/traced_services.h"
#include "common/runtime/vb_error.h"
#include "fakes/memory_file_system.h"
#include "fakes/recording_process_launcher.h"
#include "fakes/virtual_event_loop.h"

namespace orva {
namespace {

using fakes::VirtualEventLoop;
using testing::CapturedTrace;

// Records what the program under script did, with the virtual time of each deed.
class ScriptRunnerTest : public ::testing::Test {
 protected:
  ScriptRunnerTest() {
    actions.Add({"key", "key KEYS", 1, 1, nullptr, [this](const ScriptArgs& a) { Log("key " + a[0]); }});
    actions.Add(
        {"fail", "fail", 0, 0, nullptr, [](const ScriptArgs&) { RaiseVbError(vberr::kFileNotFound); }});
    actions.Add({"later", "later", 0, 0, nullptr, nullptr});  // never bound
    actions.Add({"ask", "ask", 0, 0, nullptr, [this](const ScriptArgs&) {
                   Log(std::string("asked ") +
                       ToString(dialogs.MsgBox("?", MsgBoxButtons::kYesNo, MsgBoxIcon::kNone, "")));
                 }});
  }
  void Log(const std::string& what) { log.push_back(std::to_string(loop.NowMs()) + " " + what); }

  // Parses, starts and runs the script until nothing is left to fire.
  void Play(const std::string& text) {
    runner = std::make_unique<ScriptRunner>(loop, ParseScript(text, "t.script", actions), actions, answers,
                                            &diagnostics);
    runner->OnEnd(
        [this](ScriptRunner::EndReason r) { Log(r == ScriptRunner::EndReason::kQuit ? "quit" : "end"); });
    runner->Start();
    loop.Advance(1'000'000);
  }

  VirtualEventLoop loop;
  std::vector<std::string> log;
  ScriptActions actions;
  DialogAnswerQueue answers;
  ScriptedDialogs dialogs{nullptr, answers, true};
  std::ostringstream diagnostics;
  std::unique_ptr<ScriptRunner> runner;
};

TEST_F(ScriptRunnerTest, RunsAndTracesEachStepItsWaitAfterThePrevious) {
  CapturedTrace trace(&loop);
  Play("answer Yes\nwait 2000\nnote \"capitolo 1\"\nkey Ctrl+2\nwait 500\nkey \"Ctrl+1\"\nwait 100\n");
  EXPECT_EQ(log, (std::vector<std::string>{"2000 key Ctrl+2", "2500 key Ctrl+1", "2600 end"}));
  EXPECT_EQ(loop.PendingTimers(), 0u);
  const std::vector<std::string> expected = {
      R"({"t":0,"ev":"script_start","file":"t.script","steps":4})",
      R"({"t":0,"ev":"script","line":1,"action":"answer","args":["Yes"]})",
      R"({"t":2000,"ev":"script","line":3,"action":"note","args":["capitolo 1"]})",
      R"({"t":2000,"ev":"note","text":"capitolo 1"})",
      R"({"t":2000,"ev":"script","line":4,"action":"key","args":["Ctrl+2"]})",
      R"({"t":2500,"ev":"script","line":6,"action":"key","args":["Ctrl+1"]})",
      R"({"t":2600,"ev":"script_end","reason":"end","unused_answers":1})",
  };
  EXPECT_EQ(trace.Lines(), expected);
}

TEST_F(ScriptRunnerTest, AnswersReachTheDialogsInOrderAndAFailedStepIsReportedUntilQuit) {
  CapturedTrace trace(&loop);
  Play("answer No\nask\nfail\nlater\nwait 5\nanswer Yes\nask\nask\nwait 10\nquit\n");
  // The third question had no answer; headless, it took the first button.
  EXPECT_EQ(log, (std::vector<std::string>{"0 asked No", "5 asked Yes", "5 asked Yes", "15 quit"}));
  EXPECT_TRUE(runner->Ended());
  EXPECT_NE(diagnostics.str().find("t.script:3: Impossibile trovare il file (53)"), std::string::npos)
      << diagnostics.str();
  EXPECT_NE(diagnostics.str().find("t.script:4: the action \"later\" is not available"), std::string::npos);
  EXPECT_NE(trace.Text().find(R"("ev":"script_error","line":3)"), std::string::npos);
}

// The reader at a real screen: answers "No" or "typed" and counts calls.
class PersonDialogs : public Dialogs {
 public:
  MsgBoxResult MsgBox(const std::string&, MsgBoxButtons, MsgBoxIcon, const std::string&) override {
    ++calls;
    return MsgBoxResult::kNo;
  }
  std::string InputBox(const std::string&, const std::string&, const std::string&) override {
    ++calls;
    return "typed";
  }
  void ShowErrorReport(const ErrorReportView&) override { ++calls; }
  int calls = 0;
};

TEST(ScriptedDialogs, TakeAFittingAnswerElseAskOrDefault) {
  using B = MsgBoxButtons;
  using R = MsgBoxResult;
  const auto button = [](R b) { return DialogAnswer{7, b, std::nullopt}; };
  const auto text = [](const std::string& t) { return DialogAnswer{7, std::nullopt, t}; };
  const struct {
    const char* name;
    std::vector<DialogAnswer> queued;
    std::optional<B> box;  // none: an input box
    bool headless;
    std::string answer;
    bool scripted, unanswered;
  } cases[] = {
      {"queued answer", {button(R::kNo), button(R::kYes)}, B::kYesNo, false, "No", true, false},
      {"nothing queued asks the reader", {}, B::kYesNo, false, "No", false, false},
      {"headless takes first button", {}, B::kYesNoCancel, true, "Yes", false, true},
      {"button not on the box is dropped", {button(R::kYes)}, B::kOkOnly, true, "OK", false, true},
      {"text for a message box is dropped", {text("x")}, B::kYesNo, false, "No", false, false},
      {"queued text", {text("Capitolo 2")}, std::nullopt, false, "Capitolo 2", true, false},
      {"answer OK keeps the default", {button(R::kOk)}, std::nullopt, false, "pagina 1", true, false},
      {"answer Cancel gives empty", {button(R::kCancel)}, std::nullopt, false, "", true, false},
      {"answer Yes does not fit an input", {button(R::kYes)}, std::nullopt, false, "typed", false, false},
      {"headless input gives empty", {}, std::nullopt, true, "", false, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    CapturedTrace trace;
    PersonDialogs person;
    DialogAnswerQueue queue;
    for (const DialogAnswer& a : c.queued) queue.Push(a);
    ScriptedDialogs dialogs(&person, queue, c.headless);
    EXPECT_EQ(c.box ? ToString(dialogs.MsgBox("Uscire?", *c.box, MsgBoxIcon::kQuestion, "ORVA"))
                    : dialogs.InputBox("Uscire?", "ORVA", "pagina 1"),
              c.answer);
    EXPECT_EQ(person.calls, !c.scripted && !c.unanswered);
    EXPECT_EQ(queue.Size(), c.queued.empty() ? 0 : c.queued.size() - 1);
    EXPECT_NE(trace.Lines().back().find(std::string(R"("kind":")") + (c.box ? "msgbox" : "input") +
                                        R"(","title":"ORVA","text":"Uscire?",)"),
              std::string::npos);
    EXPECT_NE(trace.Lines().back().find(R"("answer":")" + c.answer + R"(","scripted":)" +
                                        (c.scripted ? "true" : "false") + R"(,"unanswered":)" +
                                        (c.unanswered ? "true" : "false")),
              std::string::npos)
        << trace.Text();
    const bool mismatch = trace.Text().find(R"("ev":"script_error","line":7)") != std::string::npos;
    EXPECT_EQ(mismatch, !c.queued.empty() && !c.scripted);
  }
}

TEST(JsonQuote, EscapesWhatJsonRequires) {
  const std::pair<std::string, std::string> cases[] = {
      {"plain", R"("plain")"},   {"a\"b\\c", R"("a\"b\\c")"},
      {"\r\n\t", R"("\r\n\t")"}, {std::string("\x01\x1f", 2), R"("\u0001\u001f")"},
      {"perché", "\"perché\""},  {"bad\xE8", "\"bad\xEF\xBF\xBD\""},  // a Windows-1252 byte is not UTF-8
  };
  for (const auto& [text, json] : cases) EXPECT_EQ(JsonQuote(text), json) << json;
}

TEST(TracedServices, TraceEachFileOperationAndPassFailuresOn) {
  CapturedTrace trace;
  fakes::MemoryFileSystem disk;
  disk.AddFile("/tmp/locked.reg");
  disk.SetReadOnly("/tmp/locked.reg");
  TracedFileSystem files(disk);

  files.WriteText("/tmp/x.reg", "REGEDIT4\r\n");
  EXPECT_THROW(files.DeleteFile("/tmp/locked.reg"), VbError);

  const std::vector<std::string> expected = {
      R"({"t":0,"ev":"file","op":"write","path":"/tmp/x.reg","bytes":10,"error":0})",
      R"({"t":0,"ev":"file","op":"delete","path":"/tmp/locked.reg","error":70})",
  };
  EXPECT_EQ(trace.Lines(), expected);
}

TEST(ScriptedDialogs, ErrorReportLeavesTheQueueAlone) {
  CapturedTrace trace;
  PersonDialogs person;
  DialogAnswerQueue queue;
  queue.Push({7, MsgBoxResult::kYes, std::nullopt});
  const ErrorReportView view{"Segnalazioni", "Prg:", "Playaudio", "Errore!", "Codice: 53", "OK"};
  ScriptedDialogs(&person, queue, false).ShowErrorReport(view);
  ScriptedDialogs(&person, queue, true).ShowErrorReport(view);
  EXPECT_EQ(person.calls, 1);
  EXPECT_EQ(queue.Size(), 1u);
  EXPECT_EQ(
      trace.Lines().back(),
      R"({"t":0,"ev":"dialog","kind":"error","title":"Segnalazioni","procedure":"Playaudio","text":"Codice: 53",)"
      R"("buttons":"OK","icon":"critical","answer":"OK","scripted":false,"unanswered":true})");
}

TEST(TracedServices, TraceEveryProgramStartAndPassFailuresOn) {
  CapturedTrace trace;
  fakes::RecordingProcessLauncher outsideLauncher;
  outsideLauncher.SetMissing("/opt/orva/gone");
  TracedProcessLauncher launcher(outsideLauncher);
  EXPECT_THROW(launcher.Start("/opt/orva/gone", {}, WindowStyle::kMaximizedFocus), VbError);
  launcher.StartCommandLine("xdg-open /cd", WindowStyle::kHide);
  EXPECT_EQ(
      trace.Lines(),
      (std::vector<std::string>{
          R"({"t":0,"ev":"process","program":"/opt/orva/gone","args":[],"style":"maximized","error":53})",
          R"({"t":0,"ev":"process","command_line":"xdg-open /cd","style":"hide","error":0})"}));
}

}  // namespace
}  // namespace orva
