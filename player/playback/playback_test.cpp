// The player facade and its two engine hosts, on the fake engine.

#include <gtest/gtest.h>

#include <algorithm>

#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "fakes/recording_dialogs.h"
#include "fakes/virtual_event_loop.h"
#include "player/panels/mdlMain.h"
#include "player/playback/frmWMP6.h"
#include "player/playback/frmWMP9.h"
#include "player/playback/oMoxPlayer.h"
#include "player/playback/testing/fake_media_engine.h"

namespace orva::testing {
namespace {

const std::string kAudio = "C:\\Libro\\cap1.mp3";   // 60 s
const std::string kAudio2 = "C:\\Libro\\cap2.mp3";  // 30 s
const std::string kVideo = "C:\\Libro\\film.avi";   // 20 s, 640x480

// A virtual clock, a library of fake media files, the error report and a
// facade whose events are recorded.
struct PlaybackWorld : ::testing::Test {
  fakes::VirtualEventLoop loop;
  fakes::RecordingDialogs dialogs;
  MdlMain report{dialogs, nullptr};
  fakes::FakeMediaLibrary media{loop};
  std::unique_ptr<oMoxPlayer> player;
  std::vector<std::int32_t> states;      // PlayStateChange as the main window sees it
  std::vector<std::string> fileChanges;  // PlayFileChange
  std::vector<std::string> messages;     // PlayMessage

  PlaybackWorld() {
    media.Add(kAudio, {.duration = 60});
    media.Add(kAudio2, {.duration = 30});
    media.Add(kVideo, {.duration = 20, .width = 640, .height = 480});
    player = MakePlayer();
  }

  std::unique_ptr<oMoxPlayer> MakePlayer() {
    auto p = std::make_unique<oMoxPlayer>(loop, report, media.Factory());
    p->PlayStateChange = [this](std::int32_t mode) { states.push_back(mode); };
    p->PlayFileChange = [this](const std::string& file) { fileChanges.push_back(file); };
    p->PlayMessage = [this](const std::string& text) { messages.push_back(text); };
    return p;
  }

  // The main window's order: engine, settings, file, play; then the engine
  // opens the file.
  void Play(const std::string& file, std::int16_t versione = 1) {
    if (player->Versione() != versione || player->CurrentPlayer() == nullptr) player->SetVersione(versione);
    player->SetFileName(file);
    player->Play_Player();
    loop.DoEvents();
  }

  fakes::FakeMediaEngine& Engine() {
    fakes::FakeMediaEngine* engine = media.Current();
    if (engine == nullptr) throw std::logic_error("no engine");
    return *engine;
  }

  // "procedure / number" of every error report shown.
  std::vector<std::string> Reports() const { return dialogs.ErrorReportCodes(); }
};

using Facade = PlaybackWorld;
using Host = PlaybackWorld;

TEST_F(Facade, BeforeAnEngineIsChosenEveryMemberReportsUnderItsOwnNameAndReturnsItsDefault) {
  struct Case {
    const char* report;
    std::function<void(oMoxPlayer&)> call;
  };
  const Case cases[] = {
      {"oPl - Get Rate", [](oMoxPlayer& p) { EXPECT_EQ(p.Rate(), 0.0F); }},
      {"oPl - Let Rate", [](oMoxPlayer& p) { p.SetRate(1.5F); }},
      {"oPl - Get AutoStart", [](oMoxPlayer& p) { EXPECT_FALSE(p.AutoStart()); }},
      {"oPl - Get FullScreen", [](oMoxPlayer& p) { EXPECT_FALSE(p.FullScreen()); }},
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
  EXPECT_TRUE(fileChanges.empty());
}

TEST_F(Facade, VersioneChoosesTheHost) {
  player->SetVersione(1);
  auto* host9 = dynamic_cast<frmWMP9*>(player->CurrentPlayer());
  ASSERT_NE(host9, nullptr);
  EXPECT_TRUE(player->Versione9Presente());
  player->SetRate(1.4F);
  EXPECT_FLOAT_EQ(player->Rate(), 1.4F);

  // The older host: no version-9 control, and full volume on its own scale.
  player->SetVersione(0);
  EXPECT_NE(dynamic_cast<frmWMP6*>(player->CurrentPlayer()), nullptr);
  EXPECT_FALSE(player->Versione9Presente());
  EXPECT_EQ(player->Volume(), 0);
  EXPECT_EQ(Engine().settingsVolume(), 100);

  // Back to 1, and 1 again: never more than one engine.
  player->SetVersione(1);
  player->SetVersione(1);
  EXPECT_EQ(media.EnginesAlive(), 1);
  EXPECT_TRUE(Reports().empty());
}

TEST_F(Facade, AnEngineThatCannotBeCreatedIsReportedAndLeavesNoPlayer) {
  media.FailCreation(429);
  player->SetVersione(1);
  EXPECT_EQ(player->CurrentPlayer(), nullptr);
  player->Play_Player();
  EXPECT_EQ(Reports(),
            (std::vector<std::string>{"oPl - MoxPlayer: Versione: / 429", "oPl - Play_Player / 91"}));
}

// On both hosts the engine's state 8 arms a 1 ms timer whose tick raises
// exactly one PlayStateChange(8); a stop before the tick drops it.
TEST_F(Facade, TheEndOfAFileReachesTheOwnerOnceOneMillisecondLater) {
  for (const std::int16_t versione : {1, 0}) {
    for (const bool stopBeforeTheTick : {false, true}) {
      SCOPED_TRACE(::testing::Message() << "Versione " << versione << (stopBeforeTheTick ? ", stopped" : ""));
      states.clear();
      Play(kAudio2, versione);
      loop.Advance(30'000);
      EXPECT_TRUE(states.empty());
      if (stopBeforeTheTick) player->Stop_Player();
      loop.Advance(1);
      EXPECT_EQ(states, stopBeforeTheTick ? std::vector<std::int32_t>{} : std::vector<std::int32_t>{8});
      loop.Advance(60'000);
      EXPECT_EQ(states.size(), stopBeforeTheTick ? 0U : 1U);
      EXPECT_EQ(player->FileName(), kAudio2);
    }
  }
  EXPECT_TRUE(Reports().empty());
}

// Version 9 takes 0 to 100; the older host hundredths of a decibel, -4000 to
// 0, on the engine's cubic scale. Both round half to even.
TEST_F(Facade, VolumeClampsAndRoundsOnBothScales) {
  struct Case {
    std::int16_t versione;
    double given;
    std::int32_t reads;
    std::int32_t engine;
  };
  const Case cases[] = {{1, 150, 100, 100},    {1, -5, 0, 0},       {1, 33.5, 34, 34},
                        {1, 34.5, 34, 34},     {0, 500, 0, 100},    {0, -9000, -4000, 22},
                        {0, -2000, -2000, 46}, {0, -600, -600, 79}, {0, -100.5, -100, 96}};
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << "Versione " << c.versione << ", volume " << c.given);
    player->SetVersione(c.versione);
    player->SetVolume(c.given);
    EXPECT_EQ(player->Volume(), c.reads);
    EXPECT_EQ(Engine().settingsVolume(), c.engine);
  }
  EXPECT_TRUE(Reports().empty());
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

TEST(IsVideoFileName, LooksForTheExtensionAnywhereInAnyCase) {
  struct Case {
    const char* name;
    bool video;
  };
  const Case cases[] = {
      {"FILM.M1V", true},          {"a.Avi", true}, {"clip.wmv.mp3", true}, {"cap1.mp3", false},
      {"C:\\AVI\\cap.mp3", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(IsVideoFileName(c.name), c.video);
  }
}

TEST_F(Host, VideoShowsMaximisedOrInTheCornerAndHidesOnStop) {
  for (const bool fullScreen : {false, true}) {
    SCOPED_TRACE(fullScreen ? "full screen" : "corner");
    player->SetVersione(1);
    player->SetFullScreen(fullScreen);
    Play(kVideo);
    fakes::FakeMediaEngine& wmp = Engine();
    EXPECT_TRUE(wmp.Visible());
    EXPECT_EQ(wmp.State(), fullScreen ? WindowState::kMaximized : WindowState::kNormal);
    // The corner: the video's own size, 20 px from the right, 50 px from the bottom.
    const std::string corner = "window.geometry=1260,550,640,480";
    EXPECT_EQ(std::count(wmp.Calls().begin(), wmp.Calls().end(), corner), fullScreen ? 0 : 1);
    player->Stop_Player();
    EXPECT_FALSE(wmp.Visible());
  }
  // Audio never shows the window; StopPlay pauses and resumes; Escape in it stops.
  Play(kAudio);
  EXPECT_FALSE(Engine().Visible());
  player->StopPlay();
  EXPECT_FALSE(player->IsPlaying());
  player->StopPlay();
  EXPECT_TRUE(player->IsPlaying());
  Engine().KeyDown(27, 0);
  EXPECT_FALSE(player->IsPlaying());
  EXPECT_TRUE(Reports().empty());
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

TEST_F(Host, AFileThatCannotBeOpenedIsToldOnTheDisplay) {
  Play("C:\\Libro\\manca.mp3");
  loop.Advance(10'000);
  EXPECT_EQ(messages, (std::vector<std::string>{"Impossibile riprodurre: manca.mp3"}));
  EXPECT_TRUE(states.empty());
  EXPECT_TRUE(Reports().empty());
}

}  // namespace
}  // namespace orva::testing
