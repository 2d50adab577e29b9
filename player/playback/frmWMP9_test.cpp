#include "player/playback/frmWMP9.h"

#include <gtest/gtest.h>

#include <sstream>

#include "common/automation/trace.h"

#include "player/playback/playback_test_support.h"

namespace orva::testing {
namespace {

TEST(IsVideoFileName, LooksForTheExtensionAnywhereInAnyCase) {
  struct Case {
    const char* name;
    bool video;
  };
  const Case cases[] = {
      {"film.wmv", true},       {"FILM.M1V", true},  {"a.Avi", true},          {"clip.wmv.mp3", true},
      {"x.avi\\cap.mp3", true}, {"cap1.mp3", false}, {"wmv_intro.wav", false}, {"", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(IsVideoFileName(c.name), c.video);
  }
}

struct Host : PlaybackWorld {
  frmWMP9& host() {
    auto* h = dynamic_cast<frmWMP9*>(player->CurrentPlayer());
    if (h == nullptr) throw std::logic_error("no host");
    return *h;
  }
};

TEST_F(Host, LoadsHiddenOverTheWholeScreenInMiniMode) {
  player->SetVersione(1);
  fakes::FakeMediaEngine& wmp = Engine();
  EXPECT_EQ(wmp.Caption(), "MediaPlayer");
  EXPECT_EQ(wmp.WindowGeometry(), (fakes::FakeMediaEngine::Geometry{0, 0, 1920, 1080}));
  EXPECT_EQ(wmp.uiMode(), "mini");
  EXPECT_TRUE(wmp.enableContextMenu());
  EXPECT_FALSE(wmp.Visible());
  player->SetFullScreen(true);
  EXPECT_EQ(wmp.uiMode(), "none");
  EXPECT_TRUE(player->FullScreen());
  player->SetFullScreen(false);
  EXPECT_EQ(wmp.uiMode(), "mini");
}

TEST_F(Host, VideoShowsMaximisedOrInTheCornerAndHidesOnStop) {
  struct Case {
    const char* name;
    bool fullScreen;
    WindowState state;
    bool enabled;
  };
  const Case cases[] = {{"corner", false, WindowState::kNormal, true},
                        {"full screen", true, WindowState::kMaximized, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    player->SetVersione(1);
    player->SetFullScreen(c.fullScreen);
    Play(kVideo);
    fakes::FakeMediaEngine& wmp = Engine();
    EXPECT_TRUE(wmp.Visible());
    EXPECT_EQ(wmp.State(), c.state);
    EXPECT_EQ(wmp.enabled(), c.enabled);
    if (!c.fullScreen) {  // 20 px from the right, 50 px from the bottom, the video's own size
      EXPECT_EQ(wmp.WindowGeometry(), (fakes::FakeMediaEngine::Geometry{1260, 550, 640, 480}));
    }
    player->Stop_Player();
    EXPECT_FALSE(wmp.Visible());
    EXPECT_EQ(wmp.State(), WindowState::kNormal);
  }
  // Audio never shows the window.
  Play(kAudio);
  EXPECT_TRUE(player->IsPlaying());
  EXPECT_FALSE(Engine().Visible());
  EXPECT_TRUE(Reports().empty());
}

TEST_F(Host, EscapeStopsPlaybackAndOtherKeysDoNothing) {
  Play(kAudio);
  Engine().PressKey(13);
  Engine().TypeKey('a');
  EXPECT_TRUE(player->IsPlaying());
  Engine().PressKey(27, 1);
  EXPECT_EQ(Engine().playState(), playstate::kStopped);
  Play(kAudio);
  Engine().TypeKey(27);
  EXPECT_EQ(Engine().playState(), playstate::kStopped);
  EXPECT_EQ(player->FileName(), kAudio);
}

TEST_F(Host, StopPlayPausesWhilePlayingAndPlaysOtherwise) {
  Play(kAudio);
  loop.Advance(5'000);
  player->StopPlay();
  EXPECT_EQ(Engine().playState(), playstate::kPaused);
  loop.Advance(5'000);
  EXPECT_NEAR(player->CurrentPosition(), 5.0, 1e-9);
  player->StopPlay();
  EXPECT_TRUE(player->IsPlaying());
  player->Pause_Player();
  player->Play_Player();
  EXPECT_TRUE(player->IsPlaying());
  // Play_Player while playing does nothing at all.
  Engine().ClearCalls();
  player->Play_Player();
  EXPECT_TRUE(Engine().Calls().empty());
}

TEST_F(Host, PlayPlayerNamesTheStepItFailedAt) {
  player->SetVersione(1);
  // Nothing to play: stops at " FileName " without touching the control.
  player->Play_Player();
  player->SetAutoStart(false);
  player->SetFileName(kAudio);
  loop.DoEvents();
  media.Fail("controls.play", 5);
  player->Play_Player();
  // A failing state read is IsPlaying's own failure; Play_Player goes on.
  media.Fail("controls.play", 0);
  media.Fail("playState", 438);
  player->Play_Player();
  media.Fail("playState", 0);
  EXPECT_TRUE(player->IsPlaying());
  EXPECT_EQ(Reports(), (std::vector<std::string>{"oWMP9 - Play_Player - Posizione:  WMP.Controls.play  / 5",
                                                 "oWMP9 - IsPlaying / 438"}));
}

TEST_F(Host, MembersReportUnderTheHostsNameAndKeepTheirCopies) {
  player->SetVersione(1);
  media.Fail("settings.autoStart", 5);
  media.Fail("uiMode", 5);
  media.Fail("settings.rate", 5);
  player->SetAutoStart(true);
  player->SetFullScreen(true);
  player->SetRate(1.5F);
  EXPECT_EQ(player->Rate(), 0.0F);
  // The copies were stored before the control failed.
  EXPECT_TRUE(player->AutoStart());
  EXPECT_TRUE(player->FullScreen());
  EXPECT_EQ(Reports(), (std::vector<std::string>{"oWMP9 - Let AutoStart / 5", "oWMP9 - Let FullScreen / 5",
                                                 "oWMP9 - Let Rate / 5", "oWMP9 - Get Rate / 5"}));
}

TEST_F(Host, AFileThatCannotBeOpenedIsToldOnTheDisplayAndNoSoundDeviceInOneReport) {
  for (const std::int16_t versione : {std::int16_t{1}, std::int16_t{0}}) {
    SCOPED_TRACE(versione);
    messages.clear();
    Play("C:\\Libro\\manca.mp3", versione);
    loop.Advance(10'000);
    EXPECT_EQ(messages, (std::vector<std::string>{"Impossibile riprodurre: manca.mp3"}));
    EXPECT_FALSE(player->IsPlaying());
    EXPECT_TRUE(states.empty());
  }
  EXPECT_TRUE(Reports().empty());
  // Without a sound device the engine plays on in silence.
  Play(kAudio);
  Engine().events.Error({MediaError::Kind::kNoAudioOutput, kAudio, "audio output initialization failed"});
  EXPECT_TRUE(player->IsPlaying());
  ASSERT_EQ(Reports(), (std::vector<std::string>{"oWMP9 - WMP_Error / 68"}));
  EXPECT_NE(
      dialogs.ErrorReports()[0].errorText.find("prosegue senza suono (audio output initialization failed)"),
      std::string::npos);
  EXPECT_EQ(messages.size(), 1U);
}

TEST_F(Host, TracesWhatTheEngineIsToldAndTheEndOfAFile) {
  std::ostringstream lines;
  InstallTrace(MakeStreamTraceSink(lines), &loop);
  Play(kVideo);
  player->SetCurrentPosition(19.5);
  loop.Advance(600);
  InstallTrace(nullptr, nullptr);
  const std::string trace = lines.str();
  std::size_t at = 0;
  for (const char* expected : {R"("ev":"media","host":"oWMP9","op":"file","file":"C:\\Libro\\film.avi")",
                               R"("op":"state","state":3)",
                               R"("ev":"window","window":"frmWMP9","state":"shown","caption":"MediaPlayer")",
                               R"("op":"position","seconds":19.5)", R"("op":"state","state":8)",
                               R"("ev":"window","window":"frmWMP9","state":"hidden")",
                               R"("ev":"media","host":"oWMP9","op":"end")"}) {
    SCOPED_TRACE(expected);
    const std::size_t found = trace.find(expected, at);
    ASSERT_NE(found, std::string::npos) << trace;
    at = found;
  }
}

}  // namespace
}  // namespace orva::testing
