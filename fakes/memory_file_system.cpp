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

}  // namespace

void MemoryFileSystem::AddFolder(const std::string& raw) {
  for (std::string path = Normalize(raw); path != "/"; path = Parent(path)) entries_.try_emplace(path);
}

void MemoryFileSystem::AddFile(const std::string& raw, std::string content) {
  const std::string path = Normalize(raw);
  AddFolder(Parent(path));
  entries_[path] = std::move(content);
}

void MemoryFileSystem::SetReadOnly(const std::string& path) { readOnly_.insert(Normalize(path)); }

// The exact name, else the smallest name equal but for letter case.
std::optional<std::string> MemoryFileSystem::Resolve(const std::string& raw, bool folder) const {
  const std::string path = Normalize(raw);
  if (folder && path == "/") return path;
  const auto exact = entries_.find(path);
  if (exact != entries_.end() && exact->second.has_value() != folder) return path;
  for (const auto& [name, content] : entries_) {
    if (content.has_value() != folder && AsciiUpper(name) == AsciiUpper(path)) return name;
  }
  return std::nullopt;
}

std::vector<std::string> MemoryFileSystem::Children(const std::string& raw, bool folders) const {
  const auto folder = Resolve(raw, true);
  if (!folder) throw VbError(vberr::kPathNotFound);
  std::vector<std::string> names;
  for (const auto& [path, content] : entries_) {
    if (content.has_value() != folders && Parent(path) == *folder)
      names.push_back(path.substr(path.rfind('/') + 1));
  }
  std::stable_sort(names.begin(), names.end(),
                   [](const std::string& a, const std::string& b) { return AsciiUpper(a) < AsciiUpper(b); });
  return names;
}

void MemoryFileSystem::DeleteFile(const std::string& path) {
  const auto file = Resolve(path, false);
  if (!file) throw VbError(vberr::kFileNotFound);
  if (readOnly_.count(*file)) throw VbError(vberr::kPermissionDenied);
  entries_.erase(*file);
}

std::string MemoryFileSystem::ReadText(const std::string& path) const {
  const auto file = Resolve(path, false);
  if (!file) throw VbError(vberr::kFileNotFound);
  return *entries_.at(*file);
}

void MemoryFileSystem::WriteText(const std::string& raw, const std::string& text) {
  const std::string path = Resolve(raw, false).value_or(Normalize(raw));
  if (!Resolve(Parent(path), true)) throw VbError(vberr::kPathNotFound);
  if (readOnly_.count(path)) throw VbError(vberr::kPermissionDenied);
  entries_[path] = text;
}

}  // namespace orva::fakes
