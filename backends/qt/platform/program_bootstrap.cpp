#include "backends/qt/platform/program_bootstrap.h"

#include <unistd.h>

#include <QApplication>
#include <algorithm>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <iostream>
#include <memory>
#include <optional>

#include "backends/posix/posix_environment.h"
#include "backends/posix/posix_file_system.h"
#include "backends/posix/posix_process_launcher.h"
#include "backends/qt/platform/accessible_line_edit.h"
#include "backends/qt/platform/qt_dialogs.h"
#include "backends/qt/platform/qt_event_loop.h"
#include "backends/qt/platform/store_session.h"
#include "common/automation/script_runner.h"
#include "common/automation/scripted_dialogs.h"
#include "common/automation/trace.h"
#include "common/automation/trace_events.h"
#include "common/automation/traced_services.h"
#include "common/runtime/vb_error.h"

namespace orva {
namespace {

bool IsHeadlessPlatform(const std::string& platform) {
  return platform == "offscreen" || platform == "minimal" || platform == "vnc";
}

// A render node is what the web engine's GPU process needs; without one, or
// when nothing is displayed, it must not try.
bool HasUsableGpu() {
  const char* platform = std::getenv("QT_QPA_PLATFORM");
  if (platform && IsHeadlessPlatform(platform)) return false;
  std::error_code ec;
  for (const auto& entry : std::filesystem::directory_iterator("/dev/dri", ec))
    if (entry.path().filename().string().rfind("renderD", 0) == 0) return true;
  return false;
}

void PrepareBrowserProcess() {
  const char* flags = std::getenv("QTWEBENGINE_CHROMIUM_FLAGS");
  const BrowserProcessSettings settings =
      BrowserSettingsFor(geteuid() == 0, HasUsableGpu(), flags ? flags : "");
  if (settings.disableSandbox) setenv("QTWEBENGINE_DISABLE_SANDBOX", "1", 1);
  // The book's pages reach a screen reader only when the web engine is told
  // to build their accessibility tree on Linux; without it a page is one
  // nameless object. A value the reader set is kept.
  setenv("QTWEBENGINE_ENABLE_LINUX_ACCESSIBILITY", "1", 0);
  if (!settings.chromiumFlags.empty())
    setenv("QTWEBENGINE_CHROMIUM_FLAGS", settings.chromiumFlags.c_str(), 1);
}

// The folder of the book at `path`: the folder itself, or the folder of a
// page of the book, as a desktop's "Open with" passes either.
std::string BookFolderAt(const std::string& path) {
  std::error_code ec;
  if (std::filesystem::is_directory(path, ec)) return path;
  if (std::filesystem::is_regular_file(path, ec)) {
    const std::filesystem::path folder = std::filesystem::path(path).parent_path();
    return folder.empty() ? "." : folder.string();
  }
  throw UsageError("no book at " + path + ": no such folder or page");
}

// Whether Qt may find a screen. Without one (in a console, over a plain
// remote shell) it aborts while the application is being made.
bool DisplayPossible(const std::vector<std::string>& args) {
  for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
    const char* value = std::getenv(name);
    if (value && *value) return true;
  }
  return std::find(args.begin(), args.end(), "-platform") != args.end() ||
         std::find(args.begin(), args.end(), "--platform") != args.end();
}

// What the command line asks of this run.
struct Invocation {
  ProgramOptions options;
  std::optional<Script> script;
  std::unique_ptr<TraceSink> traceSink;
};

// Everything that can be wrong with how the program was called is found
// here, before a window or a setting is touched; nothing when it is wrong,
// after saying why on standard error and, where someone can answer it, in a
// message box.
std::optional<Invocation> ReadInvocation(const ProgramSpec& spec, const std::vector<std::string>& args,
                                         const ScriptActions& actions, bool mayShowBox) {
  Invocation run;
  try {
    run.options = ParseProgramOptions(spec, args);
    if (!run.options.scriptFile.empty()) run.script = LoadScript(run.options.scriptFile, actions);
    if (!run.options.bookDir.empty()) run.options.bookDir = BookFolderAt(run.options.bookDir);
    if (run.options.traceFile == "-")
      run.traceSink = MakeStreamTraceSink(std::cout);
    else if (!run.options.traceFile.empty())
      run.traceSink = MakeFileTraceSink(run.options.traceFile);
    return run;
  } catch (const UsageError& e) {
    const std::string text = spec.name + ": " + e.what() + "\nTry \"" + spec.name + " --help\".";
    std::cerr << text << '\n' << std::flush;
    // A desktop starts the program with no terminal to show standard error:
    // a box is what a screen reader reads.
    if (mayShowBox) QtDialogs().MsgBox(text, MsgBoxButtons::kOkOnly, MsgBoxIcon::kCritical, spec.name);
  } catch (const std::exception& e) {  // ScriptError, or the trace file
    std::cerr << spec.name << ": " << e.what() << '\n';
  }
  return std::nullopt;
}

}  // namespace

void ProgramContext::Quit(int code) {
  if (!loopRunning_) {
    quitBeforeLoop_ = true;
    quitCode_ = code;
    return;
  }
  QCoreApplication::exit(code);
}

void ProgramContext::Notice(const std::string& text) {
  diagnostics << spec.name << ": " << text << '\n' << std::flush;
  TraceNotice(text);
}

int RunProgram(int argc, char** argv, const ProgramSpec& spec, ScriptActions actions,
               const std::function<void(ProgramContext&)>& build) {
  // --help needs no display, so it is answered before the application
  // (which cannot start without one) exists.
  const std::vector<std::string> given(argv + (argc > 0 ? 1 : 0), argv + argc);
  if (std::find(given.begin(), given.end(), "--help") != given.end() ||
      std::find(given.begin(), given.end(), "-h") != given.end()) {
    std::cout << ProgramUsage(spec, actions);
    return 0;
  }

  // Without a display Qt would abort before a wrong command line could be
  // said, and none of Qt's own options could help it start: all of the
  // command line is then this program's, read before the application.
  std::optional<Invocation> run;
  if (!DisplayPossible(given)) {
    run = ReadInvocation(spec, given, actions, /*mayShowBox=*/false);
    if (!run) return 2;
  }

  if (spec.embedsBrowser) {
    PrepareBrowserProcess();
    // The web engine shares its GL context with the widgets; it must be
    // said before the application exists.
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
  }

  // Qt takes its own options (-platform, -style, ...) out of argc and argv;
  // the rest is this program's.
  QApplication app(argc, argv);
  QApplication::setApplicationName(QString::fromStdString(spec.name));
  // Before any window: a screen reader must read every text field whole.
  InstallLineEditAccessibility();
  const bool headless = IsHeadlessPlatform(QApplication::platformName().toStdString());

  // Nobody could answer a box on a platform without a display, so there it
  // stays unshown and cannot hold the program.
  if (!run)
    run = ReadInvocation(spec, std::vector<std::string>(argv + (argc > 0 ? 1 : 0), argv + argc), actions,
                         /*mayShowBox=*/!headless);
  if (!run) return 2;
  const ProgramOptions& options = run->options;

  QtEventLoop loop;
  InstallTrace(std::move(run->traceSink), &loop);

  PosixFileSystem realFiles;
  TracedFileSystem files(realFiles);
  PosixProcessLauncher realLauncher;
  TracedProcessLauncher launcher(realLauncher);
  PosixEnvironment environment;
  QtDialogs qtDialogs;
  DialogAnswerQueue answers;
  ScriptedDialogs dialogs(&qtDialogs, answers, headless, &std::cerr);

  TraceEvent("start", {{"program", spec.name},
                       {"script", options.scriptFile},
                       {"book", options.bookDir},
                       {"platform", QApplication::platformName().toStdString()},
                       {"headless", headless}});

  // Failures no report can take any more are still said. It ends before
  // the trace does, with the last of them.
  std::optional<StoreSession> store;
  store.emplace(SqliteStoreOf(environment), [&spec](const std::string& line) {
    std::cerr << spec.name << ": " << line << '\n' << std::flush;
    TraceNotice(line);
  });

  ProgramContext ctx(spec, options, app, loop, dialogs, files, launcher, environment, *store, actions,
                     headless, std::cerr);
  int code = 0;
  try {
    build(ctx);
  } catch (...) {
    const ErrObject err = ErrFromException(std::current_exception());
    ctx.Notice("cannot start: " + err.Description + " (" + std::to_string(err.Number) + ")");
    code = 1;
  }

  std::unique_ptr<ScriptRunner> runner;
  if (code == 0 && run->script) {
    runner = std::make_unique<ScriptRunner>(loop, std::move(*run->script), actions, answers, &std::cerr);
    runner->OnEnd([&ctx](ScriptRunner::EndReason) {
      if (ctx.quitHandler_)
        ctx.quitHandler_();
      else
        ctx.Quit(0);
    });
    runner->Start();
  }
  if (code == 0 && ctx.quitBeforeLoop_) {
    code = ctx.quitCode_;
  } else if (code == 0 && (runner || ctx.keepRunning_)) {
    ctx.loopRunning_ = true;
    code = QApplication::exec();
    ctx.loopRunning_ = false;
  }
  store->Finish();
  runner.reset();
  while (!ctx.kept_.empty()) ctx.kept_.pop_back();
  store.reset();
  TraceEvent("exit", {{"code", code}});
  InstallTrace(nullptr, nullptr);
  return code;
}

}  // namespace orva
