// The libmpv engine against real libmpv, alone and under the player facade,
// with media generated at test time.

#include "backends/mpv/mpv_media_engine.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QKeyEvent>
#include <QWidget>
#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "backends/mpv/testing/mpv_test_support.h"
#include "backends/qt/platform/qt_event_loop.h"
#include "backends/qt/platform/testing/offscreen_application.h"
#include "fakes/recording_dialogs.h"
#include "player/panels/mdlMain.h"
#include "player/playback/oMoxPlayer.h"

namespace orva::mpvbackend::testing {
namespace {

// One engine alone, as the player hosts rely on it.
struct MpvEngineAlone : ::testing::Test {
  static void SetUpTestSuite() { orva::testing::OffscreenApplication(); }
  std::unique_ptr<MediaEngine> engine;
  std::vector<std::int32_t> states;
  std::vector<MediaError> errors;

  void Make(bool untimed) {
    engine = std::make_unique<MpvMediaEngine>(MpvEngineOptions::Headless(untimed));
    engine->events.PlayStateChange = [this](std::int32_t s) { states.push_back(s); };
    engine->events.Error = [this](const MediaError& e) { errors.push_back(e); };
  }
  int Count(std::int32_t state) const {
    return static_cast<int>(std::count(states.begin(), states.end(), state));
  }
  bool WaitForState(std::int32_t state) {
    return WaitFor([&] { return Count(state) > 0; }, 10'000);
  }
  // Lets late notices arrive, for checks that none does.
  void Settle() {
    WaitFor([] { return false; }, 300);
  }
};

TEST_F(MpvEngineAlone, SeeksBeforeAndAfterTheFileOpensLandWithinIt) {
  Make(false);
  engine->SetURL(TestMedia("lungo.mp3"));
  engine->SetControlsCurrentPosition(42.5);
  EXPECT_EQ(engine->controlsCurrentPosition(), 42.5);
  ASSERT_TRUE(WaitForState(playstate::kPlaying));  // where it starts: AStartPositionIsWhereTheSoundStarts
  // Once it plays, a pause tells where it got to, not the start position.
  ASSERT_TRUE(WaitFor([&] { return engine->controlsCurrentPosition() > 43.2; }, 10'000));
  engine->controlsPause();
  EXPECT_GT(engine->controlsCurrentPosition(), 43.2);
  for (const auto& [set, reads] : {std::pair{10.0, 10.0}, {33.25, 33.25}, {-5.0, 0.0}, {0.5, 0.5}}) {
    SCOPED_TRACE(set);
    engine->SetControlsCurrentPosition(set);
    Settle();
    // While paused: the target, not a position that lags behind the seek.
    EXPECT_EQ(engine->controlsCurrentPosition(), reads);
  }
  // Playing goes on from where the seek landed.
  engine->SetControlsCurrentPosition(20);
  engine->controlsPlay();
  ASSERT_TRUE(WaitFor([&] { return engine->controlsCurrentPosition() > 20.2; }, 10'000));
  EXPECT_LT(engine->controlsCurrentPosition(), 25);
  // Past the end: clamped to the end, which ends the file once.
  engine->SetControlsCurrentPosition(500);
  ASSERT_TRUE(WaitForState(playstate::kStopped));
  Settle();
  EXPECT_EQ(Count(playstate::kMediaEnded), 1);
  EXPECT_TRUE(errors.empty());
}

TEST_F(MpvEngineAlone, AFileThatCannotBeOpenedRaisesOneErrorAndNeverPlays) {
  Make(true);
  const std::string file = TestMedia("manca.mp3");
  engine->SetURL(file);
  engine->SetControlsCurrentPosition(3);
  engine->controlsPlay();
  ASSERT_TRUE(WaitFor([&] { return !errors.empty(); }, 10'000));
  engine->controlsPlay();
  Settle();
  ASSERT_EQ(errors.size(), 1U);
  EXPECT_EQ(errors[0].kind, MediaError::Kind::kLoadingFailed);
  EXPECT_EQ(errors[0].url, file);
  EXPECT_EQ(Count(playstate::kPlaying), 0);
  EXPECT_EQ(engine->currentMediaDuration(), 0.0);
}

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

// Each file ends with 8 once, then stopped and rewound with the file kept;
// it plays again from the start.
TEST_F(MpvEngineAlone, EveryBookFormatPlaysToItsEnd) {
  struct Case {
    const char* file;
    std::int32_t width;
    std::int32_t height;
    double duration;
  };
  const Case cases[] = {{"parlato.wav", 0, 0, 9.0},   {"parlato.mp3", 0, 0, 9.06},
                        {"parlato.wma", 0, 0, 9.0},   {"video.wmv", 320, 240, 4.09},
                        {"video.avi", 320, 240, 4.0}, {"video.m1v", 320, 240, 4.0}};
  Make(true);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    states.clear();
    const std::string file = TestMedia(c.file);
    engine->SetURL(file);
    ASSERT_TRUE(WaitForState(playstate::kPlaying));
    EXPECT_EQ(engine->currentMediaImageSourceWidth(), c.width);
    EXPECT_EQ(engine->currentMediaImageSourceHeight(), c.height);
    ASSERT_TRUE(WaitForState(playstate::kStopped));
    Settle();
    EXPECT_EQ(states, (std::vector<std::int32_t>{playstate::kTransitioning, playstate::kPlaying,
                                                 playstate::kMediaEnded, playstate::kStopped}));
    EXPECT_EQ(engine->URL(), file);
    EXPECT_EQ(engine->controlsCurrentPosition(), 0.0);
    // Read anew each time: a raw video stream's duration (1.08 s when it
    // opens) is known only once it has played.
    EXPECT_NEAR(engine->currentMediaDuration(), c.duration, 0.2);
  }
  states.clear();
  engine->controlsPlay();
  ASSERT_TRUE(WaitForState(playstate::kStopped));
  Settle();
  EXPECT_EQ(states,
            (std::vector<std::int32_t>{playstate::kPlaying, playstate::kMediaEnded, playstate::kStopped}));
  EXPECT_TRUE(errors.empty());
}

// The player facade and its host over the real engine: what the main
// window sees of a book's files.
struct MpvPlayer : ::testing::Test {
  QtEventLoop loop;
  fakes::RecordingDialogs dialogs;
  MdlMain report{dialogs, nullptr};
  std::unique_ptr<oMoxPlayer> player;
  std::vector<std::int32_t> states;

  static void SetUpTestSuite() { orva::testing::OffscreenApplication(); }

  void Make(MpvEngineOptions options) {
    player = std::make_unique<oMoxPlayer>(loop, report, MakeMpvEngineFactory(std::move(options)));
    player->SetVersione(1);
  }
  void Play(const std::string& file) {
    player->SetFileName(file);
    player->Play_Player();
  }
};

TEST_F(MpvPlayer, AMissingSoundDeviceIsToldOnceASessionWhileFilesPlayOnInSilence) {
  // A sound device that cannot be opened: a sound file in a folder that is not there.
  MpvEngineOptions noDevice = MpvEngineOptions::Headless(true);
  noDevice.extra.insert(noDevice.extra.end(),
                        {{"ao", "pcm"}, {"ao-pcm-file", "/nonexistent/orva/sound.wav"}});
  Make(noDevice);
  player->PlayStateChange = [this](std::int32_t mode) { states.push_back(mode); };
  Play(TestMedia("parlato.mp3"));
  ASSERT_TRUE(WaitFor([&] { return !states.empty(); }, 10'000));
  // An engine switch makes a new engine of the same kind, which does not tell it again.
  player->SetVersione(0);
  Play(TestMedia("parlato.wav"));
  ASSERT_TRUE(WaitFor([&] { return states.size() == 2; }, 10'000));
  EXPECT_EQ(states, (std::vector<std::int32_t>{8, 8}));
  EXPECT_EQ(dialogs.ErrorReportCodes(), std::vector<std::string>{"oWMP9 - WMP_Error / 68"});
}

TEST_F(MpvPlayer, VideoShowsInTheCornerAndEscapeStopsIt) {
  Make(MpvEngineOptions::Headless(false));
  player->SetFullScreen(false);
  player->SetAudioOff(true);  // video still plays
  Play(TestMedia("video.avi"));
  ASSERT_TRUE(WaitFor([&] { return player->IsPlaying(); }, 5'000));
  auto* window = dynamic_cast<QWidget*>(&player->CurrentPlayer()->WMP().Window());
  ASSERT_NE(window, nullptr);
  ASSERT_TRUE(WaitFor([&] { return window->isVisible(); }, 2'000));
  const HostWindow& host = player->CurrentPlayer()->WMP().Window();
  EXPECT_EQ(window->geometry(), QRect(host.ScreenWidth() - 340, host.ScreenHeight() - 290, 320, 240));

  QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
  QCoreApplication::sendEvent(window, &escape);
  EXPECT_FALSE(player->IsPlaying());
  EXPECT_TRUE(WaitFor([&] { return !window->isVisible(); }, 2'000));
  EXPECT_TRUE(dialogs.ErrorReports().empty());
}

}  // namespace
}  // namespace orva::mpvbackend::testing
