// The player facade and its host over the real engine: what the main window
// sees of a book's files.

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QKeyEvent>
#include <QWidget>

#include "backends/mpv/mpv_media_engine.h"
#include "backends/mpv/mpv_test_support.h"
#include "fakes/scripted_dialogs.h"
#include "player/panels/mdlMain.h"
#include "player/playback/oMoxPlayer.h"

namespace orva::mpvbackend::testing {
namespace {

struct MpvPlayer : ::testing::Test {
  QtTestLoop loop;
  fakes::ScriptedDialogs dialogs;
  MdlMain report{dialogs, nullptr};
  std::unique_ptr<oMoxPlayer> player;
  std::vector<std::int32_t> states;

  static void SetUpTestSuite() { EnsureApplication(); }

  void Make(MpvEngineOptions options, std::int16_t versione = 1) {
    player = std::make_unique<oMoxPlayer>(loop, report, MakeMpvEngineFactory(std::move(options)));
    player->PlayStateChange = [this](std::int32_t mode) { states.push_back(mode); };
    player->SetVersione(versione);
  }
  void Play(const std::string& file) {
    player->SetFileName(file);
    player->Play_Player();
  }
};

TEST_F(MpvPlayer, ReadingGoesOnFromFileToFileWithOneNoticePerEnd) {
  for (const std::int16_t versione : {std::int16_t{1}, std::int16_t{0}}) {
    SCOPED_TRACE(versione);
    states.clear();
    Make(MpvEngineOptions::Headless(true), versione);
    const std::string files[] = {TestMedia("parlato.mp3"), TestMedia("parlato.wma"),
                                 TestMedia("parlato.wav")};
    std::size_t next = 1;
    player->PlayStateChange = [&](std::int32_t mode) {
      states.push_back(mode);
      if (mode == 8 && next < std::size(files)) {
        player->Stop_Player();
        Play(files[next++]);
      }
    };
    Play(files[0]);
    ASSERT_TRUE(WaitFor([&] { return states.size() == 3; }, 10'000));
    WaitFor([] { return false; }, 300);
    EXPECT_EQ(states, (std::vector<std::int32_t>{8, 8, 8}));
    EXPECT_EQ(player->FileName(), files[2]);
    EXPECT_FALSE(player->IsPlaying());
  }
  EXPECT_TRUE(dialogs.ErrorReports().empty());
}

TEST_F(MpvPlayer, AMissingFileIsReportedOnce) {
  Make(MpvEngineOptions::Headless(true));
  const std::string missing = TestMedia("manca.mp3");
  Play(missing);
  player->SetCurrentPosition(5);
  ASSERT_TRUE(WaitFor([&] { return !dialogs.ErrorReports().empty(); }, 5'000));
  player->Play_Player();
  WaitFor([] { return false; }, 300);
  ASSERT_EQ(dialogs.ErrorReports().size(), 1U);
  EXPECT_EQ(dialogs.ErrorReports()[0].procedure, "oWMP9 - WMP_Error");
  EXPECT_NE(dialogs.ErrorReports()[0].errorText.find(missing), std::string::npos);
  EXPECT_TRUE(states.empty());
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

  // Audio never shows the window, and with the sound off does not play.
  Play(TestMedia("parlato.mp3"));
  WaitFor([] { return false; }, 300);
  EXPECT_FALSE(player->IsPlaying());
  EXPECT_FALSE(window->isVisible());
  EXPECT_TRUE(dialogs.ErrorReports().empty());
}

}  // namespace
}  // namespace orva::mpvbackend::testing
