// Adding a bookmark of the page on view, finding a stored bookmark by name,
// and the keys of the bookmark list.

#include "common/automation/trace.h"
#include "common/automation/trace_events.h"
#include "common/runtime/conversions.h"
#include "common/runtime/text.h"
#include "player/bookmarks/book_walk.h"
#include "player/bookmarks/list_line.h"
#include "player/browser/frmBrowser.h"
#include "player/panels/handler_guard.h"

namespace orva {

namespace {

constexpr std::string_view kNameTakenPrompt =
    "Il marcatore esiste già. Cambiare nome o lasciare lo stesso per sovrascrivere l'esistente";
constexpr std::string_view kNameTakenTitle = "Aggiunta Marcatore";
constexpr std::int16_t kVkReturn = 13;
constexpr std::int16_t kVkDelete = 46;

// The name a list line or a typed name stands for: the text after its first
// "-", trimmed.
std::string ReducedName(std::string_view text) {
  const int dash = InStr(text, "-");
  return Trim(dash > 0 ? Mid(text, dash + 1) : std::string(text));
}

}  // namespace

bool FrmBrowser::PageBookmarksFull() {
  const std::string section = Section();
  return !section.empty() && bookmarkStore_.Name(section, kMaxBookmarks) != kVuoto;
}

void FrmBrowser::AddMarcatore(std::string& Name, std::int16_t& Position) {
  Guarded(report_, "AddMarcatore - " + state.Messages[book::Message::kMarkExist], [&] {
    std::string audio = oPlayer ? oPlayer->FileName() : std::string();
    if (const int slash = InStrRev(audio, "\\"); slash > 0) audio = Mid(audio, slash + 1);
    const std::string section = Section();

    // The highest number taken, and whether Name is one of the stored names
    // (letter case counts).
    int highest = 0;
    auto nameTaken = [&] {
      highest = 0;
      bool taken = false;
      for (const int n : bookmarkStore_.NumbersWithName(section)) {
        const std::string stored = bookmarkStore_.Name(section, n);
        if (stored == kVuoto) continue;
        highest = n;
        if (stored == Name) taken = true;
      }
      return taken;
    };
    while (nameTaken()) {
      const std::string before = Name;
      Name = dialogs_.InputBox(std::string(kNameTakenPrompt), std::string(kNameTakenTitle), Name);
      if (Trim(Name).empty()) return;
      if (Name == before) bookmarks_.Marcatori(BookmarkLists::kDeleteOne, Name);
    }
    const int number = highest + 1;
    if (number > kMaxBookmarks) {
      // Reached when a page filled up behind the key's own check (a second
      // window, an import): a 101st would be stored where no load reads it.
      TraceNotice("bookmark not added: the page has " + CStr(kMaxBookmarks) + " bookmarks");
      return;
    }

    bookmarks_.oMarkers.Add(Position, Name);
    bookmarks_.ListMarkers.AddItem(ListLine(std::int32_t{Position}, Name, 0));
    bookmarkStore_.SavePosition(section, number, CStr(Position));
    bookmarkStore_.SaveName(section, number, Trim(Name));
    bookmarkStore_.SaveAudio(section, number, Trim(audio));
    TraceEvent("bookmark", {{"action", "added"},
                            {"section", section},
                            {"number", number},
                            {"name", Trim(Name)},
                            {"audio", Trim(audio)},
                            {"position", static_cast<int>(Position)}});
  });
}

std::int16_t FrmBrowser::MarcatoreCerca(std::string& Name, std::string& section) {
  return Guarded(report_, "MarcatoreCerca", std::int16_t{0}, [&]() -> std::int16_t {
    Name = ReducedName(Name);
    if (section.empty()) section = Section();
    if (section.empty()) return 0;
    for (const int n : bookmarkStore_.NumbersWithName(section))
      if (bookmarkStore_.Name(section, n) == Name) return static_cast<std::int16_t>(n);
    return 0;
  });
}

void FrmBrowser::ListMarkers_Click() {
  Guarded(report_, "ListMarkers_Click",
          [&] { bookmarks_.ListMarkers.ToolTipText = bookmarks_.ListMarkers.Text(); });
}

void FrmBrowser::ListMarkers_DblClick() {
  Guarded(report_, "ListMarkers_DblClick", [&] {
    bookmarks_.CurrentMarker = static_cast<std::int16_t>(bookmarks_.ListMarkers.ListIndex() + 1);
    std::int16_t number = 0;
    MarcatoriRichiama(number);
  });
}

void FrmBrowser::ListMarkers_KeyDown(std::int16_t KeyCode, std::int16_t Shift) {
  Guarded(report_, "ListMarkers_KeyDown", [&] {
    ListBox& list = bookmarks_.ListMarkers;
    list.ToolTipText = list.Text();
    if (KeyCode == kVkReturn && Shift == 0) {
      ListMarkers_DblClick();
      return;
    }
    if (KeyCode != kVkDelete || list.ListCount() < 1 || list.ListIndex() < 0) return;
    if (book::IsIndexPage(objwb.LocationURL())) {
      // A line of the index page names a bookmark of another page: delete
      // it there and list the whole book again, rather than emptying the
      // list for the index page's own (absent) bookmarks.
      IndexLine line = ReduceIndexLine(fileSystem_, programFolder_, list.Text());
      if (!line.page) return;
      std::string section = line.page->Section();
      bookmarks_.Marcatori(BookmarkLists::kDeleteOne, ReducedName(line.line), section, 0);
      bookmarks_.ClearMarcatori();
      bookmarks_.LoadIndexPage(fileSystem_, programFolder_);
      TraceEvent(
          "bookmark",
          {{"action", "deleted"}, {"section", section}, {"name", ReducedName(line.line)}, {"all", false}});
      return;
    }
    const std::string name = ReducedName(list.Text());
    std::string section;
    bookmarks_.Marcatori(BookmarkLists::kDeleteOne, name, section, 0);
    bookmarks_.ClearMarcatori();
    bookmarks_.Marcatori(BookmarkLists::kLoad);
    TraceEvent("bookmark", {{"action", "deleted"}, {"section", section}, {"name", name}, {"all", false}});
  });
}

}  // namespace orva
