#include "backends/hivex/hivex_hive_reader.h"

#include <gtest/gtest.h>

#include "backends/hivex/testing/regf_writer.h"
#include "backends/posix/testing/test_folder.h"
#include "common/settings/settings.h"
#include "common/settings/testing/registry_helpers.h"
#include "fakes/memory_file_system.h"
#include "player/registry/Registro.h"
#include "player/registry/utf16.h"

namespace orva::testing {
namespace {

// Text as a hive holds it: UTF-16LE with its terminating zero.
std::string Utf16(std::string_view utf8) { return Utf8ToUtf16Le(std::string(utf8) + '\0'); }

HiveKey SampleTree() {
  HiveKey root;
  root.values = {{"", kRegSz, Utf16("predefinito")}, {"Volume", kRegSz, Utf16("35")}};
  HiveKey page{"CAP01.HTM",
               {{"1", kRegSz, Utf16("83")},
                {"1NOME", kRegSz, Utf16("Capitolo primo")},
                {"conta", kRegDword, std::string("\x1A\0\0\0", 4)},
                {"vuoto", kRegBinary, ""},
                {"grande", kRegBinary, std::string(5000, '\x5A')},
                {"qword", 11, std::string("\x01\x02\x03\x04\x05\x06\x07\x08", 8)}},
               {}};
  HiveKey greek{"Ἰλιάς", {{"Ἰ", kRegSz, Utf16("ἄειδε")}}, {}};
  root.subkeys = {{"LIBRO", {}, {page, {"città", {}, {}}}}, greek};
  return root;
}

// A tree as one line, to compare two trees at once.
std::string Dump(const HiveKey& k) {
  std::string out = "[" + k.name + "]";
  for (const HiveValue& v : k.values) out += " " + v.name + "(" + std::to_string(v.type) + ")=" + v.data;
  for (const HiveKey& sub : k.subkeys) out += " " + Dump(sub);
  return out;
}

TEST(HivexHiveReaderTest, ReadsWhatTheFixtureWriterWrote) {
  const TestFolder dir;
  dir.Write("backup.zuv", WriteRegfHive(SampleTree()));
  HiveKey read;
  std::string error;
  ASSERT_TRUE(HivexHiveReader().ReadHive(dir / "backup.zuv", &read, &error)) << error;
  read.name.clear();  // the root's own name is the hive's, not the key's
  EXPECT_EQ(Dump(read), Dump(SampleTree()));
}

TEST(HivexHiveReaderTest, DamagedHivesAreRefused) {
  const TestFolder dir;
  const std::string good = WriteRegfHive(SampleTree());
  struct Case {
    const char* name;
    std::string bytes;
  };
  std::string badMagic = good;
  badMagic[0] = 'x';
  std::string badChecksum = good;
  badChecksum[0x30] ^= 0x55;
  std::string badCell = good;
  // The first key below the root: its "nk" signature overwritten.
  const std::size_t child = good.find("nk", 0x1000 + 0x20 + 8);
  badCell[child] = 'q';
  const Case cases[] = {
      {"empty", ""},
      {"truncated bin", good.substr(0, 4096 + 1000)},
      {"bad signature", badMagic},
      {"bad checksum", badChecksum},
      {"damaged key cell", badCell},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    dir.Write("bad.zuv", c.bytes);
    HiveKey read;
    std::string error;
    EXPECT_FALSE(HivexHiveReader().ReadHive(dir / "bad.zuv", &read, &error));
    EXPECT_FALSE(error.empty());
  }
}

TEST(HivexHiveReaderTest, RestoreReplacesThePlayersSettingsOrLeavesThemAlone) {
  const TestFolder dir;
  MemoryRegistry reg;
  fakes::MemoryFileSystem files;
  HivexHiveReader hives;
  Registro registro(reg, files, &hives);
  Settings settings(reg);
  const std::string app = "ZUV MediaPlayer";
  settings.SaveSetting(app, "LIBRO\\OLD.HTM", "1NOME", "vecchio");
  const std::string good = WriteRegfHive(SampleTree());
  HiveKey invalid = SampleTree();
  invalid.subkeys.push_back({"a\\b", {}, {}});
  dir.Write("invalid.zuv", WriteRegfHive(invalid));
  dir.Write("good.zuv", good);
  const auto restore = [&](const char* file) {
    return registro.RestoreKeyFromFile(kPlayerSettingsSubtree, dir / file, kHkeyCurrentUser);
  };
  for (const char* bad : {"invalid.zuv", "missing.zuv"}) {
    SCOPED_TRACE(bad);
    EXPECT_FALSE(restore(bad).error.empty());
    EXPECT_EQ(settings.GetSetting(app, "LIBRO\\OLD.HTM", "1NOME"), "vecchio");
  }
  reg.SetReadOnly(kHkeyCurrentUser, true);
  EXPECT_FALSE(registro.EnablePrivilege("SeRestorePrivilege"));
  EXPECT_FALSE(restore("good.zuv").restored);
  reg.SetReadOnly(kHkeyCurrentUser, false);

  const HiveRestoreResult r = restore("good.zuv");
  ASSERT_TRUE(r.restored) << r.error;
  EXPECT_EQ(settings.GetSetting(app, "LIBRO\\OLD.HTM", "1NOME", "vuoto"), "vuoto");
  EXPECT_EQ(settings.GetSetting(app, "LIBRO\\CAP01.HTM", "1NOME"), "Capitolo primo");
  EXPECT_EQ(settings.GetSetting(app, "Ἰλιάς", "Ἰ"), "ἄειδε");
  EXPECT_EQ(Text(reg, kHkeyCurrentUser, kPlayerSettingsSubtree, "Volume"), "35");
}

}  // namespace
}  // namespace orva::testing
