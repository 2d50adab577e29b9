#include "common/controls/controls.h"

#include <gtest/gtest.h>

namespace orva {
namespace {

// The handlers fire when the value changes, whoever changes it, and only then.
TEST(Controls, HandlersFireOnlyWhenTheValueChanges) {
  CheckBox box("Riparti dal punto di uscita");
  std::vector<int> clicks;
  box.Click = [&] {
    clicks.push_back(box.Value());
    box.SetValue(box.Value());  // setting what it already holds must not recurse
  };
  for (int value : {0, 1, 1, 0}) box.SetValue(value);
  EXPECT_EQ(clicks, (std::vector<int>{1, 0}));

  TextBox text;
  std::vector<std::string> changes;
  text.Change = [&] { changes.push_back(text.Text()); };
  for (const char* value : {"10", "10", ""}) text.SetText(value);
  EXPECT_EQ(changes, (std::vector<std::string>{"10", ""}));
}

TEST(Controls, ChoosingAnOptionClearsTheOthersAndClicksOnce) {
  OptionGroup group({{1, "Versione 9"}, {0, "Altre"}});
  std::vector<int> clicks;
  group.Click = [&](int i) { clicks.push_back(i); };
  EXPECT_EQ(group.Chosen(), -1);
  group.SetValue(1, true);
  group.SetValue(1, true);
  group.SetValue(0, true);
  group.SetValue(7, true);  // no such button
  EXPECT_EQ(clicks, (std::vector<int>{1, 0}));
  EXPECT_TRUE(group.Value(0) && !group.Value(1));
  group.SetValue(0, false);
  EXPECT_EQ(group.Chosen(), -1);
}

}  // namespace
}  // namespace orva
