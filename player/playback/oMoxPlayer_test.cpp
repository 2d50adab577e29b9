#include "player/playback/oMoxPlayer.h"

#include <gtest/gtest.h>

#include <functional>

#include "common/runtime/locale_settings.h"

#include "player/playback/frmWMP6.h"
#include "player/playback/frmWMP9.h"
#include "player/playback/playback_test_support.h"

namespace orva::testing {
namespace {

using Facade = PlaybackWorld;

TEST_F(Facade, BeforeAnEngineIsChosenEveryMemberReportsUnderItsOwnNameAndReturnsItsDefault) {
  struct Case {
    const char* report;
    std::function<void(oMoxPlayer&)> call;
  };
  const Case cases[] = {
      {"oPl - Get Rate", [](oMoxPlayer& p) { EXPECT_EQ(p.Rate(), 0.0F); }},
      {"oPl - Let Rate", [](oMoxPlayer& p) { p.SetRate(1.5F); }},
      {"oPl - Get AutoStart", [](oMoxPlayer& p) { EXPECT_FALSE(p.AutoStart()); }},
      {"oPl - Let AutoStart", [](oMoxPlayer& p) { p.SetAutoStart(true); }},
      {"oPl - Get FullScreen", [](oMoxPlayer& p) { EXPECT_FALSE(p.FullScreen()); }},
      {"oPl - Let FullScreen", [](oMoxPlayer& p) { p.SetFullScreen(true); }},
      {"oPl - Get AudioOff", [](oMoxPlayer& p) { EXPECT_FALSE(p.AudioOff()); }},
      {"oPl - Let AudioOff", [](oMoxPlayer& p) { p.SetAudioOff(true); }},
      {"oPl - Get FileName", [](oMoxPlayer& p) { EXPECT_EQ(p.FileName(), ""); }},
      {"oPl - Let FileName", [](oMoxPlayer& p) { p.SetFileName(kAudio); }},
      {"oPl - Stop_Player", [](oMoxPlayer& p) { p.Stop_Player(); }},
      {"oPl - Play_Player", [](oMoxPlayer& p) { p.Play_Player(); }},
      // The position asks the facade's own FileName first, which fails and
      // reads as empty: the position is then 0 without asking the host.
      {"oPl - Get FileName", [](oMoxPlayer& p) { EXPECT_EQ(p.CurrentPosition(), 0.0); }},
      {"oPl - Let CurrentPosition", [](oMoxPlayer& p) { p.SetCurrentPosition(3); }},
      {"oPl - Get Duration", [](oMoxPlayer& p) { EXPECT_EQ(p.Duration(), 0.0); }},
      {"oPl - StopPlay", [](oMoxPlayer& p) { p.StopPlay(); }},
      {"oPl - Get Volume", [](oMoxPlayer& p) { EXPECT_EQ(p.Volume(), 0); }},
      {"oPl - Let Volume", [](oMoxPlayer& p) { p.SetVolume(50); }},
      {"oPl - IsPlaying", [](oMoxPlayer& p) { EXPECT_FALSE(p.IsPlaying()); }},
      {"oPl - Pause_Player", [](oMoxPlayer& p) { p.Pause_Player(); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.report);
    dialogs.Clear();
    c.call(*player);
    EXPECT_EQ(Reports(), std::vector<std::string>{std::string(c.report) + " / 91"});
  }
  EXPECT_FALSE(player->Versione9Presente());
  EXPECT_EQ(player->Versione(), 0);
  EXPECT_TRUE(fileChanges.empty());
}

TEST_F(Facade, VersioneChoosesTheHostAndOtherValuesOnlyChangeTheField) {
  player->SetVersione(1);
  auto* host9 = dynamic_cast<frmWMP9*>(player->CurrentPlayer());
  ASSERT_NE(host9, nullptr);
  EXPECT_EQ(dynamic_cast<frmWMP6*>(host9), nullptr);
  EXPECT_TRUE(player->Versione9Presente());
  player->SetRate(1.4F);
  EXPECT_FLOAT_EQ(player->Rate(), 1.4F);

  // 2: the host stays, but Rate and AutoStart follow the field.
  player->SetVersione(2);
  EXPECT_EQ(player->Versione(), 2);
  EXPECT_EQ(player->CurrentPlayer(), host9);
  EXPECT_EQ(player->Rate(), 0.0F);
  EXPECT_FALSE(player->AutoStart());
  EXPECT_TRUE(player->Versione9Presente());

  player->SetVersione(0);
  EXPECT_NE(dynamic_cast<frmWMP6*>(player->CurrentPlayer()), nullptr);
  EXPECT_FALSE(player->Versione9Presente());
  EXPECT_EQ(media.EnginesAlive(), 1);

  // Back to 1, and 1 again: never more than one engine.
  player->SetVersione(1);
  player->SetVersione(1);
  EXPECT_EQ(media.EnginesMade(), 4);
  EXPECT_EQ(media.EnginesAlive(), 1);
  EXPECT_TRUE(Reports().empty());
}

TEST_F(Facade, AnEngineThatCannotBeCreatedIsReportedAndLeavesNoPlayer) {
  media.FailCreation(429);
  player->SetVersione(1);
  EXPECT_EQ(player->Versione(), 1);
  EXPECT_EQ(player->CurrentPlayer(), nullptr);
  EXPECT_FALSE(player->Versione9Presente());
  player->Play_Player();
  EXPECT_EQ(Reports(),
            (std::vector<std::string>{"oPl - MoxPlayer: Versione: / 429", "oPl - Play_Player / 91"}));
}

TEST_F(Facade, TheSameFileNameRaisesNoChangeButRestartsTheFile) {
  Play(kAudio);
  loop.Advance(10'000);
  EXPECT_NEAR(player->CurrentPosition(), 10.0, 1e-9);
  player->SetFileName(kAudio);
  player->Play_Player();
  loop.DoEvents();
  EXPECT_EQ(fileChanges, std::vector<std::string>{kAudio});
  EXPECT_EQ(player->CurrentPosition(), 0.0);
  EXPECT_TRUE(player->IsPlaying());
  int urls = 0;
  for (const auto& call : Engine().Calls()) urls += call.rfind("URL=", 0) == 0;
  EXPECT_EQ(urls, 2);

  player->SetFileName(kAudio2);
  EXPECT_EQ(fileChanges, (std::vector<std::string>{kAudio, kAudio2}));
}

TEST_F(Facade, PositionAndDurationAreZeroWithoutAskingTheHostWhileNoFileIsSet) {
  player->SetVersione(1);
  media.Fail("controls.currentPosition", 5);
  media.Fail("currentMedia.duration", 5);
  EXPECT_EQ(player->CurrentPosition(), 0.0);
  EXPECT_EQ(player->Duration(), 0.0);
  // A name of blanks counts as none for Duration, not for the position.
  media.Add("   ", {.duration = 5});
  player->SetFileName("   ");
  loop.DoEvents();
  EXPECT_EQ(player->Duration(), 0.0);
  EXPECT_TRUE(Reports().empty());
  EXPECT_EQ(player->CurrentPosition(), 0.0);
  EXPECT_EQ(Reports(), std::vector<std::string>{"oWMP9 - Get CurrentPosition / 5"});
}

TEST_F(Facade, PositionsAndDurationFollowTheFileAndTheRate) {
  Play(kAudio);
  EXPECT_EQ(player->Duration(), 60.0);
  player->SetRate(2.0F);
  loop.Advance(5'000);
  EXPECT_NEAR(player->CurrentPosition(), 10.0, 1e-9);
  player->SetCurrentPosition(45.5);
  EXPECT_NEAR(player->CurrentPosition(), 45.5, 1e-9);
  player->SetCurrentPosition(500);  // clamped to the end
  EXPECT_NEAR(player->CurrentPosition(), 60.0, 1e-9);
  EXPECT_TRUE(Reports().empty());
}

// The end of a file, on both engines: the host's 1 ms timer turns the
// engine's state 8 into exactly one PlayStateChange(8).
struct EndOfFile : PlaybackWorld, ::testing::WithParamInterface<std::int16_t> {};

TEST_P(EndOfFile, ReachesTheOwnerOnceOneMillisecondLater) {
  Play(kAudio2, GetParam());
  loop.Advance(30'000);
  EXPECT_TRUE(states.empty());
  loop.Advance(1);
  EXPECT_EQ(states, std::vector<std::int32_t>{8});
  loop.Advance(60'000);
  EXPECT_EQ(states, std::vector<std::int32_t>{8});
  EXPECT_FALSE(player->IsPlaying());
  EXPECT_EQ(player->FileName(), kAudio2);
  EXPECT_TRUE(Reports().empty());
}

TEST_P(EndOfFile, StopBeforeTheTickDropsTheNotice) {
  Play(kAudio2, GetParam());
  loop.Advance(30'000);
  player->Stop_Player();
  loop.Advance(1'000);
  EXPECT_TRUE(states.empty());
}

TEST_P(EndOfFile, TheOwnerGoesOnWithTheNextFileFromInsideTheEvent) {
  player->PlayStateChange = [&](std::int32_t mode) {
    states.push_back(mode);
    if (states.size() == 1) {
      player->Stop_Player();
      player->SetFileName(kAudio);
      player->SetCurrentPosition(12);
      player->Play_Player();
    }
  };
  Play(kAudio2, GetParam());
  loop.Advance(30'001);
  loop.DoEvents();
  EXPECT_EQ(player->FileName(), kAudio);
  EXPECT_TRUE(player->IsPlaying());
  EXPECT_NEAR(player->CurrentPosition(), 12.0, 1e-9);
  loop.Advance(48'001);
  EXPECT_EQ(states, (std::vector<std::int32_t>{8, 8}));
}

INSTANTIATE_TEST_SUITE_P(BothEngines, EndOfFile, ::testing::Values(std::int16_t{1}, std::int16_t{0}),
                         [](const ::testing::TestParamInfo<std::int16_t>& param) {
                           return param.param == 1 ? "Versione9" : "Versione6";
                         });

TEST_F(Facade, AudioOffStopsAtOnceAndLetsOnlyVideoPlay) {
  Play(kAudio);
  ASSERT_TRUE(player->IsPlaying());
  player->SetAudioOff(true);
  EXPECT_FALSE(player->IsPlaying());
  EXPECT_TRUE(player->AudioOff());

  struct Case {
    const char* name;
    bool video;
  };
  const Case cases[] = {
      {"C:\\Libro\\cap3.mp3", false},    {"C:\\Libro\\cap3.wav", false}, {"C:\\Libro\\FILM.AVI", true},
      {"C:\\Libro\\clip.wmv.mp3", true}, {"C:\\Libro\\intro.M1v", true}, {"C:\\AVI\\cap4.mp3", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    media.Add(c.name, {.duration = 10, .width = 320, .height = 240});
    player->SetFileName(c.name);
    player->Play_Player();
    loop.DoEvents();
    EXPECT_EQ(player->IsPlaying(), c.video);
    EXPECT_EQ(Engine().Visible(), c.video);
    player->Stop_Player();
    loop.DoEvents();
  }
  EXPECT_TRUE(Reports().empty());
}

TEST_F(Facade, VolumeClampsOnBothScales) {
  struct Case {
    std::int16_t versione;
    double given;
    std::int32_t reads;
    std::int32_t engine;
  };
  const Case cases[] = {
      {1, 150, 100, 100}, {1, -5, 0, 0},         {1, 33.5, 34, 34},     {1, 34.5, 34, 34},
      {0, 500, 0, 100},   {0, -9000, -4000, 22}, {0, -2000, -2000, 46}, {0, -100.5, -100, 96},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << "Versione " << c.versione << ", volume " << c.given);
    player->SetVersione(c.versione);
    player->SetVolume(c.given);
    EXPECT_EQ(player->Volume(), c.reads);
    EXPECT_EQ(Engine().settingsVolume(), c.engine);
  }
  EXPECT_TRUE(Reports().empty());
}

TEST_F(Facade, VolumeTextIsReadInTheUsersLocale) {
  ScopedNumberFormat italian({',', '.'});
  player->SetVersione(1);
  player->SetVolume(std::string("40,5"));
  EXPECT_EQ(player->Volume(), 40);
  player->SetVolume(std::string("molto"));
  EXPECT_EQ(player->Volume(), 40);
  EXPECT_EQ(Reports(), std::vector<std::string>{"oPl - Let Volume / 13"});
}

TEST_F(Facade, AFileRestartsFromItsBeginningOnANewEngine) {
  // The main window's engine switch: remember the file, stop, release the
  // facade, make a new one for the other engine, give it the file, play.
  Play(kAudio);
  loop.Advance(20'000);
  const std::string file = player->FileName();
  player->Stop_Player();
  player.reset();
  EXPECT_EQ(media.EnginesAlive(), 0);
  player = MakePlayer();
  player->SetVersione(0);
  player->SetFileName(file);
  player->Play_Player();
  loop.DoEvents();
  EXPECT_TRUE(player->IsPlaying());
  EXPECT_EQ(player->CurrentPosition(), 0.0);
  EXPECT_EQ(media.EnginesAlive(), 1);
  EXPECT_TRUE(Reports().empty());
}

TEST_F(Facade, ReleasingTheFacadeEndsPlaybackAndDropsAPendingNotice) {
  Play(kVideo);
  EXPECT_TRUE(Engine().Visible());
  loop.Advance(20'000);  // the engine has ended, the 1 ms notice is pending
  player.reset();
  loop.Advance(1'000);
  EXPECT_TRUE(states.empty());
  EXPECT_EQ(media.EnginesAlive(), 0);
}

TEST_F(Facade, AnOwnerMayReleaseTheFacadeFromInsideItsEvents) {
  player->SetVersione(1);
  player->PlayFileChange = [&](const std::string&) { player.reset(); };
  player->SetFileName(kAudio);
  EXPECT_EQ(player, nullptr);

  // While the host lets events run, a key switches the engine.
  player = MakePlayer();
  player->SetVersione(1);
  loop.SetOnDoEvents([&] { player.reset(); });
  player->SetFileName(kAudio);
  loop.SetOnDoEvents(nullptr);
  EXPECT_EQ(player, nullptr);
  loop.Advance(1'000);
  EXPECT_TRUE(Reports().empty());
}

}  // namespace
}  // namespace orva::testing
