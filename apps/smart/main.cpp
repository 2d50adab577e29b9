// smart: the launcher on the book's CD. It decides whether to install the
// player, start it from the hard disk or from the CD, ask the reader, or
// open the book folder, shows the small window that says so, and ends when
// the last of its windows has closed.
#include <QApplication>
#include <filesystem>
#include <memory>

#include "backends/qt/launcher/qt_launcher_windows.h"
#include "backends/qt/platform/program_bootstrap.h"
#include "backends/qt/platform/store_session.h"
#include "launcher/launcher.h"
#include "launcher/script_actions.h"
#include "launcher/untrapped.h"

namespace {

using namespace orva;

// Everything the launcher runs on.
struct SmartProgram {
  explicit SmartProgram(ProgramContext& ctx)
      : launcher(
            {ctx.store.registry(), ctx.files, ctx.environment, ctx.launcher, ctx.dialogs, ctx.loop,
             QCoreApplication::applicationDirPath().toStdString(), std::filesystem::current_path().string()},
            &views) {}

  QtLauncherViews views;
  smart::Launcher launcher;
};

}  // namespace

int main(int argc, char** argv) {
  const ProgramSpec spec{"smart",
                         "The CD launcher: installs the player, or starts it from the CD or the hard disk.",
                         /*takesBook=*/false, /*embedsBrowser=*/false};
  ScriptActions actions;
  smart::AddLauncherScriptActions(actions);
  return RunProgram(argc, argv, spec, std::move(actions), [](ProgramContext& ctx) {
    ctx.store.ReportFailuresTo([&ctx](const RegistryFailure& f) {
      ctx.dialogs.MsgBox(smart::RuntimeErrorMessage(f.number, f.description), MsgBoxButtons::kOkOnly,
                         MsgBoxIcon::kCritical, smart::kSmartTitle);
    });
    // The launcher ends by itself when its last window closes; a window
    // closing in between (the choice window giving way to the CD start)
    // must not end it.
    QApplication::setQuitOnLastWindowClosed(false);
    SmartProgram& p = ctx.Keep(std::make_unique<SmartProgram>(ctx));
    smart::BindLauncherScriptActions(ctx.actions, p.launcher, {});
    // A script that ends or quits leaves the launcher to finish its windows.
    ctx.SetQuitHandler([&ctx, &p] {
      if (p.launcher.Ended()) ctx.Quit(0);
    });
    p.launcher.OnEnded([&ctx] { ctx.Quit(0); });
    p.launcher.Run();
    ctx.KeepRunning();
  });
}
