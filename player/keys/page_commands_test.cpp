// The page keys on the fake browser: the position index, the style-sheet
// switch with its reload, and the previous and next page.

#include <gtest/gtest.h>

#include <filesystem>

#include "player/keys/keys_test_world.h"

namespace orva::keys_testing {
namespace {

using keys::Digit;

// --- The position index.

struct IndexCase {
  const char* name;
  double playback;
  const char* forwardShows;
  std::optional<int> forwardOpens;  // the anchor's position, when it opens one
  const char* backShows;
  std::optional<int> backOpens;
};

std::ostream& operator<<(std::ostream& out, const IndexCase& c) { return out << c.name; }

// Anchors at 0, 60 and 120 s.
const IndexCase kIndexCases[] = {
    {"InTheFirstSection", 30, "Indice avanti - Indice 2", 60, "Indice indietro - Raggiunto l'inizio ", {}},
    {"InTheSecondSection", 70, "Indice avanti - Indice 3", 120, "Indice indietro - Indice 1", 0},
    // Past the last anchor the back search runs off the end and starts again.
    {"AfterTheLastAnchor",
     130,
     "Indice avanti - Raggiunta la fine ",
     {},
     "Indice indietro - Raggiunto l'inizio ",
     {}},
};

struct IndexKeyTest : KeysWorld, ::testing::WithParamInterface<IndexCase> {};

TEST_P(IndexKeyTest, IndexForwardOpensTheNextSectionsStart) {
  const IndexCase& c = GetParam();
  StartReading();
  PlayFrom(c.playback);
  const std::size_t requested = browser.Requested().size();
  Alt(Digit(8));
  EXPECT_EQ(Shown(), c.forwardShows);
  if (c.forwardOpens) {
    EXPECT_EQ(browser.Requested().back(), AnchorAddress(*c.forwardOpens));
    loop.DoEvents();  // the anchor loads and plays from its position
    EXPECT_NEAR(Position(), *c.forwardOpens, 0.01);
  } else {
    EXPECT_EQ(browser.Requested().size(), requested);
    EXPECT_EQ(form->state.IndexCounter, 3);  // the last anchor
  }
  EXPECT_TRUE(Reports().empty());
}

TEST_P(IndexKeyTest, IndexBackOpensThePreviousSectionsStart) {
  const IndexCase& c = GetParam();
  StartReading();
  PlayFrom(c.playback);
  const std::size_t requested = browser.Requested().size();
  Alt(Digit(7));
  EXPECT_EQ(Shown(), c.backShows);
  if (c.backOpens)
    EXPECT_EQ(browser.Requested().back(), AnchorAddress(*c.backOpens));
  else
    EXPECT_EQ(browser.Requested().size(), requested);
  EXPECT_TRUE(Reports().empty());
}

INSTANTIATE_TEST_SUITE_P(AnchorsAt0_60_120, IndexKeyTest, ::testing::ValuesIn(kIndexCases),
                         [](const auto& p) { return std::string(p.param.name); });

TEST_F(KeysWorld, RepeatedIndexForwardWalksTheAnchorsOfTheSamePage) {
  StartReading();
  for (int expected : {1, 2, 3}) {
    Alt(Digit(8));
    loop.DoEvents();
    EXPECT_EQ(Shown(), "Indice avanti - Indice " + std::to_string(expected));
    // Following an anchor keeps the page, and so the counter.
    EXPECT_EQ(form->state.IndexCounter, expected);
  }
  Alt(Digit(8));
  EXPECT_EQ(Shown(), "Indice avanti - Raggiunta la fine ");
  EXPECT_EQ(form->state.IndexCounter, 3);
}

TEST_F(KeysWorld, AnAnchorWithoutThePositionTakesThePositionOfTheOneBefore) {
  StartReading({0, 60, std::nullopt, 120});
  PlayFrom(70);
  Alt(Digit(8));
  EXPECT_EQ(Shown(), "Indice avanti - Indice 4");
  form->state.IndexCounter = 0;
  PlayFrom(70);
  Alt(Digit(7));
  EXPECT_EQ(Shown(), "Indice indietro - Indice 2");
}

TEST_F(KeysWorld, IndexBackPassesOverAnAnchorPositionThatIsNotANumber) {
  AddReadingPage();
  AddPage(kPage, {.title = "Pag1.htm",
                  .elements = {Meta("ZUVPLAYER_AUDIO", "uno.mp3"), Anchor(1, AnchorAddress(0)),
                               Anchor(2, AnchorAddress(30) + "&x"), Anchor(3, AnchorAddress(60)),
                               Anchor(4, AnchorAddress(120))}});
  Start();
  Open(kPage);
  PlayFrom(70);
  Alt(Digit(7));
  EXPECT_EQ(Shown(), "Indice indietro - Indice 2");
  EXPECT_TRUE(Reports().empty());
}

TEST_F(KeysWorld, APageWithoutAnchorsReachesBothEnds) {
  StartReading({});
  Alt(Digit(8));
  EXPECT_EQ(Shown(), "Indice avanti - Raggiunta la fine ");
  EXPECT_EQ(form->state.IndexCounter, 0);
  Alt(Digit(7));
  EXPECT_EQ(Shown(), "Indice indietro - Raggiunto l'inizio ");
  EXPECT_TRUE(Reports().empty());
}

// --- Style sheets.

struct StyleCase {
  const char* name;
  std::vector<std::string> files;
  std::int16_t from;
  std::int16_t to;
};

std::ostream& operator<<(std::ostream& out, const StyleCase& c) { return out << c.name; }

const StyleCase kStyleCases[] = {
    {"OneToTwo", {"Style1.CSS", "Style2.CSS", "Style3.CSS"}, 1, 2},
    {"LastBackToOne", {"Style1.CSS", "Style2.CSS", "Style3.CSS"}, 3, 1},
    {"NextMissingStaysAtOne", {"Style1.CSS", "Style3.CSS"}, 1, 1},
    {"LowerCaseFiles", {"style1.css", "style2.css"}, 1, 2},
};

struct StyleKeyTest : KeysWorld, ::testing::WithParamInterface<StyleCase> {};

TEST_P(StyleKeyTest, NextStyleSheetCyclesThroughTheFilesThatExist) {
  const StyleCase& c = GetParam();
  AddReadingPage();
  AddStyleSheets(c.files);
  Store("StyleSheet", std::to_string(c.from));
  Start();
  Open(kPage);
  Alt(Digit(9));
  EXPECT_EQ(form->state.StyleNumber, c.to);
  EXPECT_EQ(Shown(), "Stile " + std::to_string(c.to));
  EXPECT_EQ(Stored("StyleSheet"), std::to_string(c.to));
}

INSTANTIATE_TEST_SUITE_P(Files, StyleKeyTest, ::testing::ValuesIn(kStyleCases),
                         [](const auto& p) { return std::string(p.param.name); });

TEST_F(KeysWorld, TheSampleBooksStyleSheetsAreFoundAsTheyAreWritten) {
  // The sample book's style files, named as its makers wrote them.
  std::vector<std::string> names;
  for (const auto& entry :
       std::filesystem::directory_iterator(std::filesystem::path(ORVA_SAMPLE_BOOK) / "INCLUDE"))
    names.push_back(entry.path().filename().string());
  AddReadingPage();
  AddStyleSheets(names);
  Start();
  Open(kPage);
  for (int expected : {2, 3, 1}) {
    Alt(Digit(9));
    loop.DoEvents();
    EXPECT_EQ(Shown(), "Stile " + std::to_string(expected));
  }
  // The reloaded page takes the sheet as page completion names it.
  const auto& sheets = browser.FakeDocumentOnView()->AddedStyleSheets();
  ASSERT_FALSE(sheets.empty());
  EXPECT_TRUE(sheets.back().address.ends_with("/Storia Antica/INCLUDE/Style1.CSS")) << sheets.back().address;
}

TEST_F(KeysWorld, TheStyleReloadKeepsTheAddressFragmentAsTheStartPosition) {
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
  EXPECT_EQ(form->state.AudioIndex, 1);
  EXPECT_NEAR(Position(), 5, 0.01);
  EXPECT_TRUE(Reports().empty());
}

// --- Previous and next page.

struct NeighbourCase {
  const char* name;
  const char* title;
  std::int16_t key;
  const char* shown;
  const char* opens;
};

std::ostream& operator<<(std::ostream& out, const NeighbourCase& c) { return out << c.name; }

const NeighbourCase kNeighbourCases[] = {
    {"NextTitledByFileName", "Pag1.htm", Digit(7), "File successivo", "cap01/Pag2.htm"},
    {"PreviousTitledByFileName", "Pag1.htm", Digit(6), "File precedente", "cap01/Pag0.htm"},
    {"NextTitledWithoutExtension", "Pag1", Digit(7), "File successivo", "cap01/Pag2.htm"},
    // A page titled otherwise: its own address with the target appended.
    {"NextTitledOtherwise", "Capitolo primo", Digit(7), "File successivo", "cap01/Pag1.htmPag2.htm"},
};

struct NeighbourKeyTest : KeysWorld, ::testing::WithParamInterface<NeighbourCase> {};

TEST_P(NeighbourKeyTest, OpensThePageNamedByThePage) {
  const NeighbourCase& c = GetParam();
  AddReadingPage({0, 60, 120}, c.title);
  Start();
  Open(kPage);
  Ctrl(c.key);
  EXPECT_EQ(Shown(), c.shown);
  EXPECT_EQ(browser.Requested().back(), Url(c.opens));
}

INSTANTIATE_TEST_SUITE_P(ByTitle, NeighbourKeyTest, ::testing::ValuesIn(kNeighbourCases),
                         [](const auto& p) { return std::string(p.param.name); });

TEST_F(KeysWorld, NextPageFromAnAnchorOfThePageDropsTheFragment) {
  StartReading();
  browser.Navigate2(AnchorAddress(60));
  loop.DoEvents();
  Ctrl(Digit(7));
  EXPECT_EQ(browser.Requested().back(), Url("cap01/Pag2.htm"));
}

}  // namespace
}  // namespace orva::keys_testing
