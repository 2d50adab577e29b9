#pragma once
// Decorators that put what a program does to the outside world on the trace:
// files written and deleted, programs started. The programs wrap their real
// services in these; the services themselves stay unaware of tracing.

#include <string>
#include <vector>

#include "common/platform/file_system.h"
#include "common/platform/process_launcher.h"

namespace orva {

// Traces "file" events for writes and deletes; reads and queries pass through.
class TracedFileSystem : public FileSystem {
 public:
  explicit TracedFileSystem(FileSystem& inner) : inner_(inner) {}

  bool FileExists(const std::string& path) const override { return inner_.FileExists(path); }
  bool FolderExists(const std::string& path) const override { return inner_.FolderExists(path); }
  std::vector<std::string> SubFolders(const std::string& folder) const override {
    return inner_.SubFolders(folder);
  }
  std::vector<std::string> Files(const std::string& folder) const override { return inner_.Files(folder); }
  std::string ReadText(const std::string& path) const override { return inner_.ReadText(path); }
  void DeleteFile(const std::string& path) override;
  void WriteText(const std::string& path, const std::string& text) override;

 private:
  FileSystem& inner_;
};

// Traces a "process" event for every start, successful or not.
class TracedProcessLauncher : public ProcessLauncher {
 public:
  explicit TracedProcessLauncher(ProcessLauncher& inner) : inner_(inner) {}
  void Start(const std::string& program, const std::vector<std::string>& args, WindowStyle style) override;
  void StartCommandLine(const std::string& commandLine, WindowStyle style) override;

 private:
  ProcessLauncher& inner_;
};

const char* ToString(WindowStyle style);

}  // namespace orva
