#include "tools/orvareg/orvareg.h"

#include <gtest/gtest.h>

#include <sstream>

#include "common/settings/memory_registry.h"
#include "fakes/memory_file_system.h"
#include "player/registry/hive_reader.h"
#include "player/registry/utf16.h"

namespace orva {
namespace {

class OneHive : public HiveReader {
 public:
  bool ReadHive(const std::string& path, HiveKey* root, std::string* error) override {
    if (path != "/h/good.zuv") {
      *error = "file hive danneggiato";
      return false;
    }
    root->values = {{"v", kRegSz, Utf8ToUtf16Le(std::string("dal hive\0", 9))}};
    return true;
  }
};

class OrvaregTest : public ::testing::Test {
 protected:
  void SetUp() override {
    reg.SetReadOnly(kHkeyLocalMachine, true);  // machine keys the user may not write
    fs.AddFolder("/out");
    fs.AddFile("/in/ok.reg",
               "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\T]\r\n\"a\"=\"1\"\r\n\"n\"=dword:0000001A\r\n");
    fs.AddFile("/in/partly.reg", "REGEDIT4\r\n[HKCU\\Software\\T]\r\n\"a\"=\"2\"\r\n\"bad\"=dword:zz\r\n");
    fs.AddFile("/in/notreg.txt", "hello\r\n");
    fs.AddFile("/in/hklm.reg", "REGEDIT4\r\n[HKEY_LOCAL_MACHINE\\Software\\X]\r\n\"a\"=\"1\"\r\n");
  }
  int Run(std::vector<std::string> args) {
    out.str("");
    err.str("");
    return RunOrvareg(args, reg, fs, &hives, out, err);
  }
  std::string Value(std::string_view path, std::string_view name) {
    std::string data;
    if (reg.GetValue(kHkeyCurrentUser, path, name, nullptr, &data) != kErrorSuccess) return "<missing>";
    return data;
  }

  MemoryRegistry reg;
  fakes::MemoryFileSystem fs;
  OneHive hives;
  std::ostringstream out, err;
};

TEST_F(OrvaregTest, ExitCodesOfTheCommands) {
  struct Case {
    const char* name;
    std::vector<std::string> args;
    int code;
  };
  const Case cases[] = {
      {"help", {"--help"}, 0},
      {"no command", {}, 2},
      {"unknown command", {"frobnicate", "HKCU\\X"}, 2},
      {"import of a file that is no registry file", {"import", "/in/notreg.txt"}, 2},
      {"export of a missing key", {"export", "HKCU\\Software\\Nope", "/out/n.reg"}, 2},
      {"export without a root", {"export", "Software\\T", "/out/n.reg"}, 2},
      {"query a missing value", {"query", "HKCU\\Software\\T", "zz"}, 2},
      {"set number", {"set", "HKCU\\Software\\T", "d", "reg_dword", "0x10"}, 0},
      {"set bytes", {"set", "HKCU\\Software\\T", "b", "REG_BINARY", "0A,FF"}, 0},
      {"set bad number", {"set", "HKCU\\Software\\T", "d", "REG_DWORD", "x1"}, 2},
      {"set unknown type", {"set", "HKCU\\Software\\T", "d", "REG_QWORD", "1"}, 2},
      {"restore a damaged hive", {"restore", "HKCU\\Software\\R", "/h/bad.zuv"}, 2},
      {"delete a value", {"delete", "HKCU\\Software\\T", "d"}, 0},
      {"delete it again", {"delete", "HKCU\\Software\\T", "d"}, 2},
      {"delete a key", {"delete", "HKCU\\Software\\T"}, 0},
      {"delete a root", {"delete", "HKCU"}, 2},
      {"import into machine keys", {"import", "/in/hklm.reg"}, 1},
      {"set a machine key", {"set", "HKLM\\Software\\X", "a", "REG_SZ", "1"}, 2},
  };
  for (const Case& c : cases) EXPECT_EQ(Run(c.args), c.code) << err.str() << c.name;
  EXPECT_NE(err.str().find("codice 5"), std::string::npos) << "the machine key refused as access denied";
}

TEST_F(OrvaregTest, CommandsDoWhatTheySay) {
  ASSERT_EQ(Run({"import", "/in/ok.reg"}), 0);
  EXPECT_EQ(out.str(),
            "Chiavi: 1, valori: 2, chiavi cancellate: 0, valori cancellati: 0, righe ignorate: 0, "
            "blocchi fuori ramo ignorati: 0\n");
  EXPECT_EQ(Run({"/s", "/in/partly.reg"}), 1);
  EXPECT_EQ(out.str(), "");
  EXPECT_EQ(err.str(), "/in/partly.reg: riga 4: dword: vuole da 1 a 8 cifre esadecimali: riga ignorata\n");
  EXPECT_EQ(Value("Software\\T", "a"), std::string("2\0", 2));

  ASSERT_EQ(Run({"set", "HKCU\\Software\\T", "@", "REG_MULTI_SZ", "uno\\0due"}), 0);
  EXPECT_EQ(Value("Software\\T", ""), std::string("uno\0due\0\0", 9));
  ASSERT_EQ(Run({"query", "HKCU\\Software"}), 0);
  EXPECT_EQ(out.str(), "[HKEY_CURRENT_USER\\Software]\n[HKEY_CURRENT_USER\\Software\\T]\n");

  ASSERT_EQ(Run({"export", "HKCU\\Software\\T", "/out/t.reg"}), 0);
  EXPECT_EQ(fs.ReadText("/out/t.reg"),
            "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\T]\r\n\"a\"=\"2\"\r\n\"n\"=dword:0000001A\r\n"
            "@=hex(7):75,6E,6F,00,64,75,65,00,00\r\n\r\n");

  ASSERT_EQ(Run({"restore", "HKCU\\Software\\T", "/h/good.zuv"}), 0);
  EXPECT_EQ(Value("Software\\T", "a"), "<missing>");
  EXPECT_EQ(Value("Software\\T", "v"), std::string("dal hive\0", 9));
}

}  // namespace
}  // namespace orva
