// The page audio: which file a page plays, from where, from which position,
// and what comes after it.

#include <gtest/gtest.h>

#include <algorithm>

#include "player/browser/reading_test_world.h"

namespace orva::reading_testing {
namespace {

using Files = std::vector<std::string>;

// The core's spelling of a file in the book, as found from a page address.
std::string FromPage(const std::string& inBook) {
  return "books\\Storia Antica\\" + Replace(inBook, "/", "\\");
}
// ... and as found from the program folder.
std::string FromProgram(const std::string& inBook) {
  return kProgramFolder + "\\" + Replace(inBook, "/", "\\");
}

TEST_F(ReadingWorld, APageWithTwoAudiosPlaysBothThenOpensTheNextPage) {
  AddPage("cap01/Pag1.htm",
          {.elements = {Meta("ZUVPLAYER_AUDIO", "uno.mp3"), Meta("ZUVPLAYER_AUDIO_1", "due.mp3"),
                        Meta("ZUVPLAYER_AUDIO_POS_1", "5"),
                        Meta("ZUVPLAYER_AUDIO_NEXTHTML_2", "../cap02/Pag2.htm")}});
  AddPage("cap02/Pag2.htm", {.elements = {Meta("ZUVPLAYER_AUDIO", "tre"), Meta("ZUVPLAYER_AUDIO_POS", "7")}});
  AddMedia("cap01/uno.mp3", 10);
  AddMedia("Libro/due.mp3", 20);  // a following audio is looked for in "Libro", not beside the page
  AddMedia("cap02/tre.mp3", 30);
  FrmBrowser& f = Start();

  Open("cap01/Pag1.htm");
  EXPECT_EQ(Played(), (Files{FromPage("cap01/uno.mp3")}));
  EXPECT_TRUE(Playing());
  EXPECT_EQ(f.state.AudioIndex, 0);

  PlayOn(10'000 + 1);
  EXPECT_EQ(Played().back(), FromProgram("Libro/due.mp3"));
  EXPECT_EQ(f.state.AudioIndex, 1);
  EXPECT_NEAR(Engine().controlsCurrentPosition(), 5, 0.01);  // ZUVPLAYER_AUDIO_POS_1

  PlayOn(15'000 + 1);
  EXPECT_EQ(browser.LocationURL(), Url("cap02/Pag2.htm"));
  EXPECT_EQ(f.state.AudioIndex, 0);
  EXPECT_EQ(Played().back(), FromPage("cap02/tre.mp3"));
  EXPECT_NEAR(Engine().controlsCurrentPosition(), 7, 0.01);
  EXPECT_TRUE(Reports().empty());
}

TEST_F(ReadingWorld, APageWithOneAudioAndNoNextPageStopsAfterItAndSeeksBackToIt) {
  AddPage("cap01/Fine.htm",
          {.elements = {Meta("ZUVPLAYER_AUDIO", "../Libro/fine.mp3"), Meta("ZUVPLAYER_AUDIO_POS", "2")}});
  const std::string fromPage = "books\\Storia Antica\\cap01\\../Libro/fine.mp3";
  const std::string fromLibro = kProgramFolder + "\\Libro\\../Libro/fine.mp3";
  AddMedia("Libro/fine.mp3", 10, {fromPage, fromLibro});
  FrmBrowser& f = Start();
  Open("cap01/Fine.htm");
  PlayOn(8'000 + 1);
  EXPECT_EQ(Played(), Files{fromPage});
  EXPECT_FALSE(Playing());
  // One past the last audio, and nothing played.
  EXPECT_EQ(f.state.AudioIndex, 1);
  EXPECT_EQ(browser.Completed().back(), Url("cap01/Fine.htm"));
  PlayOn(60'000);
  EXPECT_EQ(Played().size(), 1u);

  // A seek back returns to the last audio, looked for without the page's
  // folder; the relative path still finds it through "Libro".
  EXPECT_TRUE(f.Playaudio("", false, true));
  EXPECT_EQ(f.state.AudioIndex, 0);
  EXPECT_EQ(Played().back(), fromLibro);
  // At the first audio a seek back stays there.
  EXPECT_TRUE(f.Playaudio("", false, true));
  EXPECT_EQ(f.state.AudioIndex, 0);
  EXPECT_TRUE(Reports().empty());
}

TEST_F(ReadingWorld, ANameWithoutExtensionTakesTheFirstExtensionFoundInOrder) {
  struct Case {
    const char* name;
    std::vector<const char*> onDisk;  // beside the page
    const char* played;               // empty: nothing plays
    bool video;
    std::string folder = "cap01";  // the page's
  };
  const Case cases[] = {
      {"wma before mp3", {"cap.mp3", "cap.wma"}, "cap.wma", false},
      {"mp3 alone", {"cap.mp3"}, "cap.mp3", false},
      {"wmv before mp3, as a video", {"cap.mp3", "cap.wmv"}, "cap.wmv", true},
      {"mp3 before wav", {"cap.wav", "cap.mp3"}, "cap.mp3", false},
      {"wav before m1v", {"cap.m1v", "cap.wav"}, "cap.wav", false},
      {"m1v before avi, as a video", {"cap.avi", "cap.m1v"}, "cap.m1v", true},
      {"avi alone, as a video", {"cap.avi"}, "cap.avi", true},
      {"other letter case on disk", {"CAP.MP3"}, "cap.mp3", false},
      {"an unknown extension is not tried", {"cap.ogg"}, "", false},
      {"a dot in the page's folder", {"cap.mp3"}, "cap.mp3", false, "Libri.2024"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    disk = {};
    AddPage(c.folder + "/Pag.htm", {.elements = {Meta("ZUVPLAYER_AUDIO", "cap")}});
    for (const char* file : c.onDisk) AddMedia(c.folder + "/" + file, 60);
    media.Add(FromPage(c.folder + "/cap.mp3"),
              {.duration = 60});  // the name as completed, whatever the disk's case
    Store("Rate", "1,5");
    FrmBrowser& f = Start();
    Open(c.folder + "/Pag.htm");
    if (*c.played == '\0') {
      EXPECT_TRUE(Played().empty());
      continue;
    }
    ASSERT_EQ(Played(), (Files{FromPage(c.folder + "/" + c.played)}));
    // A video is loaded with automatic start off and at normal speed, and the
    // stored speed is set again once it has been handed over.
    const std::vector<std::string>& calls = Engine().Calls();
    const auto url = std::find(calls.begin(), calls.end(), "URL=" + Played().back());
    ASSERT_NE(url, calls.end());
    const auto before =
        std::find(calls.begin(), url, c.video ? "settings.rate=1.000000" : "settings.rate=1.500000");
    EXPECT_NE(before, url);
    EXPECT_NE(std::find(url, calls.end(), "settings.rate=1.500000"), calls.end());
    EXPECT_EQ(f.oPlayer->AutoStart(), !c.video);
  }
}

TEST_F(ReadingWorld, TheStartPositionComesFromTheAddressTheKeptFragmentOrThePage) {
  struct Case {
    const char* name;
    const char* address;   // appended to the page's address
    const char* fragment;  // PendingFragment
    const char* element;   // ZUVPLAYER_AUDIO_POS; nullptr for none
    double position;
    std::vector<std::string> reports;
  };
  const Case cases[] = {
      {"the page's own position", "", "", "30", 30, {}},
      {"no position at all", "", "", nullptr, 0, {}},
      {"the address wins over the page", "#ZUVPLAYER_AUDIO_POS=75", "", "30", 75, {}},
      {"a position in the user's locale", "#ZUVPLAYER_AUDIO_POS=12,5", "", nullptr, 12.5, {}},
      {"the kept fragment wins over the page", "", "#ZUVPLAYER_AUDIO_POS=12", "30", 12, {}},
      {"a page position that is not a number",
       "",
       "",
       "mezzo",
       0,
       {"Playaudio - Controllo esistenza file2 / 13"}},
      // Without the marker the text from its twentieth character is taken.
      {"a kept fragment without the marker",
       "",
       "#capitolo-secondo-ventesimo",
       "30",
       0,
       {"Playaudio - Controllo esistenza file2 / 13"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    disk = {};
    FakePage page{.elements = {Meta("ZUVPLAYER_AUDIO", "cap.mp3")}};
    if (c.element) page.elements.push_back(Meta("ZUVPLAYER_AUDIO_POS", c.element));
    AddPage("cap01/Pag.htm", page);
    AddMedia("cap01/cap.mp3", 100);
    FrmBrowser& f = Start();
    f.state.PendingFragment = c.fragment;
    f.state.KeepPending = true;
    browser.Navigate2(Url("cap01/Pag.htm") + c.address);
    loop.DoEvents();
    EXPECT_EQ(Played(), (Files{FromPage("cap01/cap.mp3")}));
    EXPECT_DOUBLE_EQ(Engine().controlsCurrentPosition(), c.position);
    EXPECT_TRUE(Playing());
    EXPECT_EQ(Reports(), c.reports);
  }
}

TEST_F(ReadingWorld, TheFileIsLookedForBesideThePageThenInTheCurrentFolderTheProgramFolderAndLibro) {
  struct Case {
    const char* name;
    const char* reference;
    std::vector<std::string> onDisk;  // host paths, relative to the book unless rooted
    std::string played;
  };
  const Case cases[] = {
      {"beside the page first", "a.mp3", {"cap01/a.mp3", "a.mp3", "Libro/a.mp3"}, FromPage("cap01/a.mp3")},
      {"a relative path in the current folder", "sub/a.mp3", {"/sub/a.mp3", "cap01/sub/a.mp3"}, "sub/a.mp3"},
      {"a relative path beside the page",
       "sub/a.mp3",
       {"cap01/sub/a.mp3", "sub/a.mp3"},
       FromPage("cap01/") + "sub/a.mp3"},
      {"then the program folder", "sub\\a.mp3", {"sub/a.mp3", "Libro/sub/a.mp3"}, FromProgram("sub\\a.mp3")},
      {"then Libro", "sub\\a.mp3", {"Libro/sub/a.mp3"}, FromProgram("Libro\\sub\\a.mp3")},
      {"an absolute path as it stands",
       "/media/cd/a.mp3",
       {"/media/cd/a.mp3", "cap01/a.mp3"},
       "/media/cd/a.mp3"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    disk = {};
    AddPage("cap01/Pag.htm", {.elements = {Meta("ZUVPLAYER_AUDIO", c.reference)}});
    for (const std::string& file : c.onDisk) AddMedia(file, 60, {c.played});
    FrmBrowser& f = Start();
    Open("cap01/Pag.htm");
    EXPECT_EQ(Played(), Files{c.played});
    EXPECT_TRUE(Playing());
    EXPECT_TRUE(Reports().empty());
    (void)f;
  }
}

TEST_F(ReadingWorld, AnAudioThatExistsNowhereStopsThePlayerAndSaysNothing) {
  AddPage("cap01/Pag.htm", {.elements = {Meta("ZUVPLAYER_AUDIO", "manca")}});
  AddPage("cap01/Altra.htm", {.elements = {Meta("ZUVPLAYER_AUDIO", "c.mp3")}});
  AddMedia("cap01/c.mp3", 60);
  FrmBrowser& f = Start();
  Open("cap01/Altra.htm");
  EXPECT_TRUE(Playing());
  Engine().ClearCalls();
  Open("cap01/Pag.htm");
  EXPECT_FALSE(Playing());
  EXPECT_TRUE(Played().empty());
  bool result = true;
  f.Playaudio(Url("cap01/Pag.htm"), false, false, result);
  EXPECT_FALSE(result);
  EXPECT_TRUE(Reports().empty());
}

TEST_F(ReadingWorld, WhilePlayIsSuppressedNothingHappens) {
  AddPage("cap01/Pag.htm", {.elements = {Meta("ZUVPLAYER_AUDIO", "c.mp3")}});
  AddMedia("cap01/c.mp3", 60);
  FrmBrowser& f = Start();
  Open("cap01/Pag.htm");
  f.state.AudioIndex = 3;
  f.state.PlaySuppressed = true;
  f.state.RestorePosition = true;
  Engine().ClearCalls();
  EXPECT_FALSE(f.Playaudio(Url("cap01/Pag.htm"), false, false));
  EXPECT_FALSE(f.Playaudio("", true, false));
  EXPECT_TRUE(Engine().Calls().empty());  // not even stopped
  EXPECT_TRUE(Playing());
  EXPECT_EQ(f.state.AudioIndex, 3);
  EXPECT_TRUE(f.state.RestorePosition);
}

TEST_F(ReadingWorld, TheSavedPlaceIsAppliedOnceByTheFirstAudioStart) {
  struct Case {
    const char* name;
    const char* audio;  // BranoAudio; nullptr: not stored
    std::string played;
    std::int32_t index;
  };
  const Case cases[] = {
      {"a store of an older version", nullptr, FromPage("cap01/c.mp3"), 0},
      {"a later audio, found where reading finds it", "1", FromProgram("Libro/d.mp3"), 1},
      {"an audio the page no longer has", "2", FromPage("cap01/c.mp3"), 0},
  };
  AddPage("cap01/Pag.htm", {.elements = {Meta("ZUVPLAYER_AUDIO", "c.mp3"), Meta("ZUVPLAYER_AUDIO_POS", "5"),
                                         Meta("ZUVPLAYER_AUDIO_1", "d.mp3")}});
  AddMedia("cap01/c.mp3", 600);
  AddMedia("Libro/d.mp3", 600);
  Store("BranoPos", "123,5");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    if (c.audio) Store("BranoAudio", c.audio);
    FrmBrowser& f = Start();
    f.state.RestorePosition = true;
    Open("cap01/Pag.htm");
    loop.DoEvents();
    EXPECT_EQ(Played(), Files{c.played});
    EXPECT_EQ(f.state.AudioIndex, c.index);
    EXPECT_DOUBLE_EQ(Engine().controlsCurrentPosition(), 123.5);
    EXPECT_FALSE(f.state.RestorePosition);
  }
  Open("cap01/Pag.htm");
  loop.DoEvents();
  EXPECT_DOUBLE_EQ(Engine().controlsCurrentPosition(), 5);
  EXPECT_TRUE(Reports().empty());
}

TEST_F(ReadingWorld, TheResumeLinkStartsTheHeldFileAgainAndKeepsItsPlaceInThePage) {
  AddPage("cap01/Pag.htm", {.elements = {Meta("ZUVPLAYER_AUDIO", "a.mp3"), Meta("ZUVPLAYER_AUDIO_1", "b.mp3"),
                                         Meta("ZUVPLAYER_AUDIO_2", "c.mp3")}});
  AddMedia("cap01/a.mp3", 10);
  AddMedia("Libro/b.mp3", 10);
  AddMedia("Libro/c.mp3", 10);
  FrmBrowser& f = Start();
  Open("cap01/Pag.htm");
  PlayOn(10'001);
  ASSERT_EQ(f.state.AudioIndex, 1);
  PlayOn(4'000);
  Engine().ClearCalls();
  EXPECT_FALSE(f.Playaudio("LOCATION.RELOAD", false, false));
  loop.DoEvents();
  EXPECT_TRUE(Playing());
  EXPECT_TRUE(Played().empty());  // the same file, not handed over again
  EXPECT_EQ(Engine().Calls().front(), "controls.stop");
  // The audio after the resumed one comes next.
  EXPECT_EQ(f.state.AudioIndex, 1);
  PlayOn(10'001);
  EXPECT_EQ(Played(), (Files{FromProgram("Libro/c.mp3")}));
}

TEST_F(ReadingWorld, FailuresAreReportedWithTheirStepAndTheNextStatementRuns) {
  AddPage("cap01/Pag.htm",
          {.elements = {Meta("ZUVPLAYER_AUDIO", "c.mp3"), Meta("ZUVPLAYER_AUDIO_POS", "x")}});
  AddMedia("cap01/c.mp3", 60);
  Store("BranoPos", "");
  FrmBrowser& f = Start();
  f.state.RestorePosition = true;
  Open("cap01/Pag.htm");
  // The bad position and the empty saved position are each reported; the
  // file still plays from its start.
  EXPECT_EQ(Reports(), (std::vector<std::string>{"Playaudio - Controllo esistenza file2 / 13",
                                                 "Playaudio - do events / 13"}));
  EXPECT_TRUE(Playing());
  EXPECT_FALSE(f.state.RestorePosition);

  // Without a player every statement that uses it is reported, and the
  // result still says whether the file exists.
  dialogs.Clear();
  f.oPlayer.reset();
  bool result = false;
  f.Playaudio(Url("cap01/Pag.htm"), false, false, result);
  EXPECT_TRUE(result);
  const std::vector<std::string> reports = Reports();
  ASSERT_FALSE(reports.empty());
  EXPECT_EQ(reports.front(), "Playaudio - Stop Audio 1 / 91");
  EXPECT_EQ(reports.back(), "Playaudio - do events / 91");
}

TEST_F(ReadingWorld, ThePlayersEventsReachTheWindow) {
  AddPage("cap01/Pag.htm", {.elements = {Meta("ZUVPLAYER_AUDIO", "c.mp3")}});
  AddMedia("cap01/c.mp3", 60);
  FrmBrowser& f = Start();
  Open("cap01/Pag.htm");
  EXPECT_EQ(f.TxtDebFilename.Text(), FromPage("cap01/c.mp3"));
  // Only the end of a file moves on.
  f.oPlayer_PlayStateChange(1);
  f.oPlayer_PlayStateChange(3);
  EXPECT_EQ(f.state.AudioIndex, 0);
  f.oPlayer_PlayStateChange(8);
  EXPECT_EQ(f.state.AudioIndex, 1);
}

TEST_F(ReadingWorld, TheTraceShowsEachAudioAndEachEnd) {
  AddPage("cap01/Pag.htm",
          {.elements = {Meta("ZUVPLAYER_AUDIO", "c.mp3"), Meta("ZUVPLAYER_AUDIO_1", "manca.mp3")}});
  AddMedia("cap01/c.mp3", 3);
  Start();
  testing::CapturedTrace trace;
  Open("cap01/Pag.htm");
  PlayOn(3'001);
  const std::string text = trace.Text();
  const auto audio =
      text.find("\"ev\":\"audio\",\"file\":\"books\\\\Storia Antica\\\\cap01\\\\c.mp3\",\"index\":0");
  const auto end = text.find("\"ev\":\"audio_end\",\"index\":0");
  const auto missing = text.find("\"ev\":\"audio_missing\",\"reference\":\"manca.mp3\",\"index\":1");
  ASSERT_NE(audio, std::string::npos) << text;
  ASSERT_NE(end, std::string::npos) << text;
  ASSERT_NE(missing, std::string::npos) << text;
  EXPECT_LT(audio, end);
  EXPECT_LT(end, missing);
}

}  // namespace
}  // namespace orva::reading_testing
