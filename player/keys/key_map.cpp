#include "player/keys/key_map.h"

namespace orva::keys {

std::string_view CommandName(Command command) {
  switch (command) {
    case Command::kNone: return "none";
    case Command::kHelp: return "help";
    case Command::kIndexPage: return "index_page";
    case Command::kNextStyleSheet: return "next_style_sheet";
    case Command::kIndexForward: return "index_forward";
    case Command::kIndexBack: return "index_back";
    case Command::kPreviousPage: return "previous_page";
    case Command::kNextPage: return "next_page";
    case Command::kSlower: return "slower";
    case Command::kFaster: return "faster";
    case Command::kSpeedPresets: return "speed_presets";
    case Command::kConfigurationPanel: return "configuration_panel";
    case Command::kAudioOnOff: return "audio_on_off";
    case Command::kDebugFrame: return "debug_frame";
    case Command::kSeekBack: return "seek_back";
    case Command::kSeekForward: return "seek_forward";
    case Command::kStop: return "stop";
    case Command::kPlayPause: return "play_pause";
    case Command::kLouder: return "louder";
    case Command::kSofter: return "softer";
    case Command::kCloseBookmarkList: return "close_bookmark_list";
    case Command::kDeleteAllBookmarks: return "delete_all_bookmarks";
    case Command::kAddBookmark: return "add_bookmark";
    case Command::kBookmarkList: return "bookmark_list";
    case Command::kNextBookmark: return "next_bookmark";
    case Command::kPreviousBookmark: return "previous_bookmark";
  }
  return "unknown";
}

const KeyRow* FindRow(Stage stage, std::int16_t keyCode, std::int16_t shift) {
  for (const KeyRow& row : kKeyMap) {
    if (row.stage != stage) continue;
    if (row.shift != kAnyMask && row.shift != shift) continue;
    if (row.keyCode != kAnyKey && row.keyCode != keyCode) continue;
    return &row;
  }
  return nullptr;
}

}  // namespace orva::keys
