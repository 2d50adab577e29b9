#pragma once
// The error report window: a procedure line and an error line under fixed
// titles, and an OK button. A new instance is made for every report.

#include <string>

#include "common/platform/dialogs.h"

namespace orva {

class FrmErrore {
 public:
  static constexpr const char* kCaption = "ORVA Player - Segnalazioni";
  static constexpr const char* kLabel2 = "Prg:";
  static constexpr const char* kLabel1 = "Errore!";
  static constexpr const char* kOkCaption = "OK";

  std::string lblFunzione;
  std::string lblErrore;

  ErrorReportView View() const { return {kCaption, kLabel2, lblFunzione, kLabel1, lblErrore, kOkCaption}; }
  // Shows the window modally; returns when OK has closed it.
  void ShowModal(Dialogs& dialogs) const { dialogs.ShowErrorReport(View()); }
};

}  // namespace orva
