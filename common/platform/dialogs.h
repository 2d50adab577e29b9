#pragma once
#include <string>

namespace orva {

// Values as the old runtime numbered them, so scripts and traces can name them.
enum class MsgBoxButtons { kOkOnly = 0, kOkCancel = 1, kYesNoCancel = 3, kYesNo = 4 };
enum class MsgBoxIcon { kNone = 0, kCritical = 16, kQuestion = 32, kExclamation = 48, kInformation = 64 };
enum class MsgBoxResult { kOk = 1, kCancel = 2, kYes = 6, kNo = 7 };

const char* ToString(MsgBoxButtons b);
const char* ToString(MsgBoxIcon i);
const char* ToString(MsgBoxResult r);
// Accepts the names ToString gives, in any letter case; false when unknown.
bool ParseMsgBoxResult(const std::string& text, MsgBoxResult* out);

// What the error report window shows; filled by its core model.
struct ErrorReportView {
  std::string caption;
  std::string procedureTitle;  // "Prg:"
  std::string procedure;
  std::string errorTitle;  // "Errore!"
  std::string errorText;   // may hold a line break
  std::string okCaption;   // "OK"
};

// Modal dialogs. Each call blocks until the reader answers.
class Dialogs {
 public:
  virtual ~Dialogs() = default;
  virtual MsgBoxResult MsgBox(const std::string& prompt, MsgBoxButtons buttons, MsgBoxIcon icon,
                              const std::string& title) = 0;
  // The text typed, or the empty text when the reader cancels.
  virtual std::string InputBox(const std::string& prompt, const std::string& title,
                               const std::string& defaultText) = 0;
  // Shows the error report window modally until OK is pressed.
  virtual void ShowErrorReport(const ErrorReportView& view) = 0;
};

}  // namespace orva
