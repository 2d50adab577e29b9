// The launcher's windows on the fake clock.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "launcher/announcing_windows.h"
#include "launcher/scelta.h"
#include "launcher/testing/launcher_test_support.h"

namespace orva::smart {
namespace {

struct World : testing::LauncherOnCd {
  World() { m.fs.AddFile("/cd/start"); }
  Scelta& ShowScelta() {
    launcher.ShowScelta();
    launcher.Form1Unloaded();
    return *dynamic_cast<Scelta*>(launcher.Find("scelta"));
  }
  std::string Setting(const char* key) { return m.settings.GetSetting("NOLinker", "Default", key, "<none>"); }
  std::vector<std::string> Open() {
    std::vector<std::string> names;
    for (auto* w : launcher.OpenWindows()) names.push_back(w->Name());
    return names;
  }
};

class Windows : public ::testing::Test, public World {};

TEST(AnnouncingWindows, StartTheirProgramAfterTheirDelayAndClose) {
  const struct {
    void (Launcher::*show)();
    const char* window;
    int delayMs;
    const char* started;
  } cases[] = {
      {&Launcher::ShowVecchia, "vecchia", 2000, "sh: ./setup.sh --quiet"},
      {&Launcher::ShowAvvioCd, "avviocd", 1000, "./OrvaPlayer"},
      {&Launcher::ShowAvvioHd, "avviohd", 1500, "./start"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.window);
    World w;
    (w.launcher.*c.show)();
    w.launcher.Form1Unloaded();
    w.m.loop.Advance(c.delayMs - 1);
    EXPECT_TRUE(w.m.Started().empty());
    EXPECT_EQ(w.Open(), std::vector<std::string>{c.window});

    w.m.loop.Advance(1);
    EXPECT_EQ(w.m.Started(), std::vector<std::string>{c.started});
    EXPECT_EQ(w.m.processes.Starts().at(0).style, WindowStyle::kMaximizedFocus);
    EXPECT_TRUE(w.Open().empty());
    EXPECT_TRUE(w.launcher.Ended());
    w.m.loop.Advance(10000);
    EXPECT_EQ(w.m.Started().size(), 1u) << "the program is started once only";
  }
}

// A start that fails in a window's timer (here: an empty installer command,
// which is not run) is reported, and the window still closes.
TEST_F(Windows, AFailedStartIsReportedAndTheWindowStillCloses) {
  launcher.SetInstallerCommand("  ");
  launcher.ShowVecchia();
  launcher.Form1Unloaded();
  m.loop.Advance(2000);
  ASSERT_EQ(m.dialogs.Shown().size(), 1u);
  EXPECT_EQ(m.dialogs.Shown()[0].text,
            "Errore di run-time '5':\r\n\r\nChiamata di routine o argomento non validi");
  EXPECT_EQ(m.dialogs.Shown()[0].title, "smart");
  EXPECT_TRUE(m.Started().empty());
  EXPECT_TRUE(launcher.Ended());
}

TEST(SceltaButtons, DoTheirWorkAndRememberOnlyTheChoicesThatCanBeRemembered) {
  const struct {
    void (Scelta::*click)();
    const char* name;
    const char* noform;
    const char* sfogliacd;
    std::vector<std::string> windowAfter;
    const char* started;  // once every window has closed
  } cases[] = {
      {&Scelta::avvia_Click, "avvia", "1", "0", {"avviocd"}, "./OrvaPlayer"},
      {&Scelta::installa_Click, "installa", "<none>", "<none>", {}, "sh: ./setup.sh --quiet"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    World w;
    Scelta& scelta = w.ShowScelta();
    w.m.loop.Advance(5000);
    scelta.Check1.SetValue(1);
    (scelta.*c.click)();
    EXPECT_EQ(w.Open(), c.windowAfter);
    EXPECT_EQ(w.Setting("noform"), c.noform);
    EXPECT_EQ(w.Setting("sfogliacd"), c.sfogliacd);
    w.m.loop.Advance(120 * 1000);
    EXPECT_EQ(w.m.Started(), std::vector<std::string>{c.started});
    EXPECT_TRUE(w.launcher.Ended());
  }
}

TEST_F(Windows, RefusedSettingIsReportedAndTheChoiceStillGoesOn) {
  m.registry.SetReadOnly(kHkeyCurrentUser, true);
  Scelta& scelta = ShowScelta();
  scelta.Check1.SetValue(1);
  scelta.avvia_Click();
  ASSERT_EQ(m.dialogs.Shown().size(), 1u);
  EXPECT_EQ(m.dialogs.Shown()[0].icon, MsgBoxIcon::kCritical);
  EXPECT_EQ(Open(), std::vector<std::string>{"avviocd"});
}

TEST(SceltaText1, AcceptsWholeNumbersFrom1To999Only) {
  // What was typed, and the seconds the countdown goes on from (50 were left).
  const std::pair<const char*, int> cases[] = {{" 12 ", 12}, {"999", 999}, {"1", 1},    {"", 50},
                                               {"0", 50},    {"1000", 50}, {"2.5", 50}, {"1e2", 50}};
  for (const auto& [typed, seconds] : cases) {
    SCOPED_TRACE(typed);
    World w;
    Scelta& scelta = w.ShowScelta();
    w.m.loop.Advance(10 * 1000);
    scelta.Text1.SetText(typed);
    EXPECT_EQ(scelta.Seconds(), seconds);
    // Whatever was typed, the countdown reaches 0 and starts the player.
    w.m.loop.Advance((seconds - 1) * 1000);
    EXPECT_EQ(scelta.Text1.Text(), "1");
    EXPECT_EQ(w.Open(), std::vector<std::string>{"scelta"});
    w.m.loop.Advance(1000);
    EXPECT_EQ(w.Open(), std::vector<std::string>{"avviocd"});
  }
}

}  // namespace
}  // namespace orva::smart
