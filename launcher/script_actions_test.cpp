#include "launcher/script_actions.h"

#include <gtest/gtest.h>

#include "launcher/testing/launcher_test_support.h"

namespace orva::smart {
namespace {

TEST(LauncherScript, RefusesUnknownButtonsBeforeTheRunAndClicksWithoutAWindow) {
  ScriptActions actions;
  AddLauncherScriptActions(actions);
  EXPECT_THROW(ParseScript("click Annulla\n", "t.script", actions), ScriptError);
  EXPECT_THROW(ParseScript("check 2\n", "t.script", actions), ScriptError);
  testing::FakeMachine m;
  Launcher launcher(m.Services(), nullptr);
  BindLauncherScriptActions(actions, launcher, [] {});
  EXPECT_THROW(actions.Find("click")->run({"avvia"}), std::runtime_error);
}

TEST(LauncherScript, DrivesTheChoiceWindow) {
  testing::FakeMachine m;
  m.fs.AddFile("/cd/smart.ini", "[nuovo]\r\nfile=./setup.sh\r\n");
  Launcher launcher(m.Services(), nullptr);
  ScriptActions actions;
  AddLauncherScriptActions(actions);
  int events = 0;
  BindLauncherScriptActions(actions, launcher, [&] { ++events; });
  launcher.Run();
  for (const ScriptStep& step : ParseScript("type 7\ncheck 1\nclick Command1\n", "t.script", actions).steps)
    actions.Find(step.action)->run(step.args);
  EXPECT_EQ(m.settings.GetSetting("NOLinker", "Default", "sfogliacd"), "1");
  EXPECT_EQ(m.Started(), std::vector<std::string>{"xdg-open /cd/Libro"});
  EXPECT_EQ(events, 3);
  EXPECT_TRUE(launcher.Ended());
}

}  // namespace
}  // namespace orva::smart
