#pragma once
// What every program does before and after its own windows: answers --help,
// sets up the web engine's process flags, makes the application (which takes
// Qt's own options), reads the rest of the command line, opens the trace,
// reads the script (a bad command line, script or trace stops the program
// with exit code 2 before a window or a setting is touched), makes the real
// platform services (traced, and with dialogs the script can answer), opens
// the settings store, lets the program build its windows, plays the script,
// runs the event loop and, at the end, commits the store and lets the
// program's parts go.
//
//   int main(int argc, char** argv) {
//     ScriptActions actions;
//     actions.Add({"key", "key KEYS  (press keys)", 1, 1, CheckKeys, nullptr});
//     return RunProgram(argc, argv, kSpec, std::move(actions), [](ProgramContext& ctx) {
//       MainWindow& window = ctx.Keep(std::make_unique<MainWindow>(ctx.store.settings(), ctx...));
//       ctx.store.ReportFailuresTo([&window](const RegistryFailure& f) { window.ShowError(f); });
//       ctx.actions.Bind("key", [&window](const ScriptArgs& a) { window.PressKeys(a[0]); });
//       window.show();
//       ctx.KeepRunning();
//     });
//   }

#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "common/automation/program_options.h"
#include "common/automation/script.h"

class QApplication;

namespace orva {

class EventLoop;
class Dialogs;
class StoreSession;
class FileSystem;
class ProcessLauncher;
class Environment;

// Made by RunProgram for the build function.
class ProgramContext {
 public:
  ProgramContext(const ProgramSpec& spec_, const ProgramOptions& options_, QApplication& app_,
                 EventLoop& loop_, Dialogs& dialogs_, FileSystem& files_, ProcessLauncher& launcher_,
                 Environment& environment_, StoreSession& store_, ScriptActions& actions_, bool headless_,
                 std::ostream& diagnostics_)
      : spec(spec_),
        options(options_),
        app(app_),
        loop(loop_),
        dialogs(dialogs_),
        files(files_),
        launcher(launcher_),
        environment(environment_),
        store(store_),
        actions(actions_),
        headless(headless_),
        diagnostics(diagnostics_) {}
  ProgramContext(const ProgramContext&) = delete;
  ProgramContext& operator=(const ProgramContext&) = delete;

  const ProgramSpec& spec;
  const ProgramOptions& options;
  QApplication& app;
  EventLoop& loop;
  // Answers from the script when it has one queued; traced.
  Dialogs& dialogs;
  FileSystem& files;          // writes and deletes traced
  ProcessLauncher& launcher;  // starts traced
  Environment& environment;
  // The settings store, committed after each handled event and at the end;
  // the program names the error report its failures go to.
  StoreSession& store;
  // Handlers of the program's own script actions may be bound here.
  ScriptActions& actions;
  // True when nobody can see or answer a window (offscreen platform).
  bool headless;
  // Standard error: diagnostics such as error reports, one line each.
  std::ostream& diagnostics;

  // Keeps the program running after the build function returns, until Quit
  // or until the last window closes. Without it (and without a script) the
  // program ends as soon as it is built.
  void KeepRunning() { keepRunning_ = true; }
  // What the script's "quit" and its end do; by default, Quit(0).
  void SetQuitHandler(std::function<void()> handler) { quitHandler_ = std::move(handler); }
  // Ends the event loop with `code` (or, before it runs, keeps it from running).
  void Quit(int code = 0);
  // A line on standard error ("<program>: text") and a "notice" in the trace.
  void Notice(const std::string& text);

  // Keeps a part of the program (its windows and what they run on) until
  // the event loop has ended and the store's last commit has been reported;
  // the parts then go, the last kept first, while the application exists.
  template <class T>
  T& Keep(std::unique_ptr<T> part) {
    T& kept = *part;
    kept_.push_back(std::shared_ptr<void>(std::move(part)));
    return kept;
  }

 private:
  friend int RunProgram(int, char**, const ProgramSpec&, ScriptActions,
                        const std::function<void(ProgramContext&)>&);
  bool keepRunning_ = false;
  bool quitBeforeLoop_ = false;
  bool loopRunning_ = false;
  int quitCode_ = 0;
  std::function<void()> quitHandler_;
  std::vector<std::shared_ptr<void>> kept_;
};

// Runs a program as described above and returns its exit code: 0 after
// --help or a normal end, 2 for a command line, script, trace or book folder
// it cannot use, 1 when the program could not be built. A command line it
// cannot use is said on standard error and, when there is a display, in a
// message box as well.
int RunProgram(int argc, char** argv, const ProgramSpec& spec, ScriptActions actions,
               const std::function<void(ProgramContext&)>& build);

}  // namespace orva
