#include "common/controls/timer_control.h"

#include <gtest/gtest.h>

#include <vector>

#include "fakes/virtual_event_loop.h"

namespace orva {
namespace {

struct TimerFixture : ::testing::Test {
  fakes::VirtualEventLoop loop;
  TimerControl timer{loop, 1000};
  std::vector<std::int64_t> ticks;
  void SetUp() override {
    timer.Timer = [this] { ticks.push_back(loop.NowMs()); };
  }
};

TEST_F(TimerFixture, DisabledAtDesignTimeDoesNotFire) {
  loop.Advance(5000);
  EXPECT_TRUE(ticks.empty());
}

TEST_F(TimerFixture, FiresEveryIntervalWhileEnabled) {
  timer.SetEnabled(true);
  loop.Advance(3500);
  EXPECT_EQ(ticks, (std::vector<std::int64_t>{1000, 2000, 3000}));
}

TEST_F(TimerFixture, IntervalZeroStopsItButKeepsEnabled) {
  timer.SetEnabled(true);
  timer.SetInterval(0);
  loop.Advance(5000);
  EXPECT_TRUE(ticks.empty());
  EXPECT_TRUE(timer.Enabled());
  timer.SetInterval(200);
  loop.Advance(200);
  EXPECT_EQ(ticks, (std::vector<std::int64_t>{5200}));
}

TEST_F(TimerFixture, EnablingAgainRestartsTheCountdown) {
  timer.SetEnabled(true);
  loop.Advance(900);
  timer.SetEnabled(false);
  timer.SetEnabled(true);
  loop.Advance(900);
  EXPECT_TRUE(ticks.empty()) << "the countdown must start again from the full interval";
  loop.Advance(100);
  EXPECT_EQ(ticks, (std::vector<std::int64_t>{1900}));
}

TEST_F(TimerFixture, SettingEnabledWhenAlreadyEnabledKeepsTheCountdown) {
  timer.SetEnabled(true);
  loop.Advance(900);
  timer.SetEnabled(true);
  loop.Advance(100);
  EXPECT_EQ(ticks, (std::vector<std::int64_t>{1000}));
}

TEST_F(TimerFixture, ChangingTheIntervalWhileEnabledRestartsIt) {
  timer.SetEnabled(true);
  loop.Advance(700);
  timer.SetInterval(500);
  loop.Advance(499);
  EXPECT_TRUE(ticks.empty());
  loop.Advance(1);
  EXPECT_EQ(ticks, (std::vector<std::int64_t>{1200}));
}

TEST_F(TimerFixture, OneShotHandlerThatDisablesItselfFiresOnce) {
  timer.Timer = [this] {
    timer.SetEnabled(false);
    ticks.push_back(loop.NowMs());
  };
  timer.SetEnabled(true);
  loop.Advance(10000);
  EXPECT_EQ(ticks, (std::vector<std::int64_t>{1000}));
  EXPECT_FALSE(timer.Running());
}

TEST(TimerControl, DestroyedTimerLeavesNothingPending) {
  fakes::VirtualEventLoop loop;
  {
    TimerControl t(loop, 10, true);
    EXPECT_EQ(loop.PendingTimers(), 1u);
  }
  EXPECT_EQ(loop.PendingTimers(), 0u);
}

}  // namespace
}  // namespace orva
