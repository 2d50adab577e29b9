// The registry's behaviour, run on the store in memory (the core tests'
// store, and the copy the SQLite store reads from) and on the SQLite store,
// so that the two cannot drift. On the SQLite store Reopen() ends the
// program and starts it again: what is checked after it came from the file.
#include <gtest/gtest.h>

#include <memory>

#include "backends/sqlite_registry/testing/test_support.h"

namespace orva::testing {
namespace {

const RegHandle kCu = kHkeyCurrentUser;

class RegistryBehaviour : public ::testing::TestWithParam<bool> {
 protected:
  bool OnDisk() const { return GetParam(); }
  Registry& Reopen() {
    if (OnDisk()) {
      store.reset();  // commits what is pending
      store = std::make_unique<SqliteRegistry>(PathsIn(dir.Path()), recorder.Handler());
    } else if (!store) {
      store = std::make_unique<MemoryRegistry>();
    }
    return *store;
  }
  void TearDown() override { EXPECT_TRUE(recorder.failures.empty()); }

  TestFolder dir;
  Recorder recorder;
  std::unique_ptr<Registry> store;
};

INSTANTIATE_TEST_SUITE_P(Stores, RegistryBehaviour, ::testing::Bool(),
                         [](const auto& p) { return p.param ? "Sqlite" : "Memory"; });

TEST_P(RegistryBehaviour, NamesIgnoreCaseKeepTheirSpellingAndTheirOrder) {
  Registry* reg = &Reopen();
  for (const char* name : {"b", "AZ", "A_", "c10", "C2", "a", "Città"})
    SetText(*reg, kCu, std::string("K\\") + name, "v", name);
  for (const char* name : {"z", "a", "M", "Z"}) SetText(*reg, kCu, "K", name, name);
  bool created = true;
  RegHandle h = 0;
  ASSERT_EQ(reg->CreateKey(kCu, "k\\CITTÀ", &h, &created), kErrorSuccess);
  EXPECT_FALSE(created);
  reg->CloseKey(h);
  ASSERT_EQ(reg->OpenKey(kCu, "K", kKeyAllAccess, &h), kErrorSuccess);
  EXPECT_EQ(reg->DeleteValue(h, "A"), kErrorSuccess);
  reg->CloseKey(h);
  SetText(*reg, kCu, "K", "a", "again");  // comes back last

  reg = &Reopen();
  // '_' comes after 'Z' once letters are upper-cased.
  EXPECT_EQ(Subkeys(*reg, kCu, "k"), (std::vector<std::string>{"a", "AZ", "A_", "b", "c10", "C2", "Città"}));
  EXPECT_EQ(ValueNames(*reg, kCu, "K"), (std::vector<std::string>{"z", "M", "a"}));
  EXPECT_EQ(Text(*reg, kCu, "k", "Z"), "Z") << "overwritten in place";
}

TEST_P(RegistryBehaviour, ValuesKeepTypeAndBytesAndTooSmallBuffersAskForMore) {
  Registry* reg = &Reopen();
  RegHandle h = 0;
  ASSERT_EQ(reg->CreateKey(kHkeyLocalMachine, "Software\\Raw", &h), kErrorSuccess);
  const std::uint8_t raw[] = {0xDE, 0xAD, 0x00};
  EXPECT_EQ(reg->SetValue(h, "odd", 11, raw, sizeof raw), kErrorSuccess);
  EXPECT_EQ(reg->SetValue(h, "", kRegBinary, nullptr, 0), kErrorSuccess);
  reg->CloseKey(h);

  reg = &Reopen();
  std::uint32_t type = 0;
  std::string data;
  ASSERT_EQ(reg->GetValue(kHkeyLocalMachine, "software\\raw", "ODD", &type, &data), kErrorSuccess);
  EXPECT_EQ(type, 11u);
  EXPECT_EQ(data, std::string("\xDE\xAD\0", 3));
  ASSERT_EQ(reg->GetValue(kHkeyLocalMachine, "Software\\Raw", "", &type, &data), kErrorSuccess);
  EXPECT_EQ(type, kRegBinary);
  EXPECT_EQ(data, "");
  ASSERT_EQ(reg->OpenKey(kHkeyLocalMachine, "Software\\Raw", kKeyRead, &h), kErrorSuccess);
  RegKey key(*reg, h);
  std::uint8_t buf[8] = {};
  std::uint32_t size = 2;
  std::string name;
  EXPECT_EQ(reg->QueryValue(h, "odd", nullptr, buf, &size), kErrorMoreData);
  EXPECT_EQ(size, 3u);
  size = 1;
  EXPECT_EQ(reg->EnumValue(h, 0, &name, &type, buf, &size), kErrorMoreData);
  EXPECT_EQ(name, "odd");
  EXPECT_EQ(size, 3u);
  size = sizeof buf;
  EXPECT_EQ(reg->EnumValue(h, 0, &name, &type, buf, &size), kErrorSuccess);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(buf), size), std::string("\xDE\xAD\0", 3));
}

TEST_P(RegistryBehaviour, ErrorCodesOfTheCalls) {
  Registry& reg = Reopen();
  SetText(reg, kCu, "A\\B", "v", "x");
  RegHandle h = 0;
  RegHandle readOnly = 0;
  ASSERT_EQ(reg.OpenKey(kCu, "A", kKeyRead, &readOnly), kErrorSuccess);
  std::string deep = "k";
  for (int i = 1; i < 513; ++i) deep += "\\k";
  const std::uint8_t byte = 1;
  const struct {
    const char* name;
    RegStatus got;
    RegStatus want;
  } cases[] = {
      {"open missing", reg.OpenKey(kCu, "A\\C", kKeyRead, &h), kErrorFileNotFound},
      {"delete key with subkeys", reg.DeleteKey(kCu, "A"), kErrorAccessDenied},
      {"write through a read handle", reg.SetValue(readOnly, "x", kRegBinary, &byte, 1), kErrorAccessDenied},
      {"create with an empty name inside", reg.CreateKey(kCu, "A\\\\B", &h), kErrorBadPathname},
      {"unknown handle", reg.EnumKey(4242, 0, nullptr), kErrorInvalidHandle},
      {"zero character in a name", reg.CreateKey(kCu, std::string("a\0b", 3), &h), kErrorInvalidParameter},
      {"name of 256 characters", reg.CreateKey(kCu, std::string(256, 'n'), &h), kErrorInvalidParameter},
      {"nesting past 512", reg.CreateKey(kCu, deep, &h), kErrorBadPathname},
      {"delete a root", reg.DeleteKey(kCu, ""), kErrorAccessDenied},
      {"delete leaf", reg.DeleteKey(kCu, "A\\B"), kErrorSuccess},
      {"delete now empty key", reg.DeleteKey(kCu, "a"), kErrorSuccess},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(c.got, c.want);
  }
  EXPECT_EQ(reg.EnumKey(readOnly, 0, nullptr), kErrorKeyDeleted) << "the handle outlived its key";
  reg.CloseKey(readOnly);
  EXPECT_TRUE(Subkeys(Reopen(), kCu, "").empty()) << "nothing of a refused path was created";
}

TEST_P(RegistryBehaviour, DeletingATreeTakesAllBelowItAndSparesItsNamesakes) {
  Registry* reg = &Reopen();
  for (const char* key : {"LIBRO\\CAP01.HTM\\deep", "LIBRO2", "LIBRO]", "LIBRO_X", "Top\\Child", "Top"})
    SetText(*reg, kCu, key, "v", key);
  reg = &Reopen();
  RegHandle deep = 0;
  RegHandle top = 0;
  ASSERT_EQ(reg->OpenKey(kCu, "libro\\cap01.htm\\DEEP", kKeyRead, &deep), kErrorSuccess);
  ASSERT_EQ(reg->OpenKey(kCu, "Top", kKeyAllAccess, &top), kErrorSuccess);
  EXPECT_EQ(reg->DeleteTree(kCu, "libro"), kErrorSuccess);
  EXPECT_EQ(reg->QueryValue(deep, "v", nullptr, nullptr, nullptr), kErrorKeyDeleted);
  EXPECT_EQ(reg->DeleteTree(top, ""), kErrorSuccess);  // empties the key and keeps it
  EXPECT_EQ(reg->DeleteKey(kCu, "LIBRO_X"), kErrorSuccess);
  reg->CloseKey(deep);
  reg->CloseKey(top);

  reg = &Reopen();
  EXPECT_EQ(Subkeys(*reg, kCu, ""), (std::vector<std::string>{"LIBRO2", "LIBRO]", "Top"}));
  EXPECT_TRUE(Subkeys(*reg, kCu, "Top").empty());
  EXPECT_TRUE(ValueNames(*reg, kCu, "Top").empty());
}

TEST_P(RegistryBehaviour, AMachineStoreThatCannotBeWrittenRefusesEveryWriteAndReadsEmpty) {
  if (OnDisk()) {
    dir.Write("file", "");  // no machine store can be made under a plain file
    store = std::make_unique<SqliteRegistry>(
        RegistryPaths{dir / "registry.sqlite", dir / "file/machine.sqlite"}, recorder.Handler());
  } else {
    static_cast<MemoryRegistry&>(Reopen()).SetReadOnly(kHkeyLocalMachine, true);
  }
  Registry& reg = *store;
  const std::uint8_t byte = 1;
  EXPECT_FALSE(reg.CanWrite(kHkeyLocalMachine));
  EXPECT_TRUE(reg.CanWrite(kCu));
  EXPECT_EQ(reg.CreateKey(kHkeyLocalMachine, "Software", nullptr), kErrorAccessDenied);
  EXPECT_EQ(reg.SetValue(kHkeyLocalMachine, "v", kRegBinary, &byte, 1), kErrorAccessDenied);
  EXPECT_EQ(reg.OpenKey(kHkeyLocalMachine, "Software", kKeyRead, nullptr), kErrorFileNotFound);
}

}  // namespace
}  // namespace orva::testing
