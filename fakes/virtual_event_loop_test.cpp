#include "fakes/virtual_event_loop.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace orva::fakes {
namespace {

TEST(VirtualEventLoop, FiresDueTimersInTimeOrderThenStartOrder) {
  VirtualEventLoop loop;
  std::vector<std::string> fired;
  loop.StartTimer(30, [&] { fired.push_back("c@" + std::to_string(loop.NowMs())); });
  loop.StartTimer(10, [&] { fired.push_back("a@" + std::to_string(loop.NowMs())); });
  loop.StartTimer(10, [&] { fired.push_back("b@" + std::to_string(loop.NowMs())); });
  loop.Advance(29);
  EXPECT_EQ(fired, (std::vector<std::string>{"a@10", "b@10"}));
  loop.Advance(1);
  EXPECT_EQ(fired.back(), "c@30");
  EXPECT_EQ(loop.NowMs(), 30);
}

TEST(VirtualEventLoop, TimerStartedByAHandlerFiresWithinTheSameAdvance) {
  VirtualEventLoop loop;
  std::vector<std::int64_t> at;
  std::function<void()> tick = [&] {
    at.push_back(loop.NowMs());
    if (at.size() < 3) loop.StartTimer(100, tick);
  };
  loop.StartTimer(100, tick);
  loop.Advance(1000);
  EXPECT_EQ(at, (std::vector<std::int64_t>{100, 200, 300}));
  EXPECT_EQ(loop.NowMs(), 1000);
}

TEST(VirtualEventLoop, StoppedTimerNeverFiresAndStoppingTwiceIsHarmless) {
  VirtualEventLoop loop;
  int fired = 0;
  const TimerId id = loop.StartTimer(5, [&] { ++fired; });
  loop.StopTimer(id);
  loop.StopTimer(id);
  loop.Advance(10);
  EXPECT_EQ(fired, 0);
}

TEST(VirtualEventLoop, DoEventsRunsOnlyWhatIsAlreadyDueAndSleepRunsNothing) {
  VirtualEventLoop loop;
  int zero = 0, later = 0;
  loop.StartTimer(0, [&] { ++zero; });
  loop.StartTimer(50, [&] { ++later; });
  loop.Sleep(20);
  EXPECT_EQ(zero + later, 0) << "Sleep must not run events";
  loop.DoEvents();
  EXPECT_EQ(zero, 1);
  EXPECT_EQ(later, 0);
  loop.RunUntilIdle();
  EXPECT_EQ(later, 1);
  EXPECT_EQ(loop.NowMs(), 50);
}

TEST(VirtualEventLoop, MinutesOfTicksRunWithoutRealTime) {
  VirtualEventLoop loop;
  int ticks = 0;
  std::function<void()> tick = [&] {
    ++ticks;
    loop.StartTimer(1, tick);
  };
  loop.StartTimer(1, tick);
  loop.Advance(10 * 60 * 1000);
  EXPECT_EQ(ticks, 10 * 60 * 1000);
}

}  // namespace
}  // namespace orva::fakes
