#include "fakes/scripted_dialogs.h"

#include "common/automation/scripted_dialogs.h"

namespace orva::fakes {

MsgBoxResult ScriptedDialogs::MsgBox(const std::string& prompt, MsgBoxButtons buttons, MsgBoxIcon icon,
                                     const std::string& title) {
  ShownDialog d{ShownDialog::Kind::kMsgBox, title, prompt, buttons, icon, {}, {}, false};
  MsgBoxResult answer = DefaultAnswer(buttons);
  if (!answers_.empty()) {
    answer = answers_.front();
    answers_.pop_front();
    d.answered = true;
  }
  shown_.push_back(std::move(d));
  return answer;
}

std::string ScriptedDialogs::InputBox(const std::string& prompt, const std::string& title,
                                      const std::string& defaultText) {
  ShownDialog d{ShownDialog::Kind::kInputBox,
                title,
                prompt,
                MsgBoxButtons::kOkCancel,
                MsgBoxIcon::kNone,
                defaultText,
                {},
                false};
  std::string answer;
  if (!inputs_.empty()) {
    answer = std::move(inputs_.front());
    inputs_.pop_front();
    d.answered = true;
  }
  shown_.push_back(std::move(d));
  return answer;
}

void ScriptedDialogs::ShowErrorReport(const ErrorReportView& view) {
  ShownDialog d{ShownDialog::Kind::kErrorReport,
                view.caption,
                view.procedure + "|" + view.errorText,
                MsgBoxButtons::kOkOnly,
                MsgBoxIcon::kCritical,
                {},
                view,
                true};
  shown_.push_back(std::move(d));
}

std::vector<ErrorReportView> ScriptedDialogs::ErrorReports() const {
  std::vector<ErrorReportView> out;
  for (const auto& d : shown_)
    if (d.kind == ShownDialog::Kind::kErrorReport) out.push_back(d.report);
  return out;
}

std::vector<std::string> ScriptedDialogs::ErrorReportCodes() const {
  std::vector<std::string> out;
  for (const ErrorReportView& r : ErrorReports()) {
    const auto code = r.errorText.rfind("Codice: ");
    out.push_back(r.procedure + " / " +
                  (code == std::string::npos ? r.errorText : r.errorText.substr(code + 8)));
  }
  return out;
}

}  // namespace orva::fakes
