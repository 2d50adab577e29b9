#pragma once
// Book files named without regard to letter case. Books are made on Windows,
// whose file system ignores case: a page links "Cap02.htm" for the file
// cap02.htm and "Style1.CSS" for style1.css. On a file system that tells
// cases apart, a path is resolved component by component: the exact name
// first, then a name that differs only in case. When several names differ
// only in case, the smallest (in byte order) is taken, so the choice is the
// same every time.
//
// Folder listings are cached and checked against the folder's modification
// time, so a resolved path costs a few system calls and a file created later
// is still found.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "common/platform/file_system.h"

namespace orva {

class CaseInsensitivePaths {
 public:
  // The existing path that `path` names: `path` itself when it exists as
  // written, else the path with each component's letter case as on disk.
  // Nothing when no such file or folder exists.
  std::optional<std::string> Resolve(std::string_view path);
  // As Resolve, but a missing last component is kept as written under its
  // resolved folder (for a file about to be created).
  std::string ResolveForWriting(std::string_view path);
  void Clear() {
    listings_.clear();
    resolved_.clear();
  }

 private:
  struct Listing {
    std::filesystem::file_time_type stamp;
    // Upper-case name -> the names on disk with that upper case, smallest
    // first.
    std::unordered_map<std::string, std::vector<std::string>> byFolded;
  };
  // The entries of `folder` that `name` names without regard to case.
  const std::vector<std::string>* Matches(const std::string& folder, std::string_view name);
  // Resolves components[index...] under `current`; when several entries
  // match a folder's name, each is tried in turn.
  std::optional<std::string> ResolveFrom(const std::string& current,
                                         const std::vector<std::string_view>& components, std::size_t index,
                                         bool keepMissingLast);
  std::optional<std::string> ResolveComponents(std::string_view path, bool keepMissingLast);

  std::unordered_map<std::string, Listing> listings_;
  // Paths resolved before, kept while their result still exists.
  std::unordered_map<std::string, std::string> resolved_;
};

// A file system whose paths are resolved without regard to letter case
// before they reach the one it wraps.
class CaseInsensitiveFileSystem : public FileSystem {
 public:
  explicit CaseInsensitiveFileSystem(FileSystem& inner) : inner_(inner) {}

  bool FileExists(const std::string& path) const override { return inner_.FileExists(Find(path)); }
  bool FolderExists(const std::string& path) const override { return inner_.FolderExists(Find(path)); }
  std::vector<std::string> SubFolders(const std::string& folder) const override {
    return inner_.SubFolders(Find(folder));
  }
  std::vector<std::string> Files(const std::string& folder) const override {
    return inner_.Files(Find(folder));
  }
  void DeleteFile(const std::string& path) override { inner_.DeleteFile(Find(path)); }
  std::string ReadText(const std::string& path) const override { return inner_.ReadText(Find(path)); }
  void WriteText(const std::string& path, const std::string& text) override {
    inner_.WriteText(paths_.ResolveForWriting(path), text);
  }

 private:
  std::string Find(const std::string& path) const { return paths_.Resolve(path).value_or(path); }

  FileSystem& inner_;
  mutable CaseInsensitivePaths paths_;
};

}  // namespace orva
