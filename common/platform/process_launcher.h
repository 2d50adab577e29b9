#pragma once
#include <string>
#include <vector>

namespace orva {

// The window style a started program is asked to use (the old vbXxx values).
enum class WindowStyle { kHide = 0, kNormalFocus = 1, kMinimizedFocus = 2, kMaximizedFocus = 3 };

// Starts programs without waiting for them. Arguments go to the program as
// they are; only StartCommandLine involves a shell, and only for the command
// lines the system's own data defines as such (the installer's).
class ProcessLauncher {
 public:
  virtual ~ProcessLauncher() = default;
  // Throws VbError 53 when the program cannot be started.
  virtual void Start(const std::string& program, const std::vector<std::string>& args, WindowStyle style) = 0;
  virtual void StartCommandLine(const std::string& commandLine, WindowStyle style) = 0;
};

}  // namespace orva
