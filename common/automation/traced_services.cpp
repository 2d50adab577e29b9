#include "common/automation/traced_services.h"

#include <exception>

#include "common/automation/trace.h"
#include "common/runtime/vb_error.h"

namespace orva {
namespace {

// Runs `op`; traces the outcome with `trace(error number, 0 when none)` and
// passes a failure on unchanged.
template <class Op, class Trace>
void Traced(Op&& op, Trace&& trace) {
  try {
    op();
  } catch (...) {
    trace(ErrFromException(std::current_exception()).Number);
    throw;
  }
  trace(0);
}

}  // namespace

const char* ToString(WindowStyle style) {
  switch (style) {
    case WindowStyle::kHide: return "hide";
    case WindowStyle::kNormalFocus: return "normal";
    case WindowStyle::kMinimizedFocus: return "minimized";
    case WindowStyle::kMaximizedFocus: return "maximized";
  }
  return "?";
}

void TracedFileSystem::DeleteFile(const std::string& path) {
  Traced([&] { inner_.DeleteFile(path); },
         [&](int error) {
           TraceEvent("file", {{"op", "delete"}, {"path", path}, {"error", error}});
         });
}

void TracedFileSystem::WriteText(const std::string& path, const std::string& text) {
  Traced([&] { inner_.WriteText(path, text); },
         [&](int error) {
           TraceEvent("file", {{"op", "write"},
                               {"path", path},
                               {"bytes", static_cast<long long>(text.size())},
                               {"error", error}});
         });
}

void TracedProcessLauncher::Start(const std::string& program, const std::vector<std::string>& args,
                                  WindowStyle style) {
  Traced([&] { inner_.Start(program, args, style); },
         [&](int error) {
           TraceEvent("process",
                      {{"program", program}, {"args", args}, {"style", ToString(style)}, {"error", error}});
         });
}

void TracedProcessLauncher::StartCommandLine(const std::string& commandLine, WindowStyle style) {
  Traced(
      [&] { inner_.StartCommandLine(commandLine, style); },
      [&](int error) {
        TraceEvent("process", {{"command_line", commandLine}, {"style", ToString(style)}, {"error", error}});
      });
}

}  // namespace orva
