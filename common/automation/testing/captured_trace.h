#pragma once
// For tests: a trace captured in memory.

#include <sstream>
#include <string>
#include <vector>

#include "common/automation/trace.h"
#include "common/platform/clock.h"

namespace orva::testing {

// Installs a trace into a string for the life of the object.
class CapturedTrace {
 public:
  explicit CapturedTrace(const Clock* clock = nullptr) { InstallTrace(MakeStreamTraceSink(out_), clock); }
  ~CapturedTrace() { InstallTrace(nullptr, nullptr); }
  std::vector<std::string> Lines() const {
    std::vector<std::string> lines;
    std::istringstream in(out_.str());
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
  }
  std::string Text() const { return out_.str(); }

 private:
  std::ostringstream out_;
};

}  // namespace orva::testing
