#include "launcher/script_actions.h"

#include <gtest/gtest.h>

#include "launcher/scelta.h"
#include "launcher/testing/launcher_test_support.h"

namespace orva::smart {
namespace {

TEST(LauncherScript, DrivesTheChoiceWindow) {
  testing::FakeMachine m;
  m.fs.AddFile("/cd/smart.ini", "[nuovo]\r\nfile=./setup.sh\r\n");
  Launcher launcher(m.Services(), nullptr);
  ScriptActions actions;
  AddLauncherScriptActions(actions);
  int events = 0;
  BindLauncherScriptActions(actions, launcher, [&] { ++events; });
  const Script script = ParseScript("type 7\ncheck 1\nclick Command1\n", "t.script", actions);

  EXPECT_THROW(actions.Find("click")->run({"avvia"}), std::runtime_error) << "no window yet";
  launcher.Run();
  for (const ScriptStep& step : script.steps) actions.Find(step.action)->run(step.args);

  EXPECT_EQ(m.settings.GetSetting("NOLinker", "Default", "noform"), "1");
  EXPECT_EQ(m.settings.GetSetting("NOLinker", "Default", "sfogliacd"), "1");
  EXPECT_EQ(m.Started(), std::vector<std::string>{"xdg-open /cd/Libro"});
  EXPECT_EQ(events, 3);
  EXPECT_TRUE(launcher.Ended());
}

TEST(LauncherScript, RefusesUnknownButtonsBeforeTheRun) {
  ScriptActions actions;
  AddLauncherScriptActions(actions);
  EXPECT_THROW(ParseScript("click Annulla\n", "t.script", actions), ScriptError);
  EXPECT_THROW(ParseScript("check 2\n", "t.script", actions), ScriptError);
}

}  // namespace
}  // namespace orva::smart
