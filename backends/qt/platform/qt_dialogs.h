#pragma once
// The modal dialogs of the Qt programs: message box, input box and the error
// report window, each with accessible names on the window and its controls.

#include "common/platform/dialogs.h"

class QWidget;

namespace orva {

class QtDialogs : public Dialogs {
 public:
  // Dialogs are centred on `parent` when given.
  explicit QtDialogs(QWidget* parent = nullptr) : parent_(parent) {}

  MsgBoxResult MsgBox(const std::string& prompt, MsgBoxButtons buttons, MsgBoxIcon icon,
                      const std::string& title) override;
  std::string InputBox(const std::string& prompt, const std::string& title,
                       const std::string& defaultText) override;
  void ShowErrorReport(const ErrorReportView& view) override;

 private:
  QWidget* parent_;
};

}  // namespace orva
