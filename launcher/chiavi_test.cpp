#include "launcher/chiavi.h"

#include <gtest/gtest.h>

#include "common/settings/testing/registry_helpers.h"

namespace orva::smart {
namespace {

using orva::testing::KeyExists;

const std::string kUninstall = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall";

class Chiavi : public ::testing::Test {
 protected:
  void Put(const std::string& key, const std::string& name, const std::string& bytes) {
    registry.LoadValue(kHkeyLocalMachine, kUninstall + "\\" + key, name, kRegSz, bytes);
  }
  MemoryRegistry registry;
};

TEST_F(Chiavi, LeggiValoreChiave) {
  Put("Orva", "uninstallstring", std::string("/opt/orva/uninstall --purge") + '\0');
  Put("Orva", "NoZero", "/opt/x");
  Put("Orva", "Empty", std::string(1, '\0'));
  Put("Orva", "Nothing", "");
  struct Case {
    const char *name, *key, *value, *expected;
  } cases[] = {
      {"present", "Orva", "uninstallstring", "/opt/orva/uninstall --purge"},
      {"stored_without_terminating_zero_kept_whole", "Orva", "NoZero", "/opt/x"},
      {"empty_text", "Orva", "Empty", ""},
      {"zero_bytes", "Orva", "Nothing", ""},
      {"value_missing", "Orva", "DisplayName", ""},
      {"key_missing", "Other", "uninstallstring", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(LeggiValoreChiave(registry, kUninstall + "\\" + c.key, c.value, kHkeyLocalMachine), c.expected);
    EXPECT_EQ(registry.OpenHandleCount(), 0u) << "the key is closed again";
  }
  EXPECT_EQ(ApriChiave(registry, "SOFTWARE\\Missing", kHkeyLocalMachine), kChiaveNonAperta);
}

TEST_F(Chiavi, CancellaChiaveDeletesOnlyKeysWithoutSubkeysOnAStoreThatTakesWrites) {
  Put("Alone", "uninstallstring", "x");
  Put("Parent\\Child", "uninstallstring", "x");
  Put("Kept", "uninstallstring", "x");
  RegHandle uninstall = ApriChiave(registry, kUninstall, kHkeyLocalMachine);
  EXPECT_EQ(CancellaChiave(registry, uninstall, "Alone"), 0);
  EXPECT_FALSE(KeyExists(registry, kHkeyLocalMachine, kUninstall + "\\Alone"));
  EXPECT_EQ(CancellaChiave(registry, uninstall, "Parent"), std::nullopt);
  EXPECT_TRUE(KeyExists(registry, kHkeyLocalMachine, kUninstall + "\\Parent\\Child"));
  EXPECT_EQ(CancellaChiave(registry, uninstall, "Missing"), std::nullopt);
  registry.SetReadOnly(kHkeyLocalMachine, true);
  EXPECT_EQ(CancellaChiave(registry, uninstall, "Kept"), std::nullopt);
  EXPECT_TRUE(KeyExists(registry, kHkeyLocalMachine, kUninstall + "\\Kept"));
  registry.CloseKey(uninstall);
  EXPECT_EQ(registry.OpenHandleCount(), 0u);
}

}  // namespace
}  // namespace orva::smart
