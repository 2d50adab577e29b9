#include "common/platform/path_resolver.h"

#include <algorithm>

#include "common/runtime/text.h"

namespace fs = std::filesystem;

namespace orva {

namespace {

bool Exists(const std::string& path) {
  std::error_code ec;
  return fs::exists(fs::path(path), ec);
}

std::string Join(const std::string& folder, std::string_view name) {
  if (folder.empty()) return std::string(name);
  if (folder.back() == '/') return folder + std::string(name);
  return folder + "/" + std::string(name);
}

}  // namespace

const std::vector<std::string>* CaseInsensitivePaths::Matches(const std::string& folder,
                                                              std::string_view name) {
  const std::string listed = folder.empty() ? "." : folder;
  std::error_code ec;
  const fs::file_time_type stamp = fs::last_write_time(fs::path(listed), ec);
  if (ec) return nullptr;
  auto it = listings_.find(listed);
  if (it == listings_.end() || it->second.stamp != stamp) {
    Listing listing{stamp, {}};
    for (fs::directory_iterator entry(fs::path(listed), ec), end; !ec && entry != end; entry.increment(ec)) {
      std::string entryName = entry->path().filename().string();
      listing.byFolded[UCase(entryName)].push_back(std::move(entryName));
    }
    for (auto& [folded, names] : listing.byFolded) std::sort(names.begin(), names.end());
    it = listings_.insert_or_assign(listed, std::move(listing)).first;
  }
  auto found = it->second.byFolded.find(UCase(name));
  return found == it->second.byFolded.end() ? nullptr : &found->second;
}

std::optional<std::string> CaseInsensitivePaths::ResolveFrom(const std::string& current,
                                                             const std::vector<std::string_view>& components,
                                                             std::size_t index, bool keepMissingLast) {
  if (index == components.size()) return current;
  const std::string_view name = components[index];
  const bool last = index + 1 == components.size();
  std::string exact = Join(current, name);
  if (name == "." || name == ".." || Exists(exact)) {
    if (auto found = ResolveFrom(exact, components, index + 1, keepMissingLast)) return found;
    if (name == "." || name == "..") return std::nullopt;
  }
  if (const std::vector<std::string>* matches = Matches(current, name)) {
    for (const std::string& match : *matches) {
      if (match == name) continue;  // tried above
      if (auto found = ResolveFrom(Join(current, match), components, index + 1, keepMissingLast))
        return found;
    }
  }
  if (last && keepMissingLast) return exact;
  return std::nullopt;
}

std::optional<std::string> CaseInsensitivePaths::ResolveComponents(std::string_view path,
                                                                   bool keepMissingLast) {
  std::vector<std::string_view> components;
  std::size_t pos = 0;
  while (pos <= path.size()) {
    std::size_t end = path.find('/', pos);
    if (end == std::string_view::npos) end = path.size();
    if (end > pos) components.push_back(path.substr(pos, end - pos));
    pos = end + 1;
  }
  std::optional<std::string> found =
      ResolveFrom(path.front() == '/' ? "/" : "", components, 0, keepMissingLast);
  if (found && path.back() == '/' && found->back() != '/') *found += '/';
  return found;
}

std::optional<std::string> CaseInsensitivePaths::Resolve(std::string_view path) {
  if (path.empty()) return std::nullopt;
  std::string asked(path);
  if (Exists(asked)) return asked;
  if (auto known = resolved_.find(asked); known != resolved_.end()) {
    if (Exists(known->second)) return known->second;
    resolved_.erase(known);
  }
  std::optional<std::string> found = ResolveComponents(path, false);
  if (found) {
    if (resolved_.size() > 4096) resolved_.clear();
    resolved_.emplace(std::move(asked), *found);
  }
  return found;
}

std::string CaseInsensitivePaths::ResolveForWriting(std::string_view path) {
  if (path.empty() || Exists(std::string(path))) return std::string(path);
  return ResolveComponents(path, true).value_or(std::string(path));
}

}  // namespace orva
