// The main window's start, its close, the splash, and the speed field.

#include "player/browser/frmBrowser.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "player/browser/testing/frm_browser_world.h"
#include "player/keys/key_codes.h"

namespace orva::testing {
namespace {

const std::string kVersionQuestion =
    "Versione 9 trovata! Per un corretto funzionamento è consigliato passare alla versione 9 (CTRL+7). Vuoi "
    "passare alla versione 9?";

struct BrowserWorld : ::testing::Test, FrmBrowserWorld {
  int playerFailures = 0;  // the next n player creations fail
  const std::string indexUrl = Url("Index.htm");
  const std::string pageUrl = Url("cap01/Pag 1.htm");

  BrowserWorld() : FrmBrowserWorld({.numberFormat = NumberFormat{'.', ','}}) {
    AddPage("Index.htm", {.title = "Indice"});
    AddPage("cap01/Pag 1.htm", {.title = "Pag 1"});
  }
  // Made and initialised as the program does, splash and all.
  FrmBrowser& Launch() {
    MakeWindow([this] {
      if (playerFailures > 0 && playerFailures--) throw VbError(vberr::kObjectRequired);
      return NewPlayer(media.Factory());
    });
    form->Form_Initialize();
    return *form;
  }
  void ForgetThePlayersSettings() {
    try {
      settings.DeleteSetting("ZUV MediaPlayer", "Player");
    } catch (const VbError&) {  // none yet
    }
  }
  std::vector<std::string> Questions() const {
    std::vector<std::string> out;
    for (const auto& d : dialogs.Shown())
      if (d.kind == fakes::ShownDialog::Kind::kMsgBox) out.push_back(d.text);
    return out;
  }
};

TEST_F(BrowserWorld, FirstStartWithAnEmptyStoreShowsTheSplashThenTheIndex) {
  FrmBrowser& f = Launch();
  EXPECT_TRUE(Questions().empty());
  EXPECT_TRUE(Reports().empty());
  // The fields wrote their values back through their own handlers.
  EXPECT_EQ(Stored("Versione"), "1");
  EXPECT_EQ(Stored("Volume"), "100");
  EXPECT_EQ(Stored("AvantiIndietro"), "10");
  EXPECT_EQ(Stored("SavePos"), "<missing>");  // the box stays clear: no click
  // The splash went into the blank document, and stays 5000 ms.
  EXPECT_EQ(browser.Completed(), std::vector<std::string>{"about:blank"});
  const std::string splash = browser.FakeDocumentOnView()->bodyInnerHTML();
  EXPECT_NE(splash.find("OrvaPlayer 4.0"), std::string::npos);
  EXPECT_NE(splash.find("src='\\books\\Storia Antica\\include\\avvio.jpg' alt='Logo di OrvaPlayer'"),
            std::string::npos);
  loop.Advance(4999);
  EXPECT_EQ(browser.Requested().size(), 1u);
  loop.Advance(50);
  EXPECT_EQ(browser.Requested().back(), "\\books\\Storia Antica\\Index.htm");
  EXPECT_EQ(browser.LocationURL(), indexUrl);
  EXPECT_EQ(f.Caption(), "Indice");
}

TEST_F(BrowserWorld, TheSplashStaysAtLeastOneAndAHalfSeconds) {
  const std::pair<const char*, int> cases[] = {{"800", 1500},    {"1500", 1500}, {"1501", 1501},
                                               {"12000", 12000}, {"abc", 1500},  {"99999999999", 1500}};
  for (const auto& [stored, interval] : cases) {
    SCOPED_TRACE(stored);
    Store("TempoSp", stored);
    FrmBrowser& f = Launch();
    EXPECT_EQ(In::SplashTimer(f).Interval(), interval);
    EXPECT_TRUE(In::SplashTimer(f).Enabled());
  }
}

TEST_F(BrowserWorld, StartingWithTheOlderEngineOrAFailingPlayer) {
  struct Case {
    const char* name;
    const char* stored;  // Versione; nullptr: not stored
    int failures;
    MsgBoxResult answer;
    int engine;  // the engine after the start; -1: none
    std::vector<std::string> reports;
  };
  const Case cases[] = {
      {"older engine kept", "0", 0, MsgBoxResult::kNo, 0, {}},
      {"version 9 taken", "0", 0, MsgBoxResult::kYes, 1, {}},
      {"version 9 fails once: the other choice", nullptr, 1, MsgBoxResult::kNo, 0, {}},
      // Form_Load says nothing; the blank page's audio start finds no player.
      {"both fail", nullptr, 2, MsgBoxResult::kNo, -1, {"Playaudio - Stop Audio 1 / 91"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ForgetThePlayersSettings();
    if (c.stored) Store("Versione", c.stored);
    playerFailures = c.failures;
    dialogs.Clear();
    dialogs.QueueAnswer(c.answer);
    FrmBrowser& f = Launch();
    EXPECT_EQ(Questions(), std::vector<std::string>{kVersionQuestion});
    EXPECT_EQ(dialogs.Shown().front().title, "OrvaPlayer");
    EXPECT_EQ(Reports(), c.reports);
    if (c.engine < 0) {
      loop.Advance(60'000);
      EXPECT_EQ(browser.Completed().back(), "about:blank");  // no book page opens
      continue;
    }
    EXPECT_EQ(In::Player(f)->Versione(), c.engine);
    EXPECT_EQ(f.optPlayer.Chosen(), c.engine);
    if (c.stored) {
      EXPECT_EQ(Stored("Versione"), std::to_string(c.engine));
    }
  }
  Store("Versione", "1");
  dialogs.Clear();
  Launch();
  EXPECT_TRUE(Questions().empty());
}

TEST_F(BrowserWorld, AStoredSettingThatCannotBeReadGivesWayToItsDefault) {
  const std::pair<const char*, const char*> cases[][2] = {
      {{"AudioOff", ""}, {"", "False"}},  {{"SavePos", "sì"}, {"", "0"}},
      {{"StyleSheet", "due"}, {"", "1"}}, {{"AvantiIndietro", "x"}, {"", "10"}},
      {{"Volume", "forte"}, {"", "100"}},
  };
  for (const auto& c : cases) {
    const auto [key, stored] = c[0];
    SCOPED_TRACE(std::string(key) + " " + stored);
    Store(key, stored);
    dialogs.Clear();
    Launch();
    loop.Advance(5000);
    EXPECT_EQ(browser.LocationURL(), indexUrl);
    EXPECT_TRUE(Questions().empty());
    EXPECT_TRUE(Reports().empty());
    EXPECT_EQ(Stored(key), c[1].second);
  }
}

TEST_F(BrowserWorld, TheSavedPageOpensAsStoredOrGivesWayToTheIndex) {
  struct Case {
    const char* name;
    std::string saved;
    bool opens;
    bool plays = false;  // the page's audio starts from the saved position
  };
  const Case cases[] = {
      {"blank and fragment", pageUrl + "#ZUVPLAYER_AUDIO_POS=30", true, true},
      {"query", pageUrl + "?x=1#y", true},
      {"other letter case on disk", Url("CAP01/pag 1.HTM"), true},
      {"a page that was deleted", Url("cap09/gone.htm"), false},
      {"the blank page", "about:blank", false},
  };
  AddMedia("cap01/a.mp3", 600);
  browser.AddPage(pageUrl, {.title = "Pag 1", .elements = {Meta("ZUVPLAYER_AUDIO", "a.mp3")}});
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Store("SavePos", "1");
    Store("Brano", c.saved);
    Store("BranoPos", "42");
    FrmBrowser& f = Launch();
    EXPECT_EQ(f.chkSavePos.Value(), 1);
    loop.Advance(5000);
    EXPECT_EQ(browser.Requested().back(), c.opens ? c.saved : "\\books\\Storia Antica\\Index.htm");
    // The saved position is applied by the saved page's audio start only.
    if (c.plays) {
      EXPECT_NEAR(Position(), 42, 0.01);
    }
    EXPECT_TRUE(Reports().empty());
  }
}

TEST_F(BrowserWorld, ClosingAsksTheBooksQuestionAndSavesOrClearsTheReadingPlace) {
  struct Case {
    const char* name;
    const char* savePos;
    bool fromSplash;
    MsgBoxResult answer;
    std::vector<const char*> stored;  // Brano, BranoPos, BranoAudio
  };
  const Case cases[] = {
      {"No: nothing stored", "1", false, MsgBoxResult::kNo, {"<missing>", "<missing>", "<missing>"}},
      {"SavePos 1", "1", false, MsgBoxResult::kYes, {"#par2", "0", "0"}},
      {"SavePos 1, leaving from the splash", "1", true, MsgBoxResult::kYes, {"#par2", "42", "2"}},
      {"SavePos 0", "0", false, MsgBoxResult::kYes, {"", "", ""}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ForgetThePlayersSettings();
    Store("SavePos", c.savePos);
    if (c.fromSplash) {
      Store("Brano", pageUrl + "#par2");
      Store("BranoPos", "42");
      Store("BranoAudio", "2");
    }
    FrmBrowser& f = Launch();
    if (!c.fromSplash) {
      loop.Advance(5000);
      browser.ClickLink(pageUrl + "#par2");
      loop.DoEvents();
    }
    bool closed = false;
    f.Closed = [&] { closed = true; };
    dialogs.Clear();
    dialogs.QueueAnswer(c.answer);
    const bool yes = c.answer == MsgBoxResult::kYes;
    EXPECT_EQ(f.Unload(UnloadMode::kFormControlMenu), yes);
    ASSERT_EQ(dialogs.Shown().size(), 1u);
    EXPECT_EQ(dialogs.Shown()[0].text, "Sei sicuro di voler uscire?");
    EXPECT_EQ(dialogs.Shown()[0].title, "ORVA Player");
    EXPECT_EQ(dialogs.Shown()[0].buttons, MsgBoxButtons::kYesNo);
    EXPECT_EQ(f.Unloaded(), yes);
    EXPECT_EQ(closed, yes);
    const std::string brano = c.stored[0];
    EXPECT_EQ(Stored("Brano"), brano == "#par2" ? pageUrl + brano : brano);
    EXPECT_EQ(Stored("BranoPos"), c.stored[1]);
    EXPECT_EQ(Stored("BranoAudio"), c.stored[2]);
  }
}

TEST_F(BrowserWorld, AnUnloadedWindowTakesNoMoreBrowserPlayerOrKeyEvents) {
  AddMedia("cap01/a.mp3", 600);
  browser.AddPage(pageUrl, {.title = "Pag 1", .elements = {Meta("ZUVPLAYER_AUDIO", "a.mp3")}});
  Start();
  browser.Navigate2(pageUrl);  // still loading when the reader leaves
  dialogs.QueueAnswer(MsgBoxResult::kYes);
  ASSERT_TRUE(form->Unload());
  loop.DoEvents();
  form->Form_KeyDown(keys::Digit(3), keys::kCtrlMask);
  form->oPlayer_PlayStateChange(8);
  EXPECT_EQ(Reports(), std::vector<std::string>{});
}

// A mended fault: switching the engine hands the file over and lets events
// run; a close among them released the player under the switch.
TEST_F(BrowserWorld, AWindowClosedDuringAnEngineSwitchIsLeftAlone) {
  AddMedia("cap01/a.mp3", 600);
  browser.AddPage(pageUrl, {.title = "Pag 1", .elements = {Meta("ZUVPLAYER_AUDIO", "a.mp3")}});
  Start();
  browser.Navigate2(pageUrl);
  loop.DoEvents();
  dialogs.QueueAnswer(MsgBoxResult::kYes);
  loop.StartTimer(0, [this] { form->Unload(); });
  form->SetPlayer(0);
  EXPECT_TRUE(form->Unloaded());
  EXPECT_EQ(Reports(), std::vector<std::string>{});
}

// A mended fault: the start-up once waited for ever on a blank document that
// never finished loading.
TEST_F(BrowserWorld, ABlankDocumentThatNeverCompletesDoesNotHoldTheStartUp) {
  browser.HoldLoads(true);
  Launch();
  EXPECT_GE(loop.NowMs(), FrmBrowser::kBlankDocumentWaitMs);
  EXPECT_EQ(browser.Requested().back(), "\\books\\Storia Antica\\Index.htm");
  EXPECT_TRUE(Reports().empty());
}

}  // namespace
}  // namespace orva::testing
