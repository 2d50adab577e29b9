// The player facade and its host over the real engine: what the main window
// sees of a book's files.

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QKeyEvent>
#include <QWidget>

#include "backends/mpv/mpv_media_engine.h"
#include "backends/mpv/testing/mpv_test_support.h"
#include "backends/qt/platform/qt_event_loop.h"
#include "backends/qt/platform/testing/offscreen_application.h"
#include "fakes/scripted_dialogs.h"
#include "player/panels/mdlMain.h"
#include "player/playback/oMoxPlayer.h"

namespace orva::mpvbackend::testing {
namespace {

struct MpvPlayer : ::testing::Test {
  QtEventLoop loop;
  fakes::ScriptedDialogs dialogs;
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
