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

}  // namespace
}  // namespace orva::smart
