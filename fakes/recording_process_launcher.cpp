#include "fakes/recording_process_launcher.h"

#include "common/runtime/vb_error.h"

namespace orva::fakes {

void RecordingProcessLauncher::Start(const std::string& program, const std::vector<std::string>& args,
                                     WindowStyle style) {
  if (missing_.count(program)) throw VbError(vberr::kFileNotFound);
  starts_.push_back({program, args, {}, style});
}

void RecordingProcessLauncher::StartCommandLine(const std::string& commandLine, WindowStyle style) {
  starts_.push_back({{}, {}, commandLine, style});
}

}  // namespace orva::fakes
