#include "launcher/untrapped.h"

#include <exception>

#include "common/runtime/vb_error.h"

namespace orva::smart {

std::string RuntimeErrorMessage(int number, const std::string& description) {
  return "Errore di run-time '" + std::to_string(number) + "':\r\n\r\n" + description;
}

void RunUntrapped(Dialogs& dialogs, const std::string& title, const std::function<void()>& step) {
  try {
    step();
  } catch (...) {
    const ErrObject err = ErrFromException(std::current_exception());
    dialogs.MsgBox(RuntimeErrorMessage(err.Number, err.Description), MsgBoxButtons::kOkOnly,
                   MsgBoxIcon::kCritical, title);
  }
}

}  // namespace orva::smart
