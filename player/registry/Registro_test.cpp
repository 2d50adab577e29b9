#include "player/registry/Registro.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "backends/hivex/hivex_hive_reader.h"
#include "common/settings/memory_registry.h"
#include "common/settings/settings.h"
#include "fakes/memory_file_system.h"

namespace orva {
namespace {

const std::string kApp = "ZUV MediaPlayer";
const std::string kSubtree(kPlayerSettingsSubtree);

class RegistroTest : public ::testing::Test {
 protected:
  void SetUp() override { fs.AddFolder("/out"); }
  MemoryRegistry reg;
  fakes::MemoryFileSystem fs;
  Registro registro{reg, fs};
  Settings settings{reg};
};

TEST_F(RegistroTest, AHostileFileCannotReachOutsideThePlayersSettings) {
  settings.SaveSetting("Linker", "Default", "Path", "/usr/bin/linker");
  fs.AddFile(
      "/in/evil.reg",
      "REGEDIT4\r\n\r\n"
      "[HKEY_CURRENT_USER\\Software\\VB and VBA Program Settings\\Linker\\Default]\r\n"
      "\"Path\"=\"/tmp/evil\"\r\n\r\n"
      "[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Run]\r\n"
      "\"x\"=\"/tmp/evil\"\r\n\r\n"
      "[-HKEY_CURRENT_USER\\Software]\r\n\r\n"
      "[HKEY_CURRENT_USER\\Software\\VB and VBA Program Settings\\ZUV MediaPlayer Evil]\r\n"
      "\"x\"=\"1\"\r\n\r\n"
      "[HKEY_CURRENT_USER\\Software\\VB and VBA Program Settings\\ZUV MediaPlayer\\LIBRO\\CAP01.HTM]\r\n"
      "\"1NOME\"=\"ok\"\r\n\r\n"
      "[HKEY_CURRENT_USER\\SOFTWARE\\vb and vba program settings\\zuv mediaplayer\\Player]\r\n"
      "\"Volume\"=\"35\"\r\n");
  const RegImportSummary s = registro.ImportRegFile("/in/evil.reg");
  EXPECT_EQ(s.skippedBlocks, 4u);
  EXPECT_EQ(s.values, 2u);
  EXPECT_EQ(settings.GetSetting("Linker", "Default", "Path"), "/usr/bin/linker");
  EXPECT_EQ(reg.OpenKey(kHkeyLocalMachine, "Software", kKeyRead, nullptr), kErrorFileNotFound);
  EXPECT_EQ(settings.GetSetting("ZUV MediaPlayer Evil", "", "x", "none"), "none");
  EXPECT_EQ(settings.GetSetting(kApp, "LIBRO\\CAP01.HTM", "1NOME"), "ok");
  EXPECT_EQ(settings.GetSetting(kApp, "Player", "Volume"), "35");
}

TEST_F(RegistroTest, FilesAreReadAndWrittenWholeOrNotAtAll) {
  fs.AddFolder("/in/cartella.reg");
  EXPECT_TRUE(registro.ImportRegFile("/in/cartella.reg").refused);
  fs.AddFile("/in/ok.reg", "REGEDIT4\r\n[HKEY_CURRENT_USER\\" + kSubtree + "]\r\n");
  reg.SetReadOnly(kHkeyCurrentUser, true);
  EXPECT_TRUE(registro.ImportRegFile("/in/ok.reg").refused) << "a store that cannot be written takes nothing";
  reg.SetReadOnly(kHkeyCurrentUser, false);

  settings.SaveSetting(kApp, "LIBRO\\CAP01.HTM", "1NOME", "Ἰλιάς");
  const RegTextWriteResult w =
      registro.SaveKeyAsRegText(kHkeyCurrentUser, kSubtree, "/out/b.reg", true, true);
  EXPECT_TRUE(w.written);
  fs.AddFile("/out/old.reg", "old");
  fs.SetReadOnly("/out/old.reg");
  EXPECT_FALSE(registro.SaveKeyAsRegText(kHkeyCurrentUser, kSubtree, "/out/old.reg", true, false).written);
  EXPECT_EQ(fs.ReadText("/out/old.reg"), "old");
}

TEST_F(RegistroTest, ListValuesGivesWhatEachKindMeans) {
  reg.LoadValue(kHkeyCurrentUser, "K", "n", kRegDword, std::string("\xFE\xFF\xFF\xFF", 4));
  reg.LoadValue(kHkeyCurrentUser, "K", "b", kRegBinary, std::string(5000, '\x01'));
  reg.LoadValue(kHkeyCurrentUser, "K", "o", 11, "xy");
  const auto values = registro.ListValues(kHkeyCurrentUser, "K");
  ASSERT_EQ(values.size(), 3u);
  EXPECT_EQ(values[0].number, -2);
  EXPECT_EQ(values[1].bytes.size(), 5000u) << "a value larger than the first buffer is read whole";
  EXPECT_EQ(values[2].kind, RegListedValue::Kind::kNone);
}

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
