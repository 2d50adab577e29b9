// The keys that move through the book: help, the book's index page, the
// page's position index (its OrvaIndex_n anchors), the previous and next
// page, and the style-sheet switch that reloads the page in place.
//
// Anchors and page elements that do not exist are not failures: they read
// as the empty text and end the search or the command quietly.

#include "common/runtime/conversions.h"
#include "common/runtime/text.h"
#include "player/browser/addresses.h"
#include "player/browser/book_format.h"
#include "player/keys/key_commands.h"
#include "player/panels/handler_guard.h"

namespace orva::keys {

namespace {

// The style sheet n as the switch looks for it; the file system finds it
// whatever the letter case of the book's file ("Style2.CSS").
std::string StyleFile(const std::string& programFolder, std::int16_t n) {
  return programFolder + "\\include\\style" + CStr(n) + ".css";
}

// An anchor's position: the text after this marker in its href, to the end.
constexpr std::string_view kAnchorPositionMarker = "ZUVPLAYER_AUDIO_POS=";

// Takes the anchor's position when its href carries one; an anchor without
// it keeps the position of the anchor before.
void TakeAnchorPosition(const std::string& href, std::string& position) {
  if (const int at = InStr(href, kAnchorPositionMarker); at > 0)
    position = Mid(href, at + Len(kAnchorPositionMarker));
}

// Whether an anchor's position comes before the playback position. One that
// cannot be compared (an anchor ending "=30&x", or no player) counts as
// before, so the search moves on past it.
template <class Playback>
bool Before(const std::string& position, Playback&& playback) {
  bool less = true;
  IgnoringErrors([&] { less = CInt(position) < CInt(playback()); });
  return less;
}

// One more anchor; past the largest 16-bit number there are none.
void NextAnchor(std::int16_t& counter) { counter = CInt(static_cast<double>(counter) + 1); }

}  // namespace

std::string KeyCommands::AnchorHref(std::int32_t n) {
  std::string href;
  IgnoringErrors([&] {
    HtmlDocument* document = form_.Pages().Document();
    if (document == nullptr) return;
    if (const HtmlElement* anchor = document->All(book::IndexAnchorElement(n))) href = anchor->href();
  });
  return href;
}

const HtmlElement* KeyCommands::PageElement(const std::string& name) {
  const HtmlElement* element = nullptr;
  IgnoringErrors([&] {
    if (HtmlDocument* document = form_.Pages().Document()) element = document->All(name);
  });
  return element;
}

Flow KeyCommands::Help() {
  form_.Pages().Navigate2(form_.ProgramFolder() + std::string(book::kHelpPage));
  return Flow::kEnd;
}

Flow KeyCommands::IndexPage() {
  form_.Pages().Navigate2(form_.SharedState().IndexPath);
  return Flow::kGoOn;
}

Flow KeyCommands::NextStyleSheet() {
  trail_.Step("Form KeyDown: Ctrl+Shift+9");
  BrowserWindowState& state = form_.SharedState();
  // The numbers cycle up to the last style file that exists without a gap.
  const std::int16_t next = CInt(static_cast<double>(state.StyleNumber) + 1);
  state.StyleNumber = form_.fileSystem().FileExists(StyleFile(form_.ProgramFolder(), next)) ? next : 1;
  Show("Stile " + CStr(state.StyleNumber));
  form_.SaveSetting(kPlayerSection, "StyleSheet", CStr(state.StyleNumber));

  // The page loads again to take the new sheet; its fragment (the start
  // position of a link) is kept for that one navigation, and so is one kept
  // from an earlier reload.
  std::string address = form_.Pages().LocationURL();
  if (const int hash = InStr(address, "#"); hash > 0) {
    state.PendingFragment = Mid(address, hash + 1);
    address = Left(address, hash - 1);
    state.KeepPending = true;
  } else if (!state.PendingFragment.empty()) {
    state.KeepPending = true;
  }
  if (Player().IsPlaying()) Player().Stop_Player();
  form_.Pages().Navigate2(address);
  form_.loop().DoEvents();
  return Flow::kGoOn;
}

Flow KeyCommands::IndexForward() {
  BrowserWindowState& state = form_.SharedState();
  std::string href;
  std::string position = "0";
  // Nothing of the search is a failure: a missing anchor ends it, and a
  // position that cannot be compared counts as before the playback, so the
  // search moves on.
  auto playback = [this] { return Player().CurrentPosition(); };
  bool searching = IgnoringErrors([&] { NextAnchor(state.IndexCounter); }).Number == 0;
  if (searching) {
    href = AnchorHref(state.IndexCounter);
    TakeAnchorPosition(href, position);
  }
  while (searching && Before(position, playback) && !href.empty()) {
    if (IgnoringErrors([&] { NextAnchor(state.IndexCounter); }).Number != 0) {
      href.clear();
      break;
    }
    href = AnchorHref(state.IndexCounter);
    TakeAnchorPosition(href, position);
  }

  if (!href.empty()) {
    Show("Indice avanti - Indice " + CStr(state.IndexCounter));
    form_.Pages().Navigate2(href);
    return Flow::kEnd;
  }
  Show("Indice avanti - Raggiunta la fine ");
  // The counter names the page's last anchor again.
  state.IndexCounter = CInt(static_cast<double>(state.IndexCounter) - 1);
  return Flow::kGoOn;
}

Flow KeyCommands::IndexBack() {
  BrowserWindowState& state = form_.SharedState();
  constexpr const char* kAtStart = "Indice indietro - Raggiunto l'inizio ";
  std::string href = AnchorHref(1);
  if (href.empty()) {
    Show(kAtStart);
    return Flow::kGoOn;
  }
  // From anchor 1, the first anchor not before the playback position: the
  // start of the section after the one being read. A search that runs off
  // the end starts again from 1.
  auto playback = [this] { return Player().CurrentPosition(); };
  std::string position = "0";
  state.IndexCounter = 1;
  TakeAnchorPosition(href, position);
  while (Before(position, playback) && !href.empty()) {
    if (IgnoringErrors([&] { NextAnchor(state.IndexCounter); }).Number == 0)
      href = AnchorHref(state.IndexCounter);
    else
      href.clear();
    if (href.empty()) {
      state.IndexCounter = 1;
      break;
    }
    TakeAnchorPosition(href, position);
  }
  // Two before it: the start of the section before the one being read.
  if (state.IndexCounter > 2) {
    state.IndexCounter = static_cast<std::int16_t>(state.IndexCounter - 2);
    href = AnchorHref(state.IndexCounter);
    if (!href.empty()) {
      Show("Indice indietro - Indice " + CStr(state.IndexCounter));
      form_.Pages().Navigate2(href);
      return Flow::kEnd;
    }
  }
  Show(kAtStart);
  return Flow::kGoOn;
}

Flow KeyCommands::OpenNeighbourPage(const std::string& element, const char* message) {
  const HtmlElement* meta = PageElement(element);
  if (meta == nullptr) return Flow::kEnd;
  const std::string target = meta->content();
  trail_.Step(target);
  if (target.empty()) return Flow::kEnd;
  // The folder of the page on view, as long as its title is its file name.
  const std::string folder = PageFolderAddress(form_.Pages().LocationURL(), form_.Pages().LocationName());
  Show(message);
  form_.Pages().Navigate2(folder + target);
  return Flow::kEnd;
}

Flow KeyCommands::PreviousPage() {
  return OpenNeighbourPage(std::string(book::kPrevHtmlElement), "File precedente");
}

Flow KeyCommands::NextPage() { return OpenNeighbourPage(book::NextHtmlElement(1), "File successivo"); }

}  // namespace orva::keys
