#include "player/registry/Registro.h"

#include <gtest/gtest.h>

#include <map>

#include "common/settings/memory_registry.h"
#include "common/settings/settings.h"
#include "fakes/memory_file_system.h"
#include "player/registry/utf16.h"

namespace orva {
namespace {

const std::string kApp = "ZUV MediaPlayer";
const std::string kSubtree(kPlayerSettingsSubtree);

class FakeHives : public HiveReader {
 public:
  std::map<std::string, HiveKey> files;
  bool ReadHive(const std::string& path, HiveKey* root, std::string* error) override {
    auto it = files.find(path);
    if (it == files.end()) {
      *error = "file hive danneggiato";
      return false;
    }
    *root = it->second;
    return true;
  }
};

class RegistroTest : public ::testing::Test {
 protected:
  void SetUp() override { fs.AddFolder("/out"); }
  MemoryRegistry reg;
  fakes::MemoryFileSystem fs;
  FakeHives hives;
  Registro registro{reg, fs, &hives};
  Settings settings{reg};
};

TEST_F(RegistroTest, ExportedBookmarksComeBackThroughImport) {
  settings.SaveSetting(kApp, "LIBRO\\CAP01.HTM", "1", "83");
  settings.SaveSetting(kApp, "LIBRO\\CAP01.HTM", "1NOME", "il \"Gattopardo\" \\");
  settings.SaveSetting(kApp, "LIBRO\\CAP02.HTM", "1NOME", "C:\\LIBRI\\A");
  settings.SaveSetting(kApp, "Player", "Volume", "35");
  const RegTextWriteResult w =
      registro.SaveKeyAsRegText(kHkeyCurrentUser, kSubtree, "/out/segnalibri.REG", true, false);
  ASSERT_TRUE(w.written);
  EXPECT_EQ(w.format, RegTextFormat::kRegedit4);

  settings.DeleteSetting(kApp, "LIBRO");
  settings.SaveSetting(kApp, "Player", "Volume", "90");
  const RegImportSummary s = registro.ImportRegFile("/out/segnalibri.REG");
  EXPECT_TRUE(s.Complete());
  EXPECT_EQ(settings.GetSetting(kApp, "LIBRO\\CAP01.HTM", "1NOME"), "il \"Gattopardo\" \\");
  EXPECT_EQ(settings.GetSetting(kApp, "LIBRO\\CAP02.HTM", "1NOME"), "C:\\LIBRI\\A");
  EXPECT_EQ(settings.GetSetting(kApp, "Player", "Volume"), "35");
  EXPECT_EQ(registro.ListSubkeys(kHkeyCurrentUser, kSubtree + "\\LIBRO"),
            (std::vector<std::string>{"CAP01.HTM", "CAP02.HTM"}));
}

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
      "\"1NOME\"=\"ok\"\r\n");
  const RegImportSummary s = registro.ImportRegFile("/in/evil.reg");
  EXPECT_EQ(s.skippedBlocks, 4u);
  EXPECT_EQ(s.values, 1u);
  EXPECT_EQ(settings.GetSetting("Linker", "Default", "Path"), "/usr/bin/linker");
  EXPECT_EQ(reg.OpenKey(kHkeyLocalMachine, "Software", kKeyRead, nullptr), kErrorFileNotFound);
  EXPECT_EQ(settings.GetSetting("ZUV MediaPlayer Evil", "", "x", "none"), "none");
  EXPECT_EQ(settings.GetSetting(kApp, "LIBRO\\CAP01.HTM", "1NOME"), "ok");
}

TEST_F(RegistroTest, ImportOfAFolderOrAMissingFileChangesNothing) {
  fs.AddFolder("/in/cartella.reg");
  EXPECT_TRUE(registro.ImportRegFile("/in/cartella.reg").refused);
  EXPECT_TRUE(registro.ImportRegFile("/in/missing.reg").refused);
}

TEST_F(RegistroTest, NonLatinNamesAreExportedAsVersion5AndReadBack) {
  settings.SaveSetting(kApp, "LIBRO\\CAP01.HTM", "1NOME", "Ἰλιάς, canto primo");
  settings.SaveSetting(kApp, "LIBRO\\CAP01.HTM", "2NOME", "città");
  const RegTextWriteResult w =
      registro.SaveKeyAsRegText(kHkeyCurrentUser, kSubtree, "/out/b.reg", true, false);
  ASSERT_TRUE(w.written);
  EXPECT_EQ(w.format, RegTextFormat::kVersion5);
  settings.DeleteSetting(kApp, "LIBRO");
  EXPECT_TRUE(registro.ImportRegFile("/out/b.reg").Complete());
  EXPECT_EQ(settings.GetSetting(kApp, "LIBRO\\CAP01.HTM", "1NOME"), "Ἰλιάς, canto primo");
  EXPECT_EQ(settings.GetSetting(kApp, "LIBRO\\CAP01.HTM", "2NOME"), "città");
}

TEST_F(RegistroTest, WriterFailureLeavesTheOldFile) {
  fs.AddFile("/out/old.reg", "old");
  fs.SetReadOnly("/out/old.reg");
  EXPECT_FALSE(registro.SaveKeyAsRegText(kHkeyCurrentUser, kSubtree, "/out/old.reg", true, false).written);
  EXPECT_EQ(fs.ReadText("/out/old.reg"), "old");
}

TEST_F(RegistroTest, ListValuesGivesWhatEachKindMeans) {
  reg.LoadValue(kHkeyCurrentUser, "K", "t", kRegSz, std::string("abc\0", 4));
  reg.LoadValue(kHkeyCurrentUser, "K", "m", kRegMultiSz, std::string("a\0b\0\0", 5));
  reg.LoadValue(kHkeyCurrentUser, "K", "n", kRegDword, std::string("\xFE\xFF\xFF\xFF", 4));
  reg.LoadValue(kHkeyCurrentUser, "K", "b", kRegBinary, std::string(5000, '\x01'));
  reg.LoadValue(kHkeyCurrentUser, "K", "o", 11, "xy");
  const auto values = registro.ListValues(kHkeyCurrentUser, "K");
  ASSERT_EQ(values.size(), 5u);
  EXPECT_EQ(values[0].text, "abc");
  EXPECT_EQ(values[1].text, std::string("a\0b", 3));
  EXPECT_EQ(values[2].number, -2);
  EXPECT_EQ(values[3].bytes.size(), 5000u) << "a value larger than the first buffer is read whole";
  EXPECT_EQ(values[4].kind, RegListedValue::Kind::kNone);
  EXPECT_TRUE(registro.ListValues(kHkeyCurrentUser, "Missing").empty());
  EXPECT_TRUE(registro.ListSubkeys(kHkeyCurrentUser, "Missing").empty());
  EXPECT_EQ(registro.ListSubkeys(kHkeyCurrentUser, ""), std::vector<std::string>{"K"});
}

TEST_F(RegistroTest, RestoreReplacesTheSubtreeOrLeavesItAlone) {
  settings.SaveSetting(kApp, "LIBRO\\OLD.HTM", "1", "1");
  settings.SaveSetting(kApp, "Player", "Volume", "35");
  HiveKey hive;
  hive.values.push_back({"top", kRegSz, Utf8ToUtf16Le(std::string("città\0", 7))});
  HiveKey page{"CAP01.HTM", {{"1NOME", kRegSz, Utf8ToUtf16Le(std::string("Primo\0", 6))}}, {}};
  hive.subkeys.push_back({"LIBRO", {}, {page}});
  hives.files["/in/backup.zuv"] = hive;

  HiveRestoreResult bad = registro.RestoreKeyFromFile(kSubtree, "/in/truncated.zuv", kHkeyCurrentUser);
  EXPECT_FALSE(bad.restored);
  EXPECT_FALSE(bad.error.empty());
  EXPECT_EQ(settings.GetSetting(kApp, "Player", "Volume"), "35");

  HiveKey invalid = hive;
  invalid.subkeys.push_back({"a\\b", {}, {}});
  hives.files["/in/invalid.zuv"] = invalid;
  EXPECT_FALSE(registro.RestoreKeyFromFile(kSubtree, "/in/invalid.zuv", kHkeyCurrentUser).restored);
  EXPECT_EQ(settings.GetSetting(kApp, "LIBRO\\OLD.HTM", "1"), "1");

  ASSERT_TRUE(registro.RestoreKeyFromFile(kSubtree, "/in/backup.zuv", kHkeyCurrentUser).restored);
  EXPECT_EQ(settings.GetSetting(kApp, "Player", "Volume", "gone"), "gone");
  EXPECT_EQ(settings.GetSetting(kApp, "LIBRO\\OLD.HTM", "1", "gone"), "gone");
  EXPECT_EQ(settings.GetSetting(kApp, "LIBRO\\CAP01.HTM", "1NOME"), "Primo");
  std::string top;
  reg.GetValue(kHkeyCurrentUser, kSubtree, "top", nullptr, &top);
  EXPECT_EQ(top, std::string("città\0", 7));
}

TEST_F(RegistroTest, NothingIsRestoredWhenTheStoreCannotBeWritten) {
  reg.SetReadOnly(kHkeyCurrentUser, true);
  EXPECT_FALSE(registro.EnablePrivilege("SeRestorePrivilege"));
  hives.files["/in/backup.zuv"] = HiveKey{};
  EXPECT_FALSE(registro.RestoreKeyFromFile(kSubtree, "/in/backup.zuv", kHkeyCurrentUser).restored);
}

}  // namespace
}  // namespace orva
