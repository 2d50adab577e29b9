// smart: the launcher on the book's CD. It decides whether to install the
// player, start it from the hard disk or from the CD, ask the reader, or
// open the book folder, shows the small window that says so, and ends when
// the last of its windows has closed.
#include <QApplication>
#include <QObject>
#include <filesystem>
#include <memory>

#include "backends/qt/launcher/qt_launcher_windows.h"
#include "backends/qt/platform/program_bootstrap.h"
#include "backends/sqlite_registry/sqlite_registry.h"
#include "launcher/launcher.h"
#include "launcher/script_actions.h"
#include "launcher/untrapped.h"

namespace {

using namespace orva;

// Everything the launcher runs on. It goes before the application and its
// event loop do.
struct SmartProgram {
  explicit SmartProgram(ProgramContext& ctx)
      : registry(RegistryPathsFromEnvironment(&ctx.environment),
                 [&ctx](const RegistryFailure& f) {
                   ctx.dialogs.MsgBox(smart::RuntimeErrorMessage(f.number, f.description),
                                      MsgBoxButtons::kOkOnly, MsgBoxIcon::kCritical, smart::kSmartTitle);
                 }),
        views([this] { registry.Commit(); }),
        launcher(
            {registry, ctx.files, ctx.environment, ctx.launcher, ctx.dialogs, ctx.loop,
             QCoreApplication::applicationDirPath().toStdString(), std::filesystem::current_path().string()},
            &views) {}

  SqliteRegistry registry;
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
  std::unique_ptr<SmartProgram> program;
  const int code = RunProgram(argc, argv, spec, std::move(actions), [&program](ProgramContext& ctx) {
    // The launcher ends by itself when its last window closes; a window
    // closing in between (the choice window giving way to the CD start)
    // must not end it.
    QApplication::setQuitOnLastWindowClosed(false);
    program = std::make_unique<SmartProgram>(ctx);
    SmartProgram& p = *program;
    smart::BindLauncherScriptActions(ctx.actions, p.launcher, [&p] { p.registry.Commit(); });
    // A script that ends or quits leaves the launcher to finish its windows.
    ctx.SetQuitHandler([&ctx, &p] {
      if (p.launcher.Ended()) ctx.Quit(0);
    });
    p.launcher.OnEnded([&ctx, &p] {
      p.registry.Commit();
      ctx.Quit(0);
    });
    QObject::connect(&ctx.app, &QCoreApplication::aboutToQuit, [&program] { program.reset(); });
    p.launcher.Run();
    p.registry.Commit();
    if (p.launcher.Ended()) {
      program.reset();
    } else {
      ctx.KeepRunning();
    }
  });
  return code;
}
