#pragma once
// The bookmarks of the page on view, in memory, and the one procedure that
// fills them from the store: `Marcatori`. While a page is shown three lists
// mirror its bookmarks (on the book's index page: those of every page):
//   oMarkers       position in seconds, keyed by ListKey,
//   oMarkersIndex  the section the bookmark is stored in, keyed by ListKey,
//   ListMarkers    the visible list, one line per bookmark, in load order.
// As long as only Marcatori fills them, line i of ListMarkers and item i + 1
// of both collections describe the same bookmark.
//
// Loading also renumbers the stored bookmarks 1, 2, 3 ... without gaps, so
// that adding a bookmark (which takes the number after the highest) never
// runs past 100 on a page that has room.
//
// The main window owns one instance and forwards its procedures to it:
//   page completion   ClearMarcatori(); then Marcatori(kLoad) for an ordinary
//                     page, or LoadIndexPage(fs, programFolder) on the index;
//   add, name kept    Marcatori(kDeleteOne, name);
//   delete all        Marcatori(kDeleteAll); ClearMarcatori();
//   list Delete key   Marcatori(kDeleteOne, name); ClearMarcatori(); Marcatori(kLoad);
//   import            ClearMarcatori(); Marcatori(kLoad).

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "common/platform/file_system.h"
#include "common/runtime/collection.h"
#include "player/bookmarks/bookmark_store.h"
#include "player/bookmarks/list_box.h"

namespace orva {

class MdlMain;
class ResumeNext;
class StepTrail;

// The dialog units between the tab stops of the list (time, then name).
inline constexpr int kListMarkersTabStop = 20;

class BookmarkLists {
 public:
  enum Mode : std::int32_t {
    kLoad = 0,       // load the section into the lists and renumber it
    kDeleteAll = 1,  // delete every bookmark of the section
    kDeleteOne = 2,  // delete the bookmark named Name, then reload the page on view
  };

  // `pageSection` gives the section key of the page on view (the empty text
  // when no page is shown); failures are reported through `report`.
  BookmarkLists(BookmarkStore& store, MdlMain& report, std::function<std::string()> pageSection);

  VbCollection<double> oMarkers;
  VbCollection<std::string> oMarkersIndex;
  ListBox ListMarkers;
  // The selected bookmark, counted from 1; 0 = none.
  std::int16_t CurrentMarker = 0;

  // Mode as above. Name is used by kDeleteOne only (compared exactly).
  // Section: empty = the page on view; the section worked on is written
  // back. Number: 0 = plain keys and lines; N > 0 = the page's running number
  // on the index page. Failures are reported under
  // "Marcatori Mode = <mode> --> <step>" and the pass goes on with its next
  // statement.
  void Marcatori(std::int32_t mode, std::string_view name, std::string& section, std::int16_t number);
  // The page on view, plain keys.
  void Marcatori(std::int32_t mode, std::string_view name = {});

  // Empties the three lists and clears CurrentMarker; the store is not
  // touched. A failure is reported under "ClearMarcatori".
  void ClearMarcatori();

  // The index page's list: the bookmarks of every page of the book, each
  // page tagged with its running number (WalkBook). A failing folder listing
  // raises to the caller, whose step reports it.
  void LoadIndexPage(const FileSystem& fs, std::string_view programFolder);

 private:
  struct Stored;

  void Load(const std::string& section, std::int16_t number, ResumeNext& run, StepTrail& trail);
  void DeleteAll(const std::string& section, ResumeNext& run);
  void DeleteOne(std::string_view name, const std::string& section, ResumeNext& run);
  // The bookmarks of a section with a name, by ascending number (those
  // without a position too; they are never listed).
  // `trail` (null outside loading) names the step of the position reads.
  std::vector<Stored> ReadSection(const std::string& section, bool legacy, ResumeNext& run, StepTrail* trail);

  BookmarkStore& store_;
  MdlMain& report_;
  std::function<std::string()> pageSection_;
};

}  // namespace orva
