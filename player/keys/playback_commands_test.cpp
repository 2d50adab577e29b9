// The playback keys on the fake engine: seeking across audios and pages,
// stop and pause, volume on both engines' scales, the speed step and its
// presets, audio off and on, the configuration panel.

#include <gtest/gtest.h>

#include "player/keys/keys_test_world.h"
#include "player/playback/forwarding_media_engine.h"

namespace orva::keys_testing {
namespace {

using keys::Digit;
constexpr std::int16_t kPlus = keys::kVkPlus;
constexpr std::int16_t kMinus = keys::kVkMinus;

std::string FromProgram(const std::string& inBook) {
  return kProgramFolder + "\\" + Replace(inBook, "/", "\\");
}

// An engine that, like one opening files in the background, tells a file's
// length only a while after it was given the file.
class SlowToOpen final : public ForwardingMediaEngine {
 public:
  static constexpr std::int64_t kOpenMs = 60;
  SlowToOpen(std::unique_ptr<MediaEngine> inner, EventLoop& loop)
      : ForwardingMediaEngine(std::move(inner)), loop_(loop) {}
  double currentMediaDuration() const override {
    return loop_.NowMs() - given_ < kOpenMs ? 0 : Inner().currentMediaDuration();
  }
  void SetURL(const std::string& url) override {
    given_ = loop_.NowMs();
    Inner().SetURL(url);
  }

 private:
  EventLoop& loop_;
  std::int64_t given_ = 0;
};

// --- Seek back and forward.

TEST_F(KeysWorld, SeekBackFarIntoAnAudioGoesBackOneStep) {
  StartReading();
  PlayFrom(25);
  Ctrl(Digit(1));
  EXPECT_NEAR(Position(), 15, 0.01);
  EXPECT_EQ(Shown(), "INDIETRO 00:15");
}

TEST_F(KeysWorld, SeekBackEarlyInTheSecondAudioPlaysTheFirstFromItsEndMinusOneStep) {
  StartReading();
  PlayOn(static_cast<std::int64_t>(kAudio0Seconds * 1000) + 1);  // audio 1 from 5 s
  ASSERT_EQ(form->state.AudioIndex, 1);
  Ctrl(Digit(1));
  EXPECT_EQ(form->state.AudioIndex, 0);
  EXPECT_EQ(Played().back(), FromProgram("Libro/uno.mp3"));
  EXPECT_NEAR(Position(), kAudio0Seconds - 10, 0.01);
  EXPECT_TRUE(Playing());
  EXPECT_EQ(Shown(), "INDIETRO 02:50");
}

TEST_F(KeysWorld, SeekBackWaitsForAnEngineStillOpeningThePreviousAudio) {
  AddReadingPage();
  AddStyleSheets();
  StartWithEngines([this] { return std::make_unique<SlowToOpen>(media.Factory()(), loop); });
  Open(kPage);
  PlayOn(static_cast<std::int64_t>(kAudio0Seconds * 1000) + SlowToOpen::kOpenMs + 1);
  ASSERT_EQ(form->state.AudioIndex, 1);
  Ctrl(Digit(1));
  EXPECT_EQ(form->state.AudioIndex, 0);
  EXPECT_NEAR(Position(), kAudio0Seconds - 10, 0.01);
  EXPECT_EQ(Shown(), "INDIETRO 02:50");
}

TEST_F(KeysWorld, SeekBackPlaysFromTheStartWhenThePreviousAudioCannotBeFound) {
  // The first audio is found beside the page only from the page's address;
  // going back to it finds nothing, so the file held plays from its start.
  AddPage("cap01/Sola.htm", {.title = "Sola.htm", .elements = {Meta("ZUVPLAYER_AUDIO", "sola.mp3")}});
  AddMedia("cap01/sola.mp3", 60);
  Start();
  Open("cap01/Sola.htm");
  PlayFrom(5);
  Ctrl(Digit(1));
  EXPECT_NEAR(Position(), 0, 0.01);
  EXPECT_TRUE(Playing());
  EXPECT_EQ(Shown(), "INDIETRO 00:00");
  EXPECT_TRUE(Reports().empty());
}

TEST_F(KeysWorld, ASkipStepLongerThanTheThresholdPassesANegativePositionOn) {
  StartReading();
  form->TextAvantiIndietro.SetText("20");
  PlayFrom(15);
  Engine().ClearCalls();
  Ctrl(Digit(1));
  EXPECT_EQ(Engine().Calls(), (std::vector<std::string>{"controls.currentPosition=-5.000000"}));
  EXPECT_EQ(Shown(), "INDIETRO 00:00");  // the engine stopped at the start
}

TEST_F(KeysWorld, SeekForwardGoesOneStepWithinTheAudio) {
  StartReading();
  form->TextAvantiIndietro.SetText("30");
  PlayFrom(100);
  Ctrl(Digit(2));
  EXPECT_NEAR(Position(), 130, 0.01);
  EXPECT_EQ(Shown(), "AVANTI 02:10");
}

TEST_F(KeysWorld, SeekForwardNearTheEndOfAnAudioPlaysTheNext) {
  StartReading();
  PlayFrom(kAudio0Seconds - 4);
  Ctrl(Digit(2));
  EXPECT_EQ(form->state.AudioIndex, 1);
  EXPECT_EQ(Played().back(), FromProgram("Libro/due.mp3"));
  EXPECT_NEAR(Position(), 5, 0.01);  // its own start position
  EXPECT_EQ(Shown(), "AVANTI 00:05");
}

TEST_F(KeysWorld, SeekForwardPastTheLastAudioOpensTheNextPageAndPlaysOnMeanwhile) {
  StartReading();
  PlayOn(static_cast<std::int64_t>(kAudio0Seconds * 1000) + 1);
  PlayFrom(kAudio1Seconds - 5);
  Ctrl(Digit(2));
  // The last three seconds of this audio play until the next page binds
  // its own.
  EXPECT_NEAR(Position(), kAudio1Seconds - 3, 0.01);
  EXPECT_TRUE(Playing());
  EXPECT_EQ(Shown(), "AVANTI 00:27");
  EXPECT_EQ(browser.Requested().back(), Url("cap01/Pag2.htm"));
  loop.DoEvents();
  EXPECT_EQ(browser.LocationURL(), Url("cap01/Pag2.htm"));
}

TEST_F(KeysWorld, SeekForwardPastTheLastAudioWithoutANextPagePlaysItsEnd) {
  AddPage("cap01/Sola.htm", {.title = "Sola.htm", .elements = {Meta("ZUVPLAYER_AUDIO", "sola.mp3")}});
  AddMedia("cap01/sola.mp3", 60);
  Start();
  Open("cap01/Sola.htm");
  const std::size_t requested = browser.Requested().size();
  PlayFrom(55);
  Ctrl(Digit(2));
  EXPECT_NEAR(Position(), 57, 0.01);
  EXPECT_TRUE(Playing());
  EXPECT_EQ(Shown(), "AVANTI 00:57");
  EXPECT_EQ(browser.Requested().size(), requested);
}

TEST_F(KeysWorld, SeekingWhilePausedChangesNothingAndShowsTheTime) {
  StartReading();
  PlayFrom(42);
  Ctrl(Digit(3));
  ASSERT_FALSE(Playing());
  Engine().ClearCalls();
  Ctrl(Digit(2));
  EXPECT_EQ(Shown(), "AVANTI 00:42");
  Ctrl(Digit(1));
  EXPECT_EQ(Shown(), "INDIETRO 00:42");
  EXPECT_TRUE(Engine().Calls().empty());
}

TEST_F(KeysWorld, ASkipStepThatIsNotANumberIsReportedByTheSeekAndShowsNothing) {
  StartReading();
  // The field normally puts the stored step back; a change from outside
  // its handler can still leave letters in it.
  form->TextAvantiIndietro.Change = nullptr;
  form->TextAvantiIndietro.SetText("dieci");
  PlayFrom(30);
  Ctrl(Digit(2));
  Ctrl(Digit(1));
  EXPECT_EQ(Reports(),
            (std::vector<std::string>{"Form_KeyDown Avanti - Form KeyDown: inizializzazione / 13",
                                      "Form_KeyDown Indietro - Form KeyDown: inizializzazione / 13"}));
  EXPECT_EQ(Shown(), "");
  EXPECT_NEAR(Position(), 30, 0.01);
}

// --- Stop, pause and resume.

TEST_F(KeysWorld, StopRewindsAndPauseKeepsItsMessageUntilTheNext) {
  StartReading();
  PlayFrom(65);
  Ctrl(Digit(3));
  EXPECT_FALSE(Playing());
  EXPECT_EQ(Shown(), "PAUSA 01:05 premere ctrl+3");
  loop.Advance(5000);
  EXPECT_EQ(Shown(), "PAUSA 01:05 premere ctrl+3");  // kept

  Ctrl(Digit(3));
  EXPECT_TRUE(Playing());
  EXPECT_EQ(Shown(), "PLAY 01:05");
  loop.Advance(1500);
  EXPECT_EQ(Shown(), "");

  Ctrl(Digit(4));
  EXPECT_FALSE(Playing());
  EXPECT_NEAR(Position(), 0, 0.01);
  EXPECT_EQ(Shown(), "STOP 00:00");
}

// --- Volume on both scales.

TEST_F(KeysWorld, VolumeStopsAtTheVersion9Bounds) {
  StartReading();
  form->oPlayer->SetVolume(95.0);
  Ctrl(kPlus);
  EXPECT_EQ(Shown(), "Volume - 100");
  Ctrl(kPlus);
  EXPECT_EQ(Shown(), "Volume - 100");
  EXPECT_EQ(form->state.VolumeLevel, 110);
  form->oPlayer->SetVolume(5.0);
  Ctrl(kMinus);
  EXPECT_EQ(Shown(), "Volume - 0");
  EXPECT_EQ(Stored("Volume"), "0");
  EXPECT_EQ(form->TextVolume.Text(), "0");
}

TEST_F(KeysWorld, VolumeStopsAtTheOlderEnginesBounds) {
  AddReadingPage();
  Store("Versione", "0");
  dialogs.QueueAnswer(MsgBoxResult::kNo);  // keep the older engine
  Start();
  Open(kPage);
  ASSERT_EQ(form->state.VolumeMin, -4000);
  form->oPlayer->SetVolume(-3950.0);
  Ctrl(kMinus);
  EXPECT_EQ(Shown(), "Volume - -4000");
  EXPECT_EQ(Stored("Volume"), "-4000");
  Ctrl(kPlus);
  EXPECT_EQ(Shown(), "Volume - -3900");
  form->oPlayer->SetVolume(-50.0);
  Ctrl(kPlus);
  EXPECT_EQ(Shown(), "Volume - 0");
  EXPECT_TRUE(Reports().empty());
}

// --- Reading speed.

TEST_F(KeysWorld, TheSpeedStepWrapsAtBothEnds) {
  StartReading();
  form->oPlayer->SetRate(0.6f);
  struct Step {
    std::int16_t key;
    const char* shown;
    const char* stored;
  };
  // The player's single-precision 0.6 is just above the bound 0.6.
  for (const Step& step :
       {Step{kMinus, "Lettura più lenta - Rate 0,5", "0,5"}, Step{kMinus, "Lettura più lenta - Rate 2", "2"},
        Step{kPlus, "Lettura più veloce - Rate 0,5", "0,5"},
        Step{kPlus, "Lettura più veloce - Rate 0,6", "0,6"}}) {
    SCOPED_TRACE(step.shown);
    Alt(step.key);
    EXPECT_EQ(Shown(), step.shown);
    EXPECT_EQ(Stored("Rate"), step.stored);
  }
}

TEST_F(KeysWorld, TheSpeedPresetsCycleAndAnyOtherSpeedReturnsToNormal) {
  StartReading();
  Alt(kPlus);
  ASSERT_EQ(Shown(), "Lettura più veloce - Rate 1,1");
  for (const char* shown : {"Lettura normale - Rate 1", "Lettura veloce - Rate 1,4",
                            "Lettura lenta - Rate 0,7", "Lettura normale - Rate 1"}) {
    Ctrl(Digit(9));
    EXPECT_EQ(Shown(), shown);
  }
  EXPECT_EQ(Stored("Rate"), "1");
  EXPECT_FLOAT_EQ(static_cast<float>(Engine().settingsRate()), 1.0f);
}

TEST_F(KeysWorld, TheConfigurationPanelOpensAndClosesShowingTheStoredSpeed) {
  StartReading();
  Store("Rate", "1,3");
  Ctrl(Digit(8));
  EXPECT_TRUE(form->frmconfigurazioneVisible);
  EXPECT_EQ(form->TextRate.Text(), "1,3");
  EXPECT_EQ(Shown(), "Pannello configurazione");
  Ctrl(Digit(8));
  EXPECT_FALSE(form->frmconfigurazioneVisible);
  EXPECT_EQ(Stored("Rate"), "1,3");
}

// --- Audio off and on.

TEST_F(KeysWorld, AudioOffTwiceReturnsToTheFirstState) {
  StartReading();
  Ctrl(Digit(0));
  EXPECT_TRUE(form->state.AudioOffState);
  EXPECT_FALSE(Playing());
  EXPECT_EQ(form->chkAudioOff.Value(), 1);
  EXPECT_EQ(Stored("AudioOff"), "True");
  EXPECT_EQ(Shown(), "Lettura disattivata");

  Ctrl(Digit(0));
  EXPECT_FALSE(form->state.AudioOffState);
  EXPECT_EQ(form->chkAudioOff.Value(), 0);
  EXPECT_EQ(Stored("AudioOff"), "False");
  EXPECT_EQ(Shown(), "Lettura attiva");
}

}  // namespace
}  // namespace orva::keys_testing
