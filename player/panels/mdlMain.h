#pragma once
// The general module: the one error report that every handler of the player
// uses when it traps a failure.

#include <functional>
#include <ostream>
#include <string>

#include "common/runtime/vb_error.h"

namespace orva {

class Dialogs;

class MdlMain {
 public:
  // Each report is also written as one line to `diagnostics` (standard error
  // in the programs); pass nullptr for none.
  explicit MdlMain(Dialogs& dialogs, std::ostream* diagnostics);

  // Shows a new frmErrore modally with the procedure name and, when
  // `message` is empty, the description and number of `current`. A failure
  // while showing the report is swallowed: the report must never end the
  // program.
  void MostraErrore(const std::string& procedure, const std::string& message, const ErrObject& current);

  // Raised with the error's text as one sentence ("Errore! ...") just before
  // the report shows, for the program's own voice; may be empty. A failure
  // here does not keep the report from showing.
  std::function<void(const std::string& text)> Shown;

 private:
  Dialogs& dialogs_;
  std::ostream* diagnostics_;
};

}  // namespace orva
