#pragma once
#include <set>
#include <string>
#include <vector>

#include "common/platform/process_launcher.h"
#include "common/runtime/vb_error.h"

namespace orva::fakes {

// Records every program start instead of starting anything. Programs named
// in `SetMissing` fail the way a missing program does (error 53).
class RecordingProcessLauncher : public ProcessLauncher {
 public:
  struct Started {
    std::string program;  // empty for a command line
    std::vector<std::string> args;
    std::string commandLine;
    WindowStyle style;
  };

  void Start(const std::string& program, const std::vector<std::string>& args, WindowStyle style) override {
    if (missing_.count(program)) throw VbError(vberr::kFileNotFound);
    starts_.push_back({program, args, {}, style});
  }
  void StartCommandLine(const std::string& commandLine, WindowStyle style) override {
    starts_.push_back({{}, {}, commandLine, style});
  }
  void SetMissing(const std::string& program) { missing_.insert(program); }

  const std::vector<Started>& Starts() const { return starts_; }

 private:
  std::vector<Started> starts_;
  std::set<std::string> missing_;
};

}  // namespace orva::fakes
