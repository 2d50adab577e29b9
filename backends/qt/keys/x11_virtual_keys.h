#pragma once
// Physical keys under X11 (and Wayland, which reports the same codes) as the
// Windows virtual-key codes the key map is written in. Standard C++ only, so
// it is tested without a display.
//
// An X key event carries the key's keycode (the physical key, evdev code + 8)
// and its keysym (what the layout makes of it with the modifiers held: Shift+1
// gives "exclam" on a US keyboard, "1" on a French one). The rules:
//   - the main row's digit keys by keycode: 48 to 57 whatever Shift holds and
//     whatever the layout types on them;
//   - letters by keysym, 65 to 90, so a reader's own layout decides which
//     key is "I";
//   - the keys that type "=" or "+" (187) and "-" or "_" (189) on the main
//     keyboard, by keysym, as Windows names them in every layout;
//   - the numeric keypad by keysym: digits 96 to 105, + 107, - 109, * 106,
//     / 111, decimal 110, Enter 13, and its navigation keys with Num Lock off;
//   - F1 to F12 112 to 123, Esc 27, Enter 13, Delete 46, and the other
//     editing and navigation keys;
//   - Shift 16, Ctrl 17, Alt 18 for the modifier keys themselves.
// Any other key is 0.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace orva::x11keys {

// Windows virtual-key codes of the modifier keys themselves.
inline constexpr std::int16_t kVkShift = 16;
inline constexpr std::int16_t kVkControl = 17;
inline constexpr std::int16_t kVkMenu = 18;

std::int16_t VirtualKey(std::uint32_t keycode, std::uint32_t keysym);

// The key map's modifier mask: Shift 1, Ctrl 2, Alt 4.
std::int16_t ModifierMask(bool shift, bool ctrl, bool alt);

// X's modifier state bits for these modifiers (Shift, Control, Mod1).
std::uint32_t X11State(std::int16_t mask);

// A key combination written as the automation script writes it: modifiers
// "Shift", "Ctrl" and "Alt" (any letter case, any order) joined by "+" to one
// key: a digit or letter, "plus" or "=" and "minus" or "-" (the main
// keyboard's keys), "F1" to "F12", "Esc", "Enter", "Delete", "Tab", "Space",
// "Backspace", "KP0" to "KP9", "KPplus", "KPminus". Examples: "Ctrl+2",
// "Alt+plus", "Ctrl+Shift+1", "F1", "KP1".
struct ScriptKey {
  // What a US keyboard under X reports for it, Shift included.
  std::uint32_t keycode = 0;
  std::uint32_t keysym = 0;
  bool keypad = false;
  std::int16_t shift = 0;  // the key map's mask
  // The virtual-key code that keycode and keysym map to.
  std::int16_t virtualKey = 0;
};
std::optional<ScriptKey> ParseScriptKey(std::string_view text);

}  // namespace orva::x11keys
