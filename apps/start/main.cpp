// start: starts the installed player through its start-up program (the
// linker), after telling it where the book CD is; falls back to the player
// on the CD. Its only window never shows.
#include <QCoreApplication>
#include <filesystem>

#include "backends/qt/platform/program_bootstrap.h"
#include "backends/qt/platform/store_session.h"
#include "launcher/untrapped.h"
#include "tools/start/start_form.h"

int main(int argc, char** argv) {
  using namespace orva;
  const ProgramSpec spec{"start", "Starts the installed player through its start-up program.",
                         /*takesBook=*/false, /*embedsBrowser=*/false};
  return RunProgram(argc, argv, spec, {}, [](ProgramContext& ctx) {
    ctx.store.ReportFailuresTo([&ctx](const RegistryFailure& f) {
      ctx.dialogs.MsgBox(smart::RuntimeErrorMessage(f.number, f.description), MsgBoxButtons::kOkOnly,
                         MsgBoxIcon::kCritical, start::Form1::kTitle);
    });
    start::Form1 form({ctx.store.settings(), ctx.files, ctx.launcher, ctx.dialogs,
                       QCoreApplication::applicationDirPath().toStdString(),
                       std::filesystem::current_path().string()});
    form.Form_Load();
  });
}
