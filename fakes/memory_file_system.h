#pragma once
// Files and folders in memory, with host ("/") paths. Like the real file
// system layer it resolves a path without regard to letter case when the
// exact name is missing, and lists names sorted by their upper-case form.

#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "common/platform/file_system.h"

namespace orva::fakes {

class MemoryFileSystem : public FileSystem {
 public:
  // Creates the file and every folder above it.
  void AddFile(const std::string& path, std::string content = {});
  void AddFolder(const std::string& path);
  void SetReadOnly(const std::string& path);

  bool FileExists(const std::string& path) const override { return Resolve(path, false).has_value(); }
  bool FolderExists(const std::string& path) const override { return Resolve(path, true).has_value(); }
  std::vector<std::string> SubFolders(const std::string& folder) const override {
    return Children(folder, true);
  }
  std::vector<std::string> Files(const std::string& folder) const override { return Children(folder, false); }
  void DeleteFile(const std::string& path) override;
  std::string ReadText(const std::string& path) const override;
  void WriteText(const std::string& path, const std::string& text) override;

 private:
  std::optional<std::string> Resolve(const std::string& path, bool folder) const;
  std::vector<std::string> Children(const std::string& folder, bool folders) const;

  std::map<std::string, std::optional<std::string>> entries_;  // a file's text; none for a folder
  std::set<std::string> readOnly_;
};

}  // namespace orva::fakes
