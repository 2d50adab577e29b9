#pragma once
// The old runtime's settings API: named text values per application and
// section under HKEY_CURRENT_USER\Software\VB and VBA Program Settings. The
// one settings API that all four programs use. A section holding "\" is a
// path of nested keys (each book page's bookmarks sit under its folders).

#include <string>
#include <string_view>

#include "common/settings/registry.h"

namespace orva {

// The key under HKEY_CURRENT_USER that holds every application's settings.
inline constexpr std::string_view kVbSettingsKey = "Software\\VB and VBA Program Settings";

class Settings {
 public:
  explicit Settings(Registry& registry) : registry_(registry) {}

  // The stored text, or `defaultValue` when the application, the section or
  // the key is missing (or the value is not text).
  std::string GetSetting(std::string_view app, std::string_view section, std::string_view key,
                         std::string_view defaultValue = {});
  // Creates the section as needed. Raises VbError 5 when the store refuses.
  void SaveSetting(std::string_view app, std::string_view section, std::string_view key,
                   std::string_view value);
  // Deletes the section with all it holds / one key. Raises VbError 5 when
  // it is missing.
  void DeleteSetting(std::string_view app, std::string_view section);
  void DeleteSetting(std::string_view app, std::string_view section, std::string_view key);

  Registry& registry() { return registry_; }

 private:
  const std::string& SectionPath(std::string_view app, std::string_view section);

  Registry& registry_;
  std::string path_;
  std::string data_;
};

}  // namespace orva
