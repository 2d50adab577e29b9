#pragma once
#include "common/platform/process_launcher.h"

namespace orva {

// Starts programs with posix_spawn: the arguments reach the program as they
// are, with no shell in between; only StartCommandLine runs /bin/sh -c. The
// started program gets its own session (it outlives this one, as a program
// started from a desktop does) and none of our open files. Nobody waits for
// it; a helper thread per child collects its exit status so no zombie
// remains. The window style has no meaning here and is ignored.
class PosixProcessLauncher : public ProcessLauncher {
 public:
  // VbError 53 when the program is missing, 70 when it may not be run.
  void Start(const std::string& program, const std::vector<std::string>& args, WindowStyle style) override;
  void StartCommandLine(const std::string& commandLine, WindowStyle style) override;
};

}  // namespace orva
