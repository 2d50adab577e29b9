#pragma once
// Dialogs that a script can answer. The script runner queues the answers of
// its "answer" and "input" lines; each message box or input box takes the
// answer at the front of the queue. With none queued the real dialog asks the
// reader, or, when the program runs headless and nobody could answer, the
// dialog takes its default (the first button; the empty text) so a run never
// hangs. Every dialog is traced as a "dialog" event with its answer.

#include <cstddef>
#include <deque>
#include <optional>
#include <ostream>
#include <string>

#include "common/platform/dialogs.h"

namespace orva {

struct DialogAnswer {
  int line = 0;  // the script line that gave it
  // Exactly one of the two is set: a button ("answer Yes") or a text ("input …").
  std::optional<MsgBoxResult> button;
  std::optional<std::string> text;
};

class DialogAnswerQueue {
 public:
  void Push(DialogAnswer answer) { answers_.push_back(std::move(answer)); }
  std::optional<DialogAnswer> Pop();
  bool Empty() const { return answers_.empty(); }
  std::size_t Size() const { return answers_.size(); }

 private:
  std::deque<DialogAnswer> answers_;
};

// The button a message box gives when nobody answers: its first one.
MsgBoxResult DefaultAnswer(MsgBoxButtons buttons);
// Whether the message box shows that button.
bool HasButton(MsgBoxButtons buttons, MsgBoxResult button);

class ScriptedDialogs : public Dialogs {
 public:
  // `real` asks the reader; it may be nullptr, and is never used when
  // `headless` is true. A queued answer that does not fit the dialog (a text
  // for a message box, "No" for an OK box) is dropped, reported as a
  // "script_error" event and to `diagnostics` (may be nullptr), and the
  // dialog goes on as if none was queued.
  ScriptedDialogs(Dialogs* real, DialogAnswerQueue& answers, bool headless,
                  std::ostream* diagnostics = nullptr);

  MsgBoxResult MsgBox(const std::string& prompt, MsgBoxButtons buttons, MsgBoxIcon icon,
                      const std::string& title) override;
  // "answer OK" gives the default text, "answer Cancel" the empty text.
  std::string InputBox(const std::string& prompt, const std::string& title,
                       const std::string& defaultText) override;
  // The error report never takes a queued answer: it can appear at any
  // moment, and taking an answer meant for a later question would shift
  // every answer after it. Headless, it is closed at once.
  void ShowErrorReport(const ErrorReportView& view) override;

 private:
  void Mismatch(const DialogAnswer& answer, const std::string& what);

  Dialogs* real_;
  DialogAnswerQueue& answers_;
  bool headless_;
  std::ostream* diagnostics_;
};

}  // namespace orva
