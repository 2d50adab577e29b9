// The launcher's windows on the fake clock.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "launcher/announcing_windows.h"
#include "launcher/scelta.h"
#include "launcher/testing/launcher_test_support.h"

namespace orva::smart {
namespace {

using testing::FakeMachine;

class Windows : public ::testing::Test {
 protected:
  Windows() {
    m.fs.AddFile("/cd/OrvaPlayer");
    m.fs.AddFile("/cd/start");
    launcher.SetLauncherFolder("/cd/");
    launcher.SetInstallerCommand("./setup.sh --quiet");
  }
  Scelta& ShowScelta() {
    launcher.ShowScelta();
    return *dynamic_cast<Scelta*>(launcher.Find("scelta"));
  }
  std::string Setting(const char* key) { return m.settings.GetSetting("NOLinker", "Default", key, "<none>"); }
  std::vector<std::string> Open() {
    std::vector<std::string> names;
    for (auto* w : launcher.OpenWindows()) names.push_back(w->Name());
    return names;
  }

  FakeMachine m;
  Launcher launcher{m.Services(), nullptr};
};

struct AnnouncingCase {
  const char* window;
  int delayMs;
  const char* caption;
  const char* announcement;
  const char* started;
};

class AnnouncingWindows : public Windows, public ::testing::WithParamInterface<AnnouncingCase> {};

TEST_P(AnnouncingWindows, StartTheirProgramAfterTheirDelayAndClose) {
  const AnnouncingCase& c = GetParam();
  const std::string window = c.window;
  if (window == "vecchia") launcher.ShowVecchia();
  if (window == "avviocd") launcher.ShowAvvioCd();
  if (window == "avviohd") launcher.ShowAvvioHd();
  launcher.Form1Unloaded();
  LauncherWindow* shown = launcher.Find(window);
  ASSERT_NE(shown, nullptr);
  EXPECT_EQ(shown->Caption(), c.caption);
  EXPECT_EQ(shown->Label1(), c.announcement);

  m.loop.Advance(c.delayMs - 1);
  EXPECT_TRUE(m.Started().empty());
  EXPECT_EQ(Open(), std::vector<std::string>{window});

  m.loop.Advance(1);
  EXPECT_EQ(m.Started(), std::vector<std::string>{c.started});
  EXPECT_EQ(m.processes.Starts().at(0).style, WindowStyle::kMaximizedFocus);
  EXPECT_TRUE(Open().empty());
  EXPECT_TRUE(launcher.Ended());

  m.loop.Advance(10000);
  EXPECT_EQ(m.Started().size(), 1u) << "the program is started once only";
}

INSTANTIATE_TEST_SUITE_P(
    Delays, AnnouncingWindows,
    ::testing::Values(
        AnnouncingCase{"vecchia", 2000, "Rilevamento versione OrvaPlayer",
                       "Rilevo nella macchina una precedente versione di OrvaPlayer.\r\n"
                       "Procedo con l'installazione della nuova versione...",
                       "sh: ./setup.sh --quiet"},
        AnnouncingCase{"avviocd", 1000, "Avvio da cd", "Avvio OrvaPlayer dal CD", "./OrvaPlayer"},
        AnnouncingCase{"avviohd", 1500, "Avvio da hd", "Avvio OrvaPlayer da Hard Disk", "./start"}),
    [](const auto& p) { return std::string(p.param.window); });

TEST_F(Windows, ProgramThatCannotStartIsReportedAndTheWindowStillCloses) {
  m.processes.SetMissing("./OrvaPlayer");
  launcher.ShowAvvioCd();
  launcher.Form1Unloaded();
  m.loop.Advance(1000);
  ASSERT_EQ(m.dialogs.Shown().size(), 1u);
  EXPECT_EQ(m.dialogs.Shown()[0].text, "Errore di run-time '53':\r\n\r\nImpossibile trovare il file");
  EXPECT_EQ(m.dialogs.Shown()[0].title, "smart");
  EXPECT_TRUE(launcher.Ended());
}

TEST_F(Windows, EmptyInstallerCommandIsReported) {
  launcher.SetInstallerCommand("  ");
  launcher.ShowVecchia();
  launcher.Form1Unloaded();
  m.loop.Advance(2000);
  ASSERT_EQ(m.dialogs.Shown().size(), 1u);
  EXPECT_EQ(m.dialogs.Shown()[0].text,
            "Errore di run-time '5':\r\n\r\nChiamata di routine o argomento non validi");
  EXPECT_TRUE(m.Started().empty());
  EXPECT_TRUE(launcher.Ended());
}

TEST_F(Windows, LeftAloneSceltaStartsFromCdAfterSixtySteps) {
  Scelta& scelta = ShowScelta();
  launcher.Form1Unloaded();
  EXPECT_EQ(scelta.Text1.Text(), "60");
  EXPECT_EQ(scelta.Label1(),
            "Non è stata rilevata nessuna versione di OrvaPlayer in questo personal computer.\r\n"
            "Che cosa si intende fare?");

  m.loop.Advance(59 * 1000);
  EXPECT_EQ(scelta.Text1.Text(), "1");
  EXPECT_EQ(Open(), std::vector<std::string>{"scelta"});

  m.loop.Advance(1000);
  EXPECT_EQ(Open(), std::vector<std::string>{"avviocd"});
  EXPECT_TRUE(m.Started().empty());

  m.loop.Advance(1000);
  EXPECT_EQ(m.Started(), std::vector<std::string>{"./OrvaPlayer"});
  EXPECT_TRUE(launcher.Ended());
  EXPECT_EQ(Setting("noform"), "<none>");
  EXPECT_EQ(Setting("sfogliacd"), "<none>");
}

struct ButtonCase {
  const char* name;
  void (Scelta::*click)();
  bool ticked;
  const char* noform;
  const char* sfogliacd;
  std::vector<std::string> windowAfter;
  std::vector<std::string> started;  // once every window has closed
};

class SceltaButtons : public Windows, public ::testing::WithParamInterface<ButtonCase> {};

TEST_P(SceltaButtons, DoTheirWorkAndRememberWhenTicked) {
  const ButtonCase& c = GetParam();
  Scelta& scelta = ShowScelta();
  launcher.Form1Unloaded();
  m.loop.Advance(5000);
  if (c.ticked) scelta.Check1.SetValue(1);

  (scelta.*c.click)();

  EXPECT_EQ(Open(), c.windowAfter);
  EXPECT_EQ(Setting("noform"), c.noform);
  EXPECT_EQ(Setting("sfogliacd"), c.sfogliacd);
  m.loop.Advance(120 * 1000);
  EXPECT_EQ(m.Started(), c.started);
  EXPECT_TRUE(launcher.Ended());
}

INSTANTIATE_TEST_SUITE_P(
    Buttons, SceltaButtons,
    ::testing::Values(
        ButtonCase{"avvia", &Scelta::avvia_Click, false, "<none>", "<none>", {"avviocd"}, {"./OrvaPlayer"}},
        ButtonCase{"avvia_ticked", &Scelta::avvia_Click, true, "1", "0", {"avviocd"}, {"./OrvaPlayer"}},
        ButtonCase{
            "Command1", &Scelta::Command1_Click, false, "<none>", "<none>", {}, {"xdg-open /cd/Libro"}},
        ButtonCase{"Command1_ticked", &Scelta::Command1_Click, true, "1", "1", {}, {"xdg-open /cd/Libro"}},
        ButtonCase{
            "installa", &Scelta::installa_Click, false, "<none>", "<none>", {}, {"sh: ./setup.sh --quiet"}},
        ButtonCase{"installa_ticked",
                   &Scelta::installa_Click,
                   true,
                   "<none>",
                   "<none>",
                   {},
                   {"sh: ./setup.sh --quiet"}}),
    [](const auto& p) { return std::string(p.param.name); });

TEST_F(Windows, ClosingSceltaStopsTheCountdownAndEndsTheLauncher) {
  Scelta& scelta = ShowScelta();
  launcher.Form1Unloaded();
  m.loop.Advance(3000);
  scelta.CloseRequested();
  EXPECT_TRUE(launcher.Ended());
  m.loop.Advance(120 * 1000);
  EXPECT_TRUE(m.Started().empty());
  EXPECT_EQ(m.loop.PendingTimers(), 0u);
}

TEST_F(Windows, RefusedSettingIsReportedAndTheChoiceStillGoesOn) {
  m.registry.SetReadOnly(kHkeyCurrentUser, true);
  Scelta& scelta = ShowScelta();
  launcher.Form1Unloaded();
  scelta.Check1.SetValue(1);
  scelta.avvia_Click();
  ASSERT_EQ(m.dialogs.Shown().size(), 1u);
  EXPECT_EQ(m.dialogs.Shown()[0].icon, MsgBoxIcon::kCritical);
  EXPECT_EQ(Open(), std::vector<std::string>{"avviocd"});
}

struct TypedCase {
  const char* typed;
  int seconds;  // the countdown goes on from
};

class SceltaText1 : public Windows, public ::testing::WithParamInterface<TypedCase> {};

TEST_P(SceltaText1, AcceptsWholeNumbersFrom1To999Only) {
  const TypedCase& c = GetParam();
  Scelta& scelta = ShowScelta();
  launcher.Form1Unloaded();
  m.loop.Advance(10 * 1000);  // 50 left
  scelta.Text1.SetText(c.typed);
  EXPECT_EQ(scelta.Seconds(), c.seconds);

  // Whatever was typed, the countdown reaches 0 and starts the player.
  m.loop.Advance((c.seconds - 1) * 1000);
  EXPECT_EQ(scelta.Text1.Text(), "1");
  EXPECT_EQ(Open(), std::vector<std::string>{"scelta"});
  m.loop.Advance(1000);
  EXPECT_EQ(Open(), std::vector<std::string>{"avviocd"});
}

INSTANTIATE_TEST_SUITE_P(Typed, SceltaText1,
                         ::testing::Values(TypedCase{"5", 5}, TypedCase{" 12 ", 12}, TypedCase{"999", 999},
                                           TypedCase{"1", 1}, TypedCase{"", 50}, TypedCase{"0", 50},
                                           TypedCase{"1000", 50}, TypedCase{"-3", 50}, TypedCase{"2.5", 50},
                                           TypedCase{"abc", 50}, TypedCase{"1e2", 50}),
                         [](const auto& p) { return "case" + std::to_string(p.index); });

TEST_F(Windows, LauncherEndsOnlyWhenTheLastWindowCloses) {
  launcher.ShowAvvioCd();
  launcher.ShowVecchia();
  launcher.Form1Unloaded();
  m.loop.Advance(1000);
  EXPECT_FALSE(launcher.Ended());
  m.loop.Advance(1000);
  EXPECT_TRUE(launcher.Ended());
}

}  // namespace
}  // namespace orva::smart
