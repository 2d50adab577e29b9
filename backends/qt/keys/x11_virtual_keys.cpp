#include "backends/qt/keys/x11_virtual_keys.h"

#include <array>
#include <vector>

#include "common/runtime/text.h"

namespace orva::x11keys {

namespace {

// X keycodes of a standard PC keyboard (evdev code + 8).
constexpr std::uint32_t kKeycodeDigit1 = 10;  // 1 to 9 are 10 to 18
constexpr std::uint32_t kKeycodeDigit0 = 19;
constexpr std::uint32_t kKeycodeMinus = 20;
constexpr std::uint32_t kKeycodeEqual = 21;

// Keysyms (X11/keysymdef.h).
namespace xk {
constexpr std::uint32_t kSpace = 0x20;
constexpr std::uint32_t kPlus = 0x2b;
constexpr std::uint32_t kMinus = 0x2d;
constexpr std::uint32_t kEqual = 0x3d;
constexpr std::uint32_t kUnderscore = 0x5f;
constexpr std::uint32_t kBackSpace = 0xff08;
constexpr std::uint32_t kTab = 0xff09;
constexpr std::uint32_t kReturn = 0xff0d;
constexpr std::uint32_t kEscape = 0xff1b;
constexpr std::uint32_t kHome = 0xff50;  // Left, Up, Right, Down, Prior, Next, End follow
constexpr std::uint32_t kEnd = 0xff57;
constexpr std::uint32_t kInsert = 0xff63;
constexpr std::uint32_t kKpEnter = 0xff8d;
constexpr std::uint32_t kKpHome = 0xff95;  // KP_Left ... KP_End, KP_Begin, KP_Insert, KP_Delete follow
constexpr std::uint32_t kKpDelete = 0xff9f;
constexpr std::uint32_t kKpMultiply = 0xffaa;
constexpr std::uint32_t kKpAdd = 0xffab;
constexpr std::uint32_t kKpSubtract = 0xffad;
constexpr std::uint32_t kKpDecimal = 0xffae;
constexpr std::uint32_t kKpDivide = 0xffaf;
constexpr std::uint32_t kKp0 = 0xffb0;  // to KP_9 0xffb9
constexpr std::uint32_t kF1 = 0xffbe;   // to F12 0xffc9
constexpr std::uint32_t kShiftL = 0xffe1;
constexpr std::uint32_t kShiftR = 0xffe2;
constexpr std::uint32_t kControlL = 0xffe3;
constexpr std::uint32_t kControlR = 0xffe4;
constexpr std::uint32_t kMetaL = 0xffe7;
constexpr std::uint32_t kAltR = 0xffea;
constexpr std::uint32_t kDelete = 0xffff;
}  // namespace xk

// Windows codes of the navigation keys, in the keysym order Home, Left, Up,
// Right, Down, Prior, Next, End.
constexpr std::array<std::int16_t, 8> kNavigationKeys = {36, 37, 38, 39, 40, 33, 34, 35};
// The keypad's navigation keysyms run Home, Left, Up, Right, Down, Prior,
// Next, End, Begin, Insert, Delete.
constexpr std::array<std::int16_t, 11> kKeypadNavigationKeys = {36, 37, 38, 39, 40, 33, 34, 35, 12, 45, 46};

constexpr std::int16_t kVkNumpad0 = 96;
constexpr std::int16_t kVkMultiply = 106;
constexpr std::int16_t kVkAdd = 107;
constexpr std::int16_t kVkSubtract = 109;
constexpr std::int16_t kVkDecimal = 110;
constexpr std::int16_t kVkDivide = 111;
constexpr std::int16_t kVkF1 = 112;
constexpr std::int16_t kVkOemPlus = 187;
constexpr std::int16_t kVkOemMinus = 189;

std::optional<std::int16_t> KeypadKey(std::uint32_t keysym) {
  if (keysym >= xk::kKp0 && keysym <= xk::kKp0 + 9)
    return static_cast<std::int16_t>(kVkNumpad0 + (keysym - xk::kKp0));
  switch (keysym) {
    case xk::kKpAdd: return kVkAdd;
    case xk::kKpSubtract: return kVkSubtract;
    case xk::kKpMultiply: return kVkMultiply;
    case xk::kKpDivide: return kVkDivide;
    case xk::kKpDecimal: return kVkDecimal;
    case xk::kKpEnter: return 13;
    default: break;
  }
  if (keysym >= xk::kKpHome && keysym <= xk::kKpDelete) return kKeypadNavigationKeys[keysym - xk::kKpHome];
  return std::nullopt;
}

}  // namespace

std::int16_t VirtualKey(std::uint32_t keycode, std::uint32_t keysym) {
  if (keysym == xk::kShiftL || keysym == xk::kShiftR) return kVkShift;
  if (keysym == xk::kControlL || keysym == xk::kControlR) return kVkControl;
  if (keysym >= xk::kMetaL && keysym <= xk::kAltR) return kVkMenu;  // Meta and Alt, left and right
  // The keypad before the digits: its keys are other keys than the main
  // row's, whatever they type.
  if (const auto keypad = KeypadKey(keysym)) return *keypad;
  if (keycode >= kKeycodeDigit1 && keycode < kKeycodeDigit0)
    return static_cast<std::int16_t>('1' + (keycode - kKeycodeDigit1));
  if (keycode == kKeycodeDigit0) return '0';
  if (keysym >= 'a' && keysym <= 'z') return static_cast<std::int16_t>(keysym - 'a' + 'A');
  if (keysym >= 'A' && keysym <= 'Z') return static_cast<std::int16_t>(keysym);
  switch (keysym) {
    case xk::kEqual:
    case xk::kPlus: return kVkOemPlus;
    case xk::kMinus:
    case xk::kUnderscore: return kVkOemMinus;
    case xk::kEscape: return 27;
    case xk::kReturn: return 13;
    case xk::kTab: return 9;
    case xk::kBackSpace: return 8;
    case xk::kSpace: return 32;
    case xk::kDelete: return 46;
    case xk::kInsert: return 45;
    default: break;
  }
  if (keysym >= xk::kF1 && keysym < xk::kF1 + 12)
    return static_cast<std::int16_t>(kVkF1 + (keysym - xk::kF1));
  if (keysym >= xk::kHome && keysym <= xk::kEnd) return kNavigationKeys[keysym - xk::kHome];
  return 0;
}

std::int16_t ModifierMask(bool shift, bool ctrl, bool alt) {
  return static_cast<std::int16_t>((shift ? 1 : 0) | (ctrl ? 2 : 0) | (alt ? 4 : 0));
}

std::uint32_t X11State(std::int16_t mask) {
  constexpr std::uint32_t kShiftBit = 1, kControlBit = 4, kMod1Bit = 8;
  return ((mask & 1) ? kShiftBit : 0) | ((mask & 2) ? kControlBit : 0) | ((mask & 4) ? kMod1Bit : 0);
}

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The US keyboard's keycodes of the letters, a to z.
constexpr std::array<std::uint32_t, 26> kLetterKeycodes = {
    38, 56, 54, 40, 26, 41, 42, 43, 31, 44, 45, 46, 58, 57, 32, 33, 24, 27, 39, 28, 30, 55, 25, 53, 29, 52};
// What Shift makes of the digits 0 to 9 on a US keyboard.
constexpr std::array<std::uint32_t, 10> kShiftedDigits = {')', '!', '@', '#', '$', '%', '^', '&', '*', '('};
// The keypad's keycodes of the digits 0 to 9.
constexpr std::array<std::uint32_t, 10> kKeypadKeycodes = {90, 87, 88, 89, 83, 84, 85, 79, 80, 81};

// The key part of a script key, Shift taken into account.
bool ParseKeyPart(const std::string& name, bool shift, ScriptKey& key) {
  auto set = [&](std::uint32_t keycode, std::uint32_t keysym) {
    key.keycode = keycode;
    key.keysym = keysym;
    return true;
  };
  // The names come in capitals (AsciiUpper): the C library's case rules
  // follow the reader's locale, where "i" need not be the capital of "I".
  if (name.size() == 1 && IsDigit(name[0])) {
    const int digit = name[0] - '0';
    const std::uint32_t keycode =
        digit == 0 ? kKeycodeDigit0 : kKeycodeDigit1 + static_cast<std::uint32_t>(digit) - 1;
    return set(keycode,
               shift ? kShiftedDigits[static_cast<std::size_t>(digit)] : static_cast<std::uint32_t>(name[0]));
  }
  if (name.size() == 1 && name[0] >= 'A' && name[0] <= 'Z') {
    const auto index = static_cast<std::size_t>(name[0] - 'A');
    return set(kLetterKeycodes[index], static_cast<std::uint32_t>(shift ? name[0] : name[0] - 'A' + 'a'));
  }
  if (name == "PLUS" || name == "=") return set(kKeycodeEqual, shift ? xk::kPlus : xk::kEqual);
  if (name == "MINUS" || name == "-") return set(kKeycodeMinus, shift ? xk::kUnderscore : xk::kMinus);
  if (name == "ESC" || name == "ESCAPE") return set(9, xk::kEscape);
  if (name == "ENTER" || name == "RETURN") return set(36, xk::kReturn);
  if (name == "DELETE" || name == "DEL") return set(119, xk::kDelete);
  if (name == "TAB") return set(23, xk::kTab);
  if (name == "SPACE") return set(65, xk::kSpace);
  if (name == "BACKSPACE") return set(22, xk::kBackSpace);
  if (name.size() >= 2 && name[0] == 'F' && name.find_first_not_of("0123456789", 1) == std::string::npos &&
      name.size() <= 3) {
    const int n = std::stoi(name.substr(1));
    if (n < 1 || n > 12) return false;
    const std::uint32_t keycode =
        n <= 10 ? 66 + static_cast<std::uint32_t>(n) : 84 + static_cast<std::uint32_t>(n);
    return set(keycode, xk::kF1 + static_cast<std::uint32_t>(n) - 1);
  }
  if (name.rfind("KP", 0) == 0) {
    key.keypad = true;
    const std::string rest = name.substr(name.size() > 2 && name[2] == '_' ? 3 : 2);
    if (rest.size() == 1 && IsDigit(rest[0])) {
      const auto digit = static_cast<std::size_t>(rest[0] - '0');
      return set(kKeypadKeycodes[digit], xk::kKp0 + static_cast<std::uint32_t>(digit));
    }
    if (rest == "PLUS" || rest == "ADD") return set(86, xk::kKpAdd);
    if (rest == "MINUS" || rest == "SUBTRACT") return set(82, xk::kKpSubtract);
  }
  return false;
}

}  // namespace

std::optional<ScriptKey> ParseScriptKey(std::string_view text) {
  // Split at "+", keeping a "+" that is itself the key ("Ctrl++" is not
  // written; "plus" is).
  std::vector<std::string> parts;
  std::size_t start = 0;
  while (start <= text.size()) {
    const std::size_t plus = text.find('+', start);
    const std::size_t end = plus == std::string_view::npos ? text.size() : plus;
    parts.push_back(AsciiUpper(text.substr(start, end - start)));
    if (plus == std::string_view::npos) break;
    start = plus + 1;
  }
  if (parts.empty() || parts.back().empty()) return std::nullopt;

  ScriptKey key;
  bool shift = false, ctrl = false, alt = false;
  for (std::size_t i = 0; i + 1 < parts.size(); ++i) {
    bool* flag = parts[i] == "SHIFT"                             ? &shift
                 : (parts[i] == "CTRL" || parts[i] == "CONTROL") ? &ctrl
                 : parts[i] == "ALT"                             ? &alt
                                                                 : nullptr;
    if (flag == nullptr || *flag) return std::nullopt;  // unknown or repeated
    *flag = true;
  }
  if (!ParseKeyPart(parts.back(), shift, key)) return std::nullopt;
  key.shift = ModifierMask(shift, ctrl, alt);
  key.virtualKey = VirtualKey(key.keycode, key.keysym);
  return key;
}

}  // namespace orva::x11keys
