#include "common/settings/settings.h"

#include "common/automation/trace.h"
#include "common/runtime/vb_error.h"

namespace orva {

const std::string& Settings::SectionPath(std::string_view app, std::string_view section) {
  path_.assign(kVbSettingsKey);
  path_ += '\\';
  path_ += app;
  path_ += '\\';
  path_ += section;
  return path_;
}

std::string Settings::GetSetting(std::string_view app, std::string_view section, std::string_view key,
                                 std::string_view defaultValue) {
  if (app.empty() || section.empty()) return std::string(defaultValue);
  std::uint32_t type = 0;
  if (registry_.GetValue(kHkeyCurrentUser, SectionPath(app, section), key, &type, &data_) != kErrorSuccess ||
      (type != kRegSz && type != kRegExpandSz))
    return std::string(defaultValue);
  // The text ends at its terminating zero.
  const std::size_t end = data_.find('\0');
  return end == std::string::npos ? data_ : data_.substr(0, end);
}

void Settings::SaveSetting(std::string_view app, std::string_view section, std::string_view key,
                           std::string_view value) {
  if (app.empty() || section.empty()) RaiseVbError(vberr::kInvalidCall);
  RegHandle handle = 0;
  if (registry_.CreateKey(kHkeyCurrentUser, SectionPath(app, section), &handle) != kErrorSuccess)
    RaiseVbError(vberr::kInvalidCall);
  RegKey guard(registry_, handle);
  data_.assign(value);
  data_ += '\0';
  if (registry_.SetValue(handle, key, kRegSz, reinterpret_cast<const std::uint8_t*>(data_.data()),
                         static_cast<std::uint32_t>(data_.size())) != kErrorSuccess)
    RaiseVbError(vberr::kInvalidCall);
  TraceEvent("setting", {{"app", app}, {"section", section}, {"key", key}, {"value", value}});
}

void Settings::DeleteSetting(std::string_view app, std::string_view section) {
  if (app.empty() || section.empty()) RaiseVbError(vberr::kInvalidCall);
  if (registry_.DeleteTree(kHkeyCurrentUser, SectionPath(app, section)) != kErrorSuccess)
    RaiseVbError(vberr::kInvalidCall);
  TraceEvent("setting-deleted", {{"app", app}, {"section", section}});
}

void Settings::DeleteSetting(std::string_view app, std::string_view section, std::string_view key) {
  if (app.empty() || section.empty()) RaiseVbError(vberr::kInvalidCall);
  RegHandle handle = 0;
  if (registry_.OpenKey(kHkeyCurrentUser, SectionPath(app, section), kKeyAllAccess, &handle) != kErrorSuccess)
    RaiseVbError(vberr::kInvalidCall);
  RegKey guard(registry_, handle);
  if (registry_.DeleteValue(handle, key) != kErrorSuccess) RaiseVbError(vberr::kInvalidCall);
  TraceEvent("setting-deleted", {{"app", app}, {"section", section}, {"key", key}});
}

}  // namespace orva
