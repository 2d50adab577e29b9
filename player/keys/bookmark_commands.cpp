// The bookmark keys: Esc (close the list), Alt+4 (delete all), Alt+3 (add),
// Alt+6 (show or hide the list), Alt+2 (next) and Alt+1 (previous).
//
// These keys have their rows in the key map and reach these commands, whose
// bodies are empty: they do nothing and show nothing. The commands reach
// the page's bookmark lists through KeyWindow::Bookmarks().

#include "player/keys/key_commands.h"

namespace orva::keys {

Flow KeyCommands::CloseBookmarkList() { return Flow::kGoOn; }
Flow KeyCommands::DeleteAllBookmarks() { return Flow::kGoOn; }
Flow KeyCommands::AddBookmark() { return Flow::kGoOn; }
Flow KeyCommands::BookmarkList() { return Flow::kGoOn; }
Flow KeyCommands::NextBookmark() { return Flow::kGoOn; }
Flow KeyCommands::PreviousBookmark() { return Flow::kGoOn; }

}  // namespace orva::keys
