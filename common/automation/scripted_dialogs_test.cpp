#include "common/automation/scripted_dialogs.h"

#include <gtest/gtest.h>

#include "common/automation/testing/captured_trace.h"

namespace orva {
namespace {

// The reader at a real screen: answers with fixed choices and counts calls.
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

DialogAnswer Button(MsgBoxResult b) { return {7, b, std::nullopt}; }
DialogAnswer Text(const std::string& t) { return {7, std::nullopt, t}; }

struct MsgBoxCase {
  const char* name;
  std::vector<DialogAnswer> queued;
  MsgBoxButtons buttons;
  bool headless;
  MsgBoxResult expected;
  bool scripted;
  bool unanswered;
  int personCalls;
  std::size_t left;
};

TEST(ScriptedDialogs, MessageBoxTakesFittingAnswerElseAsksOrDefaults) {
  using B = MsgBoxButtons;
  using R = MsgBoxResult;
  const MsgBoxCase cases[] = {
      {"queued answer", {Button(R::kNo), Button(R::kYes)}, B::kYesNo, false, R::kNo, true, false, 0, 1},
      {"queued cancel", {Button(R::kCancel)}, B::kYesNoCancel, true, R::kCancel, true, false, 0, 0},
      {"nothing queued asks the reader", {}, B::kYesNo, false, R::kNo, false, false, 1, 0},
      {"headless takes first button", {}, B::kYesNoCancel, true, R::kYes, false, true, 0, 0},
      {"headless ok box", {}, B::kOkCancel, true, R::kOk, false, true, 0, 0},
      {"button not on the box is dropped", {Button(R::kYes)}, B::kOkOnly, true, R::kOk, false, true, 0, 0},
      {"text for a message box is dropped", {Text("x")}, B::kYesNo, false, R::kNo, false, false, 1, 0},
  };
  for (const MsgBoxCase& c : cases) {
    SCOPED_TRACE(c.name);
    testing::CapturedTrace trace;
    PersonDialogs person;
    DialogAnswerQueue queue;
    for (const DialogAnswer& a : c.queued) queue.Push(a);
    ScriptedDialogs dialogs(&person, queue, c.headless);

    EXPECT_EQ(dialogs.MsgBox("Uscire da ORVA Player?", c.buttons, MsgBoxIcon::kQuestion, "ORVA"), c.expected);
    EXPECT_EQ(person.calls, c.personCalls);
    EXPECT_EQ(queue.Size(), c.left);
    const std::string dialogLine = trace.Lines().back();
    EXPECT_NE(dialogLine.find(std::string(R"("answer":")") + ToString(c.expected) + R"(","scripted":)" +
                              (c.scripted ? "true" : "false") + R"(,"unanswered":)" +
                              (c.unanswered ? "true" : "false")),
              std::string::npos)
        << dialogLine;
    EXPECT_NE(dialogLine.find(R"("kind":"msgbox","title":"ORVA","text":"Uscire da ORVA Player?")"),
              std::string::npos);
    const bool mismatch = trace.Text().find(R"("ev":"script_error","line":7)") != std::string::npos;
    EXPECT_EQ(mismatch, !c.queued.empty() && !c.scripted);
  }
}

struct InputCase {
  const char* name;
  std::vector<DialogAnswer> queued;
  bool headless;
  std::string expected;
  int personCalls;
};

TEST(ScriptedDialogs, InputBoxTakesTextOrOkOrCancel) {
  using R = MsgBoxResult;
  const InputCase cases[] = {
      {"queued text", {Text("Capitolo 2")}, false, "Capitolo 2", 0},
      {"queued empty text", {Text("")}, false, "", 0},
      {"answer OK keeps the default", {Button(R::kOk)}, false, "pagina 1", 0},
      {"answer Cancel gives empty", {Button(R::kCancel)}, false, "", 0},
      {"answer Yes does not fit", {Button(R::kYes)}, false, "typed", 1},
      {"nothing queued asks", {}, false, "typed", 1},
      {"headless gives empty", {}, true, "", 0},
  };
  for (const InputCase& c : cases) {
    SCOPED_TRACE(c.name);
    testing::CapturedTrace trace;
    PersonDialogs person;
    DialogAnswerQueue queue;
    for (const DialogAnswer& a : c.queued) queue.Push(a);
    ScriptedDialogs dialogs(&person, queue, c.headless);
    EXPECT_EQ(dialogs.InputBox("Nome del segnalibro", "Segnalibri", "pagina 1"), c.expected);
    EXPECT_EQ(person.calls, c.personCalls);
    EXPECT_NE(trace.Text().find(
                  R"("kind":"input","title":"Segnalibri","text":"Nome del segnalibro","default":"pagina 1")"),
              std::string::npos);
  }
}

TEST(ScriptedDialogs, ErrorReportLeavesTheQueueAlone) {
  testing::CapturedTrace trace;
  PersonDialogs person;
  DialogAnswerQueue queue;
  queue.Push(Button(MsgBoxResult::kYes));
  ErrorReportView view{"ORVA Player - Segnalazioni",
                       "Prg:",
                       "Form Load - Playaudio",
                       "Errore!",
                       "Impossibile trovare il file\r\nCodice: 53",
                       "OK"};

  ScriptedDialogs shown(&person, queue, false);
  shown.ShowErrorReport(view);
  EXPECT_EQ(person.calls, 1);
  ScriptedDialogs headless(&person, queue, true);
  headless.ShowErrorReport(view);
  EXPECT_EQ(person.calls, 1);
  EXPECT_EQ(queue.Size(), 1u);

  const std::vector<std::string> lines = trace.Lines();
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(
      lines[1],
      R"({"t":0,"ev":"dialog","kind":"error","title":"ORVA Player - Segnalazioni","procedure":"Form Load - Playaudio",)"
      R"("text":"Impossibile trovare il file\r\nCodice: 53","buttons":"OK","icon":"critical","answer":"OK",)"
      R"("scripted":false,"unanswered":true})");
}

}  // namespace
}  // namespace orva
