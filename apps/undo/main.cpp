// undo: takes back the launcher's remembered choice, so that the next run
// without a linker asks again. Its only window never shows.
#include "backends/qt/platform/program_bootstrap.h"
#include "backends/qt/platform/store_session.h"
#include "launcher/untrapped.h"
#include "tools/undo/undo_form.h"

int main(int argc, char** argv) {
  using namespace orva;
  const ProgramSpec spec{"undo", "Resets the choices the CD launcher remembers.", /*takesBook=*/false,
                         /*embedsBrowser=*/false};
  return RunProgram(argc, argv, spec, {}, [](ProgramContext& ctx) {
    ctx.store.ReportFailuresTo([&ctx](const RegistryFailure& f) {
      ctx.dialogs.MsgBox(smart::RuntimeErrorMessage(f.number, f.description), MsgBoxButtons::kOkOnly,
                         MsgBoxIcon::kCritical, undo::Form1::kTitle);
    });
    undo::Form1(ctx.store.settings(), ctx.dialogs).Form_Load();
  });
}
