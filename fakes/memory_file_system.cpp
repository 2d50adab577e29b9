#include "fakes/memory_file_system.h"

#include <algorithm>
#include <filesystem>

#include "common/runtime/text.h"
#include "common/runtime/vb_error.h"

namespace orva::fakes {
namespace {

// A rooted "/" path with "." and ".." resolved, as the system resolves them.
std::string Normalize(std::string path) {
  std::replace(path.begin(), path.end(), '\\', '/');
  std::string out = std::filesystem::path("/" + path).lexically_normal().string();
  if (out.size() > 1 && out.back() == '/') out.pop_back();
  return out;
}

std::string Parent(const std::string& path) {
  const auto slash = path.rfind('/');
  return slash == 0 ? "/" : path.substr(0, slash);
}

std::string Leaf(const std::string& path) { return path.substr(path.rfind('/') + 1); }

const std::string& NameOf(const std::string& folder) { return folder; }
const std::string& NameOf(const std::pair<const std::string, std::string>& file) { return file.first; }

template <class Container>
std::optional<std::string> Resolve(const Container& names, const std::string& raw) {
  const std::string path = Normalize(raw);
  if (names.count(path)) return path;
  const std::string upper = AsciiUpper(path);
  std::optional<std::string> best;
  for (const auto& entry : names) {
    const std::string& name = NameOf(entry);
    if (AsciiUpper(name) == upper && (!best || name < *best)) best = name;
  }
  return best;
}

}  // namespace

void MemoryFileSystem::AddFolder(const std::string& raw) {
  std::string path = Normalize(raw);
  while (path != "/") {
    folders_.insert(path);
    path = Parent(path);
  }
}

void MemoryFileSystem::AddFile(const std::string& raw, std::string content) {
  const std::string path = Normalize(raw);
  AddFolder(Parent(path));
  files_[path] = std::move(content);
}

void MemoryFileSystem::SetReadOnly(const std::string& path) { readOnly_.insert(Normalize(path)); }

std::optional<std::string> MemoryFileSystem::ResolveFile(const std::string& path) const {
  return Resolve(files_, path);
}

std::optional<std::string> MemoryFileSystem::ResolveFolder(const std::string& path) const {
  return Resolve(folders_, path);
}

std::vector<std::string> MemoryFileSystem::Children(const std::string& raw, bool folders) const {
  const auto folder = ResolveFolder(raw);
  if (!folder) throw VbError(vberr::kPathNotFound);
  std::vector<std::string> names;
  auto collect = [&](const std::string& path) {
    if (path != "/" && Parent(path) == *folder) names.push_back(Leaf(path));
  };
  if (folders) {
    for (const auto& f : folders_) collect(f);
  } else {
    for (const auto& [path, content] : files_) collect(path);
  }
  std::stable_sort(names.begin(), names.end(),
                   [](const std::string& a, const std::string& b) { return AsciiUpper(a) < AsciiUpper(b); });
  return names;
}

void MemoryFileSystem::DeleteFile(const std::string& path) {
  const auto file = ResolveFile(path);
  if (!file) throw VbError(vberr::kFileNotFound);
  if (readOnly_.count(*file)) throw VbError(vberr::kPermissionDenied);
  files_.erase(*file);
}

std::string MemoryFileSystem::ReadText(const std::string& path) const {
  const auto file = ResolveFile(path);
  if (!file) throw VbError(vberr::kFileNotFound);
  return files_.at(*file);
}

void MemoryFileSystem::WriteText(const std::string& raw, const std::string& text) {
  const std::string path = ResolveFile(raw).value_or(Normalize(raw));
  if (!ResolveFolder(Parent(path))) throw VbError(vberr::kPathNotFound);
  if (readOnly_.count(path)) throw VbError(vberr::kPermissionDenied);
  files_[path] = text;
}

}  // namespace orva::fakes
