#include "common/settings/registry.h"

#include <array>
#include <utility>

#include "common/runtime/text.h"

namespace orva {
namespace {

struct RootEntry {
  RegHandle handle;
  std::string_view name;
  std::string_view shortName;
};

constexpr std::array<RootEntry, 5> kRoots{{
    {kHkeyClassesRoot, "HKEY_CLASSES_ROOT", "HKCR"},
    {kHkeyCurrentUser, "HKEY_CURRENT_USER", "HKCU"},
    {kHkeyLocalMachine, "HKEY_LOCAL_MACHINE", "HKLM"},
    {kHkeyUsers, "HKEY_USERS", "HKU"},
    {kHkeyCurrentConfig, "HKEY_CURRENT_CONFIG", "HKCC"},
}};

}  // namespace

std::string_view RootName(RegHandle root) {
  for (const RootEntry& r : kRoots)
    if (r.handle == root) return r.name;
  return {};
}

RegHandle RootFromName(std::string_view name) {
  for (const RootEntry& r : kRoots)
    if (AsciiEqualsNoCase(name, r.name) || AsciiEqualsNoCase(name, r.shortName)) return r.handle;
  return 0;
}

RegStatus Registry::GetValue(RegHandle parent, std::string_view subKey, std::string_view name,
                             std::uint32_t* type, std::string* data) {
  RegHandle key = 0;
  RegStatus rc = OpenKey(parent, subKey, kKeyQueryValue, &key);
  if (rc != kErrorSuccess) return rc;
  std::uint32_t size = 0;
  rc = QueryValue(key, name, type, nullptr, &size);
  if (rc == kErrorSuccess && data) {
    data->assign(size, '\0');
    rc = QueryValue(key, name, type, reinterpret_cast<std::uint8_t*>(data->data()), &size);
    data->resize(size);
  }
  CloseKey(key);
  return rc;
}

RegKey& RegKey::operator=(RegKey&& other) noexcept {
  if (this != &other) {
    Close();
    registry_ = std::exchange(other.registry_, nullptr);
    handle_ = other.handle_;
  }
  return *this;
}

void RegKey::Close() {
  if (registry_) registry_->CloseKey(handle_);
  registry_ = nullptr;
}

}  // namespace orva
