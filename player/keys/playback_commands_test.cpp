// The playback keys on the fake engine: seeking across audios and pages,
// volume on both engines' scales and the speed step.

#include <gtest/gtest.h>

#include "player/browser/testing/frm_browser_world.h"
#include "player/keys/key_codes.h"
#include "player/playback/forwarding_media_engine.h"

namespace orva::testing {
namespace {

using keys::Digit;
constexpr std::int16_t kPlus = keys::kVkPlus;
constexpr std::int16_t kMinus = keys::kVkMinus;
constexpr std::int64_t kIntoAudio1Ms = 180'000 + 1;  // audio 1 plays from 5 s

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

struct PlaybackKeys : ::testing::Test, FrmBrowserWorld {};

TEST_F(PlaybackKeys, SeekingWithinAnAudioAcrossAudiosAndToTheNextPage) {
  struct Case {
    const char* name;
    const char* step;  // the skip step field; nullptr: 10
    bool inAudio1;
    double from;
    std::int16_t key;
    double position;
    const char* shown;
    const char* played = nullptr;  // the file handed over by the key
    const char* call = nullptr;    // an engine call the key made
    const char* opens = nullptr;   // the page the key asks for
    bool oneAudio = false;         // on a page with one audio and no next page
  };
  const Case cases[] = {
      {"back far into an audio", nullptr, false, 25, Digit(1), 15, "INDIETRO 00:15"},
      {"back early in audio 1: audio 0 from its end less a step", nullptr, true, 5, Digit(1), 170,
       "INDIETRO 02:50", "Libro/uno.mp3"},
      {"back with a step past the start passes the negative position on", "20", false, 15, Digit(1), 0,
       "INDIETRO 00:00", nullptr, "controls.currentPosition=-5.000000"},
      {"forward near the end: the next audio from its own start", nullptr, false, 176, Digit(2), 5,
       "AVANTI 00:05", "Libro/due.mp3"},
      // The last three seconds play until the next page binds its own.
      {"forward past the last audio opens the next page", nullptr, true, 25, Digit(2), 27, "AVANTI 00:27",
       nullptr, nullptr, "cap01/Pag2.htm"},
      // The audio is found beside the page only from the page's address: going
      // back to it finds nothing, so the file held plays from its start.
      {"back on a page with one audio", nullptr, false, 5, Digit(1), 0, "INDIETRO 00:00", nullptr, nullptr,
       nullptr, true},
      {"forward at the end of the only audio plays what is left", nullptr, false, 55, Digit(2), 57,
       "AVANTI 00:57", nullptr, nullptr, nullptr, true},
  };
  const auto startOnOneAudio = [this]() -> FrmBrowser& {
    AddPage("cap01/Sola.htm", {.title = "Sola.htm", .elements = {Meta("ZUVPLAYER_AUDIO", "sola.mp3")}});
    AddMedia("cap01/sola.mp3", 60);
    FrmBrowser& f = Start();
    Open("cap01/Sola.htm");
    return f;
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FrmBrowser& f = c.oneAudio ? startOnOneAudio() : StartReading();
    const std::size_t requested = browser.Requested().size();
    if (c.step) f.TextAvantiIndietro.SetText(c.step);
    if (c.inAudio1) PlayOn(kIntoAudio1Ms);
    PlayFrom(c.from);
    Engine().ClearCalls();
    Ctrl(c.key);
    EXPECT_NEAR(Position(), c.position, 0.01);
    EXPECT_TRUE(Playing());
    EXPECT_EQ(Shown(), c.shown);
    EXPECT_EQ(Played(),
              c.played ? std::vector<std::string>{FromProgram(c.played)} : std::vector<std::string>{});
    if (c.call) {
      EXPECT_EQ(Engine().Calls(), std::vector<std::string>{c.call});
    }
    if (c.opens) {
      EXPECT_EQ(browser.Requested().back(), Url(c.opens));
    } else {
      EXPECT_EQ(browser.Requested().size(), requested);
    }
    EXPECT_TRUE(Reports().empty());
  }
}

TEST_F(PlaybackKeys, SeekBackWaitsForAnEngineStillOpeningThePreviousAudio) {
  AddReadingPage();
  Start(
      [this] { return NewPlayer([this] { return std::make_unique<SlowToOpen>(media.Factory()(), loop); }); });
  Open(kPage);
  PlayOn(kIntoAudio1Ms + SlowToOpen::kOpenMs);
  Ctrl(Digit(1));
  EXPECT_EQ(Played().back(), FromProgram("Libro/uno.mp3"));
  EXPECT_NEAR(Position(), 170, 0.01);
  EXPECT_EQ(Shown(), "INDIETRO 02:50");
}

TEST_F(PlaybackKeys, ASkipStepThatIsNotANumberIsReportedByTheSeekAndShowsNothing) {
  FrmBrowser& f = StartReading();
  // The field normally puts the stored step back; a change from outside
  // its handler can still leave letters in it.
  f.TextAvantiIndietro.Change = nullptr;
  f.TextAvantiIndietro.SetText("dieci");
  PlayFrom(30);
  Ctrl(Digit(2));
  Ctrl(Digit(1));
  EXPECT_EQ(Reports(),
            (std::vector<std::string>{"Form_KeyDown Avanti - Form KeyDown: inizializzazione / 13",
                                      "Form_KeyDown Indietro - Form KeyDown: inizializzazione / 13"}));
  EXPECT_EQ(Shown(), "");
  EXPECT_NEAR(Position(), 30, 0.01);
}

TEST_F(PlaybackKeys, VolumeStopsAtTheBoundsOfEitherEnginesScale) {
  // Version 9: 0 to 100 in tens; the older engine: -4000 to 0 in hundreds.
  const std::tuple<const char*, double, std::int16_t, const char*> cases[] = {
      {"1", 95, kPlus, "100"},       {"1", 100, kPlus, "100"},     {"1", 5, kMinus, "0"},
      {"0", -3950, kMinus, "-4000"}, {"0", -4000, kPlus, "-3900"}, {"0", -50, kPlus, "0"}};
  for (const auto& [engine, from, key, volume] : cases) {
    SCOPED_TRACE(std::string(engine) + " " + volume);
    Store("Versione", engine);
    if (*engine == '0') dialogs.QueueAnswer(MsgBoxResult::kNo);  // keep the older engine
    FrmBrowser& f = StartReading();
    In::Player(f)->SetVolume(from);
    Ctrl(key);
    EXPECT_EQ(Shown(), std::string("Volume - ") + volume);
    EXPECT_EQ(Stored("Volume"), volume);
    EXPECT_EQ(f.TextVolume.Text(), volume);
    EXPECT_TRUE(Reports().empty());
  }
}

TEST_F(PlaybackKeys, TheSpeedStepWrapsAtBothEnds) {
  FrmBrowser& f = StartReading();
  In::Player(f)->SetRate(0.6f);
  // The player's single-precision 0.6 is just above the bound 0.6.
  const std::tuple<std::int16_t, const char*, const char*> steps[] = {
      {kMinus, "Lettura più lenta - Rate 0,5", "0,5"},
      {kMinus, "Lettura più lenta - Rate 2", "2"},
      {kPlus, "Lettura più veloce - Rate 0,5", "0,5"},
      {kPlus, "Lettura più veloce - Rate 0,6", "0,6"}};
  for (const auto& [key, shown, stored] : steps) {
    SCOPED_TRACE(shown);
    Alt(key);
    EXPECT_EQ(Shown(), shown);
    EXPECT_EQ(Stored("Rate"), stored);
  }
}

}  // namespace
}  // namespace orva::testing
