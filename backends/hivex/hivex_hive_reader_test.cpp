#include "backends/hivex/hivex_hive_reader.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "backends/hivex/regf_writer.h"
#include "common/settings/memory_registry.h"
#include "common/settings/settings.h"
#include "fakes/memory_file_system.h"
#include "player/registry/Registro.h"
#include "player/registry/utf16.h"

namespace orva {
namespace {

std::string Folder() {
  const char* base = std::getenv("ORVA_REGISTRY_DIR");
  const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
  const std::string folder = std::string(base && *base ? base : "/tmp/orva-hive-tests") + "/" +
                             info->test_suite_name() + "." + info->name();
  std::filesystem::remove_all(folder);
  std::filesystem::create_directories(folder);
  return folder;
}

void WriteFile(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

std::string Text(std::string_view utf8) { return Utf8ToUtf16Le(std::string(utf8) + '\0'); }

HiveKey SampleTree() {
  HiveKey root;
  root.values = {{"", kRegSz, Text("predefinito")}, {"Volume", kRegSz, Text("35")}};
  HiveKey page{"CAP01.HTM",
               {{"1", kRegSz, Text("83")},
                {"1NOME", kRegSz, Text("Capitolo primo")},
                {"conta", kRegDword, std::string("\x1A\0\0\0", 4)},
                {"vuoto", kRegBinary, ""},
                {"grande", kRegBinary, std::string(5000, '\x5A')},
                {"qword", 11, std::string("\x01\x02\x03\x04\x05\x06\x07\x08", 8)}},
               {}};
  HiveKey greek{"Ἰλιάς", {{"Ἰ", kRegSz, Text("ἄειδε")}}, {}};
  root.subkeys = {{"LIBRO", {}, {page, {"città", {}, {}}}}, greek};
  return root;
}

void ExpectSameTree(const HiveKey& a, const HiveKey& b) {
  SCOPED_TRACE(a.name);
  EXPECT_EQ(a.name, b.name);
  ASSERT_EQ(a.values.size(), b.values.size());
  for (std::size_t i = 0; i < a.values.size(); ++i) {
    EXPECT_EQ(a.values[i].name, b.values[i].name);
    EXPECT_EQ(a.values[i].type, b.values[i].type);
    EXPECT_EQ(a.values[i].data, b.values[i].data);
  }
  ASSERT_EQ(a.subkeys.size(), b.subkeys.size());
  for (std::size_t i = 0; i < a.subkeys.size(); ++i) ExpectSameTree(a.subkeys[i], b.subkeys[i]);
}

TEST(HivexHiveReaderTest, ReadsWhatTheFixtureWriterWrote) {
  const std::string file = Folder() + "/backup.zuv";
  WriteFile(file, WriteRegfHive(SampleTree()));
  HiveKey read;
  std::string error;
  ASSERT_TRUE(HivexHiveReader().ReadHive(file, &read, &error)) << error;
  read.name.clear();  // the root's own name is the hive's, not the key's
  HiveKey want = SampleTree();
  // Subkeys come back in the registry's order: LIBRO before the Greek name.
  ExpectSameTree(read, want);
}

TEST(HivexHiveReaderTest, DamagedHivesAreRefused) {
  const std::string folder = Folder();
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
      {"not a hive", std::string(8192, 'x')},
      {"empty", ""},
      {"header only", good.substr(0, 4096)},
      {"truncated bin", good.substr(0, 4096 + 1000)},
      {"bad signature", badMagic},
      {"bad checksum", badChecksum},
      {"damaged key cell", badCell},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string file = folder + "/bad.zuv";
    WriteFile(file, c.bytes);
    HiveKey read;
    std::string error;
    EXPECT_FALSE(HivexHiveReader().ReadHive(file, &read, &error));
    EXPECT_FALSE(error.empty());
  }
  HiveKey read;
  std::string error;
  EXPECT_FALSE(HivexHiveReader().ReadHive(folder + "/missing.zuv", &read, &error));
}

TEST(HivexHiveReaderTest, RestoreOverThePlayersSettingsOrNothingAtAll) {
  const std::string folder = Folder();
  MemoryRegistry reg;
  fakes::MemoryFileSystem fs;
  HivexHiveReader hives;
  Registro registro(reg, fs, &hives);
  Settings settings(reg);
  settings.SaveSetting("ZUV MediaPlayer", "LIBRO\\OLD.HTM", "1NOME", "vecchio");

  const std::string good = WriteRegfHive(SampleTree());
  WriteFile(folder + "/truncated.zuv", good.substr(0, good.size() / 2 + 2048));
  EXPECT_FALSE(
      registro.RestoreKeyFromFile(kPlayerSettingsSubtree, folder + "/truncated.zuv", kHkeyCurrentUser)
          .restored);
  EXPECT_EQ(settings.GetSetting("ZUV MediaPlayer", "LIBRO\\OLD.HTM", "1NOME"), "vecchio");

  WriteFile(folder + "/good.zuv", good);
  const HiveRestoreResult r =
      registro.RestoreKeyFromFile(kPlayerSettingsSubtree, folder + "/good.zuv", kHkeyCurrentUser);
  ASSERT_TRUE(r.restored) << r.error;
  EXPECT_EQ(settings.GetSetting("ZUV MediaPlayer", "LIBRO\\OLD.HTM", "1NOME", "vuoto"), "vuoto");
  EXPECT_EQ(settings.GetSetting("ZUV MediaPlayer", "LIBRO\\CAP01.HTM", "1NOME"), "Capitolo primo");
  EXPECT_EQ(settings.GetSetting("ZUV MediaPlayer", "Ἰλιάς", "Ἰ"), "ἄειδε");
}

}  // namespace
}  // namespace orva
