#pragma once
// The command line every program shares: --help, --trace FILE, --script FILE
// and, for the player, --book PATH, --audio MODE or the book's path alone (a
// desktop's "Open with" passes a folder or a page). The toolkit's own options
// have been taken out before these are read. Nothing else is accepted, so a
// mistyped option stops the program instead of being ignored.

#include <stdexcept>
#include <string>
#include <vector>

namespace orva {

class ScriptActions;

struct ProgramSpec {
  std::string name;            // "OrvaPlayer"; also the name messages begin with
  std::string summary;         // one line for --help
  bool takesBook = false;      // accepts --book PATH, --audio MODE and a book's path alone
  bool embedsBrowser = false;  // runs the web engine: needs the sandbox and GPU settings
};

struct ProgramOptions {
  bool help = false;
  std::string traceFile;   // empty: no trace
  std::string scriptFile;  // empty: no script
  // As given: a book folder or a page of the book (its folder is the book);
  // empty: the book beside the program.
  std::string bookDir;
  // The player's sound output: "device" (the default), "null" (played in
  // real time, heard by nobody) or "fast" (nothing heard, decoded as fast as
  // the machine can: a headless walk of a book takes seconds).
  std::string audio;
};

// A command line the program cannot use; what() says why.
class UsageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// `args` without the program name. Accepts "--opt VALUE" and "--opt=VALUE".
ProgramOptions ParseProgramOptions(const ProgramSpec& spec, const std::vector<std::string>& args);

// The --help text, with the script actions the program accepts.
std::string ProgramUsage(const ProgramSpec& spec, const ScriptActions& actions);

// How the embedded web engine must be started on this machine. As root its
// sandbox cannot start; without a GPU it must not try to use one.
struct BrowserProcessSettings {
  bool disableSandbox = false;  // QTWEBENGINE_DISABLE_SANDBOX=1
  std::string chromiumFlags;    // the new QTWEBENGINE_CHROMIUM_FLAGS
};
BrowserProcessSettings BrowserSettingsFor(bool runningAsRoot, bool hasGpu, const std::string& currentFlags);

}  // namespace orva
