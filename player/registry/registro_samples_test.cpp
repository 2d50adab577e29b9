#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "backends/hivex/hivex_hive_reader.h"
#include "common/settings/memory_registry.h"
#include "fakes/memory_file_system.h"
#include "player/registry/Registro.h"

namespace orva {
namespace {

// The backups that earlier, Windows versions of the player wrote of the
// same settings (testing/make_samples.py): as text, unescaped and in
// Windows-1252, and as a saved hive. Both must give the same store, with
// quotes, backslashes and accented letters as they were.
TEST(RegistroSamplesTest, BackupsOfEarlierVersionsGiveTheirSettingsBack) {
  const std::string dir = std::string(ORVA_TEST_SOURCE_DIR) + "/player/registry/testing/esportato_vecchio.";
  std::string stores[2];
  for (int hive = 0; hive < 2; ++hive) {
    MemoryRegistry reg;
    fakes::MemoryFileSystem fs;
    HivexHiveReader hives;
    Registro registro(reg, fs, &hives);
    if (hive) {
      EXPECT_TRUE(
          registro.RestoreKeyFromFile(kPlayerSettingsSubtree, dir + "zuv", kHkeyCurrentUser).restored);
    } else {
      std::ifstream in(dir + "reg", std::ios::binary);
      fs.AddFile("/in/backup.reg", std::string(std::istreambuf_iterator<char>(in), {}));
      EXPECT_TRUE(registro.ImportRegFile("/in/backup.reg").Complete());
    }
    stores[hive] = BuildRegText(reg, kHkeyCurrentUser, kPlayerSettingsSubtree, true, nullptr).bytes;
  }
  EXPECT_EQ(stores[0], stores[1]);
}

}  // namespace
}  // namespace orva
