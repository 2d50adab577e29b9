// The libmpv engine against real libmpv, with media generated at test time.

#include "backends/mpv/mpv_media_engine.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <algorithm>
#include <cstdio>
#include <vector>

#include "backends/mpv/mpv_test_support.h"

namespace orva::mpvbackend::testing {
namespace {

struct MpvEngine : ::testing::Test {
  std::unique_ptr<MpvMediaEngine> engine;
  std::vector<std::int32_t> states;
  std::vector<MediaError> errors;

  static void SetUpTestSuite() { EnsureApplication(); }

  void Make(MpvEngineOptions options) {
    engine = std::make_unique<MpvMediaEngine>(std::move(options));
    engine->events.PlayStateChange = [this](std::int32_t s) { states.push_back(s); };
    engine->events.Error = [this](const MediaError& e) { errors.push_back(e); };
  }
  int Count(std::int32_t state) const {
    return static_cast<int>(std::count(states.begin(), states.end(), state));
  }
  bool WaitForState(std::int32_t state, int timeoutMs = 10'000) {
    return WaitFor([&] { return Count(state) > 0; }, timeoutMs);
  }
  // Lets mpv settle (output buffers, late notices) for a while.
  static void Settle(int ms) {
    WaitFor([] { return false; }, ms);
  }
};

TEST_F(MpvEngine, SpeedKeepsTheTonesPitch) {
  for (const double rate : {0.5, 1.4, 2.0}) {
    SCOPED_TRACE(rate);
    const std::string out = std::string(ORVA_TEST_MEDIA_DIR) + "/speed-" + std::to_string(rate) + ".wav";
    std::remove(out.c_str());
    MpvEngineOptions options;
    options.embedVideo = false;
    options.extra = {{"vo", "null"}, {"ao", "pcm"}, {"ao-pcm-file", out}, {"untimed", "yes"}};
    states.clear();
    Make(options);
    engine->SetSettingsRate(rate);
    engine->SetURL(TestMedia("tono440.wav"));
    ASSERT_TRUE(WaitForState(playstate::kMediaEnded));
    engine.reset();  // closes the output file
    const SoundStats sound = MeasureSound(out);
    EXPECT_NEAR(sound.roughFrequency, 440, 5);
    EXPECT_NEAR(sound.lengthSeconds, 10.0 / rate, 0.3);
  }
}

TEST_F(MpvEngine, APositionSetBeforeTheFileOpensIsWhereItStarts) {
  Make(MpvEngineOptions::Headless(false));
  engine->SetURL(TestMedia("lungo.mp3"));
  engine->SetControlsCurrentPosition(42.5);
  EXPECT_EQ(engine->controlsCurrentPosition(), 42.5);
  ASSERT_TRUE(WaitForState(playstate::kPlaying));
  EXPECT_NEAR(engine->currentMediaDuration(), 60.0, 0.1);
  Settle(300);
  EXPECT_NEAR(engine->controlsCurrentPosition(), 42.8, 0.2);
  EXPECT_TRUE(errors.empty());
}

// Seconds of sound the engine writes when it plays `file` from `start` to
// its end: shorter than from 0 by exactly `start` when the seek lands.
double SecondsPlayedFrom(const std::string& file, double start) {
  const std::string out = std::string(ORVA_TEST_MEDIA_DIR) + "/landing-test.f32";
  std::remove(out.c_str());
  const MpvEngineOptions options = RawSoundToFile(out);
  {
    MpvMediaEngine engine(options);
    bool ended = false;
    engine.events.PlayStateChange = [&](std::int32_t s) { ended = ended || s == playstate::kMediaEnded; };
    engine.SetURL(file);
    engine.SetControlsCurrentPosition(start);
    if (!WaitFor([&] { return ended; }, 10'000)) return -1;
  }
  FILE* f = std::fopen(out.c_str(), "rb");
  if (f == nullptr) return -1;
  std::fseek(f, 0, SEEK_END);
  const long bytes = std::ftell(f);
  std::fclose(f);
  return static_cast<double>(bytes) / kRawSoundBytesPerSecond;
}

TEST_F(MpvEngine, AStartPositionIsWhereTheSoundStarts) {
  struct Case {
    const char* file;
    double offset;  // where every seek lands, relative to its target
  };
  // The WMA encoder's first frame (2048 samples at 22050 Hz) is not in the
  // file's timestamps, so its seeks all land that much earlier.
  const Case cases[] = {{"parlato.mp3", 0}, {"parlato.wav", 0}, {"parlato.wma", -2048.0 / 22050}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    const std::string file = TestMedia(c.file);
    const double whole = SecondsPlayedFrom(file, 0);
    ASSERT_GT(whole, 8);
    for (const double start : {1.0, 2.345, 6.01}) {
      SCOPED_TRACE(start);
      const double landing = whole - SecondsPlayedFrom(file, start);
      EXPECT_NEAR(landing - start, c.offset, 0.002);
    }
  }
}

TEST_F(MpvEngine, SeeksLandAndAreClampedToTheFile) {
  Make(MpvEngineOptions::Headless(false));
  engine->SetURL(TestMedia("lungo.mp3"));
  ASSERT_TRUE(WaitForState(playstate::kPlaying));
  engine->controlsPause();
  struct Case {
    double set;
    double reads;
  };
  const Case cases[] = {{10, 10}, {33.25, 33.25}, {-5, 0}, {0.5, 0.5}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.set);
    engine->SetControlsCurrentPosition(c.set);
    Settle(100);
    // While paused the target is reported, not mpv's lagging position.
    EXPECT_EQ(engine->controlsCurrentPosition(), c.reads);
  }
  engine->SetControlsCurrentPosition(20);
  engine->controlsPlay();
  Settle(500);
  EXPECT_NEAR(engine->controlsCurrentPosition(), 20.5, 0.15);
  // Past the end: clamped to the end, which ends the file once.
  engine->SetControlsCurrentPosition(500);
  ASSERT_TRUE(WaitForState(playstate::kStopped));
  EXPECT_EQ(Count(playstate::kMediaEnded), 1);
  EXPECT_TRUE(errors.empty());
}

TEST_F(MpvEngine, OneEndRaisesStateEightExactlyOnceAndKeepsTheFile) {
  Make(MpvEngineOptions::Headless(true));
  const std::string file = TestMedia("parlato.mp3");
  engine->SetURL(file);
  ASSERT_TRUE(WaitForState(playstate::kStopped));
  Settle(300);
  EXPECT_EQ(states, (std::vector<std::int32_t>{playstate::kTransitioning, playstate::kPlaying,
                                               playstate::kMediaEnded, playstate::kStopped}));
  EXPECT_EQ(engine->URL(), file);
  EXPECT_EQ(engine->controlsCurrentPosition(), 0.0);
  // It plays again from the start, and ends once more.
  states.clear();
  engine->controlsPlay();
  ASSERT_TRUE(WaitForState(playstate::kStopped));
  Settle(300);
  EXPECT_EQ(states,
            (std::vector<std::int32_t>{playstate::kPlaying, playstate::kMediaEnded, playstate::kStopped}));
}

TEST_F(MpvEngine, StopKeepsTheFileAndRewinds) {
  Make(MpvEngineOptions::Headless(false));
  const std::string file = TestMedia("parlato.wav");
  engine->SetURL(file);
  ASSERT_TRUE(WaitForState(playstate::kPlaying));
  Settle(300);
  engine->controlsStop();
  EXPECT_EQ(engine->playState(), playstate::kStopped);
  EXPECT_EQ(engine->URL(), file);
  EXPECT_EQ(engine->controlsCurrentPosition(), 0.0);
  Settle(200);
  EXPECT_EQ(Count(playstate::kMediaEnded), 0);
  engine->controlsPlay();
  Settle(300);
  EXPECT_NEAR(engine->controlsCurrentPosition(), 0.3, 0.15);
}

TEST_F(MpvEngine, EveryBookFormatPlaysToItsEnd) {
  struct Case {
    const char* file;
    std::int32_t width;
    std::int32_t height;
    double duration;
  };
  const Case cases[] = {{"parlato.wav", 0, 0, 9.0},   {"parlato.mp3", 0, 0, 9.06},
                        {"parlato.wma", 0, 0, 9.0},   {"video.wmv", 320, 240, 4.09},
                        {"video.avi", 320, 240, 4.0}, {"video.m1v", 320, 240, 4.0}};
  Make(MpvEngineOptions::Headless(true));
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    states.clear();
    engine->SetURL(TestMedia(c.file));
    ASSERT_TRUE(WaitForState(playstate::kPlaying));
    EXPECT_EQ(engine->currentMediaImageSourceWidth(), c.width);
    EXPECT_EQ(engine->currentMediaImageSourceHeight(), c.height);
    ASSERT_TRUE(WaitForState(playstate::kStopped));
    EXPECT_EQ(Count(playstate::kMediaEnded), 1);
    // Read anew each time: a raw video stream's duration (1.08 s when it
    // opens) is known only once it has played.
    EXPECT_NEAR(engine->currentMediaDuration(), c.duration, 0.2);
  }
  EXPECT_TRUE(errors.empty());
}

TEST_F(MpvEngine, AFileThatCannotBeOpenedRaisesOneErrorAndNeverPlays) {
  struct Case {
    const char* file;
    MediaError::Kind kind;
  };
  const Case cases[] = {{"manca.mp3", MediaError::Kind::kLoadingFailed},
                        {"rotto.mp3", MediaError::Kind::kUnrecognisedFormat}};
  Make(MpvEngineOptions::Headless(true));
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    states.clear();
    errors.clear();
    const std::string file = TestMedia(c.file);
    engine->SetURL(file);
    engine->SetControlsCurrentPosition(3);
    engine->controlsPlay();
    ASSERT_TRUE(WaitFor([&] { return !errors.empty(); }, 5'000));
    engine->controlsPlay();
    Settle(300);
    ASSERT_EQ(errors.size(), 1U);
    EXPECT_EQ(errors[0].kind, c.kind);
    EXPECT_EQ(errors[0].url, file);
    EXPECT_EQ(Count(playstate::kPlaying), 0);
    EXPECT_EQ(engine->currentMediaDuration(), 0.0);
  }
  // The engine still plays a good file afterwards.
  engine->SetURL(TestMedia("parlato.mp3"));
  EXPECT_TRUE(WaitForState(playstate::kPlaying));
}

TEST_F(MpvEngine, VolumeIsClampedToTheControlsScale) {
  Make(MpvEngineOptions::Headless(true));
  for (const auto& [given, kept] : {std::pair{150, 100}, {-3, 0}, {7, 7}}) {
    engine->SetSettingsVolume(given);
    EXPECT_EQ(engine->settingsVolume(), kept);
  }
  EXPECT_NE(engine->versionInfo().find("mpv"), std::string::npos);
}

}  // namespace
}  // namespace orva::mpvbackend::testing
