#include "common/settings/settings.h"

#include <gtest/gtest.h>

#include "fakes/error_number.h"

#include "common/automation/testing/captured_trace.h"
#include "common/runtime/vb_error.h"
#include "common/settings/ini_file.h"
#include "common/settings/testing/registry_helpers.h"

namespace orva {
namespace {

constexpr const char* kKey = "Software\\VB and VBA Program Settings\\";

TEST(SettingsTest, ReadsWhatWasSavedAndDefaultsOtherwise) {
  MemoryRegistry reg;
  Settings settings{reg};
  EXPECT_EQ(settings.GetSetting("ZUV MediaPlayer", "Player", "Volume", "100"), "100");
  settings.SaveSetting("ZUV MediaPlayer", "Player", "Volume", "35");
  EXPECT_EQ(settings.GetSetting("zuv mediaplayer", "PLAYER", "volume", "100"), "35");
  settings.SaveSetting("ZUV MediaPlayer", "Player", "Brano", "");
  EXPECT_EQ(settings.GetSetting("ZUV MediaPlayer", "Player", "Brano", "x"), "");
  // Stored as zero-terminated text under the runtime's own key (read here through the generic
  // open-query-close path, which stores without a faster one use).
  std::uint32_t type = 0;
  std::string data;
  ASSERT_EQ(reg.Registry::GetValue(kHkeyCurrentUser, std::string(kKey) + "ZUV MediaPlayer\\Player", "Volume",
                                   &type, &data),
            kErrorSuccess);
  EXPECT_EQ(type, kRegSz);
  EXPECT_EQ(data, std::string("35\0", 3));
  // Values of other kinds read as the default.
  reg.LoadValue(kHkeyCurrentUser, std::string(kKey) + "A\\S", "n", kRegDword, std::string("\1\0\0\0", 4));
  EXPECT_EQ(settings.GetSetting("A", "S", "n", "def"), "def");
}

TEST(SettingsTest, DeletingWhatIsMissingRaisesError5AndChangesAreTraced) {
  testing::CapturedTrace trace;
  MemoryRegistry reg;
  Settings settings{reg};
  settings.SaveSetting("App", "Sec\\Sub", "k", "v");
  settings.SaveSetting("App", "Sec", "k", "v");
  struct Case {
    const char* name;
    std::function<void()> call;
    int error;
  };
  const Case cases[] = {
      {"missing key", [&] { settings.DeleteSetting("App", "Sec", "nope"); }, 5},
      {"missing whole section", [&] { settings.DeleteSetting("App", "Nope"); }, 5},
      {"present key", [&] { settings.DeleteSetting("App", "Sec", "k"); }, 0},
      {"section with a subkey", [&] { settings.DeleteSetting("App", "Sec"); }, 0},
      {"its subkey went with it", [&] { settings.DeleteSetting("App", "Sec\\Sub"); }, 5},
      {"empty section", [&] { settings.SaveSetting("App", "", "k", "v"); }, 5},
  };
  for (const Case& c : cases) EXPECT_EQ(ErrorNumberOf(c.call), c.error) << c.name;
  settings.GetSetting("App", "Sec", "k");  // reading is not traced
  EXPECT_EQ(trace.Lines(),
            (std::vector<std::string>{
                R"({"t":0,"ev":"setting","app":"App","section":"Sec\\Sub","key":"k","value":"v"})",
                R"({"t":0,"ev":"setting","app":"App","section":"Sec","key":"k","value":"v"})",
                R"({"t":0,"ev":"setting-deleted","app":"App","section":"Sec","key":"k"})",
                R"({"t":0,"ev":"setting-deleted","app":"App","section":"Sec"})"}));
}

TEST(IniFileTest, ReadsOneValueLikeTheProfileCalls) {
  constexpr std::string_view kIni =
      "; smart.ini of the CD\r\n[Setup]\r\n  Command = setup.exe /s  \r\nEmpty=\r\n"
      "Quoted=\"C:\\Program Files\\Orva\\setup.exe\"\r\nHalfQuoted=\"setup.exe\" /s\r\nNoEquals\r\n"
      "[ other ]\nCommand=other\n[Setup]\nLate=ignored: only the first section of a name counts\n";
  struct Case {
    const char* name;
    std::string_view section, key;
    std::string want;
  };
  const Case cases[] = {
      {"trimmed", "Setup", "Command", "setup.exe /s"},
      {"absent section", "Nope", "Command", ""},
      {"matching quotes removed", "Setup", "Quoted", "C:\\Program Files\\Orva\\setup.exe"},
      {"unmatched quotes kept", "Setup", "HalfQuoted", "\"setup.exe\" /s"},
      {"line without equals", "Setup", "NoEquals", ""},
      {"section name trimmed", "Other", "Command", "other"},
      {"second section of a name", "Setup", "Late", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(ReadIniValue(kIni, c.section, c.key), c.want) << c.name;
  // Long values are cut at 255 characters, after 8-bit text became UTF-8.
  const std::string ini = "[A]\nK=" + std::string(300, 'x') + "\nL=" + std::string(300, '\xE8') + "\n";
  EXPECT_EQ(ReadIniValue(ini, "A", "K"), std::string(255, 'x'));
  std::string e255;
  for (int i = 0; i < 255; ++i) e255 += "\xC3\xA8";  // è, 255 times
  EXPECT_EQ(ReadIniValue(ini, "A", "L"), e255);
  EXPECT_EQ(ReadIniValue("\xEF\xBB\xBF[A]\nK=v", "a", "k"), "v");
}

}  // namespace
}  // namespace orva
