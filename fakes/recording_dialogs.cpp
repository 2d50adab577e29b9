#include "fakes/recording_dialogs.h"

#include "common/automation/scripted_dialogs.h"

namespace orva::fakes {

MsgBoxResult RecordingDialogs::MsgBox(const std::string& prompt, MsgBoxButtons buttons, MsgBoxIcon icon,
                                      const std::string& title) {
  shown_.push_back({ShownDialog::Kind::kMsgBox, title, prompt, buttons, icon, {}, {}, !answers_.empty()});
  if (answers_.empty()) return DefaultAnswer(buttons);
  const MsgBoxResult answer = answers_.front();
  answers_.pop_front();
  return answer;
}

std::string RecordingDialogs::InputBox(const std::string& prompt, const std::string& title,
                                       const std::string& defaultText) {
  shown_.push_back({ShownDialog::Kind::kInputBox, title, prompt, MsgBoxButtons::kOkCancel, MsgBoxIcon::kNone,
                    defaultText, ErrorReportView(), !inputs_.empty()});
  if (inputs_.empty()) return {};
  std::string answer = std::move(inputs_.front());
  inputs_.pop_front();
  return answer;
}

void RecordingDialogs::ShowErrorReport(const ErrorReportView& view) {
  shown_.push_back({ShownDialog::Kind::kErrorReport, view.caption, view.procedure + "|" + view.errorText,
                    MsgBoxButtons::kOkOnly, MsgBoxIcon::kCritical, std::string(), view, true});
}

std::vector<ErrorReportView> RecordingDialogs::ErrorReports() const {
  std::vector<ErrorReportView> out;
  for (const auto& d : shown_)
    if (d.kind == ShownDialog::Kind::kErrorReport) out.push_back(d.report);
  return out;
}

std::vector<std::string> RecordingDialogs::ErrorReportCodes() const {
  std::vector<std::string> out;
  for (const ErrorReportView& r : ErrorReports()) {
    const auto code = r.errorText.rfind("Codice: ");
    out.push_back(r.procedure + " / " +
                  (code == std::string::npos ? r.errorText : r.errorText.substr(code + 8)));
  }
  return out;
}

}  // namespace orva::fakes
