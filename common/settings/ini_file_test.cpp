#include "common/settings/ini_file.h"

#include <gtest/gtest.h>

namespace orva {
namespace {

constexpr std::string_view kIni =
    "; smart.ini of the CD\r\n"
    "[Setup]\r\n"
    "  Command = setup.exe /s  \r\n"
    "Empty=\r\n"
    "Quoted=\"C:\\Program Files\\Orva\\setup.exe\"\r\n"
    "HalfQuoted=\"setup.exe\" /s\r\n"
    "NoEquals\r\n"
    "[ other ]\n"
    "Command=other\n"
    "[Setup]\n"
    "Late=ignored: only the first section of a name counts\n";

TEST(IniFileTest, ReadsOneValueLikeTheProfileCalls) {
  struct Case {
    const char* name;
    std::string_view section, key;
    std::string want;
  };
  const Case cases[] = {
      {"trimmed", "Setup", "Command", "setup.exe /s"},
      {"case ignored", "SETUP", "command", "setup.exe /s"},
      {"present but empty", "Setup", "Empty", ""},
      {"absent key", "Setup", "Missing", ""},
      {"absent section", "Nope", "Command", ""},
      {"matching quotes removed", "Setup", "Quoted", "C:\\Program Files\\Orva\\setup.exe"},
      {"unmatched quotes kept", "Setup", "HalfQuoted", "\"setup.exe\" /s"},
      {"line without equals", "Setup", "NoEquals", ""},
      {"section name trimmed", "Other", "Command", "other"},
      {"second section of a name", "Setup", "Late", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(ReadIniValue(kIni, c.section, c.key), c.want);
  }
}

TEST(IniFileTest, LongValuesAreCutAt255CharactersAnd8BitTextIsConverted) {
  const std::string ini = "[A]\nK=" + std::string(300, 'x') + "\nL=" + std::string(300, '\xE8') + "\n";
  EXPECT_EQ(ReadIniValue(ini, "A", "K"), std::string(255, 'x'));
  std::string e255;
  for (int i = 0; i < 255; ++i) e255 += "\xC3\xA8";  // è, 255 times
  EXPECT_EQ(ReadIniValue(ini, "A", "L"), e255);
  EXPECT_EQ(ReadIniValue("\xEF\xBB\xBF[A]\nK=v", "a", "k"), "v");
  EXPECT_EQ(ReadIniValue("", "A", "K"), "");
}

}  // namespace
}  // namespace orva
