#include "player/playback/frmWMP6.h"

#include <gtest/gtest.h>

#include "player/playback/playback_test_support.h"

namespace orva::testing {
namespace {

TEST(FrmWMP6Volume, HundredthsOfADecibelMapToTheEnginesCubicScale) {
  struct Case {
    std::int32_t level;
    std::int32_t engine;
  };
  // -60 dB is below the scale and clamps to its bottom, -40 dB.
  const Case cases[] = {{0, 100}, {-100, 96}, {-600, 79}, {-2000, 46}, {-4000, 22}, {-6000, 22}, {300, 100}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.level);
    EXPECT_EQ(frmWMP6::EngineVolumeFor(c.level), c.engine);
  }
}

using Host6 = PlaybackWorld;

TEST_F(Host6, PlaysLikeTheVersion9HostButReportsUnderItsOwnName) {
  Play(kAudio, 0);
  EXPECT_TRUE(player->IsPlaying());
  EXPECT_EQ(player->Volume(), 0);  // full volume on this scale
  EXPECT_FALSE(player->Versione9Presente());
  media.Fail("controls.pause", 5);
  player->Pause_Player();
  EXPECT_EQ(Reports(), std::vector<std::string>{"oWMP6 - Pause_Player / 5"});
}

}  // namespace
}  // namespace orva::testing
