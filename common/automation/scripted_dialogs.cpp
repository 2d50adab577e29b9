#include "common/automation/scripted_dialogs.h"

#include "common/automation/trace.h"

namespace orva {

std::optional<DialogAnswer> DialogAnswerQueue::Pop() {
  if (answers_.empty()) return std::nullopt;
  DialogAnswer front = std::move(answers_.front());
  answers_.pop_front();
  return front;
}

MsgBoxResult DefaultAnswer(MsgBoxButtons buttons) {
  switch (buttons) {
    case MsgBoxButtons::kOkOnly:
    case MsgBoxButtons::kOkCancel: return MsgBoxResult::kOk;
    case MsgBoxButtons::kYesNoCancel:
    case MsgBoxButtons::kYesNo: return MsgBoxResult::kYes;
  }
  return MsgBoxResult::kOk;
}

bool HasButton(MsgBoxButtons buttons, MsgBoxResult button) {
  switch (buttons) {
    case MsgBoxButtons::kOkOnly: return button == MsgBoxResult::kOk;
    case MsgBoxButtons::kOkCancel: return button == MsgBoxResult::kOk || button == MsgBoxResult::kCancel;
    case MsgBoxButtons::kYesNoCancel: return button != MsgBoxResult::kOk;
    case MsgBoxButtons::kYesNo: return button == MsgBoxResult::kYes || button == MsgBoxResult::kNo;
  }
  return false;
}

ScriptedDialogs::ScriptedDialogs(Dialogs* real, DialogAnswerQueue& answers, bool headless,
                                 std::ostream* diagnostics)
    : real_(real), answers_(answers), headless_(headless), diagnostics_(diagnostics) {}

void ScriptedDialogs::Mismatch(const DialogAnswer& answer, const std::string& what) {
  const std::string given = answer.button ? std::string("answer ") + ToString(*answer.button)
                                          : "input \"" + answer.text.value_or("") + "\"";
  const std::string message = given + " does not fit " + what;
  TraceEvent("script_error", {{"line", answer.line}, {"message", message}});
  if (diagnostics_) *diagnostics_ << "script line " << answer.line << ": " << message << '\n';
}

MsgBoxResult ScriptedDialogs::MsgBox(const std::string& prompt, MsgBoxButtons buttons, MsgBoxIcon icon,
                                     const std::string& title) {
  std::optional<MsgBoxResult> result;
  bool scripted = false;
  if (std::optional<DialogAnswer> queued = answers_.Pop()) {
    if (queued->button && HasButton(buttons, *queued->button)) {
      result = queued->button;
      scripted = true;
    } else {
      Mismatch(*queued, std::string("a message box with the buttons ") + ToString(buttons));
    }
  }
  const bool unanswered = !result && (headless_ || !real_);
  if (!result) result = unanswered ? DefaultAnswer(buttons) : real_->MsgBox(prompt, buttons, icon, title);
  TraceEvent("dialog", {{"kind", "msgbox"},
                        {"title", title},
                        {"text", prompt},
                        {"buttons", ToString(buttons)},
                        {"icon", ToString(icon)},
                        {"answer", ToString(*result)},
                        {"scripted", scripted},
                        {"unanswered", unanswered}});
  return *result;
}

std::string ScriptedDialogs::InputBox(const std::string& prompt, const std::string& title,
                                      const std::string& defaultText) {
  std::optional<std::string> result;
  bool scripted = false;
  if (std::optional<DialogAnswer> queued = answers_.Pop()) {
    if (queued->text) {
      result = queued->text;
    } else if (queued->button == MsgBoxResult::kOk) {
      result = defaultText;
    } else if (queued->button == MsgBoxResult::kCancel) {
      result = std::string();
    } else {
      Mismatch(*queued, "an input box");
    }
    scripted = result.has_value();
  }
  const bool unanswered = !result && (headless_ || !real_);
  if (!result) result = unanswered ? std::string() : real_->InputBox(prompt, title, defaultText);
  TraceEvent("dialog", {{"kind", "input"},
                        {"title", title},
                        {"text", prompt},
                        {"default", defaultText},
                        {"buttons", ToString(MsgBoxButtons::kOkCancel)},
                        {"icon", ToString(MsgBoxIcon::kNone)},
                        {"answer", *result},
                        {"scripted", scripted},
                        {"unanswered", unanswered}});
  return *result;
}

void ScriptedDialogs::ShowErrorReport(const ErrorReportView& view) {
  const bool unanswered = headless_ || !real_;
  // Traced before it shows: a report that cannot be shown is still on record.
  TraceEvent("dialog", {{"kind", "error"},
                        {"title", view.caption},
                        {"procedure", view.procedure},
                        {"text", view.errorText},
                        {"buttons", ToString(MsgBoxButtons::kOkOnly)},
                        {"icon", ToString(MsgBoxIcon::kCritical)},
                        {"answer", ToString(MsgBoxResult::kOk)},
                        {"scripted", false},
                        {"unanswered", unanswered}});
  if (!unanswered) real_->ShowErrorReport(view);
}

}  // namespace orva
