#pragma once
// The CD's small programs trap no errors. Where the old runtime met an
// untrapped error it showed its own message box and ended the program; these
// programs show the same message box and go on, so a program that cannot be
// started or a store that refuses a write never ends them.

#include <functional>
#include <string>

#include "common/platform/dialogs.h"

namespace orva::smart {

// "Errore di run-time '53':" + two line breaks + the description.
std::string RuntimeErrorMessage(int number, const std::string& description);

// Runs `step`; a failure is shown in the runtime's message box (critical
// icon) titled `title`, and the caller goes on.
void RunUntrapped(Dialogs& dialogs, const std::string& title, const std::function<void()>& step);

}  // namespace orva::smart
