#include "common/controls/controls.h"

#include <gtest/gtest.h>

#include <sstream>

#include "common/controls/timer_control.h"
#include "fakes/virtual_event_loop.h"

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
}

TEST(Controls, ChoosingAnOptionClearsTheOthersAndClicksOnce) {
  OptionGroup group({{1, "Versione 9"}, {0, "Altre"}});
  std::vector<int> clicks;
  group.Click = [&](int i) { clicks.push_back(i); };
  EXPECT_EQ(group.Chosen(), -1);
  for (int i : {1, 1, 0, 7}) group.SetValue(i, true);  // 7: no such button
  EXPECT_EQ(clicks, (std::vector<int>{1, 0}));
  EXPECT_TRUE(group.Value(0) && !group.Value(1));
  group.SetValue(0, false);
  EXPECT_EQ(group.Chosen(), -1);
}

TEST(TimerControl, FiresEveryIntervalWhileEnabled) {
  // Steps: "on" and "off" set Enabled, "=N" sets the Interval, "+N" moves the clock on.
  const struct {
    const char* name;
    const char* steps;
    std::vector<std::int64_t> ticks;
  } cases[] = {
      {"disabled_at_design_time", "+5000", {}},
      {"every_interval", "on +3500", {1000, 2000, 3000}},
      {"interval_zero_stops_it_but_keeps_enabled", "on =0 +5000 =200 +200", {5200}},
      {"enabling_again_restarts_the_countdown", "on +900 off on +1000", {1900}},
      {"new_interval_while_enabled_restarts_it", "on +700 =500 +500", {1200}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    fakes::VirtualEventLoop loop;
    TimerControl timer(loop, 1000);
    std::vector<std::int64_t> ticks;
    timer.Timer = [&] { ticks.push_back(loop.NowMs()); };
    std::istringstream steps(c.steps);
    for (std::string step; steps >> step;) {
      if (step == "on" || step == "off")
        timer.SetEnabled(step == "on");
      else if (step[0] == '=')
        timer.SetInterval(std::stoi(step.substr(1)));
      else
        loop.Advance(std::stoll(step.substr(1)));
    }
    EXPECT_EQ(ticks, c.ticks);
  }
}

TEST(TimerControl, HandlerMayStopItAndDestructionLeavesNothingPending) {
  fakes::VirtualEventLoop loop;
  int ticks = 0;
  {
    TimerControl timer(loop, 1000, true);
    timer.Timer = [&] {
      timer.SetEnabled(false);
      ++ticks;
    };
    loop.Advance(10000);
    EXPECT_EQ(ticks, 1);
    EXPECT_FALSE(timer.Running() || timer.Enabled());
    timer.SetEnabled(true);
  }
  EXPECT_EQ(loop.PendingTimers(), 0u);
}

}  // namespace
}  // namespace orva
