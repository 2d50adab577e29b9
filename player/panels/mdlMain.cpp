#include "player/panels/mdlMain.h"

#include "common/automation/trace.h"
#include "common/platform/dialogs.h"
#include "common/runtime/text.h"
#include "player/panels/frmErrore.h"

namespace orva {

MdlMain::MdlMain(Dialogs& dialogs, std::ostream* diagnostics)
    : dialogs_(dialogs), diagnostics_(diagnostics) {}

void MdlMain::MostraErrore(const std::string& procedure, const std::string& message,
                           const ErrObject& current) {
  // Nothing here may throw to the caller: the failing handler must still be
  // able to end normally, and a broken report window must not end the program.
  try {
    FrmErrore form;
    form.lblFunzione = procedure;
    form.lblErrore = message.empty()
                         ? current.Description + "\r\n" + "Codice: " + std::to_string(current.Number)
                         : message;
    if (diagnostics_) {
      std::string oneLine = form.lblErrore;
      for (char& c : oneLine)
        if (c == '\r' || c == '\n') c = ' ';
      *diagnostics_ << "OrvaPlayer: " << procedure << ": " << oneLine << '\n' << std::flush;
    }
    TraceEvent("error-report", {{"procedure", procedure}, {"text", form.lblErrore}});
    if (Shown) {
      try {
        // A pause where the report breaks its lines.
        std::string spoken = Replace(form.lblErrore, "\r\n", ". ");
        for (char& c : spoken)
          if (c == '\r' || c == '\n') c = ' ';
        Shown(std::string(FrmErrore::kLabel1) + " " + spoken);
      } catch (...) {
      }
    }
    form.ShowModal(dialogs_);
  } catch (...) {
  }
}

}  // namespace orva
