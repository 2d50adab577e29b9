#include "common/platform/host_paths.h"

#include <algorithm>

#include "common/runtime/text.h"

namespace orva {

namespace {

std::string Swap(std::string_view s, char from, char to) {
  std::string out(s);
  std::replace(out.begin(), out.end(), from, to);
  return out;
}

bool StartsWithDrive(std::string_view s) {
  return s.size() >= 2 && std::isalpha(static_cast<unsigned char>(s[0])) && s[1] == ':';
}

// The scheme of an address ("file", "about", "http"), empty when it has none.
std::string_view SchemeOf(std::string_view address) {
  const std::size_t colon = address.find(':');
  if (colon == std::string_view::npos || colon < 2) return {};  // "C:" is a drive
  for (std::size_t i = 0; i < colon; ++i) {
    const unsigned char c = static_cast<unsigned char>(address[i]);
    if (!(std::isalnum(c) || c == '+' || c == '-' || c == '.')) return {};
  }
  return address.substr(0, colon);
}

}  // namespace

std::string CoreFolderFromHost(std::string_view hostFolder) { return Swap(hostFolder, '/', '\\'); }

std::string JoinCorePath(std::string_view folder, std::string_view name) {
  if (folder.empty()) return std::string(name);
  return std::string(folder) + (folder.back() == '\\' ? "" : "\\") + std::string(name);
}

std::string HostPathFromCore(std::string_view corePath,
                             const std::function<bool(const std::string&)>& rootFolderExists) {
  std::string path = Swap(corePath, '\\', '/');
  if (path.empty() || path.front() == '/' || StartsWithDrive(path)) return path;
  const std::size_t slash = path.find('/');
  if (slash == std::string::npos || slash == 0) return path;
  if (rootFolderExists && rootFolderExists("/" + path.substr(0, slash))) return "/" + path;
  return path;
}

std::optional<std::string> AddressAsCorePath(std::string_view address) {
  if (address.empty()) return std::nullopt;
  if (!SchemeOf(address).empty()) return std::nullopt;
  return std::string(address);
}

std::string NormaliseFileAddress(std::string_view address) {
  const std::string_view scheme = SchemeOf(address);
  if (!AsciiEqualsNoCase(scheme, "file")) return std::string(address);
  std::string rest = Swap(address.substr(5), '\\', '/');
  const std::size_t firstNonSlash = rest.find_first_not_of('/');
  if (firstNonSlash == std::string::npos) return "file:///";
  // file://host/share keeps its host; anything rooted gets exactly three.
  if (firstNonSlash == 2) return "file:" + rest;
  return "file:///" + rest.substr(firstNonSlash);
}

std::string HostPathFileSystem::ToHost(std::string_view corePath) const {
  return HostPathFromCore(corePath, [this](const std::string& folder) { return host_.FolderExists(folder); });
}

}  // namespace orva
