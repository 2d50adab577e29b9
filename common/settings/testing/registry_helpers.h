#pragma once
// Short ways for tests to write and read a registry, and a store in memory
// that refuses chosen value names.

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "common/settings/memory_registry.h"

namespace orva::testing {

// Writes a text value, creating its key.
inline void SetText(Registry& reg, RegHandle root, std::string_view path, std::string_view name,
                    std::string_view text) {
  RegHandle h = 0;
  ASSERT_EQ(reg.CreateKey(root, path, &h), kErrorSuccess) << path;
  const std::string bytes = std::string(text) + '\0';
  EXPECT_EQ(reg.SetValue(h, name, kRegSz, reinterpret_cast<const std::uint8_t*>(bytes.data()),
                         static_cast<std::uint32_t>(bytes.size())),
            kErrorSuccess);
  reg.CloseKey(h);
}

// The text of a value without its terminating zero, or "<missing>".
inline std::string Text(Registry& reg, RegHandle root, std::string_view path, std::string_view name) {
  std::string data;
  if (reg.GetValue(root, path, name, nullptr, &data) != kErrorSuccess) return "<missing>";
  if (!data.empty() && data.back() == '\0') data.pop_back();
  return data;
}

// The subkeys (with `values`, the values) of root\path in the registry's
// order; none for a missing key.
inline std::vector<std::string> Names(Registry& reg, RegHandle root, std::string_view path,
                                      bool values = false) {
  std::vector<std::string> names;
  RegHandle h = 0;
  if (reg.OpenKey(root, path, kKeyRead, &h) != kErrorSuccess) return names;
  std::string name;
  for (std::uint32_t i = 0; (values ? reg.EnumValue(h, i, &name, nullptr, nullptr, nullptr)
                                    : reg.EnumKey(h, i, &name)) == kErrorSuccess;
       ++i)
    names.push_back(name);
  reg.CloseKey(h);
  return names;
}
inline std::vector<std::string> Subkeys(Registry& reg, RegHandle root, std::string_view path) {
  return Names(reg, root, path);
}
inline std::vector<std::string> ValueNames(Registry& reg, RegHandle root, std::string_view path) {
  return Names(reg, root, path, true);
}
inline bool KeyExists(Registry& reg, RegHandle root, std::string_view path) {
  RegHandle h = 0;
  if (reg.OpenKey(root, path, kKeyRead, &h) != kErrorSuccess) return false;
  reg.CloseKey(h);
  return true;
}

// The registry in memory, refusing to write the chosen value names as a
// store that became read-only does.
class RefusingRegistry : public MemoryRegistry {
 public:
  std::set<std::string> refused;
  RegStatus SetValue(RegHandle key, std::string_view name, std::uint32_t type, const std::uint8_t* data,
                     std::uint32_t size) override {
    if (refused.contains(std::string(name))) return kErrorAccessDenied;
    return MemoryRegistry::SetValue(key, name, type, data, size);
  }
};

}  // namespace orva::testing
