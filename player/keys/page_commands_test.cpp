// The page keys on the fake browser: the position index, the style-sheet
// switch with its reload, and the previous and next page.

#include <gtest/gtest.h>

#include "player/browser/testing/frm_browser_world.h"
#include "player/keys/key_codes.h"

namespace orva::testing {
namespace {

using keys::Digit;
constexpr std::int16_t kForward = Digit(8);
constexpr std::int16_t kBack = Digit(7);

struct PageKeys : ::testing::Test, FrmBrowserWorld {};

TEST_F(PageKeys, TheIndexKeysOpenTheStartOfTheNextOrPreviousSection) {
  struct Case {
    const char* name;
    std::vector<std::optional<int>> anchors;
    double playback;
    std::int16_t key;
    const char* shown;
    std::optional<int> opens;  // the anchor's position, when it opens one
  };
  const std::vector<std::optional<int>> standard{0, 60, 120};
  const std::vector<std::optional<int>> gap{0, 60, std::nullopt, 120};
  const Case cases[] = {
      {"forward in the first section", standard, 30, kForward, "Indice avanti - Indice 2", 60},
      {"forward after the last anchor", standard, 130, kForward, "Indice avanti - Raggiunta la fine ", {}},
      {"back in the second section", standard, 70, kBack, "Indice indietro - Indice 1", 0},
      // Past the last anchor the back search runs off the end and starts again.
      {"back after the last anchor", standard, 130, kBack, "Indice indietro - Raggiunto l'inizio ", {}},
      // An anchor without the position takes the position of the one before.
      {"forward past an anchor without position", gap, 70, kForward, "Indice avanti - Indice 4", 120},
      {"back past an anchor without position", gap, 70, kBack, "Indice indietro - Indice 2", 60},
      {"forward without anchors", {}, 0, kForward, "Indice avanti - Raggiunta la fine ", {}},
      {"back without anchors", {}, 0, kBack, "Indice indietro - Raggiunto l'inizio ", {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    StartReading(c.anchors);
    PlayFrom(c.playback);
    const std::size_t requested = browser.Requested().size();
    Alt(c.key);
    EXPECT_EQ(Shown(), c.shown);
    if (c.opens) {
      EXPECT_EQ(browser.Requested().back(), AnchorAddress(*c.opens));
      loop.DoEvents();  // the anchor loads and plays from its position
      EXPECT_NEAR(Position(), *c.opens, 0.01);
    } else {
      EXPECT_EQ(browser.Requested().size(), requested);
    }
    EXPECT_TRUE(Reports().empty());
  }
}

TEST_F(PageKeys, IndexBackPassesOverAnAnchorPositionThatIsNotANumber) {
  AddReadingPage();
  AddPage(kPage, {.title = "Pag1.htm",
                  .elements = {Meta("ZUVPLAYER_AUDIO", "uno.mp3"), Anchor(1, AnchorAddress(0)),
                               Anchor(2, AnchorAddress(30) + "&x"), Anchor(3, AnchorAddress(60)),
                               Anchor(4, AnchorAddress(120))}});
  Start();
  Open(kPage);
  PlayFrom(70);
  Alt(kBack);
  EXPECT_EQ(Shown(), "Indice indietro - Indice 2");
  EXPECT_TRUE(Reports().empty());
}

TEST_F(PageKeys, NextStyleSheetCyclesThroughTheFilesThatExist) {
  struct Case {
    const char* name;
    std::vector<std::string> files;
    int from;
    int to;
  };
  const Case cases[] = {
      {"the last back to one", {"Style1.CSS", "Style2.CSS", "Style3.CSS"}, 3, 1},
      {"the next missing stays at one", {"Style1.CSS", "Style3.CSS"}, 1, 1},
      {"lower-case files", {"style1.css", "style2.css"}, 1, 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    disk = {};
    AddReadingPage();
    AddStyleSheets(c.files);
    Store("StyleSheet", std::to_string(c.from));
    Start();
    Open(kPage);
    Alt(Digit(9));
    EXPECT_EQ(Shown(), "Stile " + std::to_string(c.to));
    EXPECT_EQ(Stored("StyleSheet"), std::to_string(c.to));
  }
}

TEST_F(PageKeys, TheStyleReloadKeepsTheAddressFragmentAsTheStartPosition) {
  StartReading();
  browser.Navigate2(AnchorAddress(60));
  loop.DoEvents();
  PlayFrom(95);
  Alt(Digit(9));
  // Reloaded without the fragment, which is kept for the reload.
  EXPECT_EQ(browser.Requested().back(), Url(kPage));
  EXPECT_EQ(browser.LocationURL(), Url(kPage));
  EXPECT_NEAR(Position(), 60, 0.01);
  EXPECT_TRUE(Playing());
  const auto& sheets = browser.FakeDocumentOnView()->AddedStyleSheets();
  ASSERT_FALSE(sheets.empty());
  EXPECT_TRUE(sheets.back().address.ends_with("/Storia Antica/INCLUDE/Style2.CSS")) << sheets.back().address;

  // The fragment served that one start: the page's next audio starts at its
  // own position.
  PlayOn(120'000 + 1);
  EXPECT_EQ(Played().back(), FromProgram("Libro/due.mp3"));
  EXPECT_NEAR(Position(), 5, 0.01);
  EXPECT_TRUE(Reports().empty());
}

TEST_F(PageKeys, ThePreviousAndNextPageAreOpenedBesideThePageOnView) {
  struct Case {
    const char* title;
    std::int16_t key;
    const char* shown;
    const char* opens;
    bool fromAnchor = false;  // the page on view through one of its anchors
  };
  const Case cases[] = {
      // A page titled otherwise: its own address with the target appended.
      {"Capitolo primo", Digit(7), "File successivo", "cap01/Pag1.htmPag2.htm"},
      {"Pag1.htm", Digit(7), "File successivo", "cap01/Pag2.htm", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.title);
    AddReadingPage({0, 60, 120}, c.title);
    Start();
    Open(kPage);
    if (c.fromAnchor) {
      browser.Navigate2(AnchorAddress(60));
      loop.DoEvents();
    }
    Ctrl(c.key);
    EXPECT_EQ(Shown(), c.shown);
    EXPECT_EQ(browser.Requested().back(), Url(c.opens));
  }
}

}  // namespace
}  // namespace orva::testing
