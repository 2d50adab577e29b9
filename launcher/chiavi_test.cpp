#include "launcher/chiavi.h"

#include <gtest/gtest.h>

#include "common/settings/memory_registry.h"

namespace orva::smart {
namespace {

constexpr const char* kUninstall = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall";

class Chiavi : public ::testing::Test {
 protected:
  void SetValue(const std::string& key, const std::string& name, const std::string& bytes,
                std::uint32_t type = kRegSz) {
    RegHandle handle = 0;
    ASSERT_EQ(registry.CreateKey(kHkeyLocalMachine, key, &handle), kErrorSuccess);
    registry.SetValue(handle, name, type, reinterpret_cast<const std::uint8_t*>(bytes.data()),
                      static_cast<std::uint32_t>(bytes.size()));
    registry.CloseKey(handle);
  }
  bool Exists(const std::string& key) {
    RegHandle handle = 0;
    if (registry.OpenKey(kHkeyLocalMachine, key, kKeyRead, &handle) != kErrorSuccess) return false;
    registry.CloseKey(handle);
    return true;
  }
  MemoryRegistry registry;
};

TEST_F(Chiavi, LeggiValoreChiave) {
  SetValue(std::string(kUninstall) + "\\Orva", "uninstallstring",
           std::string("/opt/orva/uninstall --purge") + '\0');
  SetValue(std::string(kUninstall) + "\\Orva", "NoZero", "/opt/x");
  SetValue(std::string(kUninstall) + "\\Orva", "Empty", std::string(1, '\0'));
  SetValue(std::string(kUninstall) + "\\Orva", "Nothing", "");
  struct Case {
    const char* name;
    std::string key;
    const char* value;
    const char* expected;
  } cases[] = {
      {"present", std::string(kUninstall) + "\\Orva", "uninstallstring", "/opt/orva/uninstall --purge"},
      {"name_in_other_case", std::string(kUninstall) + "\\ORVA", "UninstallString",
       "/opt/orva/uninstall --purge"},
      {"stored_without_terminating_zero_kept_whole", std::string(kUninstall) + "\\Orva", "NoZero", "/opt/x"},
      {"empty_text", std::string(kUninstall) + "\\Orva", "Empty", ""},
      {"zero_bytes", std::string(kUninstall) + "\\Orva", "Nothing", ""},
      {"value_missing", std::string(kUninstall) + "\\Orva", "DisplayName", ""},
      {"key_missing", std::string(kUninstall) + "\\Other", "uninstallstring", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(LeggiValoreChiave(registry, 0, c.key, c.value, kHkeyLocalMachine), c.expected);
    EXPECT_EQ(registry.OpenHandleCount(), 0u) << "the key is closed again";
  }
}

TEST_F(Chiavi, ApriChiave) {
  SetValue(std::string(kUninstall) + "\\Orva", "uninstallstring", std::string("x") + '\0');
  const RegHandle handle = ApriChiave(registry, 0, kUninstall, kHkeyLocalMachine);
  ASSERT_NE(handle, kChiaveNonAperta);
  EXPECT_EQ(LeggiValoreChiave(registry, 0, "Orva", "uninstallstring", handle), "x");
  EXPECT_EQ(registry.CloseKey(handle), kErrorSuccess);

  EXPECT_EQ(ApriChiave(registry, 0, "SOFTWARE\\Missing", kHkeyLocalMachine), kChiaveNonAperta);
  EXPECT_EQ(registry.OpenHandleCount(), 0u);
}

TEST_F(Chiavi, CancellaChiaveDeletesOnlyKeysWithoutSubkeys) {
  SetValue(std::string(kUninstall) + "\\Alone", "uninstallstring", std::string("x") + '\0');
  SetValue(std::string(kUninstall) + "\\Parent\\Child", "uninstallstring", std::string("x") + '\0');
  RegHandle uninstall = ApriChiave(registry, 0, kUninstall, kHkeyLocalMachine);

  EXPECT_EQ(CancellaChiave(registry, 0, uninstall, "Alone"), 0);
  EXPECT_FALSE(Exists(std::string(kUninstall) + "\\Alone"));

  EXPECT_EQ(CancellaChiave(registry, 0, uninstall, "Parent"), std::nullopt);
  EXPECT_TRUE(Exists(std::string(kUninstall) + "\\Parent\\Child"));

  EXPECT_EQ(CancellaChiave(registry, 0, uninstall, "Missing"), std::nullopt);
  registry.CloseKey(uninstall);
  EXPECT_EQ(registry.OpenHandleCount(), 0u);
}

TEST_F(Chiavi, CancellaChiaveOnAStoreThatRefusesWritesKeepsTheKey) {
  SetValue(std::string(kUninstall) + "\\Alone", "uninstallstring", std::string("x") + '\0');
  registry.SetReadOnly(kHkeyLocalMachine, true);
  RegHandle uninstall = ApriChiave(registry, 0, kUninstall, kHkeyLocalMachine);
  EXPECT_EQ(CancellaChiave(registry, 0, uninstall, "Alone"), std::nullopt);
  EXPECT_TRUE(Exists(std::string(kUninstall) + "\\Alone"));
  registry.CloseKey(uninstall);
}

}  // namespace
}  // namespace orva::smart
