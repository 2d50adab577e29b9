#include "common/settings/settings.h"

#include <gtest/gtest.h>

#include "fakes/error_number.h"

#include <sstream>

#include "common/automation/trace.h"
#include "common/runtime/vb_error.h"
#include "common/settings/testing/registry_helpers.h"

namespace orva {
namespace {

class SettingsTest : public ::testing::Test {
 protected:
  void TearDown() override { InstallTrace(nullptr, nullptr); }
  MemoryRegistry reg;
  Settings settings{reg};
};

TEST_F(SettingsTest, ReadsWhatWasSavedAndDefaultsOtherwise) {
  EXPECT_EQ(settings.GetSetting("ZUV MediaPlayer", "Player", "Volume", "100"), "100");
  EXPECT_EQ(settings.GetSetting("ZUV MediaPlayer", "Player", "Brano"), "");
  settings.SaveSetting("ZUV MediaPlayer", "Player", "Volume", "35");
  EXPECT_EQ(settings.GetSetting("zuv mediaplayer", "PLAYER", "volume", "100"), "35");
  settings.SaveSetting("ZUV MediaPlayer", "Player", "Brano", "");
  EXPECT_EQ(settings.GetSetting("ZUV MediaPlayer", "Player", "Brano", "x"), "");
  // Stored as zero-terminated text under the runtime's own key.
  std::uint32_t type = 0;
  std::string data;
  ASSERT_EQ(reg.GetValue(kHkeyCurrentUser, "Software\\VB and VBA Program Settings\\ZUV MediaPlayer\\Player",
                         "Volume", &type, &data),
            kErrorSuccess);
  EXPECT_EQ(type, kRegSz);
  EXPECT_EQ(data, std::string("35\0", 3));
  // Values of other kinds read as the default.
  reg.LoadValue(kHkeyCurrentUser, "Software\\VB and VBA Program Settings\\A\\S", "n", kRegDword,
                std::string("\1\0\0\0", 4));
  EXPECT_EQ(settings.GetSetting("A", "S", "n", "def"), "def");
}

TEST_F(SettingsTest, SectionWithBackslashesIsAPathOfKeys) {
  settings.SaveSetting("ZUV MediaPlayer", "LIBRO\\CAP01.HTM", "1NOME", "Capitolo primo");
  EXPECT_EQ(testing::Subkeys(reg, kHkeyCurrentUser,
                             "Software\\VB and VBA Program Settings\\ZUV MediaPlayer\\LIBRO"),
            std::vector<std::string>{"CAP01.HTM"});
  EXPECT_EQ(settings.GetSetting("ZUV MediaPlayer", "LIBRO\\CAP01.HTM", "1NOME", "vuoto"), "Capitolo primo");
}

TEST_F(SettingsTest, DeletingWhatIsMissingRaisesError5) {
  settings.SaveSetting("App", "Sec\\Sub", "k", "v");
  settings.SaveSetting("App", "Sec", "k", "v");
  struct Case {
    const char* name;
    std::function<void()> call;
    int error;
  };
  const Case cases[] = {
      {"missing key", [&] { settings.DeleteSetting("App", "Sec", "nope"); }, 5},
      {"missing section", [&] { settings.DeleteSetting("App", "Nope", "k"); }, 5},
      {"missing whole section", [&] { settings.DeleteSetting("App", "Nope"); }, 5},
      {"present key", [&] { settings.DeleteSetting("App", "Sec", "k"); }, 0},
      {"same key again", [&] { settings.DeleteSetting("App", "Sec", "k"); }, 5},
      {"section with a subkey", [&] { settings.DeleteSetting("App", "Sec"); }, 0},
      {"its subkey went with it", [&] { settings.DeleteSetting("App", "Sec\\Sub"); }, 5},
      {"empty section", [&] { settings.SaveSetting("App", "", "k", "v"); }, 5},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(ErrorNumberOf(c.call), c.error);
  }
}

TEST_F(SettingsTest, SavingAndDeletingAreTraced) {
  std::ostringstream out;
  InstallTrace(MakeStreamTraceSink(out), nullptr);
  settings.SaveSetting("ZUV MediaPlayer", "Player", "Rate", "1,5");
  settings.DeleteSetting("ZUV MediaPlayer", "Player", "Rate");
  settings.DeleteSetting("ZUV MediaPlayer", "Player");
  settings.GetSetting("ZUV MediaPlayer", "Player", "Rate");
  EXPECT_EQ(out.str(),
            "{\"t\":0,\"ev\":\"setting\",\"app\":\"ZUV MediaPlayer\",\"section\":\"Player\",\"key\":\"Rate\","
            "\"value\":\"1,5\"}\n"
            "{\"t\":0,\"ev\":\"setting-deleted\",\"app\":\"ZUV MediaPlayer\",\"section\":\"Player\","
            "\"key\":\"Rate\"}\n"
            "{\"t\":0,\"ev\":\"setting-deleted\",\"app\":\"ZUV MediaPlayer\",\"section\":\"Player\"}\n");
}

TEST_F(SettingsTest, RefusedWritesRaiseError5) {
  testing::RefusingRegistry refusing;
  refusing.refuseAll = true;
  Settings s(refusing);
  EXPECT_EQ(ErrorNumberOf([&] { s.SaveSetting("A", "B", "C", "D"); }), 5);
  EXPECT_EQ(refusing.OpenHandleCount(), 0u);
}

}  // namespace
}  // namespace orva
