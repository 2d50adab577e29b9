#include "player/bookmarks/bookmark_store.h"

#include <algorithm>

#include "common/runtime/text.h"

namespace orva {

std::string BookmarkStore::Key(int n, std::string_view suffix) {
  std::string key = std::to_string(n);
  key += suffix;
  return key;
}

std::string BookmarkStore::Position(std::string_view section, int n, std::string_view defaultValue) {
  return settings_.GetSetting(app_, section, Key(n), defaultValue);
}
std::string BookmarkStore::Name(std::string_view section, int n, std::string_view defaultValue) {
  return settings_.GetSetting(app_, section, Key(n, kNameSuffix), defaultValue);
}
std::string BookmarkStore::Audio(std::string_view section, int n, std::string_view defaultValue) {
  return settings_.GetSetting(app_, section, Key(n, kAudioSuffix), defaultValue);
}

void BookmarkStore::SavePosition(std::string_view section, int n, std::string_view value) {
  settings_.SaveSetting(app_, section, Key(n), value);
}
void BookmarkStore::SaveName(std::string_view section, int n, std::string_view value) {
  settings_.SaveSetting(app_, section, Key(n, kNameSuffix), value);
}
void BookmarkStore::SaveAudio(std::string_view section, int n, std::string_view value) {
  settings_.SaveSetting(app_, section, Key(n, kAudioSuffix), value);
}

void BookmarkStore::DeletePosition(std::string_view section, int n) {
  settings_.DeleteSetting(app_, section, Key(n));
}
void BookmarkStore::DeleteName(std::string_view section, int n) {
  settings_.DeleteSetting(app_, section, Key(n, kNameSuffix));
}
void BookmarkStore::DeleteAudio(std::string_view section, int n) {
  settings_.DeleteSetting(app_, section, Key(n, kAudioSuffix));
}
void BookmarkStore::DeleteSection(std::string_view section) { settings_.DeleteSetting(app_, section); }

namespace {

// The bookmark number of a name value's name: decimal digits as the store
// writes them (no sign, no leading zero) followed by "NOME" in any case, so
// exactly the names a read of n & "NOME" would find. 0 for anything else.
int NameValueNumber(std::string_view valueName) {
  if (valueName.size() <= kNameSuffix.size()) return 0;
  const std::string_view digits = valueName.substr(0, valueName.size() - kNameSuffix.size());
  if (!EqualsNoCase(valueName.substr(digits.size()), kNameSuffix)) return 0;
  if (digits.size() > 3 || digits.front() == '0') return 0;
  int n = 0;
  for (char c : digits) {
    if (c < '0' || c > '9') return 0;
    n = n * 10 + (c - '0');
  }
  return n <= kMaxBookmarks ? n : 0;
}

}  // namespace

std::vector<int> BookmarkStore::NumbersWithName(std::string_view section) {
  std::vector<int> numbers;
  if (section.empty() || app_.empty()) return numbers;
  Registry& registry = settings_.registry();
  std::string path(kVbSettingsKey);
  path += '\\';
  path += app_;
  path += '\\';
  path += section;
  RegHandle handle = 0;
  if (registry.OpenKey(kHkeyCurrentUser, path, kKeyRead, &handle) != kErrorSuccess) return numbers;
  RegKey guard(registry, handle);
  std::string valueName;
  for (std::uint32_t i = 0;; ++i) {
    std::uint32_t type = 0;
    std::uint32_t size = 0;
    const RegStatus rc = registry.EnumValue(handle, i, &valueName, &type, nullptr, &size);
    if (rc != kErrorSuccess && rc != kErrorMoreData) break;
    if (const int n = NameValueNumber(valueName)) numbers.push_back(n);
  }
  std::sort(numbers.begin(), numbers.end());
  numbers.erase(std::unique(numbers.begin(), numbers.end()), numbers.end());
  return numbers;
}

}  // namespace orva
