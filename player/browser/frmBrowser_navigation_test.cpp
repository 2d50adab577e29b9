// Command links: which addresses are cancelled and carried out, and what
// each does; and the failed server lookup.

#include <gtest/gtest.h>

#include "player/browser/testing/frm_browser_world.h"

namespace orva::testing {
namespace {

struct Navigation : ::testing::Test, FrmBrowserWorld {
  const std::string page = Url("cap01/Pag.htm");
  // A page reading its audio, 65 seconds in.
  FrmBrowser& Reading() {
    AddPage("cap01/Pag.htm",
            {.elements = {
                 Meta("ZUVPLAYER_AUDIO", "c.mp3"),
                 FakeElement{.tagName = "INPUT", .name = "VideoNomeFile", .value = "C:\\video\\segno.avi"}}});
    AddPage("cap01/Altra.htm", {});
    AddMedia("cap01/c.mp3", 600);
    for (const char* video : {"cap01/film.avi", "cap01/clip.WMV", "cap01/intervista.mpg"})
      AddMedia(video, 20, {}, {.width = 640, .height = 480});
    media.Add("C:\\video\\segno.avi", {.duration = 5, .width = 320, .height = 240});
    FrmBrowser& f = Start();
    Open("cap01/Pag.htm");
    PlayOn(65'000);
    Engine().ClearCalls();
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
  struct Case {
    const char* name;
    std::string address;
    bool cancelled;
    std::vector<std::string> calls;  // what the engine was told
    const char* osd = "";            // the display after it
  };
  auto video = [](const char* mode, const std::string& file) {
    return std::vector<std::string>{mode, "currentPlaylist.clear", "URL=" + file, "controls.play"};
  };
  const std::string folder = "books\\Storia Antica\\cap01\\";
  const Case cases[] = {
      {"the resume link, in any case", page + "#location.reload", true, {"controls.stop", "controls.play"}},
      {"stop", page + "#ZUVP_STOP#", true, {"controls.stop"}, "STOP 00:00"},
      {"pause, kept on screen",
       page + "#ZUVP_PAUSE#",
       true,
       {"controls.pause"},
       "PAUSA 01:05 premere ctrl+3"},
      {"stop in lower case is a link", page + "#zuvp_stop#", false, {"controls.stop"}},
      {"an ordinary page", Url("cap01/Altra.htm"), false, {"controls.stop"}},
      {"a video link, full screen", page + "#film.avi", true, video("uiMode=none", folder + "film.avi")},
      {"a video link in a window", page + "#clip.WMV@NOFULL@", true,
       video("uiMode=mini", folder + "clip.WMV")},
      {"a personal video", page + "#VIDEO_PERS#intervista.mpg", true,
       video("uiMode=none", folder + "intervista.mpg")},
      {"the dictionary video, from the page's field", page + "#PLAYVIDEODIZIONARIO", true,
       video("uiMode=mini", "C:\\video\\segno.avi")},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FrmBrowser& f = Reading();
    EXPECT_EQ(Follow(c.address), c.cancelled);
    EXPECT_EQ(In::TextURL(f), c.address);
    std::vector<std::string> calls;
    for (const std::string& call : Engine().Calls())
      if (call.rfind("controls.", 0) == 0 || call.rfind("URL=", 0) == 0 || call.rfind("uiMode", 0) == 0 ||
          call == "currentPlaylist.clear")
        calls.push_back(call);
    if (!c.cancelled && !calls.empty()) calls.resize(1);  // the new page's own audio start follows
    EXPECT_EQ(calls, c.calls);
    EXPECT_EQ(Shown(), c.osd);
    loop.Advance(1500);
    EXPECT_EQ(Shown(), c.name == std::string("pause, kept on screen") ? c.osd : "");
    EXPECT_TRUE(Reports().empty());
  }
  // Play after pause shows the position it goes on from.
  Reading();
  EXPECT_TRUE(Follow(page + "#ZUVP_PAUSE#"));
  PlayOn(10'000);
  EXPECT_TRUE(Follow(page + "#ZUVP_PLAY#"));
  EXPECT_TRUE(Playing());
  EXPECT_EQ(Shown(), "PLAY 01:05");
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
      {"a code that is not a number", "#ZUVP_KEYCMD#F1", false, nullptr, {"objWB_BeforeNavigate2 / 13"}},
      {"a code beyond 16 bits", "#ZUVP_KEYCMD#70000", false, nullptr, {"objWB_BeforeNavigate2 / 6"}},
      {"in lower case it is a link", "#zuvp_keycmd#39", false, nullptr, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Reading();
    CapturedTrace events;
    EXPECT_EQ(Follow(page + c.link), c.cancelled);
    const std::string text = events.Text();
    if (c.traced)
      EXPECT_NE(text.find(std::string("\"ev\":\"key\",") + c.traced), std::string::npos) << text;
    else
      EXPECT_EQ(text.find("\"ev\":\"key\""), std::string::npos) << text;
    EXPECT_EQ(Reports(), c.reports);
  }
}

TEST_F(Navigation, AFailedServerLookupReturnsToTheIndexPage) {
  // An index page that fails too is not asked for again and again.
  const std::string index = Url("Index.htm"), core = "\\books\\Storia Antica\\Index.htm";
  const std::tuple<std::string, const char*, std::vector<std::string>> cases[] = {
      {"http://nowhere.example/", "IMPOSSIBILE TROVARE IL SERVER", {"http://nowhere.example/", core}},
      {"http://nowhere.example/", "Impossibile trovare il server.", {"http://nowhere.example/"}},
      {index, "Impossibile trovare il server", {index, core}}};
  for (const auto& [address, title, requested] : cases) {
    SCOPED_TRACE(title);
    Start();
    browser.AddPage(address, {.title = title});
    const auto before = static_cast<std::ptrdiff_t>(browser.Requested().size());
    browser.Navigate2(address);
    loop.DoEvents();
    EXPECT_EQ(std::vector<std::string>(browser.Requested().begin() + before, browser.Requested().end()),
              requested);
  }
}

}  // namespace
}  // namespace orva::testing
