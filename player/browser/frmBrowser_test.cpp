#include "player/browser/frmBrowser.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "player/browser/testing/frm_browser_world.h"

namespace orva {
namespace {

// A book whose program folder has a blank in its name, on Linux.
const std::string kHostFolder = "/books/Storia Antica";
const std::string kIndexUrl = "file:///books/Storia%20Antica/Index.htm";
const std::string kPageUrl = "file:///books/Storia%20Antica/cap01/Pag%201.htm";
const std::string kVersionQuestion =
    "Versione 9 trovata! Per un corretto funzionamento è consigliato passare alla versione 9 (CTRL+7). Vuoi "
    "passare alla versione 9?";

struct BrowserWorld : ::testing::Test, testing::FrmBrowserWorld {
  int playerFailures = 0;  // the next n player creations fail
  int playersMade = 0;

  BrowserWorld() : FrmBrowserWorld({.hostFolder = kHostFolder, .numberFormat = NumberFormat{'.', ','}}) {
    disk.AddFile(kHostFolder + "/Index.htm");
    disk.AddFile(kHostFolder + "/cap01/Pag 1.htm");
    browser.AddPage(kIndexUrl, {.title = "Indice"});
    browser.AddPage(kPageUrl, {.title = "Pag 1"});
  }

  FrmBrowser& Start() {
    MakeWindow([this] {
      ++playersMade;
      if (playerFailures > 0) {
        --playerFailures;
        throw VbError(vberr::kObjectRequired);
      }
      return NewPlayer(media.Factory());
    });
    form->Form_Initialize();
    return *form;
  }

  std::vector<std::string> Questions() const {
    std::vector<std::string> out;
    for (const auto& d : dialogs.Shown())
      if (d.kind == fakes::ShownDialog::Kind::kMsgBox) out.push_back(d.text);
    return out;
  }
  std::vector<std::string> Reports() const {
    std::vector<std::string> out;
    for (const auto& r : dialogs.ErrorReports()) out.push_back(r.procedure);
    return out;
  }
};

TEST_F(BrowserWorld, FirstStartWithAnEmptyStoreShowsTheSplashThenTheIndex) {
  FrmBrowser& f = Start();
  EXPECT_TRUE(Questions().empty());
  EXPECT_TRUE(Reports().empty());
  EXPECT_EQ(f.optPlayer.Chosen(), 1);
  ASSERT_NE(f.oPlayer, nullptr);
  EXPECT_EQ(f.oPlayer->Versione(), 1);
  EXPECT_EQ(f.state.VolumeMax, 100);
  EXPECT_EQ(f.state.VolumeStep, 10);
  EXPECT_EQ(f.state.StyleNumber, 1);
  EXPECT_EQ(f.state.IndexPath, "\\books\\Storia Antica\\Index.htm");
  // The fields wrote their values back through their own handlers.
  EXPECT_EQ(Stored("Versione"), "1");
  EXPECT_EQ(Stored("Volume"), "100");
  EXPECT_EQ(Stored("AvantiIndietro"), "10");
  EXPECT_EQ(Stored("SavePos"), "<missing>");  // the box stays clear: no click
  // The splash went into the blank document, and stays 5000 ms.
  EXPECT_EQ(browser.Completed(), std::vector<std::string>{"about:blank"});
  EXPECT_NE(browser.FakeDocumentOnView()->bodyInnerHTML().find("OrvaPlayer 4.0"), std::string::npos);
  EXPECT_NE(browser.FakeDocumentOnView()->bodyInnerHTML().find(
                "src='\\books\\Storia Antica\\include\\avvio.jpg' alt='Logo di OrvaPlayer'"),
            std::string::npos);
  EXPECT_EQ(f.TimerSpalsh.Interval(), 5000);
  const std::int64_t splashFrom = loop.NowMs();
  loop.Advance(4999 - (loop.NowMs() - splashFrom));
  EXPECT_EQ(browser.Requested().size(), 1u);
  loop.Advance(50);
  EXPECT_EQ(browser.Requested().back(), "\\books\\Storia Antica\\Index.htm");
  EXPECT_EQ(browser.LocationURL(), kIndexUrl);
  EXPECT_FALSE(f.state.RestorePosition);
  EXPECT_EQ(f.Caption(), "Indice");
  EXPECT_FALSE(f.TimerSpalsh.Enabled());
}

TEST_F(BrowserWorld, TheSplashStaysAtLeastOneAndAHalfSeconds) {
  struct Case {
    const char* stored;
    int interval;
  };
  const Case cases[] = {{"800", 1500},    {"0", 1500},   {"1500", 1500}, {"1501", 1501},
                        {"12000", 12000}, {"abc", 1500}, {"", 1500},     {"99999999999", 1500}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.stored);
    Store("TempoSp", c.stored);
    FrmBrowser& f = Start();
    EXPECT_EQ(f.TimerSpalsh.Interval(), c.interval);
    EXPECT_TRUE(f.TimerSpalsh.Enabled());
  }
}

TEST_F(BrowserWorld, TheVersionQuestionComesAtEveryStartWhileTheOlderEngineIsChosen) {
  Store("Versione", "0");
  for (int start = 0; start < 2; ++start) {
    SCOPED_TRACE(start);
    dialogs.Clear();
    dialogs.QueueAnswer(MsgBoxResult::kNo);
    FrmBrowser& f = Start();
    EXPECT_EQ(Questions(), std::vector<std::string>{kVersionQuestion});
    EXPECT_EQ(dialogs.Shown().front().title, "OrvaPlayer");
    EXPECT_EQ(f.oPlayer->Versione(), 0);
    EXPECT_EQ(f.optPlayer.Chosen(), 0);
    EXPECT_EQ(f.state.VolumeMin, -4000);
    EXPECT_EQ(Stored("Versione"), "0");
  }
  dialogs.Clear();
  dialogs.QueueAnswer(MsgBoxResult::kYes);
  FrmBrowser& f = Start();
  EXPECT_EQ(f.oPlayer->Versione(), 1);
  EXPECT_EQ(Stored("Versione"), "1");
  dialogs.Clear();
  Start();
  EXPECT_TRUE(Questions().empty());
}

TEST_F(BrowserWorld, APlayerThatCannotBeCreatedIsTriedOnceWithTheOtherChoice) {
  playerFailures = 1;
  dialogs.QueueAnswer(MsgBoxResult::kNo);
  FrmBrowser& f = Start();
  // Version 9 failed, so the older engine is offered with the question.
  EXPECT_EQ(Questions(), std::vector<std::string>{kVersionQuestion});
  EXPECT_EQ(f.oPlayer->Versione(), 0);
  EXPECT_TRUE(Reports().empty());
  EXPECT_TRUE(f.TimerSpalsh.Enabled());
}

TEST_F(BrowserWorld, ASecondPlayerFailureEndsTheStartUpWithoutAReport) {
  playerFailures = 2;
  dialogs.QueueAnswer(MsgBoxResult::kNo);
  FrmBrowser& f = Start();
  // Form_Load says nothing; the blank page's audio start finds no player.
  EXPECT_EQ(Reports(), std::vector<std::string>{"Playaudio - Stop Audio 1"});
  EXPECT_FALSE(f.TimerSpalsh.Enabled());
  loop.Advance(60'000);
  EXPECT_EQ(browser.Completed(), std::vector<std::string>{"about:blank"});  // no book page opens
}

TEST_F(BrowserWorld, AStoredSettingThatCannotBeReadGivesWayToItsDefault) {
  struct Case {
    const char* key;
    const char* stored;
    const char* fallback;
  };
  const Case cases[] = {
      {"AudioOff", "", "False"},  {"AudioOff", "Vero", "False"}, {"SavePos", "sì", "0"},
      {"StyleSheet", "due", "1"}, {"AvantiIndietro", "x", "10"}, {"Volume", "forte", "100"},
      {"Versione", "nove", "1"},  {"Rate", "veloce", "1"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.key) + " " + c.stored);
    Store(c.key, c.stored);
    dialogs.Clear();
    Start();
    loop.Advance(5000);
    EXPECT_EQ(browser.LocationURL(), kIndexUrl);
    EXPECT_TRUE(Questions().empty());
    EXPECT_TRUE(Reports().empty());
    EXPECT_EQ(Stored(c.key), c.fallback);
  }
}

TEST_F(BrowserWorld, ASavedPageThatWasDeletedOpensTheIndexWithoutItsPosition) {
  Store("SavePos", "1");
  Store("Brano", "file:///books/Storia%20Antica/cap09/gone.htm");
  Store("BranoPos", "42");
  FrmBrowser& f = Start();
  loop.Advance(5000);
  EXPECT_EQ(browser.LocationURL(), kIndexUrl);
  EXPECT_FALSE(f.state.RestorePosition);
}

TEST_F(BrowserWorld, ASavedAddressIsTestedAsAPathAndOpenedAsStored) {
  struct Case {
    const char* name;
    const char* saved;
  };
  const Case cases[] = {
      {"blank and fragment", "file:///books/Storia%20Antica/cap01/Pag%201.htm#ZUVPLAYER_AUDIO_POS=30"},
      {"query", "file:///books/Storia%20Antica/cap01/Pag%201.htm?x=1#y"},
      {"other letter case on disk", "file:///books/Storia%20Antica/CAP01/pag%201.HTM"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Store("SavePos", "1");
    Store("Brano", c.saved);
    Store("BranoPos", "0");
    FrmBrowser& f = Start();
    EXPECT_EQ(f.chkSavePos.Value(), 1);
    browser.SetLoadDelay(100);
    loop.Advance(5000);
    EXPECT_EQ(browser.Requested().back(), c.saved);
    // Set with the navigation; the page's audio start then applies it.
    EXPECT_TRUE(f.state.RestorePosition);
    loop.Advance(100);
    EXPECT_FALSE(f.state.RestorePosition);
    browser.SetLoadDelay(0);
    EXPECT_TRUE(Reports().empty());
  }
}

TEST_F(BrowserWorld, TheBlankAddressIsNeverRestored) {
  Store("SavePos", "1");
  Store("Brano", "about:blank");
  FrmBrowser& f = Start();
  loop.Advance(5000);
  EXPECT_EQ(browser.LocationURL(), kIndexUrl);
  EXPECT_FALSE(f.state.RestorePosition);
}

TEST_F(BrowserWorld, NoToTheExitQuestionLeavesEverythingAsItWas) {
  FrmBrowser& f = Start();
  loop.Advance(5000);
  oMoxPlayer* player = f.oPlayer.get();
  dialogs.Clear();
  dialogs.QueueAnswer(MsgBoxResult::kNo);
  EXPECT_FALSE(f.Unload(UnloadMode::kFormControlMenu));
  ASSERT_EQ(dialogs.Shown().size(), 1u);
  EXPECT_EQ(dialogs.Shown()[0].text, "Sei sicuro di voler uscire?");
  EXPECT_EQ(dialogs.Shown()[0].title, "ORVA Player");
  EXPECT_EQ(dialogs.Shown()[0].buttons, MsgBoxButtons::kYesNo);
  EXPECT_FALSE(f.Unloaded());
  EXPECT_EQ(f.oPlayer.get(), player);
  EXPECT_EQ(browser.LocationURL(), kIndexUrl);
  EXPECT_EQ(Stored("Brano"), "<missing>");
}

TEST_F(BrowserWorld, ClosingSavesOrClearsTheReadingPlace) {
  {
    SCOPED_TRACE("SavePos 1");
    Store("SavePos", "1");
    FrmBrowser& f = Start();
    loop.Advance(5000);
    browser.ClickLink(kPageUrl + "#par2");
    loop.DoEvents();
    bool closed = false;
    f.Closed = [&] { closed = true; };
    dialogs.QueueAnswer(MsgBoxResult::kYes);
    EXPECT_TRUE(f.Unload());
    EXPECT_TRUE(closed);
    EXPECT_EQ(f.oPlayer, nullptr);
    EXPECT_EQ(Stored("Brano"), kPageUrl + "#par2");
    EXPECT_EQ(Stored("BranoPos"), "0");
    EXPECT_EQ(Stored("BranoAudio"), "0");
  }
  {
    SCOPED_TRACE("SavePos 1, leaving from the splash");
    Store("BranoPos", "42");
    Store("BranoAudio", "2");
    FrmBrowser& f = Start();
    dialogs.QueueAnswer(MsgBoxResult::kYes);
    EXPECT_TRUE(f.Unload());
    EXPECT_EQ(Stored("Brano"), kPageUrl + "#par2");
    EXPECT_EQ(Stored("BranoPos"), "42");
    EXPECT_EQ(Stored("BranoAudio"), "2");
  }
  {
    SCOPED_TRACE("SavePos 0");
    Store("SavePos", "0");
    FrmBrowser& f = Start();
    loop.Advance(5000);
    dialogs.QueueAnswer(MsgBoxResult::kYes);
    EXPECT_TRUE(f.Unload());
    EXPECT_EQ(Stored("Brano"), "");
    EXPECT_EQ(Stored("BranoPos"), "");
    EXPECT_EQ(Stored("BranoAudio"), "");
  }
}

TEST_F(BrowserWorld, TheExitQuestionUsesTheBooksOwnText) {
  FrmBrowser& f = Start();
  f.state.Messages.Set(book::Message::kUscita, "Do you really want to quit?");
  dialogs.Clear();
  dialogs.QueueAnswer(MsgBoxResult::kNo);
  f.Unload();
  EXPECT_EQ(Questions(), std::vector<std::string>{"Do you really want to quit?"});
}

TEST_F(BrowserWorld, ThePagesOwnCloseRequestAsksTheExitQuestion) {
  FrmBrowser& f = Start();
  loop.Advance(5000);
  dialogs.Clear();
  dialogs.QueueAnswer(MsgBoxResult::kNo);
  browser.CloseFromPage();
  EXPECT_EQ(Questions(), std::vector<std::string>{"Sei sicuro di voler uscire?"});
  EXPECT_FALSE(f.Unloaded());
  dialogs.QueueAnswer(MsgBoxResult::kYes);
  browser.CloseFromPage();
  EXPECT_TRUE(f.Unloaded());
}

TEST_F(BrowserWorld, ABlankDocumentThatNeverCompletesDoesNotHoldTheStartUp) {
  browser.HoldLoads(true);
  Start();
  EXPECT_GE(loop.NowMs(), FrmBrowser::kBlankDocumentWaitMs);
  // The splash timer ran inside the wait, as events do there.
  EXPECT_EQ(browser.Requested().back(), "\\books\\Storia Antica\\Index.htm");
  EXPECT_TRUE(Reports().empty());
}

TEST_F(BrowserWorld, SectionOfThePageOnViewIsItsPathInTheBook) {
  FrmBrowser& f = Start();
  loop.Advance(5000);
  browser.AddPage("file:///books/Storia%20Antica/cap01/Pag%201.html", {.title = "Pagina"});
  browser.Navigate2("\\books\\Storia Antica\\cap01\\Pag 1.html#x");
  loop.DoEvents();
  EXPECT_EQ(browser.LocationURL(), "file:///books/Storia%20Antica/cap01/Pag%201.html#x");
  EXPECT_EQ(f.Section(), "CAP01\\PAG 1.HTM");
}

TEST_F(BrowserWorld, CommandLinksAreCancelledAndThePageStays) {
  FrmBrowser& f = Start();
  loop.Advance(5000);
  f.state.KeepPending = true;
  f.state.PendingFragment = "#ZUVPLAYER_AUDIO_POS=3";
  browser.ClickLink(kIndexUrl + "#ZUVP_STOP#");
  loop.DoEvents();
  EXPECT_EQ(browser.LocationURL(), kIndexUrl);
  // The fragment kept for one navigation survives this one only.
  EXPECT_EQ(f.state.PendingFragment, "#ZUVPLAYER_AUDIO_POS=3");
  EXPECT_FALSE(f.state.KeepPending);
  browser.ClickLink(kPageUrl);
  loop.DoEvents();
  EXPECT_EQ(f.state.PendingFragment, "");
  EXPECT_EQ(browser.LocationURL(), kPageUrl);
}

TEST_F(BrowserWorld, AFailedServerLookupLeadsBackToTheIndex) {
  FrmBrowser& f = Start();
  loop.Advance(5000);
  browser.AddPage("http://nowhere.example/", {.title = "Impossibile trovare il server"});
  browser.Navigate2("http://nowhere.example/");
  loop.DoEvents();
  loop.DoEvents();
  EXPECT_EQ(browser.LocationURL(), kIndexUrl);
  EXPECT_EQ(f.Caption(), "Indice");
}

// --- The playback fields and the on-screen display.

TEST_F(BrowserWorld, FieldsWriteTheirSettingsWhenTheyChange) {
  FrmBrowser& f = Start();
  f.chkSavePos.SetValue(1);
  EXPECT_EQ(Stored("SavePos"), "1");
  f.TextVolume.SetText("");
  EXPECT_EQ(Stored("Volume"), "");  // stored unchecked
  f.TextAvantiIndietro.SetText("15");
  EXPECT_EQ(Stored("AvantiIndietro"), "15");
  // A text that is not a number puts the stored one back at once.
  f.TextAvantiIndietro.SetText("");
  EXPECT_EQ(f.TextAvantiIndietro.Text(), "15");
  f.TextRate.SetText("1.4");
  EXPECT_EQ(Stored("Rate"), "1.4");
  EXPECT_FLOAT_EQ(f.PlayerRate(), 1.4f);
  f.TextRate.SetText("");
  EXPECT_EQ(Reports(), std::vector<std::string>{"TextRate_Change"});
  EXPECT_EQ(Stored("Rate"), "1.4");
}

TEST_F(BrowserWorld, AudioOffFollowsTheStoreAndTheBox) {
  Store("AudioOff", "True");
  FrmBrowser& f = Start();
  EXPECT_TRUE(f.state.AudioOffState);
  EXPECT_EQ(f.chkAudioOff.Value(), 1);
  EXPECT_TRUE(f.oPlayer->AudioOff());
  f.chkAudioOff.SetValue(0);
  EXPECT_FALSE(f.state.AudioOffState);
  EXPECT_FALSE(f.oPlayer->AudioOff());
}

TEST_F(BrowserWorld, SwitchingEnginesStoresTheChoiceAndItsScale) {
  FrmBrowser& f = Start();
  f.optPlayer.SetValue(0, true);
  EXPECT_EQ(f.oPlayer->Versione(), 0);
  EXPECT_EQ(f.state.VolumeMin, -4000);
  EXPECT_EQ(Stored("Versione"), "0");
  dialogs.Clear();
  f.SetPlayer(2);
  ASSERT_EQ(dialogs.ErrorReports().size(), 1u);
  EXPECT_EQ(dialogs.ErrorReports()[0].procedure, "SetPlayer");
  EXPECT_EQ(dialogs.ErrorReports()[0].errorText,
            "Versione Media Player non supportata! Verrà reimpostata la versione precedente!");
  EXPECT_EQ(f.oPlayer->Versione(), 0);  // the previous engine again
  EXPECT_EQ(Stored("Versione"), "0");
}

TEST_F(BrowserWorld, SwitchingEnginesWhileAFilePlaysRestartsItOnTheNewEngine) {
  const std::string file = "C:\\Libro\\cap1.mp3";
  media.Add(file, {.duration = 60});
  FrmBrowser& f = Start();
  loop.Advance(10'000);  // past the splash: the index page is on view
  f.oPlayer->SetFileName(file);
  f.oPlayer->Play_Player();
  loop.Advance(10'000);
  ASSERT_NEAR(f.oPlayer->CurrentPosition(), 10.0, 1e-6);
  for (const int engine : {0, 1}) {
    SCOPED_TRACE(engine);
    f.optPlayer.SetValue(engine, true);
    loop.DoEvents();
    EXPECT_EQ(f.oPlayer->Versione(), engine);
    EXPECT_EQ(f.oPlayer->FileName(), file);
    EXPECT_TRUE(f.oPlayer->IsPlaying());
    EXPECT_NEAR(f.oPlayer->CurrentPosition(), 0.0, 1e-6);  // from its beginning
    EXPECT_EQ(media.EnginesAlive(), 1);                    // the old engine is gone
    loop.Advance(5'000);
  }
  EXPECT_TRUE(dialogs.ErrorReports().empty());
}

TEST_F(BrowserWorld, TheSpeedIsStoredInTheReadersLocaleAndReadBackTheSameWay) {
  ScopedNumberFormat italian{NumberFormat{',', '.'}};
  FrmBrowser& f = Start();
  f.TextRate.SetText("1,4");
  EXPECT_EQ(Stored("Rate"), "1,4");
  EXPECT_FLOAT_EQ(f.PlayerRate(), 1.4f);
  f.SetPlayerRate(static_cast<float>(f.RateChange(f.PlayerRate(), true)));
  EXPECT_EQ(Stored("Rate"), "1,5");
  EXPECT_TRUE(dialogs.ErrorReports().empty());
}

TEST(RateChange, StepsAndWrapsAtBothEnds) {
  struct Case {
    double rate;
    bool faster;
    double expected;
  };
  const Case cases[] = {
      {1.95, true, 2.05}, {2.0, true, 0.5},
      {1.0, true, 1.1},   {0.65, false, 0.55},
      {0.6, false, 2.0},  {static_cast<double>(0.6f), false, static_cast<double>(0.6f) - 0.1}};
  fakes::VirtualEventLoop loop;
  fakes::ScriptedDialogs dialogs;
  MdlMain report{dialogs, nullptr};
  fakes::MemoryFileSystem disk;
  MemoryRegistry registry;
  Settings settings{registry};
  FakeWebBrowser browser{loop};
  FrmBrowser f({loop, dialogs, disk, settings, report, browser, "\\b", nullptr, {}});
  for (const Case& c : cases) {
    SCOPED_TRACE(c.rate);
    EXPECT_NEAR(f.RateChange(c.rate, c.faster), c.expected, 1e-9);
  }
}

TEST_F(BrowserWorld, TheOnScreenDisplayHidesAfterOneAndAHalfSecondsUnlessKept) {
  FrmBrowser& f = Start();
  std::vector<bool> shown;
  f.OsdChanged = [&](bool visible, const std::string&) { shown.push_back(visible); };
  f.OSD("PAUSA 00:10 premere ctrl+3", true);
  loop.Advance(10'000);
  EXPECT_TRUE(f.frmOSDVisible);
  f.OSD("PLAY 00:10", false);
  loop.Advance(1499);
  EXPECT_TRUE(f.frmOSDVisible);
  loop.Advance(1);
  EXPECT_FALSE(f.frmOSDVisible);
  EXPECT_EQ(f.lblOSD, "PLAY 00:10");
  EXPECT_EQ(shown, (std::vector<bool>{true, true, false}));
}

TEST_F(BrowserWorld, AKeptMessageCancelsAHideStillPending) {
  FrmBrowser& f = Start();
  f.OSD("PLAY 00:10", false);
  loop.Advance(1000);
  f.OSD("PAUSA 00:10 premere ctrl+3", true);
  loop.Advance(10'000);
  EXPECT_TRUE(f.frmOSDVisible);
  EXPECT_EQ(f.lblOSD, "PAUSA 00:10 premere ctrl+3");
}

TEST_F(BrowserWorld, TheQuietSecondAfterARecallEnds) {
  FrmBrowser& f = Start();
  f.state.PlaySuppressed = true;
  f.TimerDisableState.SetEnabled(true);
  loop.Advance(1000);
  EXPECT_FALSE(f.state.PlaySuppressed);
  EXPECT_FALSE(f.TimerDisableState.Enabled());
}

}  // namespace
}  // namespace orva
