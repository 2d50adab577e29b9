#include "common/controls/controls.h"

#include <gtest/gtest.h>

namespace orva {
namespace {

TEST(CheckBox, ClickFiresOnlyWhenTheValueChanges) {
  CheckBox box("Riparti dal punto di uscita");
  int clicks = 0;
  box.Click = [&] { ++clicks; };
  box.SetValue(0);
  EXPECT_EQ(clicks, 0);
  box.SetValue(1);
  box.SetValue(1);
  EXPECT_EQ(clicks, 1);
  box.SetValue(0);
  EXPECT_EQ(clicks, 2);
}

TEST(CheckBox, HandlerSeesTheNewValueAndMaySetItAgain) {
  CheckBox box;
  std::vector<int> seen;
  box.Click = [&] {
    seen.push_back(box.Value());
    box.SetValue(1);  // setting what it already holds must not recurse
  };
  box.SetValue(1);
  EXPECT_EQ(seen, (std::vector<int>{1}));
}

TEST(TextBox, ChangeFiresForNewTextOnly) {
  TextBox text;
  std::vector<std::string> seen;
  text.Change = [&] { seen.push_back(text.Text()); };
  text.SetText("10");
  text.SetText("10");
  text.SetText("");
  EXPECT_EQ(seen, (std::vector<std::string>{"10", ""}));
}

TEST(OptionGroup, ChoosingOneClearsTheOthersAndClicksOnce) {
  OptionGroup group({{1, "Versione 9"}, {0, "Altre"}});
  std::vector<int> clicks;
  group.Click = [&](int i) { clicks.push_back(i); };
  EXPECT_EQ(group.Chosen(), -1);
  group.SetValue(1, true);
  group.SetValue(1, true);
  group.SetValue(0, true);
  EXPECT_EQ(clicks, (std::vector<int>{1, 0}));
  EXPECT_FALSE(group.Value(1));
  EXPECT_TRUE(group.Value(0));
  group.SetValue(7, true);  // no such button
  EXPECT_EQ(group.Chosen(), 0);
}

}  // namespace
}  // namespace orva
