#pragma once
// Form1 of the undo utility (caption "Form1"): it never shows. Its load
// takes back the launcher's remembered "Non ricordarmelo più" choice, so the
// next run of the launcher without a linker asks again.

#include "common/platform/dialogs.h"
#include "common/settings/settings.h"

namespace orva::undo {

class Form1 {
 public:
  static constexpr const char* kCaption = "Form1";
  // The title of the message box shown when the store refuses the write.
  static constexpr const char* kTitle = "undo";

  Form1(Settings& settings, Dialogs& dialogs) : settings_(settings), dialogs_(dialogs) {}

  void Form_Load();

 private:
  Settings& settings_;
  Dialogs& dialogs_;
};

}  // namespace orva::undo
