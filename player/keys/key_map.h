#pragma once
// The command key map: which key, with which modifiers, runs which command.
// This table is the one place to look a key up. The dispatcher
// (key_dispatcher.h) walks its stages in order; within a stage the first row
// whose mask and key match runs, so the order of the rows is the order of
// the tests.
//
// Stages:
//   kHelp        F1, with any modifiers; ends the handler.
//   kModifiers   chosen by the exact mask: 0 (Esc), 7 (any key), 4, 2.
//   kFileLoaded  Ctrl, and only while the player holds a file.
//   kBookmarks   Alt.
// A command may end the handler so that later stages do not run (help, the
// page keys, the index keys when they open an anchor). The key sets of the
// stages do not overlap, so one key press runs at most one command.

#include <array>
#include <cstdint>
#include <string_view>

#include "player/keys/key_codes.h"

namespace orva::keys {

enum class Stage : std::uint8_t { kHelp, kModifiers, kFileLoaded, kBookmarks };
inline constexpr std::array<Stage, 4> kStages = {Stage::kHelp, Stage::kModifiers, Stage::kFileLoaded,
                                                 Stage::kBookmarks};

enum class Command : std::uint8_t {
  kNone,
  // Help and pages.
  kHelp,
  kIndexPage,
  kNextStyleSheet,
  kIndexForward,
  kIndexBack,
  kPreviousPage,
  kNextPage,
  // Speed, panels, audio.
  kSlower,
  kFaster,
  kSpeedPresets,
  kConfigurationPanel,
  kAudioOnOff,
  kDebugFrame,
  // Playback, with a file loaded.
  kSeekBack,
  kSeekForward,
  kStop,
  kPlayPause,
  kLouder,
  kSofter,
  // Bookmarks.
  kCloseBookmarkList,
  kDeleteAllBookmarks,
  kAddBookmark,
  kBookmarkList,
  kNextBookmark,
  kPreviousBookmark,
};

// The name of a command in the trace ("seek_forward", ...).
std::string_view CommandName(Command command);

// A row matches this mask / key whatever the key press holds.
inline constexpr std::int16_t kAnyMask = -1;
inline constexpr std::int16_t kAnyKey = -1;

struct KeyRow {
  Stage stage;
  std::int16_t shift;    // the whole mask, or kAnyMask
  std::int16_t keyCode;  // or kAnyKey
  Command command;
};

inline constexpr std::int16_t kNone = kNoModifier;
inline constexpr std::int16_t kCtrl = kCtrlMask;
inline constexpr std::int16_t kAlt = kAltMask;
inline constexpr std::int16_t kShiftCtrlAlt = kShiftCtrlAltMask;
using K = KeyCodes;

// clang-format off
inline constexpr std::array kKeyMap = {
  //     stage               mask           key                  command
  KeyRow{Stage::kHelp,       kAnyMask,      kVkF1,               Command::kHelp},
  KeyRow{Stage::kModifiers,  kNone,         kVkEscape,           Command::kCloseBookmarkList},
  KeyRow{Stage::kModifiers,  kShiftCtrlAlt, kAnyKey,             Command::kDebugFrame},
  KeyRow{Stage::kModifiers,  kAlt,          Digit(9),            Command::kNextStyleSheet},
  KeyRow{Stage::kModifiers,  kAlt,          Digit(8),            Command::kIndexForward},
  KeyRow{Stage::kModifiers,  kAlt,          Digit(7),            Command::kIndexBack},
  KeyRow{Stage::kModifiers,  kAlt,          K::KeyMinus,         Command::kSlower},
  KeyRow{Stage::kModifiers,  kAlt,          K::KeyPlus,          Command::kFaster},
  KeyRow{Stage::kModifiers,  kCtrl,         Letter('I'),         Command::kIndexPage},
  KeyRow{Stage::kModifiers,  kCtrl,         Digit(9),            Command::kSpeedPresets},
  KeyRow{Stage::kModifiers,  kCtrl,         Digit(8),            Command::kConfigurationPanel},
  KeyRow{Stage::kModifiers,  kCtrl,         Digit(6),            Command::kPreviousPage},
  KeyRow{Stage::kModifiers,  kCtrl,         Digit(7),            Command::kNextPage},
  KeyRow{Stage::kModifiers,  kCtrl,         Digit(0),            Command::kAudioOnOff},
  KeyRow{Stage::kFileLoaded, kCtrl,         K::KeySeekBack,      Command::kSeekBack},
  KeyRow{Stage::kFileLoaded, kCtrl,         K::KeySeekForward,   Command::kSeekForward},
  KeyRow{Stage::kFileLoaded, kCtrl,         K::KeyStop,          Command::kStop},
  KeyRow{Stage::kFileLoaded, kCtrl,         K::KeyPlayPause,     Command::kPlayPause},
  KeyRow{Stage::kFileLoaded, kCtrl,         K::KeyPlus,          Command::kLouder},
  KeyRow{Stage::kFileLoaded, kCtrl,         K::KeyMinus,         Command::kSofter},
  KeyRow{Stage::kBookmarks,  kAlt,          K::KeyMarkDeleteAll, Command::kDeleteAllBookmarks},
  KeyRow{Stage::kBookmarks,  kAlt,          K::KeyMarkAdd,       Command::kAddBookmark},
  KeyRow{Stage::kBookmarks,  kAlt,          K::KeyMarkList,      Command::kBookmarkList},
  KeyRow{Stage::kBookmarks,  kAlt,          K::KeyMarkNext,      Command::kNextBookmark},
  KeyRow{Stage::kBookmarks,  kAlt,          K::KeyMarkPrevious,  Command::kPreviousBookmark},
};
// clang-format on

// The row of `stage` that the key selects, or nullptr.
const KeyRow* FindRow(Stage stage, std::int16_t keyCode, std::int16_t shift);

}  // namespace orva::keys
