#pragma once
// What the player hosts rely on from a media engine. A world type provides
// Make(untimed), File(name) for parlato.mp3 (9 s), lungo.mp3 (60 s) and
// manca.mp3 (missing), and WaitFor(done, timeoutMs), which runs the events.
// Waits have time-outs far above what they take; nothing asserts a duration.

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "player/playback/media_engine.h"

namespace orva::testing {

template <class World>
struct MediaEngineContract : ::testing::Test {
  World world;
  std::unique_ptr<MediaEngine> engine;
  std::vector<std::int32_t> states;
  std::vector<MediaError> errors;

  void Make(bool untimed) {
    engine = world.Make(untimed);
    engine->events.PlayStateChange = [this](std::int32_t s) { states.push_back(s); };
    engine->events.Error = [this](const MediaError& e) { errors.push_back(e); };
  }
  int Count(std::int32_t state) const {
    return static_cast<int>(std::count(states.begin(), states.end(), state));
  }
  bool WaitForState(std::int32_t state) {
    return world.WaitFor([&] { return Count(state) > 0; }, 10'000);
  }
  bool WaitForPosition(const std::function<bool(double)>& reached) {
    return world.WaitFor([&] { return reached(engine->controlsCurrentPosition()); }, 10'000);
  }
  // Lets late notices arrive, for checks that none does.
  void Settle() {
    world.WaitFor([] { return false; }, 300);
  }
};

TYPED_TEST_SUITE_P(MediaEngineContract);

TYPED_TEST_P(MediaEngineContract, TheEndIsEightOnceThenStoppedAndRewoundWithTheFileKept) {
  this->Make(true);
  const std::string file = this->world.File("parlato.mp3");
  this->engine->SetURL(file);
  ASSERT_TRUE(this->WaitForState(playstate::kStopped));
  this->Settle();
  EXPECT_EQ(this->states, (std::vector<std::int32_t>{playstate::kTransitioning, playstate::kPlaying,
                                                     playstate::kMediaEnded, playstate::kStopped}));
  EXPECT_EQ(this->engine->URL(), file);
  EXPECT_EQ(this->engine->controlsCurrentPosition(), 0.0);
  // It plays again from the start, and ends once more.
  this->states.clear();
  this->engine->controlsPlay();
  ASSERT_TRUE(this->WaitForState(playstate::kStopped));
  this->Settle();
  EXPECT_EQ(this->states,
            (std::vector<std::int32_t>{playstate::kPlaying, playstate::kMediaEnded, playstate::kStopped}));
}

TYPED_TEST_P(MediaEngineContract, SeeksBeforeAndAfterTheFileOpensLandWithinIt) {
  this->Make(false);
  this->engine->SetURL(this->world.File("lungo.mp3"));
  this->engine->SetControlsCurrentPosition(42.5);
  EXPECT_EQ(this->engine->controlsCurrentPosition(), 42.5);
  ASSERT_TRUE(this->WaitForState(playstate::kPlaying));
  EXPECT_NEAR(this->engine->currentMediaDuration(), 60.0, 0.1);
  EXPECT_NEAR(this->engine->controlsCurrentPosition(), 42.5, 1.0);  // where it starts
  this->engine->controlsPause();
  for (const auto& [set, reads] : {std::pair{10.0, 10.0}, {33.25, 33.25}, {-5.0, 0.0}, {0.5, 0.5}}) {
    SCOPED_TRACE(set);
    this->engine->SetControlsCurrentPosition(set);
    this->Settle();
    // While paused: the target, not a position that lags behind the seek.
    EXPECT_EQ(this->engine->controlsCurrentPosition(), reads);
  }
  // Playing goes on from where the seek landed.
  this->engine->SetControlsCurrentPosition(20);
  this->engine->controlsPlay();
  ASSERT_TRUE(this->WaitForPosition([](double at) { return at > 20.2; }));
  EXPECT_LT(this->engine->controlsCurrentPosition(), 25);
  // Past the end: clamped to the end, which ends the file once.
  this->engine->SetControlsCurrentPosition(500);
  ASSERT_TRUE(this->WaitForState(playstate::kStopped));
  this->Settle();
  EXPECT_EQ(this->Count(playstate::kMediaEnded), 1);
  EXPECT_TRUE(this->errors.empty());
}

TYPED_TEST_P(MediaEngineContract, StopKeepsTheFileAndRewindsWithoutAnEnd) {
  this->Make(false);
  const std::string file = this->world.File("parlato.mp3");
  this->engine->SetURL(file);
  ASSERT_TRUE(this->WaitForPosition([](double at) { return at > 1.0; }));
  this->engine->controlsStop();
  EXPECT_EQ(this->engine->playState(), playstate::kStopped);
  EXPECT_EQ(this->engine->URL(), file);
  EXPECT_EQ(this->engine->controlsCurrentPosition(), 0.0);
  this->Settle();
  EXPECT_EQ(this->Count(playstate::kMediaEnded), 0);
  this->states.clear();
  this->engine->controlsPlay();
  ASSERT_TRUE(this->WaitForState(playstate::kPlaying));
  EXPECT_LT(this->engine->controlsCurrentPosition(), 1.0);
}

TYPED_TEST_P(MediaEngineContract, AFileThatCannotBeOpenedRaisesOneErrorAndNeverPlays) {
  this->Make(true);
  const std::string file = this->world.File("manca.mp3");
  this->engine->SetURL(file);
  this->engine->SetControlsCurrentPosition(3);
  this->engine->controlsPlay();
  ASSERT_TRUE(this->world.WaitFor([&] { return !this->errors.empty(); }, 10'000));
  this->engine->controlsPlay();
  this->Settle();
  ASSERT_EQ(this->errors.size(), 1U);
  EXPECT_EQ(this->errors[0].kind, MediaError::Kind::kLoadingFailed);
  EXPECT_EQ(this->errors[0].url, file);
  EXPECT_EQ(this->Count(playstate::kPlaying), 0);
  EXPECT_EQ(this->engine->currentMediaDuration(), 0.0);
  // The engine still plays a good file afterwards.
  this->engine->SetURL(this->world.File("parlato.mp3"));
  EXPECT_TRUE(this->WaitForState(playstate::kPlaying));
}

REGISTER_TYPED_TEST_SUITE_P(MediaEngineContract, TheEndIsEightOnceThenStoppedAndRewoundWithTheFileKept,
                            SeeksBeforeAndAfterTheFileOpensLandWithinIt,
                            StopKeepsTheFileAndRewindsWithoutAnEnd,
                            AFileThatCannotBeOpenedRaisesOneErrorAndNeverPlays);

}  // namespace orva::testing
