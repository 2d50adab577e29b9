// What a page gets once it has loaded.

#include <gtest/gtest.h>

#include "player/browser/book_format.h"
#include "player/browser/testing/frm_browser_world.h"

namespace orva::testing {
namespace {

using Lines = std::vector<std::string>;

struct PageCompletion : ::testing::Test, FrmBrowserWorld {
  void Bookmark(const std::string& section, int n, const std::string& position, const std::string& name) {
    settings.SaveSetting("ZUV MediaPlayer", section, std::to_string(n), position);
    settings.SaveSetting("ZUV MediaPlayer", section, std::to_string(n) + "NOME", name);
  }
  // A book of two chapter folders and INCLUDE, each page with a bookmark.
  void TwoChapterBook() {
    AddPage("Index.htm", {.title = "Indice"});
    AddPage("cap01/a.htm", {.title = "A"});
    AddMedia("cap01/b.mp3", 60);
    AddPage("Cap02/c.htm", {.title = "C"});
    AddPage("INCLUDE/help.htm", {.title = "Aiuto"});
    Bookmark("cap01\\a.htm", 1, "65", "Primo");
    Bookmark("Cap02\\c.htm", 3, "10", "Terzo");
    Bookmark("Cap02\\c.htm", 7, "3725", "Primo");  // the same name on another page
    Bookmark("INCLUDE\\help.htm", 1, "1", "Aiuto");
  }
};

TEST_F(PageCompletion, TheIndexPageListsTheBookmarksOfEveryPageTaggedWithItsRunningNumber) {
  TwoChapterBook();
  FrmBrowser& f = Start();
  Open("Index.htm");
  // cap01/a.htm is 1, cap01/b.mp3 is 2 (every file counts), Cap02/c.htm is 3;
  // nothing from INCLUDE. Bookmarks are renumbered as they load.
  EXPECT_EQ(f.Bookmarks().ListMarkers.Items(),
            (Lines{"-1-01:05\t-Primo", "-3-00:10\t-Terzo", "-3-02:05\t-Primo"}));
  EXPECT_EQ(f.Bookmarks().oMarkersIndex.Item(3), "CAP02\\C.HTM");
  EXPECT_EQ(settings.GetSetting("ZUV MediaPlayer", "Cap02\\c.htm", "2NOME", "vuoto"), "Primo");

  // An ordinary page lists its own bookmarks only, plain; the index's lines
  // are gone.
  Open("Cap02/c.htm");
  EXPECT_EQ(f.Bookmarks().ListMarkers.Items(), (Lines{"00:10\t - Terzo", "02:05\t - Primo"}));
  EXPECT_EQ(f.Bookmarks().CurrentMarker, 0);
  EXPECT_TRUE(Reports().empty());
}

TEST_F(PageCompletion, EveryPageGetsTheBookStyleSheetAtPositionsOneAndZero) {
  const std::pair<std::int32_t, std::vector<std::int32_t>> cases[] = {{0, {0}}, {1, {1, 0}}};
  for (const auto& [ownSheets, expected] : cases) {
    SCOPED_TRACE(ownSheets);
    AddPage("cap01/a.htm", {.styleSheets = ownSheets});
    Store("StyleSheet", "2");
    Start();
    Open("cap01/a.htm");
    std::vector<std::int32_t> positions;
    for (const AddedStyleSheet& added : browser.FakeDocumentOnView()->AddedStyleSheets()) {
      EXPECT_EQ(added.address, "file:////books/Storia Antica/INCLUDE/Style2.CSS");
      positions.push_back(added.index);
    }
    EXPECT_EQ(positions, expected);
  }
}

TEST_F(PageCompletion, AnIndexPageGivesTheBookItsOwnMessages) {
  AddPage("Index.htm", {.elements = {Meta("ZUVPLAYER_MSG_USCITA", "Do you really want to quit?"),
                                     Meta("ZUVPLAYER_MSG_MARKNONE", ""),
                                     Meta("ZUVPLAYER_MSG_EXPORTOK", "Exported to @FILE@")}});
  AddPage("cap01/a.htm", {.elements = {Meta("ZUVPLAYER_MSG_USCITA", "Not from here")}});
  FrmBrowser& f = Start();
  Open("Index.htm");
  Open("cap01/a.htm");  // an ordinary page changes nothing
  const book::MessageTexts& m = In::State(f).Messages;
  EXPECT_EQ(m[book::Message::kExportOk], "Exported to @FILE@");
  // An element without text keeps the text the reader has.
  EXPECT_EQ(m[book::Message::kMarkNone], "Non ci sono marcatori presenti.");
  dialogs.QueueAnswer(MsgBoxResult::kNo);
  EXPECT_FALSE(f.Unload());
  EXPECT_EQ(dialogs.Shown().back().text, "Do you really want to quit?");
}

}  // namespace
}  // namespace orva::testing
