// Bookmarks as the reader meets them: the keys that add, walk and delete
// them, the list's keys, and the recall of a bookmark's audio and place.

#include <gtest/gtest.h>

#include "player/browser/testing/frm_browser_world.h"
#include "player/keys/key_codes.h"

namespace orva::testing {
namespace {

using Lines = std::vector<std::string>;
constexpr const char* kSection = "CAP01\\PAG1.HTM";
constexpr std::int16_t kEnter = 13;
constexpr std::int16_t kDelete = 46;

struct Mark {
  int n;
  std::string position, name, audio = "<none>";
};

struct World : FrmBrowserWorld {
  void Put(const std::string& section, const std::vector<Mark>& marks) {
    for (const Mark& m : marks) {
      const std::string n = std::to_string(m.n);
      settings.SaveSetting("ZUV MediaPlayer", section, n, m.position);
      settings.SaveSetting("ZUV MediaPlayer", section, n + "NOME", m.name);
      if (m.audio != "<none>") settings.SaveSetting("ZUV MediaPlayer", section, n + "NOMEAUDIO", m.audio);
    }
  }
  // "n position name audio" of every bookmark of a section.
  Lines Stored(const std::string& section = kSection) {
    Lines out;
    for (int n = 1; n <= 101; ++n) {
      const std::string k = std::to_string(n);
      const std::string name = settings.GetSetting("ZUV MediaPlayer", section, k + "NOME", "vuoto");
      if (name == "vuoto") continue;
      out.push_back(k + " " + settings.GetSetting("ZUV MediaPlayer", section, k, "vuoto") + " " + name + " " +
                    settings.GetSetting("ZUV MediaPlayer", section, k + "NOMEAUDIO", "<none>"));
    }
    return out;
  }
  ListBox& List() { return form->Bookmarks().ListMarkers; }
  // Opens the list and recalls line `index` with Enter.
  void Recall(int index) {
    if (!form->fraMarcatoriVisible) Alt(keys::Digit(6));
    List().SetListIndex(index);
    form->ListMarkers_KeyDown(kEnter, 0);
    loop.DoEvents();
  }
  std::vector<std::string> Titles() {
    std::vector<std::string> out;
    for (const auto& d : dialogs.Shown()) out.push_back(d.title);
    return out;
  }
};

struct Bookmarks : ::testing::Test, World {};

TEST(BookmarkAdd, StoresTheNextNumberAndAsksAgainForATakenName) {
  struct Case {
    const char* title;
    std::vector<Mark> before;      // loaded with the page
    std::vector<Mark> storedLate;  // stored after the page loaded, not listed
    Lines answers;
    Lines stored;
    Lines lines;
    Lines titles = {"ORVA Player - Inserimento Marcatori - (play)"};
    Lines reports = {};
  };
  const std::vector<Mark> ab = {{1, "10", "A", "uno.mp3"}, {2, "20", "B", "uno.mp3"}};
  const Case cases[] = {
      {"an empty page stores number 1", {}, {}, {"Inizio "}, {"1 83 Inizio uno.mp3"}, {"01:23\t - Inizio "}},
      {"after 7, whatever gaps lie below, comes 8",
       {},
       {{2, "5", "Due"}, {7, "9", "Sette"}},
       {"Otto"},
       {"2 5 Due <none>", "7 9 Sette <none>", "8 83 Otto uno.mp3"},
       {"01:23\t - Otto"}},
      {"keeping a taken name replaces that bookmark, which comes last",
       ab,
       {},
       {"A", "A"},
       {"1 20 B uno.mp3", "2 83 A uno.mp3"},
       {"00:20\t - B", "01:23\t - A"},
       {"ORVA Player - Inserimento Marcatori - (play)", "Aggiunta Marcatore"}},
      {"a new name that is also taken is asked for again",
       ab,
       {},
       {"A", "B", "C"},
       {"1 10 A uno.mp3", "2 20 B uno.mp3", "3 83 C uno.mp3"},
       {"00:10\t - A", "00:20\t - B", "01:23\t - C"},
       {"ORVA Player - Inserimento Marcatori - (play)", "Aggiunta Marcatore", "Aggiunta Marcatore"}},
      {"cancelling the second prompt adds nothing",
       ab,
       {},
       {"A", ""},
       {"1 10 A uno.mp3", "2 20 B uno.mp3"},
       {"00:10\t - A", "00:20\t - B"},
       {"ORVA Player - Inserimento Marcatori - (play)", "Aggiunta Marcatore"}},
      {"a name differing only in letter case is refused",
       ab,
       {},
       {"a"},
       {"1 10 A uno.mp3", "2 20 B uno.mp3"},
       {"00:10\t - A", "00:20\t - B"},
       {"ORVA Player - Inserimento Marcatori - (play)", "ORVA Player - Segnalazioni"},
       {"AddMarcatore - Il nome del marcatore è già stato inserito! / 457"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.title);
    World w;
    w.Put(kSection, c.before);
    w.StartReading();
    w.Put(kSection, c.storedLate);
    w.PlayFrom(83.4);
    for (const std::string& a : c.answers) w.dialogs.QueueInput(a);
    w.Alt(keys::Digit(3));
    EXPECT_EQ(w.Stored(), c.stored);
    EXPECT_EQ(w.List().Items(), c.lines);
    EXPECT_EQ(w.Titles(), c.titles);
    EXPECT_EQ(w.Reports(), c.reports);
    EXPECT_EQ(w.dialogs.UnusedAnswers(), 0u);
    EXPECT_TRUE(w.Playing());
  }
}

TEST_F(Bookmarks, APageWithAHundredBookmarksRefusesAnotherBeforeThePrompt) {
  std::vector<Mark> full;
  for (int n = 1; n <= 100; ++n) full.push_back({n, std::to_string(n), "M" + std::to_string(n)});
  Put(kSection, full);
  StartReading();
  Alt(keys::Digit(3));
  ASSERT_EQ(dialogs.Shown().size(), 1u);
  EXPECT_EQ(dialogs.Shown()[0].title, "Aggiunta Marcatore");
  EXPECT_EQ(dialogs.Shown()[0].kind, fakes::ShownDialog::Kind::kMsgBox);
  EXPECT_EQ(Stored().size(), 100u);
  EXPECT_TRUE(Playing());
}

TEST(BookmarkAdd, ThePromptPausesAndTheReadingGoesOnWhereItWas) {
  for (const bool playing : {true, false}) {
    SCOPED_TRACE(playing);
    World w;
    w.StartReading();
    for (int i = 0; i < 4; ++i) w.Alt(keys::KeyCodes::KeyPlus);  // 1.4 times
    w.PlayFrom(83);
    if (!playing) w.Ctrl(keys::Digit(3));
    const std::size_t handed = w.Played().size();
    w.dialogs.QueueInput("");  // Cancel
    w.Alt(keys::Digit(3));
    EXPECT_EQ(w.dialogs.Shown().back().text, "Inserisci il nome del segnalibro (01:23 sec.)");
    EXPECT_EQ(w.dialogs.Shown().back().title,
              std::string("ORVA Player - Inserimento Marcatori - ") + (playing ? "(play)" : "(stop)"));
    EXPECT_TRUE(w.Stored().empty());
    EXPECT_EQ(w.Playing(), playing);
    EXPECT_EQ(w.Played().size(), handed + (playing ? 1 : 0)) << "the file is handed to the player again";
    EXPECT_NEAR(w.Position(), 83, 0.01);
    EXPECT_FLOAT_EQ(w.form->Bookmarks().oMarkers.Count(), 0);
    if (playing) {
      EXPECT_FLOAT_EQ(static_cast<float>(w.Engine().settingsRate()), 1.4f);
    }
  }
}

TEST_F(Bookmarks, TheListKeysWalkDeleteAndAnswerWhenThereIsNone) {
  Put(kSection, {{1, "10", "A", "uno.mp3"}, {2, "20", "B", "uno.mp3"}, {3, "30", "C", "uno.mp3"}});
  StartReading();
  Lines shown;
  for (const auto key : {1, 2, 2, 2, 2, 1}) {
    Alt(keys::Digit(key));
    shown.push_back(Shown() + "@" + std::to_string(static_cast<int>(Position())));
  }
  // Alt+1 with none selected takes the first; both ends hold.
  EXPECT_EQ(shown, (Lines{"A@10", "B@20", "C@30", "C@30", "C@30", "B@20"}));

  dialogs.QueueAnswer(MsgBoxResult::kNo);
  Alt(keys::Digit(4));
  EXPECT_EQ(Stored().size(), 3u);
  EXPECT_EQ(dialogs.Shown().back().title, "MediaPlayer");

  Alt(keys::Digit(6));
  ASSERT_TRUE(form->fraMarcatoriVisible);
  List().SetListIndex(1);
  form->ListMarkers_KeyDown(kDelete, 1);  // with Shift too
  EXPECT_EQ(Stored(), (Lines{"1 10 A uno.mp3", "2 30 C uno.mp3"}));
  EXPECT_EQ(List().Items(), (Lines{"00:10\t - A", "00:30\t - C"}));
  form->ListMarkers_KeyDown(kEnter, 1);  // Enter with Shift does nothing
  EXPECT_TRUE(form->fraMarcatoriVisible);
  Press(keys::kVkEscape, 0);
  EXPECT_FALSE(form->fraMarcatoriVisible);
  EXPECT_TRUE(Playing());

  dialogs.QueueAnswer(MsgBoxResult::kYes);
  Alt(keys::Digit(4));
  EXPECT_TRUE(Stored().empty());
  for (const auto key : {6, 2, 1, 4}) Alt(keys::Digit(key));
  EXPECT_EQ(Titles().back(), "Cancellazione Marcatori");
  EXPECT_EQ(Titles()[Titles().size() - 4], "Elenco Marcatori");
  EXPECT_FALSE(form->fraMarcatoriVisible);
  EXPECT_TRUE(Playing());
  EXPECT_TRUE(Reports().empty());
}

TEST(BookmarkRecall, FindsTheAudioBesideThePageInLibroOrOnAVolume) {
  struct Case {
    const char* title;
    Lines files;  // where "tre.mp3" is, host paths
    Lines volumes;
    std::string audioElement = "uno.mp3";
    std::string played;  // empty: nothing found
  };
  const Case cases[] = {
      {"beside the page",
       {"cap01/tre.mp3", "Libro/tre.mp3"},
       {},
       "uno.mp3",
       "books\\Storia Antica\\cap01\\tre.mp3"},
      {"in Libro", {"Libro/tre.mp3"}, {}, "uno.mp3", "\\books\\Storia Antica\\Libro\\tre.mp3"},
      {"on the first volume that holds it: the page's folder, then Libro",
       {"/media/cd/Libro/tre.mp3", "/media/usb/CAP01/tre.mp3"},
       {"/media/cd", "/media/usb"},
       "uno.mp3",
       "\\media\\cd\\Libro\\tre.mp3"},
      {"on the volume the page's audio names, before the others",
       {"/media/cd/CAP01/tre.mp3", "/media/usb/CAP01/tre.mp3"},
       {"/media/cd", "/media/usb"},
       "\\media\\usb\\CAP01\\uno.mp3",
       "\\media\\usb\\CAP01\\tre.mp3"},
      {"nowhere", {}, {"/media/cd"}, "uno.mp3", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.title);
    World w;
    w.AddReadingPage();
    w.AddMedia("/media/usb/CAP01/uno.mp3", 180);
    w.browser.AddPage(w.Url(World::kPage), {.elements = {Meta("ZUVPLAYER_AUDIO", c.audioElement)}});
    for (const std::string& file : c.files) w.AddMedia(file, 100);
    w.volumes.roots = c.volumes;
    w.Put(kSection, {{1, "42", "Qui", "tre.mp3"}});
    w.Start();
    w.Open(World::kPage);
    const std::string before = w.Played().back();
    w.Recall(0);
    if (c.played.empty()) {
      EXPECT_EQ(w.Shown(), "Audio non trovato: tre.mp3");
      EXPECT_EQ(w.Played().back(), before);
      EXPECT_FALSE(w.Playing());
      EXPECT_TRUE(w.form->fraMarcatoriVisible) << "the list stays for another choice";
    } else {
      EXPECT_EQ(w.Played().back(), c.played);
      EXPECT_NEAR(w.Position(), 42, 0.01);
      EXPECT_TRUE(w.Playing());
      EXPECT_EQ(w.Shown(), "Qui");
      EXPECT_FALSE(w.form->fraMarcatoriVisible);
    }
    EXPECT_TRUE(w.Reports().empty());
  }
}

TEST_F(Bookmarks, ABookmarkWithoutAudioMovesTheStoppedPlayerToItsOwnPosition) {
  Put(kSection, {{1, "30", "Senza"}});
  StartReading();
  PlayFrom(83);
  Alt(keys::Digit(3));  // unanswered prompts get the empty text: nothing added
  dialogs.QueueInput("Nuovo");
  Alt(keys::Digit(3));
  Recall(0);
  EXPECT_FALSE(Playing());
  EXPECT_NEAR(Position(), 30, 0.01);
  EXPECT_EQ(Stored(), (Lines{"1 30 Senza <none>", "2 83 Nuovo uno.mp3"}));
}

TEST_F(Bookmarks, TheIndexPageListsRecallsAndDeletesTheBookmarksOfEveryPage) {
  AddStyleSheets();
  AddPage("Index.htm", {.title = "Indice"});
  AddPage("cap01/a.htm", {});
  disk.AddFile(hostFolder + "/cap01/b.mp3");
  AddPage("Cap02/c.html", {.elements = {Meta("ZUVPLAYER_AUDIO", "c.mp3")}});
  AddMedia("Cap02/c.mp3", 100);
  // As the pages stored them: an address's section is in capitals, ".HTML"
  // folded; one case-twin from an older store.
  Put("CAP01\\A.HTM", {{1, "5", "Primo"}, {2, "6", "PRIMO"}});
  Put("CAP02\\C.HTM", {{1, "10", "Terzo", "c.mp3"}, {2, "20", "Quarto", "c.mp3"}});
  Start();
  Open("Index.htm");
  EXPECT_EQ(List().Items(), (Lines{"-1-00:05\t-Primo", "-3-00:10\t-Terzo", "-3-00:20\t-Quarto"}));

  Recall(2);
  EXPECT_EQ(browser.LocationURL(), Url("Cap02/c.html"));
  EXPECT_EQ(Played().back(), "books\\Storia Antica\\Cap02\\c.mp3");
  EXPECT_NEAR(Position(), 20, 0.01);
  EXPECT_EQ(Shown(), "Quarto");
  EXPECT_EQ(In::State(*form).PendingRecall, 0);

  Open("Index.htm");
  Alt(keys::Digit(6));
  List().SetListIndex(1);
  form->ListMarkers_KeyDown(kDelete, 0);
  EXPECT_EQ(Stored("CAP02\\C.HTM"), (Lines{"1 20 Quarto c.mp3"}));
  EXPECT_EQ(List().Items(), (Lines{"-1-00:05\t-Primo", "-3-00:20\t-Quarto"}));
  EXPECT_EQ(Stored("CAP01\\A.HTM").size(), 2u) << "the case-twin stays in the store";
  EXPECT_TRUE(Reports().empty());
}

}  // namespace
}  // namespace orva::testing
