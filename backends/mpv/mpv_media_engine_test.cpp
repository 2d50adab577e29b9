// The libmpv engine against real libmpv, with media generated at test time.

#include "backends/mpv/mpv_media_engine.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "backends/mpv/testing/mpv_test_support.h"
#include "backends/qt/platform/testing/offscreen_application.h"
#include "player/playback/testing/media_engine_contract.h"

namespace orva::mpvbackend::testing {
namespace {

struct MpvWorld {
  MpvWorld() { orva::testing::OffscreenApplication(); }
  std::unique_ptr<MediaEngine> Make(bool untimed) {
    return std::make_unique<MpvMediaEngine>(MpvEngineOptions::Headless(untimed));
  }
  std::string File(const std::string& name) { return TestMedia(name); }
  bool WaitFor(const std::function<bool()>& done, int timeoutMs) { return testing::WaitFor(done, timeoutMs); }
};

TEST(MpvEngine, SpeedKeepsTheTonesPitch) {
  orva::testing::OffscreenApplication();
  for (const double rate : {0.5, 1.4, 2.0}) {
    SCOPED_TRACE(rate);
    const std::string out = std::string(ORVA_TEST_MEDIA_DIR) + "/speed-" + std::to_string(rate) + ".wav";
    std::remove(out.c_str());
    MpvEngineOptions options;
    options.embedVideo = false;
    options.extra = {{"vo", "null"}, {"ao", "pcm"}, {"ao-pcm-file", out}, {"untimed", "yes"}};
    {
      bool ended = false;
      MpvMediaEngine engine(options);
      engine.events.PlayStateChange = [&](std::int32_t s) { ended = ended || s == playstate::kStopped; };
      engine.SetSettingsRate(rate);
      engine.SetURL(TestMedia("tono440.wav"));
      ASSERT_TRUE(WaitFor([&] { return ended; }, 10'000));
    }  // closes the output file
    const SoundStats sound = MeasureSound(out);
    EXPECT_NEAR(sound.roughFrequency, 440, 5);
    EXPECT_NEAR(sound.lengthSeconds, 10.0 / rate, 0.3);
  }
}

TEST(MpvEngine, AStartPositionIsWhereTheSoundStarts) {
  orva::testing::OffscreenApplication();
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

TEST(MpvEngine, EveryBookFormatPlaysToItsEnd) {
  orva::testing::OffscreenApplication();
  struct Case {
    const char* file;
    std::int32_t width;
    std::int32_t height;
    double duration;
  };
  const Case cases[] = {{"parlato.wav", 0, 0, 9.0},   {"parlato.mp3", 0, 0, 9.06},
                        {"parlato.wma", 0, 0, 9.0},   {"video.wmv", 320, 240, 4.09},
                        {"video.avi", 320, 240, 4.0}, {"video.m1v", 320, 240, 4.0}};
  MpvMediaEngine engine(MpvEngineOptions::Headless(true));
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    std::vector<std::int32_t> states;
    engine.events.PlayStateChange = [&](std::int32_t s) { states.push_back(s); };
    engine.events.Error = [](const MediaError& e) { ADD_FAILURE() << e.detail; };
    engine.SetURL(TestMedia(c.file));
    const auto seen = [&](std::int32_t state) { return std::count(states.begin(), states.end(), state); };
    ASSERT_TRUE(WaitFor([&] { return seen(playstate::kPlaying) > 0; }, 10'000));
    EXPECT_EQ(engine.currentMediaImageSourceWidth(), c.width);
    EXPECT_EQ(engine.currentMediaImageSourceHeight(), c.height);
    ASSERT_TRUE(WaitFor([&] { return seen(playstate::kStopped) > 0; }, 10'000));
    EXPECT_EQ(seen(playstate::kMediaEnded), 1);
    // Read anew each time: a raw video stream's duration (1.08 s when it
    // opens) is known only once it has played.
    EXPECT_NEAR(engine.currentMediaDuration(), c.duration, 0.2);
  }
}

}  // namespace
}  // namespace orva::mpvbackend::testing

namespace orva::testing {
INSTANTIATE_TYPED_TEST_SUITE_P(Mpv, MediaEngineContract, mpvbackend::testing::MpvWorld);
}  // namespace orva::testing
