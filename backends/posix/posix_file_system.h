#pragma once
#include "common/platform/file_system.h"

namespace orva {

// The file system of the host, with the old runtime's error numbers:
// 53 file not found, 76 path not found, 70 permission denied, 61 disk full,
// 75 a folder where a file is expected, 57 any other device failure.
class PosixFileSystem : public FileSystem {
 public:
  bool FileExists(const std::string& path) const override;
  bool FolderExists(const std::string& path) const override;
  std::vector<std::string> SubFolders(const std::string& folder) const override;
  std::vector<std::string> Files(const std::string& folder) const override;
  void DeleteFile(const std::string& path) override;
  std::string ReadText(const std::string& path) const override;
  // Writes a temporary file beside the target and renames it over the
  // target, so a reader never sees half a file and a failure (a full disk)
  // leaves the old content whole. An existing file keeps its permissions.
  void WriteText(const std::string& path, const std::string& text) override;
};

}  // namespace orva
