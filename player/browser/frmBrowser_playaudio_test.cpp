// The page audio: which file a page plays, from where, from which position,
// and what comes after it.

#include <gtest/gtest.h>

#include <algorithm>

#include "common/runtime/text.h"
#include "player/browser/testing/frm_browser_world.h"

namespace orva::testing {
namespace {

using Files = std::vector<std::string>;

struct PageAudio : ::testing::Test, FrmBrowserWorld {
  // The page "cap01/Pag.htm" with these elements, its files on a fresh disk.
  FrmBrowser& StartOn(std::vector<FakeElement> elements) {
    AddPage("cap01/Pag.htm", {.elements = std::move(elements)});
    return Start();
  }
};

TEST_F(PageAudio, APageWithTwoAudiosPlaysBothThenOpensTheNextPage) {
  AddPage("cap01/Pag2.htm", {.elements = {Meta("ZUVPLAYER_AUDIO", "tre"), Meta("ZUVPLAYER_AUDIO_POS", "7")}});
  AddMedia("cap01/uno.mp3", 10);
  AddMedia("Libro/due.mp3", 20);  // a following audio is looked for in "Libro", not beside the page
  AddMedia("cap01/tre.mp3", 30);
  StartOn({Meta("ZUVPLAYER_AUDIO", "uno.mp3"), Meta("ZUVPLAYER_AUDIO_1", "due.mp3"),
           Meta("ZUVPLAYER_AUDIO_POS_1", "5"), Meta("ZUVPLAYER_AUDIO_NEXTHTML_2", "Pag2.htm")});
  Open("cap01/Pag.htm");
  EXPECT_EQ(Played(), (Files{FromPage("cap01/uno.mp3")}));
  EXPECT_TRUE(Playing());
  EXPECT_EQ(In::TxtDebFilename(*form), FromPage("cap01/uno.mp3"));

  PlayOn(10'000 + 1);
  EXPECT_EQ(Played().back(), FromProgram("Libro/due.mp3"));
  EXPECT_NEAR(Position(), 5, 0.01);  // ZUVPLAYER_AUDIO_POS_1

  PlayOn(15'000 + 1);
  EXPECT_EQ(browser.LocationURL(), Url("cap01/Pag2.htm"));
  EXPECT_EQ(Played().back(), FromPage("cap01/tre.mp3"));
  EXPECT_NEAR(Position(), 7, 0.01);
  EXPECT_TRUE(Reports().empty());
}

TEST_F(PageAudio, APageWithOneAudioAndNoNextPageStopsAfterItAndSeeksBackToIt) {
  const std::string fromPage = "books\\Storia Antica\\cap01\\../Libro/fine.mp3";
  const std::string fromLibro = ProgramFolder() + "\\Libro\\../Libro/fine.mp3";
  AddMedia("Libro/fine.mp3", 10, {fromPage, fromLibro});
  FrmBrowser& f = StartOn({Meta("ZUVPLAYER_AUDIO", "../Libro/fine.mp3"), Meta("ZUVPLAYER_AUDIO_POS", "2")});
  Open("cap01/Pag.htm");
  PlayOn(8'000 + 1);
  EXPECT_EQ(Played(), Files{fromPage});
  EXPECT_FALSE(Playing());
  PlayOn(60'000);
  EXPECT_EQ(Played().size(), 1u);
  EXPECT_EQ(browser.Completed().back(), Url("cap01/Pag.htm"));

  // A seek back returns to the last audio, looked for without the page's
  // folder; the relative path still finds it through "Libro". At the first
  // audio a seek back stays there.
  for (int i = 0; i < 2; ++i) {
    EXPECT_TRUE(f.Playaudio("", false, true));
    EXPECT_EQ(Played().back(), fromLibro);
    EXPECT_EQ(In::State(f).AudioIndex, 0);
  }
  EXPECT_TRUE(Reports().empty());
}

TEST_F(PageAudio, ANameWithoutExtensionTakesTheFirstExtensionFoundInOrder) {
  struct Case {
    const char* name;
    std::vector<const char*> onDisk;  // beside the page
    const char* played;               // empty: nothing plays
    bool video;
  };
  const Case cases[] = {
      {"wma before mp3", {"cap.mp3", "cap.wma"}, "cap.wma", false},
      {"wmv before mp3, as a video", {"cap.mp3", "cap.wmv"}, "cap.wmv", true},
      {"m1v before avi, as a video", {"cap.avi", "cap.m1v"}, "cap.m1v", true},
      {"other letter case on disk", {"CAP.MP3"}, "cap.mp3", false},
      {"an unknown extension is not tried", {"cap.ogg"}, "", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    disk = {};
    for (const char* file : c.onDisk) AddMedia(std::string("cap01/") + file, 60);
    media.Add(FromPage("cap01/cap.mp3"), {.duration = 60});  // the name as completed, whatever the case
    Store("Rate", "1,5");
    FrmBrowser& f = StartOn({Meta("ZUVPLAYER_AUDIO", "cap")});
    Open("cap01/Pag.htm");
    if (*c.played == '\0') {
      EXPECT_TRUE(Played().empty());
      continue;
    }
    ASSERT_EQ(Played(), (Files{FromPage(std::string("cap01/") + c.played)}));
    // A video is loaded with automatic start off and at normal speed, and the
    // stored speed is set again once it has been handed over.
    const std::vector<std::string>& calls = Engine().Calls();
    const auto url = std::find(calls.begin(), calls.end(), "URL=" + Played().back());
    EXPECT_NE(std::find(calls.begin(), url, c.video ? "settings.rate=1.000000" : "settings.rate=1.500000"),
              url);
    EXPECT_NE(std::find(url, calls.end(), "settings.rate=1.500000"), calls.end());
    EXPECT_EQ(In::Player(f)->AutoStart(), !c.video);
  }
}

TEST_F(PageAudio, TheStartPositionComesFromTheSavedPlaceTheAddressTheKeptFragmentOrThePage) {
  struct Case {
    const char* name;
    const char* address;   // appended to the page's address
    const char* fragment;  // kept from a style-sheet reload
    const char* element;   // ZUVPLAYER_AUDIO_POS; nullptr for none
    const char* saved;     // BranoPos, applied once; nullptr: no saved place
    double position;
    std::vector<std::string> reports;
  };
  const Case cases[] = {
      {"the page's own position", "", "", "30", nullptr, 30, {}},
      {"the address wins over the page", "#ZUVPLAYER_AUDIO_POS=75", "", "30", nullptr, 75, {}},
      {"a position in the user's locale", "#ZUVPLAYER_AUDIO_POS=12,5", "", nullptr, nullptr, 12.5, {}},
      {"the kept fragment wins over the page", "", "#ZUVPLAYER_AUDIO_POS=12", "30", nullptr, 12, {}},
      {"the saved place wins over the page", "", "", "30", "123,5", 123.5, {}},
      {"a page position that is not a number",
       "",
       "",
       "mezzo",
       nullptr,
       0,
       {"Playaudio - Controllo esistenza file2 / 13"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    disk = {};
    std::vector<FakeElement> elements{Meta("ZUVPLAYER_AUDIO", "cap.mp3")};
    if (c.element) elements.push_back(Meta("ZUVPLAYER_AUDIO_POS", c.element));
    AddMedia("cap01/cap.mp3", 200);
    FrmBrowser& f = StartOn(elements);
    In::State(f).PendingFragment = c.fragment;
    In::State(f).KeepPending = true;
    if (c.saved) {
      Store("BranoPos", c.saved);
      In::State(f).RestorePosition = true;
    }
    browser.Navigate2(Url("cap01/Pag.htm") + c.address);
    loop.DoEvents();
    EXPECT_EQ(Played(), (Files{FromPage("cap01/cap.mp3")}));
    EXPECT_DOUBLE_EQ(Position(), c.position);
    EXPECT_TRUE(Playing());
    EXPECT_EQ(Reports(), c.reports);
    EXPECT_FALSE(In::State(f).RestorePosition);
  }
}

TEST_F(PageAudio, TheFileIsLookedForBesideThePageThenInTheCurrentFolderTheProgramFolderAndLibro) {
  struct Case {
    const char* name;
    const char* reference;
    std::vector<std::string> onDisk;  // host paths, relative to the book unless rooted
    std::string played;
  };
  const Case cases[] = {
      {"beside the page first", "a.mp3", {"cap01/a.mp3", "a.mp3", "Libro/a.mp3"}, FromPage("cap01/a.mp3")},
      {"a relative path in the current folder", "sub/a.mp3", {"/sub/a.mp3", "cap01/sub/a.mp3"}, "sub/a.mp3"},
      {"then the program folder", "sub\\a.mp3", {"sub/a.mp3", "Libro/sub/a.mp3"}, FromProgram("sub\\a.mp3")},
      {"then Libro", "sub\\a.mp3", {"Libro/sub/a.mp3"}, FromProgram("Libro\\sub\\a.mp3")},
      {"an absolute path as it stands",
       "/media/cd/a.mp3",
       {"/media/cd/a.mp3", "cap01/a.mp3"},
       "/media/cd/a.mp3"},
      {"nowhere: the player stops and nothing is said", "manca", {}, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    disk = {};
    for (const std::string& file : c.onDisk) AddMedia(file, 60, {c.played});
    FrmBrowser& f = StartOn({Meta("ZUVPLAYER_AUDIO", c.reference)});
    Open("cap01/Pag.htm");
    EXPECT_EQ(Played(), c.played.empty() ? Files{} : Files{c.played});
    EXPECT_EQ(Playing(), !c.played.empty());
    EXPECT_EQ(f.Playaudio(Url("cap01/Pag.htm"), false, false), !c.played.empty());
    EXPECT_TRUE(Reports().empty());
  }
}

TEST_F(PageAudio, TheSavedAudioIsResumedWhereReadingFindsIt) {
  struct Case {
    const char* name;
    const char* audio;  // BranoAudio; nullptr: not stored
    std::string played;
  };
  const Case cases[] = {
      {"a store of an older version", nullptr, FromPage("cap01/c.mp3")},
      {"an audio the page no longer has", "2", FromPage("cap01/c.mp3")},
  };
  AddMedia("cap01/c.mp3", 600);
  AddMedia("Libro/d.mp3", 600);
  Store("BranoPos", "123,5");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    if (c.audio) Store("BranoAudio", c.audio);
    FrmBrowser& f = StartOn({Meta("ZUVPLAYER_AUDIO", "c.mp3"), Meta("ZUVPLAYER_AUDIO_1", "d.mp3")});
    In::State(f).RestorePosition = true;
    Open("cap01/Pag.htm");
    EXPECT_EQ(Played(), Files{c.played});
    EXPECT_DOUBLE_EQ(Position(), 123.5);
  }
  Open("cap01/Pag.htm");  // once only
  EXPECT_DOUBLE_EQ(Position(), 0);
  EXPECT_TRUE(Reports().empty());
}

}  // namespace
}  // namespace orva::testing
