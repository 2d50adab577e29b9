#pragma once
// Keys as the key map sees them: Windows virtual-key codes and a modifier
// mask (1 Shift, 2 Ctrl, 4 Alt) that is always compared as a whole, so
// Ctrl+Shift (3) is neither Ctrl nor Shift. The platform layer turns the
// physical keys into these codes (backends/qt/keys).

#include <cstdint>

namespace orva::keys {

// --- Virtual-key codes the map and its neighbours use.
inline constexpr std::int16_t kVkReturn = 13;
inline constexpr std::int16_t kVkEscape = 27;
inline constexpr std::int16_t kVkDelete = 46;
inline constexpr std::int16_t kVkF1 = 112;
// The main keyboard's "=" / "+" key and its "-" / "_" key. The keypad's
// plus (107) and minus (109) are other keys and do nothing in the map.
inline constexpr std::int16_t kVkPlus = 187;
inline constexpr std::int16_t kVkMinus = 189;

// Digits of the main keyboard: 48 to 57, whatever Shift holds.
constexpr std::int16_t Digit(int digit) { return static_cast<std::int16_t>('0' + digit); }
// Letters: 65 to 90, the upper-case letter's code.
constexpr std::int16_t Letter(char upper) { return static_cast<std::int16_t>(upper); }

// --- Modifier masks.
inline constexpr std::int16_t kNoModifier = 0;
inline constexpr std::int16_t kShiftMask = 1;
inline constexpr std::int16_t kCtrlMask = 2;
inline constexpr std::int16_t kAltMask = 4;
inline constexpr std::int16_t kShiftCtrlAltMask = kShiftMask | kCtrlMask | kAltMask;

// --- The window's key-code fields: the keys of the playback and bookmark
// commands. They never change while the program runs.
struct KeyCodes {
  static constexpr std::int16_t KeySeekBack = Digit(1);       // with Ctrl
  static constexpr std::int16_t KeySeekForward = Digit(2);    // with Ctrl
  static constexpr std::int16_t KeyPlayPause = Digit(3);      // with Ctrl
  static constexpr std::int16_t KeyStop = Digit(4);           // with Ctrl
  static constexpr std::int16_t KeyPlus = kVkPlus;            // Alt faster, Ctrl louder
  static constexpr std::int16_t KeyMinus = kVkMinus;          // Alt slower, Ctrl softer
  static constexpr std::int16_t KeyMarkPrevious = Digit(1);   // with Alt
  static constexpr std::int16_t KeyMarkNext = Digit(2);       // with Alt
  static constexpr std::int16_t KeyMarkAdd = Digit(3);        // with Alt
  static constexpr std::int16_t KeyMarkDeleteAll = Digit(4);  // with Alt
  static constexpr std::int16_t KeyMarkList = Digit(6);       // with Alt
};

}  // namespace orva::keys
