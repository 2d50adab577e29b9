#include "player/bookmarks/bookmark_lists.h"

#include <gtest/gtest.h>

#include "fakes/error_number.h"
#include "fakes/memory_file_system.h"
#include "player/bookmarks/testing/bookmarks_test_support.h"

namespace orva {
namespace {

using testing::BookmarkFixture;
using testing::Mark;

const std::string kPage = "LIBRO\\CAP01.HTM";
const std::string kLegacy = "LIBRO\\CAP01.HTM#";

Mark B(int n, std::string position, std::string name, std::string audio = {}) {
  return Mark{n, std::move(position), std::move(name), std::move(audio)};
}

struct LoadCase {
  const char* title;
  std::vector<Mark> plain;
  std::vector<Mark> legacy;
  std::int16_t number;
  std::vector<std::string> lines;
  std::vector<Mark> plainAfter;
  std::vector<Mark> legacyAfter;  // empty: the legacy section is gone
  int keyed = -1;                 // bookmarks in the keyed lists; -1: one per line
  std::vector<std::string> reports = {};
};

const LoadCase kLoadCases[] = {
    {"gaps 2, 5, 9 become 1, 2, 3",
     {B(2, "83", "Uno", "a.mp3"), B(5, "5", "Due"), B(9, "3725", "Tre", "c.mp3")},
     {},
     0,
     {"01:23\t - Uno", "00:05\t - Due", "02:05\t - Tre"},
     {B(1, "83", "Uno", "a.mp3"), B(2, "5", "Due"), B(3, "3725", "Tre", "c.mp3")},
     {}},
    {"a name without position is not listed and is written over",
     {B(1, "vuoto", "Orfano", "x.mp3"), B(2, "10", "Dieci")},
     {},
     0,
     {"00:10\t - Dieci"},
     {B(1, "10", "Dieci")},
     {}},
    {"a position without name is no bookmark", {B(1, "7", "vuoto")}, {}, 0, {}, {B(1, "7", "vuoto")}, {}},
    {"numbers above 100 are never read", {B(101, "1", "Oltre")}, {}, 0, {}, {B(101, "1", "Oltre")}, {}},
    {"times round half to even; a position text is read for its leading number",
     {B(1, "90.5", "Pari"), B(2, "91.5", "Dispari"), B(3, "12abc", "Testo"), B(4, "abc", "Zero")},
     {},
     0,
     {"01:30\t - Pari", "01:32\t - Dispari", "00:12\t - Testo", "00:00\t - Zero"},
     {B(1, "90.5", "Pari"), B(2, "91.5", "Dispari"), B(3, "12abc", "Testo"), B(4, "abc", "Zero")},
     {}},
    {"split page: merged by number, plain before legacy at the same number",
     {B(1, "100", "P1", "p1.mp3"), B(3, "300", "P3")},
     {B(1, "11", "L1", "l1.mp3"), B(2, "22", "L2")},
     0,
     {"01:40\t - P1", "00:11\t - L1", "00:22\t - L2", "05:00\t - P3"},
     {B(1, "100", "P1", "p1.mp3"), B(2, "11", "L1", "l1.mp3"), B(3, "22", "L2"), B(4, "300", "P3")},
     {}},
    {"split page with gaps and names without position",
     {B(2, "20", "P2"), B(4, "vuoto", "OrfanoP")},
     {B(1, "10", "L1"), B(4, "40", "L4"), B(5, "vuoto", "OrfanoL")},
     0,
     {"00:10\t - L1", "00:20\t - P2", "00:40\t - L4"},
     {B(1, "10", "L1"), B(2, "20", "P2"), B(3, "40", "L4"), B(4, "vuoto", "OrfanoP")},
     {}},
    // Recall finds a bookmark by its line in all three lists: an entry that
    // cannot enter one of them enters none, and stays in the store.
    {"a name differing only in case from one listed before is left out of every list",
     {B(1, "10", "Capitolo"), B(3, "30", "CAPITOLO"), B(4, "40", "Dopo")},
     {},
     0,
     {"00:10\t - Capitolo", "00:40\t - Dopo"},
     {B(1, "10", "Capitolo"), B(2, "30", "CAPITOLO"), B(3, "40", "Dopo")},
     {}},
    {"a position beyond the time range is left out of every list",
     {B(2, "1e12", "Enorme"), B(4, "5", "Cinque")},
     {},
     0,
     {"00:05\t - Cinque"},
     {B(1, "1e12", "Enorme"), B(2, "5", "Cinque")},
     {}},
};

TEST(MarcatoriLoad, ListsAndRenumbersAndASecondLoadChangesNothing) {
  for (const LoadCase& c : kLoadCases) {
    SCOPED_TRACE(c.title);
    BookmarkFixture f;
    f.Put(kPage, c.plain);
    f.Put(kLegacy, c.legacy);

    std::string section;  // empty: the page on view, written back
    f.lists.Marcatori(BookmarkLists::kLoad, {}, section, c.number);
    EXPECT_EQ(f.Lines(), c.lines);
    EXPECT_EQ(f.Stored(kPage), c.plainAfter);
    EXPECT_EQ(f.Stored(kLegacy), c.legacyAfter);
    EXPECT_EQ(f.SectionExists(kLegacy), !c.legacyAfter.empty());
    const int keyed = c.keyed < 0 ? static_cast<int>(c.lines.size()) : c.keyed;
    EXPECT_EQ(f.lists.oMarkers.Count(), keyed);
    EXPECT_EQ(f.lists.oMarkersIndex.Count(), keyed);
    for (const std::string& home : f.lists.oMarkersIndex) EXPECT_EQ(home, kPage);
    for (int i = 1; i <= keyed && c.number == 0; ++i) {  // line i - 1 and item i are one bookmark
      const std::string line = f.Lines()[static_cast<std::size_t>(i - 1)];
      EXPECT_EQ(f.lists.oMarkers.Item(line.substr(line.find(" - ") + 3)), f.lists.oMarkers.Item(i));
    }
    EXPECT_EQ(section, kPage);
    EXPECT_EQ(f.Reports(), c.reports);

    // Cleared lists take the same keys again.
    f.lists.CurrentMarker = 2;
    f.lists.ClearMarcatori();
    EXPECT_EQ(f.lists.CurrentMarker, 0);
    f.lists.Marcatori(BookmarkLists::kLoad, {}, section, c.number);
    EXPECT_EQ(f.Lines(), c.lines);
    EXPECT_EQ(f.Stored(kPage), c.plainAfter);
    EXPECT_EQ(f.Reports().size(), 2 * c.reports.size()) << "the first load's reports again, no more";
  }
}

TEST(MarcatoriLoad, LegacyBookmarksThatDoNotFitStayInTheLegacySection) {
  BookmarkFixture f;
  std::vector<Mark> plain, legacy;
  for (int n = 1; n <= 90; ++n) plain.push_back(B(n, std::to_string(n), "P" + std::to_string(n)));
  for (int n = 1; n <= 20; ++n) legacy.push_back(B(n, std::to_string(1000 + n), "L" + std::to_string(n)));
  f.Put(kPage, plain);
  f.Put(kLegacy, legacy);

  f.lists.Marcatori(BookmarkLists::kLoad);

  // Everything is listed: the 100 that fit, then the 10 that stay behind.
  ASSERT_EQ(f.lists.ListMarkers.ListCount(), 110);
  const auto stored = f.Stored(kPage);
  ASSERT_EQ(stored.size(), 100u);
  EXPECT_EQ(stored[19].name, "L10");
  EXPECT_EQ(stored[99].name, "P90");
  const auto left = f.Stored(kLegacy);
  ASSERT_EQ(left.size(), 10u);
  EXPECT_EQ(left.front(), B(11, "1011", "L11"));
  EXPECT_EQ(f.lists.oMarkersIndex.Item(110), kLegacy);
}

TEST(MarcatoriLoad, ARefusedWriteLosesNothing) {
  BookmarkFixture f;
  f.Put(kPage, {B(5, "50", "P5")});
  f.Put(kLegacy, {B(1, "10", "L1"), B(2, "20", "L2")});
  f.registry.refused = {"2NOME"};  // L2's new number cannot take its name

  f.lists.Marcatori(BookmarkLists::kLoad);

  EXPECT_EQ(f.lists.ListMarkers.ListCount(), 3);
  EXPECT_EQ(f.Reports(),
            (std::vector<std::string>{"Marcatori Mode = 0 --> Salvataggio Markers2 per riordino / 5"}));
  // L1 moved and left the legacy section; L2 is still there; P5 made it to 3.
  EXPECT_EQ(f.Stored(kPage), (std::vector<Mark>{B(1, "10", "L1"), B(2, "20", "vuoto"), B(3, "50", "P5")}));
  EXPECT_EQ(f.Stored(kLegacy), (std::vector<Mark>{B(2, "20", "L2")}));
}

TEST(MarcatoriDeleteAll, RemovesThePlainAndTheLegacySectionOnly) {
  BookmarkFixture f;
  f.Put("LIBRO\\CAP02.HTM", {B(1, "5", "Altra pagina")});
  const std::vector<Mark> some = {B(1, "1", "A")}, none;
  // Both sections (a legacy bookmark left behind would come back at the
  // next load), the legacy one only, neither.
  for (const auto& [plain, legacy] : {std::pair{some, some}, {none, some}, {none, none}}) {
    f.Put(kPage, plain);
    f.Put(kLegacy, legacy);
    f.lists.Marcatori(BookmarkLists::kDeleteAll);
    EXPECT_FALSE(f.SectionExists(kPage));
    EXPECT_FALSE(f.SectionExists(kLegacy));
    EXPECT_EQ(f.Stored("LIBRO\\CAP02.HTM").size(), 1u);
    EXPECT_EQ(f.lists.ListMarkers.ListCount(), 0);  // the caller clears and reloads
  }
  EXPECT_TRUE(f.Reports().empty());
}

struct DeleteOneCase {
  const char* title;
  std::string name;
  std::vector<Mark> plain;
  std::vector<Mark> legacy;
  std::vector<std::string> lines;  // after the pass
  std::vector<Mark> plainAfter;
};

TEST(MarcatoriDeleteOne, DeletesByExactNameAndReloads) {
  const DeleteOneCase cases[] = {
      {"middle bookmark; the rest renumbered",
       "Due",
       {B(1, "1", "Uno"), B(2, "2", "Due", "d.mp3"), B(3, "3", "Tre")},
       {},
       {"00:01\t - Uno", "00:03\t - Tre"},
       {B(1, "1", "Uno"), B(2, "3", "Tre")}},
      {"letter case counts: nothing deleted, nothing reloaded",
       "due",
       {B(1, "1", "Uno"), B(2, "2", "Due")},
       {},
       {"stale line"},
       {B(1, "1", "Uno"), B(2, "2", "Due")}},
      {"a bookmark still in the legacy section",
       "L",
       {B(1, "1", "Uno")},
       {B(1, "5", "L"), B(2, "6", "M")},
       {"00:01\t - Uno", "00:06\t - M"},
       {B(1, "1", "Uno"), B(2, "6", "M")}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.title);
    BookmarkFixture f;
    f.Put(kPage, c.plain);
    f.Put(kLegacy, c.legacy);
    f.lists.ListMarkers.AddItem("stale line");
    f.lists.Marcatori(BookmarkLists::kDeleteOne, c.name);
    EXPECT_EQ(f.Lines(), c.lines);
    EXPECT_EQ(f.Stored(kPage), c.plainAfter);
    EXPECT_FALSE(f.SectionExists(kLegacy));
    EXPECT_TRUE(f.Reports().empty());
  }
}

TEST(LoadIndexPage, ListsEveryPageOfTheBookTaggedWithItsRunningNumber) {
  BookmarkFixture f;
  fakes::MemoryFileSystem fs;
  fs.AddFile("/book/Index.htm");
  fs.AddFile("/book/Cap01/Pag1.htm");
  fs.AddFile("/book/Cap01/pag2.htm");
  fs.AddFile("/book/Cap01/pag2.mp3");
  fs.AddFile("/book/Cap01/pag3.html");
  fs.AddFile("/book/cap02/Pag1.htm");
  fs.AddFile("/book/Libro/a.mp3");
  f.Put("CAP01\\PAG1.HTM", {B(3, "10", "Inizio")});
  f.Put("CAP01\\PAG3.HTM", {B(1, "7", "Html")});  // stored by the page itself, on view
  f.Put("CAP02\\PAG1.HTM", {B(1, "20", "Inizio"), B(2, "25", "Fine")});
  f.Put("LIBRO\\A.MP3#", {B(1, "5", "Vecchio")});

  f.lists.LoadIndexPage(fs, "/book");

  EXPECT_EQ(f.Lines(), (std::vector<std::string>{"-1-00:10\t-Inizio", "-4-00:07\t-Html", "-5-00:20\t-Inizio",
                                                 "-5-00:25\t-Fine", "-6-00:05\t-Vecchio"}));
  EXPECT_EQ(f.lists.oMarkersIndex.Item(1), "CAP01\\PAG1.HTM");
  EXPECT_EQ(f.lists.oMarkersIndex.Item(2), "CAP01\\PAG3.HTM");
  EXPECT_EQ(f.lists.oMarkersIndex.Item(5), "LIBRO\\A.MP3");
  EXPECT_EQ(f.Stored("LIBRO\\A.MP3"), (std::vector<Mark>{B(1, "5", "Vecchio")}));
  EXPECT_FALSE(f.SectionExists("LIBRO\\A.MP3#"));
  EXPECT_TRUE(f.Reports().empty());
}

TEST(LoadIndexPage, AMissingProgramFolderRaisesToTheCaller) {
  BookmarkFixture f;
  fakes::MemoryFileSystem fs;
  EXPECT_EQ(ErrorNumberOf([&] { f.lists.LoadIndexPage(fs, "/nowhere"); }), 76);
}

}  // namespace
}  // namespace orva
