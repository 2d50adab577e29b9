// The bookmark keys: Esc (close the list), Alt+4 (delete all), Alt+3 (add),
// Alt+6 (show or hide the list), Alt+2 (next) and Alt+1 (previous).
//
// The name prompt and the list pause the reading; closing them gives it
// back. A full resume hands the file to the player again at the position it
// had, so an engine that lost its place while a modal dialog held the event
// loop starts cleanly, and gives back the speed the reader had chosen.

#include "common/automation/trace.h"
#include "common/runtime/conversions.h"
#include "common/runtime/text.h"
#include "common/runtime/vb_error.h"
#include "player/keys/key_commands.h"
#include "player/panels/strtempo.h"

namespace orva::keys {

namespace {

constexpr std::string_view kListTitle = "Elenco Marcatori";
constexpr std::string_view kNextTitle = "Marcatore Successivo";
constexpr std::string_view kPreviousTitle = "Marcatore Precedente";
constexpr std::string_view kDeleteAllTitle = "Cancellazione Marcatori";
constexpr std::string_view kDeleteAllQuestionTitle = "MediaPlayer";
constexpr std::string_view kAddTitle = "ORVA Player - Inserimento Marcatori - ";
constexpr std::string_view kFullTitle = "Aggiunta Marcatore";
constexpr std::string_view kFullText =
    "Questa pagina ha già 100 marcatori: cancellarne uno per aggiungerne un altro.";

}  // namespace

void KeyCommands::PauseForDialog() {
  BrowserWindowState& state = form_.SharedState();
  state.WasPlaying = false;
  state.SavedRate = Player().Rate();
  if (Player().IsPlaying()) {
    state.WasPlaying = true;
    Player().Pause_Player();
  }
}

void FullResume(KeyWindow& form) {
  BrowserWindowState& state = form.SharedState();
  if (!state.WasPlaying) return;
  // The player is asked for again after each wait: the events that run
  // there may have replaced it.
  auto player = [&form]() -> oMoxPlayer& {
    oMoxPlayer* p = form.KeyPlayer();
    if (p == nullptr) RaiseVbError(vberr::kObjectNotSet);
    return *p;
  };
  const std::string file = player().FileName();
  const double position = player().CurrentPosition();
  player().SetFileName(file);
  form.loop().DoEvents();
  player().SetCurrentPosition(position);
  form.loop().DoEvents();
  player().Play_Player();
  player().SetRate(state.SavedRate);
}

void KeyCommands::FullResume() { keys::FullResume(form_); }

void KeyCommands::PlayOnIfPaused() {
  BrowserWindowState& state = form_.SharedState();
  if (!state.WasPlaying) return;
  state.WasPlaying = false;
  Player().Play_Player();
}

void KeyCommands::NoBookmarks(std::string_view title) {
  form_.dialogs().MsgBox(form_.SharedState().Messages[book::Message::kMarkNone], MsgBoxButtons::kOkOnly,
                         MsgBoxIcon::kNone, std::string(title));
}

Flow KeyCommands::CloseBookmarkList() {
  FrameVisible& panel = form_.Fields().bookmarkPanel;
  if (!panel) return Flow::kGoOn;
  FullResume();
  panel = false;
  return Flow::kGoOn;
}

Flow KeyCommands::DeleteAllBookmarks() {
  BookmarkLists& lists = form_.Bookmarks();
  if (lists.ListMarkers.ListCount() == 0) {
    NoBookmarks(kDeleteAllTitle);
    return Flow::kGoOn;
  }
  const MsgBoxResult answer =
      form_.dialogs().MsgBox(form_.SharedState().Messages[book::Message::kDelMark], MsgBoxButtons::kYesNo,
                             MsgBoxIcon::kNone, std::string(kDeleteAllQuestionTitle));
  if (answer != MsgBoxResult::kYes) return Flow::kGoOn;
  std::string section;
  lists.Marcatori(BookmarkLists::kDeleteAll, {}, section, 0);
  lists.ClearMarcatori();
  TraceEvent("bookmark", {{"action", "deleted"}, {"section", section}, {"name", ""}, {"all", true}});
  return Flow::kGoOn;
}

Flow KeyCommands::AddBookmark() {
  PauseForDialog();
  const bool wasPlaying = form_.SharedState().WasPlaying;
  if (form_.PageBookmarksFull()) {
    // Number 100 is the last one a page keeps: a 101st would be stored
    // where no load reads it, and lost at the next page load.
    form_.dialogs().MsgBox(std::string(kFullText), MsgBoxButtons::kOkOnly, MsgBoxIcon::kExclamation,
                           std::string(kFullTitle));
  } else {
    const double position = Player().CurrentPosition();
    const std::string prompt = "Inserisci il nome del segnalibro (" + strtempo(CLng(position)) + " sec.)";
    const std::string title = std::string(kAddTitle) + (wasPlaying ? "(play)" : "(stop)");
    std::string name = form_.dialogs().InputBox(prompt, title, "");
    if (!Trim(name).empty()) {
      std::int16_t seconds = CInt(position);
      form_.AddMarcatore(name, seconds);
    }
  }
  form_.loop().DoEvents();
  FullResume();
  return Flow::kGoOn;
}

Flow KeyCommands::BookmarkList() {
  FrameVisible& panel = form_.Fields().bookmarkPanel;
  if (!panel) {
    PauseForDialog();
    if (form_.Bookmarks().ListMarkers.ListCount() == 0) {
      NoBookmarks(kListTitle);
      PlayOnIfPaused();
    } else {
      panel = true;
    }
  } else {
    PlayOnIfPaused();
    panel = false;
  }
  return Flow::kGoOn;
}

Flow KeyCommands::StepBookmark(bool forward) {
  BookmarkLists& lists = form_.Bookmarks();
  if (lists.ListMarkers.ListCount() == 0) {
    NoBookmarks(forward ? kNextTitle : kPreviousTitle);
    return Flow::kGoOn;
  }
  std::int16_t& current = lists.CurrentMarker;
  if (forward) {
    if (current < lists.oMarkers.Count()) ++current;
  } else {
    if (current > 1) --current;
    if (current == 0) current = 1;
  }
  if (lists.oMarkers.Count() >= current) {
    lists.ListMarkers.SetListIndex(current - 1);
    std::int16_t number = 0;
    form_.MarcatoriRichiama(number);
  }
  return Flow::kGoOn;
}

Flow KeyCommands::NextBookmark() { return StepBookmark(true); }
Flow KeyCommands::PreviousBookmark() { return StepBookmark(false); }

}  // namespace orva::keys
