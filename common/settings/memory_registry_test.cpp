#include "common/settings/memory_registry.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace orva {
namespace {

class MemoryRegistryTest : public ::testing::Test {
 protected:
  RegHandle Create(std::string_view path, RegHandle root = kHkeyCurrentUser) {
    RegHandle h = 0;
    EXPECT_EQ(reg.CreateKey(root, path, &h), kErrorSuccess) << path;
    return h;
  }
  void SetText(RegHandle key, std::string_view name, std::string_view text) {
    std::string bytes(text);
    bytes += '\0';
    ASSERT_EQ(reg.SetValue(key, name, kRegSz, reinterpret_cast<const std::uint8_t*>(bytes.data()),
                           static_cast<std::uint32_t>(bytes.size())),
              kErrorSuccess);
  }
  std::vector<std::string> Subkeys(RegHandle key) {
    std::vector<std::string> names;
    std::string name;
    for (std::uint32_t i = 0; reg.EnumKey(key, i, &name) == kErrorSuccess; ++i) names.push_back(name);
    return names;
  }
  std::vector<std::string> ValueNames(RegHandle key) {
    std::vector<std::string> names;
    std::string name;
    for (std::uint32_t i = 0; reg.EnumValue(key, i, &name, nullptr, nullptr, nullptr) == kErrorSuccess; ++i)
      names.push_back(name);
    return names;
  }

  MemoryRegistry reg;
};

TEST_F(MemoryRegistryTest, NamesIgnoreCaseButKeepIt) {
  RegKey a(reg, Create("Software\\Città\\Libro"));
  RegHandle h = 0;
  ASSERT_EQ(reg.OpenKey(kHkeyCurrentUser, "SOFTWARE\\CITTÀ\\libro", kKeyRead, &h), kErrorSuccess);
  RegKey b(reg, h);
  RegKey parent(reg, Create("software"));
  EXPECT_EQ(Subkeys(parent.get()), std::vector<std::string>{"Città"});
  bool created = true;
  RegHandle again = 0;
  ASSERT_EQ(reg.CreateKey(kHkeyCurrentUser, "SOFTWARE\\città", &again, &created), kErrorSuccess);
  reg.CloseKey(again);
  EXPECT_FALSE(created);
  EXPECT_EQ(Subkeys(parent.get()), std::vector<std::string>{"Città"});
}

TEST_F(MemoryRegistryTest, SubkeysSortByCapitalsAndValuesKeepCreationOrder) {
  RegKey k(reg, Create("K"));
  for (const char* name : {"b", "AZ", "A_", "c10", "C2", "a"}) {
    RegHandle h = 0;
    ASSERT_EQ(reg.CreateKey(k.get(), name, &h), kErrorSuccess);
    reg.CloseKey(h);
  }
  // '_' comes after 'Z' once letters are upper-cased.
  EXPECT_EQ(Subkeys(k.get()), (std::vector<std::string>{"a", "AZ", "A_", "b", "c10", "C2"}));

  SetText(k.get(), "z", "1");
  SetText(k.get(), "a", "2");
  SetText(k.get(), "M", "3");
  SetText(k.get(), "Z", "overwritten in place");
  EXPECT_EQ(ValueNames(k.get()), (std::vector<std::string>{"z", "a", "M"}));
  ASSERT_EQ(reg.DeleteValue(k.get(), "z"), kErrorSuccess);
  SetText(k.get(), "z", "again");
  EXPECT_EQ(ValueNames(k.get()), (std::vector<std::string>{"a", "M", "z"}));
  std::string data;
  ASSERT_EQ(reg.GetValue(kHkeyCurrentUser, "k", "m", nullptr, &data), kErrorSuccess);
  EXPECT_EQ(data, std::string("3\0", 2));
}

TEST_F(MemoryRegistryTest, BuffersTooSmallAnswerMoreDataWithTheSizeNeeded) {
  RegKey k(reg, Create("K"));
  SetText(k.get(), "v", "hello");
  std::uint32_t type = 0, size = 0;
  ASSERT_EQ(reg.QueryValue(k.get(), "v", &type, nullptr, &size), kErrorSuccess);
  EXPECT_EQ(type, kRegSz);
  EXPECT_EQ(size, 6u);
  std::uint8_t buf[8] = {};
  size = 3;
  EXPECT_EQ(reg.QueryValue(k.get(), "v", nullptr, buf, &size), kErrorMoreData);
  EXPECT_EQ(size, 6u);
  std::string name;
  size = 2;
  EXPECT_EQ(reg.EnumValue(k.get(), 0, &name, &type, buf, &size), kErrorMoreData);
  EXPECT_EQ(name, "v");
  EXPECT_EQ(size, 6u);
  size = sizeof buf;
  EXPECT_EQ(reg.EnumValue(k.get(), 0, &name, &type, buf, &size), kErrorSuccess);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(buf), size), std::string("hello\0", 6));
  EXPECT_EQ(reg.EnumValue(k.get(), 1, &name, &type, buf, &size), kErrorNoMoreItems);
  EXPECT_EQ(reg.EnumKey(k.get(), 0, &name), kErrorNoMoreItems);
  EXPECT_EQ(reg.QueryValue(k.get(), "missing", nullptr, nullptr, &size), kErrorFileNotFound);
}

TEST_F(MemoryRegistryTest, ErrorCodesOfTheCalls) {
  reg.CloseKey(Create("A\\B"));
  RegHandle h = 0;
  struct Case {
    const char* name;
    RegStatus got;
    RegStatus want;
  };
  RegHandle readOnly = 0;
  ASSERT_EQ(reg.OpenKey(kHkeyCurrentUser, "A", kKeyRead, &readOnly), kErrorSuccess);
  const std::uint8_t byte = 1;
  const Case cases[] = {
      {"open missing", reg.OpenKey(kHkeyCurrentUser, "A\\C", kKeyRead, &h), kErrorFileNotFound},
      {"delete key with subkeys", reg.DeleteKey(kHkeyCurrentUser, "A"), kErrorAccessDenied},
      {"delete missing key", reg.DeleteKey(kHkeyCurrentUser, "Z"), kErrorFileNotFound},
      {"delete missing value", reg.DeleteValue(kHkeyCurrentUser, "nope"), kErrorFileNotFound},
      {"write through a read handle", reg.SetValue(readOnly, "x", kRegBinary, &byte, 1), kErrorAccessDenied},
      {"create with an empty name inside", reg.CreateKey(kHkeyCurrentUser, "A\\\\B", &h), kErrorBadPathname},
      {"create with a leading separator", reg.CreateKey(kHkeyCurrentUser, "\\A", &h), kErrorBadPathname},
      {"unknown handle", reg.EnumKey(4242, 0, nullptr), kErrorInvalidHandle},
      {"zero character in a name", reg.CreateKey(kHkeyCurrentUser, std::string("a\0b", 3), &h),
       kErrorInvalidParameter},
      {"name of 256 characters", reg.CreateKey(kHkeyCurrentUser, std::string(256, 'n'), &h),
       kErrorInvalidParameter},
      {"nesting past 512",
       reg.CreateKey(
           kHkeyCurrentUser,
           [] {
             std::string deep = "k";
             for (int i = 1; i < 513; ++i) deep += "\\k";
             return deep;
           }(),
           &h),
       kErrorBadPathname},
      {"delete a root", reg.DeleteKey(kHkeyCurrentUser, ""), kErrorAccessDenied},
      {"delete leaf", reg.DeleteKey(kHkeyCurrentUser, "A\\B"), kErrorSuccess},
      {"delete now empty key", reg.DeleteKey(kHkeyCurrentUser, "a"), kErrorSuccess},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(c.got, c.want);
  }
  // Nothing of a refused path was created.
  EXPECT_TRUE(Subkeys(kHkeyCurrentUser).empty());
  // The handle outlived its key.
  EXPECT_EQ(reg.EnumKey(readOnly, 0, nullptr), kErrorKeyDeleted);
  reg.CloseKey(readOnly);
  EXPECT_EQ(reg.OpenHandleCount(), 0u);
}

TEST_F(MemoryRegistryTest, DeleteTreeRemovesEverythingBelow) {
  RegKey deep(reg, Create("Top\\Mid\\Leaf"));
  SetText(deep.get(), "v", "x");
  RegKey top(reg, Create("Top"));
  SetText(top.get(), "kept", "y");
  EXPECT_EQ(reg.DeleteTree(top.get(), ""), kErrorSuccess);
  EXPECT_TRUE(Subkeys(top.get()).empty());
  EXPECT_TRUE(ValueNames(top.get()).empty());
  EXPECT_EQ(reg.QueryValue(deep.get(), "v", nullptr, nullptr, nullptr), kErrorKeyDeleted);
  EXPECT_EQ(reg.DeleteTree(kHkeyCurrentUser, "top"), kErrorSuccess);
  EXPECT_EQ(reg.OpenKey(kHkeyCurrentUser, "Top", kKeyRead, nullptr), kErrorFileNotFound);
}

TEST_F(MemoryRegistryTest, ReadOnlyRootRefusesWritesButReads) {
  reg.LoadValue(kHkeyLocalMachine, "Software\\Uninstall\\App", "DisplayName", kRegSz,
                std::string("App\0", 4));
  reg.SetReadOnly(kHkeyLocalMachine, true);
  EXPECT_FALSE(reg.CanWrite(kHkeyLocalMachine));
  EXPECT_TRUE(reg.CanWrite(kHkeyCurrentUser));
  std::string data;
  EXPECT_EQ(reg.GetValue(kHkeyLocalMachine, "software\\uninstall\\app", "displayname", nullptr, &data),
            kErrorSuccess);
  RegHandle h = 0;
  EXPECT_EQ(reg.CreateKey(kHkeyLocalMachine, "Software\\New", &h), kErrorAccessDenied);
  ASSERT_EQ(reg.OpenKey(kHkeyLocalMachine, "Software\\Uninstall\\App", kKeyAllAccess, &h), kErrorSuccess);
  RegKey app(reg, h);
  EXPECT_EQ(reg.DeleteValue(h, "DisplayName"), kErrorAccessDenied);
  EXPECT_EQ(reg.DeleteKey(kHkeyLocalMachine, "Software\\Uninstall\\App"), kErrorAccessDenied);
  EXPECT_EQ(reg.DeleteTree(kHkeyLocalMachine, "Software"), kErrorAccessDenied);
}

TEST_F(MemoryRegistryTest, HandlesFindTheirKeysAgainAfterAReload) {
  RegKey k(reg, Create("Software\\App"));
  SetText(k.get(), "v", "old");
  reg.ClearRoot(kHkeyCurrentUser);
  EXPECT_EQ(reg.QueryValue(k.get(), "v", nullptr, nullptr, nullptr), kErrorKeyDeleted);
  reg.LoadValue(kHkeyCurrentUser, "SOFTWARE\\APP", "V", kRegSz, std::string("new\0", 4));
  std::uint32_t size = 0;
  EXPECT_EQ(reg.QueryValue(k.get(), "v", nullptr, nullptr, &size), kErrorSuccess);
  EXPECT_EQ(size, 4u);
  RegHandle root = 0;
  std::string path;
  ASSERT_TRUE(reg.DescribeHandle(k.get(), &root, &path));
  EXPECT_EQ(root, kHkeyCurrentUser);
  EXPECT_EQ(path, "SOFTWARE\\APP");
}

TEST(RootNames, RoundTrip) {
  for (RegHandle root :
       {kHkeyClassesRoot, kHkeyCurrentUser, kHkeyLocalMachine, kHkeyUsers, kHkeyCurrentConfig})
    EXPECT_EQ(RootFromName(RootName(root)), root);
  EXPECT_EQ(RootFromName("hkcu"), kHkeyCurrentUser);
  EXPECT_EQ(RootFromName("HKEY_DYN_DATA"), 0u);
  EXPECT_EQ(RootName(0x80000004u), "");
}

}  // namespace
}  // namespace orva
