#pragma once
// Where the core's paths meet the host's. The core handles addresses and
// paths as text, the way the books were made on Windows: "file:///" removed,
// "/" made "\", "%20" made a blank. On Windows that text is already a path.
// On Linux this layer maps it:
//
//   - every "\" becomes "/";
//   - a path that then starts with "/" is absolute as it stands;
//   - a file address loses its leading "/" with "file:///" (file:///home/anna
//     becomes home\anna), so a relative path whose first folder exists at the
//     root of the file system ("home", "media", "tmp", ...) stands for that
//     absolute path;
//   - any other relative path (a bare audio name, "audio\cap01.mp3") stays
//     relative to the current folder, as on Windows.
//
// The program folder reaches the core as "\" text (/home/anna/Storia Antica
// is \home\anna\Storia Antica), so every path the core builds from it maps
// back here unchanged, blanks included.

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/platform/file_system.h"

namespace orva {

// The core's text for a host folder: "/" made "\".
std::string CoreFolderFromHost(std::string_view hostFolder);

// `name` in the core folder `folder`, with one "\" between them.
std::string JoinCorePath(std::string_view folder, std::string_view name);

// The host path for a core path. `rootFolderExists` answers whether a folder
// of that name exists directly under "/".
std::string HostPathFromCore(std::string_view corePath,
                             const std::function<bool(const std::string&)>& rootFolderExists);

// For an address the core gives the browser: the host path when it is a
// path rather than an address (no scheme, or a drive letter), otherwise
// nothing. A "file:" address is left to NormaliseFileAddress.
std::optional<std::string> AddressAsCorePath(std::string_view address);

// A "file:" address with the slashes after the scheme made exactly three
// ("file:////home/x" from a "\"-rooted folder is file:///home/x) and "\"
// made "/". Other addresses come back unchanged.
std::string NormaliseFileAddress(std::string_view address);

// A file system that takes core paths and hands host paths to the one it
// wraps. Listings and contents pass through unchanged.
class HostPathFileSystem : public FileSystem {
 public:
  explicit HostPathFileSystem(FileSystem& host) : host_(host) {}

  std::string ToHost(std::string_view corePath) const;

  bool FileExists(const std::string& path) const override { return host_.FileExists(ToHost(path)); }
  bool FolderExists(const std::string& path) const override { return host_.FolderExists(ToHost(path)); }
  std::vector<std::string> SubFolders(const std::string& folder) const override {
    return host_.SubFolders(ToHost(folder));
  }
  std::vector<std::string> Files(const std::string& folder) const override {
    return host_.Files(ToHost(folder));
  }
  void DeleteFile(const std::string& path) override { host_.DeleteFile(ToHost(path)); }
  std::string ReadText(const std::string& path) const override { return host_.ReadText(ToHost(path)); }
  void WriteText(const std::string& path, const std::string& text) override {
    host_.WriteText(ToHost(path), text);
  }

 private:
  FileSystem& host_;
};

}  // namespace orva
