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
  std::vector<std::string> messages;

  static void SetUpTestSuite() { EnsureApplication(); }

  void Make(MpvEngineOptions options, std::int16_t versione = 1) {
    player = std::make_unique<oMoxPlayer>(loop, report, MakeMpvEngineFactory(std::move(options)));
    player->PlayStateChange = [this](std::int32_t mode) { states.push_back(mode); };
    player->PlayMessage = [this](const std::string& text) { messages.push_back(text); };
    player->SetVersione(versione);
  }
  void Play(const std::string& file) {
    player->SetFileName(file);
    player->Play_Player();
  }
};

TEST_F(MpvPlayer, ReadingGoesOnFromFileToFileWithOneNoticePerEnd) {
  // A sound device that cannot be opened: a sound file in a folder that is not there.
  MpvEngineOptions noDevice = MpvEngineOptions::Headless(true);
  noDevice.extra.insert(noDevice.extra.end(),
                        {{"ao", "pcm"}, {"ao-pcm-file", "/nonexistent/orva/sound.wav"}});
  struct Case {
    const char* name;
    std::int16_t versione;
    MpvEngineOptions options;
    std::size_t reports;
  };
  const Case cases[] = {{"version 9", 1, MpvEngineOptions::Headless(true), 0},
                        {"older engine", 0, MpvEngineOptions::Headless(true), 0},
                        {"no sound device", 1, noDevice, 1}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    states.clear();
    dialogs.Clear();
    Make(c.options, c.versione);
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
    // Told once a session: an engine switch makes a new engine of the same kind.
    player->SetVersione(1);
    Play(files[0]);
    WaitFor([] { return false; }, 300);
    EXPECT_EQ(dialogs.ErrorReports().size(), c.reports);
  }
}

TEST_F(MpvPlayer, AFileThatCannotBeDecodedIsToldOnceOnTheDisplay) {
  Make(MpvEngineOptions::Headless(true));
  Play(TestMedia("rotto.mp3"));
  player->SetCurrentPosition(5);
  ASSERT_TRUE(WaitFor([&] { return !messages.empty(); }, 5'000));
  player->Play_Player();
  WaitFor([] { return false; }, 300);
  EXPECT_EQ(messages, (std::vector<std::string>{"Impossibile riprodurre: rotto.mp3"}));
  EXPECT_TRUE(dialogs.ErrorReports().empty());
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
