#pragma once
// Dialogs answered from a queue the test fills, recording everything shown.
// With no answer queued a dialog gets its first button (or the empty text)
// and is recorded as unanswered, so a forgotten answer cannot hang a test.

#include <deque>
#include <string>
#include <vector>

#include "common/platform/dialogs.h"

namespace orva::fakes {

struct ShownDialog {
  enum class Kind { kMsgBox, kInputBox, kErrorReport } kind;
  std::string title;
  std::string text;  // prompt, or for an error report "<procedure>|<error text>"
  MsgBoxButtons buttons = MsgBoxButtons::kOkOnly;
  MsgBoxIcon icon = MsgBoxIcon::kNone;
  std::string defaultText;
  ErrorReportView report;
  bool answered = false;
};

class RecordingDialogs : public Dialogs {
 public:
  void QueueAnswer(MsgBoxResult answer) { answers_.push_back(answer); }
  void QueueInput(std::string text) { inputs_.push_back(std::move(text)); }

  MsgBoxResult MsgBox(const std::string& prompt, MsgBoxButtons buttons, MsgBoxIcon icon,
                      const std::string& title) override;
  std::string InputBox(const std::string& prompt, const std::string& title,
                       const std::string& defaultText) override;
  void ShowErrorReport(const ErrorReportView& view) override;

  const std::vector<ShownDialog>& Shown() const { return shown_; }
  std::vector<ErrorReportView> ErrorReports() const;
  // "<procedure> / <error number>" of each error report shown: the number
  // from the report's "Codice: " line, or its whole text when it has none.
  std::vector<std::string> ErrorReportCodes() const;
  std::size_t UnusedAnswers() const { return answers_.size() + inputs_.size(); }
  void Clear() { shown_.clear(); }

 private:
  std::deque<MsgBoxResult> answers_;
  std::deque<std::string> inputs_;
  std::vector<ShownDialog> shown_;
};

}  // namespace orva::fakes
