// Bookmark recall: back to the page, the audio file and the position a
// bookmark marks. On an ordinary page the list holds that page's bookmarks
// and the recall acts at once. On the book's index page the list holds the
// bookmarks of every page: the recall opens the bookmark's page and finishes
// there once the page has loaded (page completion calls back with
// PendingRecall).

#include "common/automation/trace.h"
#include "common/runtime/conversions.h"
#include "common/runtime/text.h"
#include "player/bookmarks/book_walk.h"
#include "player/bookmarks/bookmark_audio.h"
#include "player/browser/addresses.h"
#include "player/browser/frmBrowser.h"
#include "player/panels/handler_guard.h"

namespace orva {

namespace {

constexpr std::string_view kUnnamedBookmark = "Marcatore non identificato";
constexpr std::string_view kAudioNotFound = "Audio non trovato: ";

// The page's folder as a path ending in "\", from its address.
std::string PageFolder(const std::string& address) {
  std::string folder = address;
  if (InStr(folder, "file:///") > 0) folder = FileAddressToPath(folder);
  return Left(folder, InStrRev(folder, "\\"));
}

}  // namespace

void FrmBrowser::MarcatoriRichiama(std::int16_t& Number) {
  Guarded(report_, "MarcatoriRichiama", [&] {
    ListBox& list = bookmarks_.ListMarkers;
    const std::string address = objwb.LocationURL();
    const bool indexPage = book::IsIndexPage(address);
    const bool hasFile = oPlayer && !oPlayer->FileName().empty();
    if (!(indexPage || hasFile) || list.ListCount() < 1) return;

    if (Number == 0) {
      if (indexPage) {
        IndexLine line = ReduceIndexLine(fileSystem_, programFolder_, list.Text());
        std::string section = bookmarks_.oMarkersIndex.Item(bookmarks_.CurrentMarker);
        Number = MarcatoreCerca(line.line, section);
        if (Number > 0) {
          state.PendingRecall = Number;
          // The page as it is named on disk: its section key is folded to
          // capitals and ".HTM", which need not be the file's name.
          objwb.Navigate2(line.page ? line.page->Path(programFolder_) : programFolder_ + "\\" + section);
          fraMarcatoriVisible = false;
          return;
        }
        state.PendingRecall = 0;
      } else {
        std::string name = list.Text();
        std::string section;
        Number = MarcatoreCerca(name, section);
      }
    }

    if (Number > 0) {
      if (!oPlayer) RaiseVbError(vberr::kObjectNotSet);
      oMoxPlayer& player = *oPlayer;
      player.Stop_Player();
      loop_.DoEvents();
      const std::string section = Section();
      const std::string audio = bookmarkStore_.Audio(section, Number, kVuoto);
      const double position = Val(bookmarkStore_.Position(section, Number, "0"));
      const std::string name = bookmarkStore_.Name(section, Number, kUnnamedBookmark);
      // A bookmark set while no audio was loaded has an empty audio value:
      // like one stored without it, it only moves the stopped player. Its
      // position is its own, read from the store: the lists may name
      // another bookmark at the same line after an add.
      if (audio == kVuoto || audio.empty()) {
        player.SetCurrentPosition(position);
        TraceEvent("bookmark", {{"action", "recalled"},
                                {"section", section},
                                {"number", Number},
                                {"file", ""},
                                {"position", position}});
      } else {
        BookmarkAudioQuery query{.pageFolder = PageFolder(address),
                                 .programFolder = programFolder_,
                                 .section = section,
                                 .pageAudio = {},
                                 .audio = audio};
        IgnoringErrors([&] {
          if (const HtmlElement* meta =
                  objwb.Document() ? objwb.Document()->All(std::string(book::kAudioElement)) : nullptr)
            query.pageAudio = meta->content();
        });
        player.SetAutoStart(true);
        const std::optional<std::string> path = FindBookmarkAudio(fileSystem_, volumes_, query);
        if (!path) {
          // Playing the file the player still holds would read unrelated
          // audio from a wrong place: say what is missing and stay in the
          // list.
          OSD(std::string(kAudioNotFound) + audio, false);
          TraceEvent("bookmark",
                     {{"action", "not_found"}, {"section", section}, {"number", Number}, {"audio", audio}});
          return;
        }
        player.SetFileName(*path);
        loop_.DoEvents();
        state.PlaySuppressed = true;
        TimerDisableState.SetEnabled(true);
        oPlayer->SetRate(PlayerRate());
        oPlayer->SetCurrentPosition(position);
        OSD(name, false);
        loop_.DoEvents();
        oPlayer->Play_Player();
        state.PlaySuppressed = true;
        TimerDisableState.SetEnabled(true);
        TraceEvent("bookmark", {{"action", "recalled"},
                                {"section", section},
                                {"number", Number},
                                {"file", *path},
                                {"position", position}});
      }
    }
    fraMarcatoriVisible = false;
  });
}

}  // namespace orva
