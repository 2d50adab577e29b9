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
#include "backends/qt/platform/qt_dialogs.h"
#include "backends/qt/platform/qt_event_loop.h"
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
  const bool headless = IsHeadlessPlatform(QApplication::platformName().toStdString());

  // Everything that can be wrong with how the program was called is found
  // before a window or a setting is touched.
  ProgramOptions options;
  std::optional<Script> script;
  std::unique_ptr<TraceSink> traceSink;
  try {
    options = ParseProgramOptions(spec, std::vector<std::string>(argv + (argc > 0 ? 1 : 0), argv + argc));
    if (!options.scriptFile.empty()) script = LoadScript(options.scriptFile, actions);
    if (!options.bookDir.empty()) options.bookDir = BookFolderAt(options.bookDir);
    if (options.traceFile == "-")
      traceSink = MakeStreamTraceSink(std::cout);
    else if (!options.traceFile.empty())
      traceSink = MakeFileTraceSink(options.traceFile);
  } catch (const UsageError& e) {
    const std::string text = spec.name + ": " + e.what() + "\nTry \"" + spec.name + " --help\".";
    std::cerr << text << '\n' << std::flush;
    // A desktop starts the program with no terminal to show standard error:
    // a box is what a screen reader reads. Nobody could answer it on a
    // platform without a display, so there it stays unshown and cannot hold
    // the program.
    if (!headless) QtDialogs().MsgBox(text, MsgBoxButtons::kOkOnly, MsgBoxIcon::kCritical, spec.name);
    return 2;
  } catch (const std::exception& e) {  // ScriptError, or the trace file
    std::cerr << spec.name << ": " << e.what() << '\n';
    return 2;
  }

  QtEventLoop loop;
  InstallTrace(std::move(traceSink), &loop);

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

  ProgramContext ctx(spec, options, app, loop, dialogs, qtDialogs, files, launcher, environment, actions,
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
  if (code == 0 && script) {
    runner = std::make_unique<ScriptRunner>(loop, std::move(*script), actions, answers, &std::cerr);
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
  runner.reset();
  TraceEvent("exit", {{"code", code}});
  InstallTrace(nullptr, nullptr);
  return code;
}

}  // namespace orva
