// Command links: which addresses are cancelled and carried out, and what
// each does; and the browser's title and closing events.

#include <gtest/gtest.h>

#include <algorithm>

#include "player/browser/reading_test_world.h"

namespace orva::reading_testing {
namespace {

struct Navigation : ReadingWorld {
  // A page reading its audio, 65 seconds in.
  FrmBrowser& Reading() {
    AddPage("cap01/Pag.htm",
            {.elements = {
                 Meta("ZUVPLAYER_AUDIO", "c.mp3"),
                 FakeElement{.tagName = "INPUT", .name = "VideoNomeFile", .value = "C:\\video\\segno.avi"}}});
    AddPage("cap01/Altra.htm", {});
    AddPage("cap01/INDEX.HTM", {});
    AddMedia("cap01/c.mp3", 600);
    for (const char* video : {"cap01/film.avi", "cap01/clip.WMV", "cap01/intervista.mpg"})
      AddMedia(video, 20, {}, {.width = 640, .height = 480});
    for (const char* video : {"C:\\video\\segno.avi", "D:\\segni\\casa.avi"})
      media.Add(video, {.duration = 5, .width = 320, .height = 240});
    FrmBrowser& f = Start();
    Open("cap01/Pag.htm");
    PlayOn(65'000);
    Engine().ClearCalls();
    dialogs.Clear();
    return f;
  }
  // Follows a link of the page on view; true when it was cancelled.
  bool Follow(const std::string& address) {
    const std::size_t before = browser.Completed().size();
    browser.ClickLink(address);
    loop.DoEvents();
    return browser.Completed().size() == before;
  }
};

TEST_F(Navigation, EveryCommandMarkerIsCarriedOutAndEveryOtherAddressLoads) {
  const std::string page = Url("cap01/Pag.htm");
  struct Case {
    const char* name;
    std::string address;
    bool cancelled;
    std::vector<std::string> calls;  // what the engine was told
    const char* osd;                 // nullptr: the display is untouched
    bool kept;
  };
  const Case cases[] = {
      {"the resume link, in any case",
       page + "#location.reload",
       true,
       {"controls.stop", "controls.play"},
       nullptr,
       false},
      {"stop", page + "#ZUVP_STOP#", true, {"controls.stop"}, "STOP 00:00", false},
      {"pause, kept on screen",
       page + "#ZUVP_PAUSE#",
       true,
       {"controls.pause"},
       "PAUSA 01:05 premere ctrl+3",
       true},
      {"stop in lower case is a link", page + "#zuvp_stop#", false, {"controls.stop"}, nullptr, false},
      {"play in lower case is a link", page + "#zuvp_play#", false, {"controls.stop"}, nullptr, false},
      {"an index page is a page", Url("cap01/INDEX.HTM"), false, {"controls.stop"}, nullptr, false},
      {"an ordinary page", Url("cap01/Altra.htm"), false, {"controls.stop"}, nullptr, false},
      {"a video link, full screen",
       page + "#film.avi",
       true,
       {"uiMode=none", "currentPlaylist.clear", "URL=books\\Storia Antica\\cap01\\film.avi", "controls.play"},
       nullptr,
       false},
      {"a video link in a window",
       page + "#clip.WMV@NOFULL@",
       true,
       {"uiMode=mini", "currentPlaylist.clear", "URL=books\\Storia Antica\\cap01\\clip.WMV", "controls.play"},
       nullptr,
       false},
      {"a personal video",
       page + "#VIDEO_PERS#intervista.mpg",
       true,
       {"uiMode=none", "currentPlaylist.clear", "URL=books\\Storia Antica\\cap01\\intervista.mpg",
        "controls.play"},
       nullptr,
       false},
      {"a personal video marked with @, in a window",
       page + "#@VIDEO_PERS@intervista.mpg@NOFULL@",
       true,
       {"uiMode=mini", "currentPlaylist.clear", "URL=books\\Storia Antica\\cap01\\intervista.mpg",
        "controls.play"},
       nullptr,
       false},
      {"the dictionary video, from the page's field",
       page + "#PLAYVIDEODIZIONARIO",
       true,
       {"uiMode=mini", "currentPlaylist.clear", "URL=C:\\video\\segno.avi", "controls.play"},
       nullptr,
       false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FrmBrowser& f = Reading();
    EXPECT_EQ(Follow(c.address), c.cancelled);
    EXPECT_EQ(f.TextURL.Text(), c.address);
    std::vector<std::string> calls;
    for (const std::string& call : Engine().Calls())
      if (call.rfind("controls.", 0) == 0 || call.rfind("URL=", 0) == 0 || call.rfind("uiMode", 0) == 0 ||
          call == "currentPlaylist.clear")
        calls.push_back(call);
    if (!c.cancelled && !calls.empty()) calls.resize(1);  // the new page's own audio start follows
    EXPECT_EQ(calls, c.calls);
    if (c.osd) {
      EXPECT_EQ(f.lblOSD, c.osd);
      EXPECT_TRUE(f.frmOSDVisible);
      EXPECT_EQ(f.TimerOSD.Enabled(), !c.kept);
    } else {
      EXPECT_FALSE(f.frmOSDVisible);
    }
    EXPECT_TRUE(Reports().empty());
  }
}

TEST_F(Navigation, PlayAfterPauseShowsThePosition) {
  FrmBrowser& f = Reading();
  Follow(Url("cap01/Pag.htm") + "#ZUVP_PAUSE#");
  PlayOn(10'000);
  EXPECT_TRUE(Follow(Url("cap01/Pag.htm") + "#ZUVP_PLAY#"));
  EXPECT_TRUE(Playing());
  EXPECT_EQ(f.lblOSD, "PLAY 01:05");
  EXPECT_TRUE(f.TimerOSD.Enabled());
}

TEST_F(Navigation, AKeyCommandRunsTheKeyWithItsModifiers) {
  struct Case {
    const char* name;
    const char* link;
    bool cancelled;
    const char* traced;  // the key reaching the key map; nullptr: none
    std::vector<std::string> reports;
  };
  const Case cases[] = {
      {"shift and ctrl", "#ZUVP_KEYCMD##KEYSHIFT##KEYCTRL#39", true, "\"code\":39,\"shift\":3", {}},
      // Keys without a command: the page stays, so the link shows as cancelled.
      {"alt, marker after the code", "#ZUVP_KEYCMD#65#KEYALT#", true, "\"code\":65,\"shift\":4", {}},
      {"no modifier", "#ZUVP_KEYCMD#13", true, "\"code\":13,\"shift\":0", {}},
      {"a code that is not a number", "#ZUVP_KEYCMD#F1", false, nullptr, {"objWB_BeforeNavigate2 / 13"}},
      {"a code beyond 16 bits", "#ZUVP_KEYCMD#70000", false, nullptr, {"objWB_BeforeNavigate2 / 6"}},
      {"in lower case it is a link", "#zuvp_keycmd#39", false, nullptr, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Reading();
    testing::CapturedTrace trace;
    EXPECT_EQ(Follow(Url("cap01/Pag.htm") + c.link), c.cancelled);
    const std::string text = trace.Text();
    if (c.traced)
      EXPECT_NE(text.find(std::string("\"ev\":\"key\",") + c.traced), std::string::npos) << text;
    else
      EXPECT_EQ(text.find("\"ev\":\"key\""), std::string::npos) << text;
    EXPECT_EQ(Reports(), c.reports);
  }
}

TEST_F(Navigation, TheDictionaryVideoReadsTheFieldAsItIsNowAndFailsWithoutIt) {
  FrmBrowser& f = Reading();
  browser.FakeDocumentOnView()->SetValue("VideoNomeFile", "D:\\segni\\casa.avi@NOFULL@");
  EXPECT_TRUE(Follow(Url("cap01/Pag.htm") + "#PLAYVIDEODIZIONARIO"));
  EXPECT_EQ(f.oPlayer->FileName(), "D:\\segni\\casa.avi");

  AddPage("cap01/Senza.htm", {});
  Open("cap01/Senza.htm");
  Engine().ClearCalls();
  EXPECT_FALSE(Follow(Url("cap01/Senza.htm") + "#PLAYVIDEODIZIONARIO"));
  EXPECT_EQ(Reports(), (std::vector<std::string>{"objWB_BeforeNavigate2 / 91"}));
  EXPECT_EQ(std::count_if(Engine().Calls().begin(), Engine().Calls().end(),
                          [](const std::string& call) { return call.rfind("URL=", 0) == 0; }),
            0);
}

TEST_F(Navigation, AKeptFragmentLivesForOneNavigation) {
  FrmBrowser& f = Reading();
  f.state.PendingFragment = "#ZUVPLAYER_AUDIO_POS=30";
  f.state.KeepPending = true;
  Follow(Url("cap01/Pag.htm"));
  EXPECT_FALSE(f.state.KeepPending);
  EXPECT_NEAR(Engine().controlsCurrentPosition(), 30, 0.01);
  // ... and for the one audio start of the page it was kept for.
  EXPECT_EQ(f.state.PendingFragment, "");
}

TEST_F(Navigation, AFailedServerLookupReturnsToTheIndexPage) {
  struct Case {
    const char* title;
    bool toIndex;
  };
  const Case cases[] = {{"Impossibile trovare il server", true},
                        {"IMPOSSIBILE TROVARE IL SERVER", true},
                        {"Impossibile trovare il server.", false},
                        {"Capitolo primo", false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.title);
    FrmBrowser& f = Reading();
    const std::size_t before = browser.Requested().size();
    f.objWB_TitleChange(c.title);
    if (c.toIndex) {
      ASSERT_EQ(browser.Requested().size(), before + 1);
      EXPECT_EQ(browser.Requested().back(), "\\books\\Storia Antica\\Index.htm");
    } else {
      EXPECT_EQ(browser.Requested().size(), before);
    }
  }
}

TEST_F(Navigation, ThePagesOwnCloseRequestAsksTheExitQuestion) {
  FrmBrowser& f = Reading();
  dialogs.QueueAnswer(MsgBoxResult::kNo);
  browser.CloseFromPage();
  EXPECT_FALSE(f.Unloaded());
  EXPECT_TRUE(Playing());
  ASSERT_EQ(dialogs.Shown().size(), 1u);
  EXPECT_EQ(dialogs.Shown().back().text, "Sei sicuro di voler uscire?");

  dialogs.QueueAnswer(MsgBoxResult::kYes);
  bool cancel = false;
  f.objWB_WindowClosing(false, cancel);
  EXPECT_TRUE(cancel);  // the browser itself never closes
  EXPECT_TRUE(f.Unloaded());
}

}  // namespace
}  // namespace orva::reading_testing
