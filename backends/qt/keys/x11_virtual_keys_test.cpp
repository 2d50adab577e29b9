// Physical keys to the key map's codes, and the script's key names.

#include "backends/qt/keys/x11_virtual_keys.h"

#include <gtest/gtest.h>

namespace orva::x11keys {
namespace {

struct KeyCase {
  const char* name;
  std::uint32_t keycode;
  std::uint32_t keysym;
  std::int16_t virtualKey;
};

std::ostream& operator<<(std::ostream& out, const KeyCase& c) { return out << c.name; }

const KeyCase kKeys[] = {
    {"Digit1", 10, '1', 49},
    {"Digit9", 18, '9', 57},
    {"Digit0", 19, '0', 48},
    // Shift changes the keysym, not the key: Ctrl+Shift+1 is still 49.
    {"ShiftDigit1Us", 10, '!', 49},
    {"ShiftDigit0Italian", 19, '=', 48},
    // A French keyboard types "&" on the 1 key without Shift.
    {"Digit1French", 10, '&', 49},
    {"LetterI", 31, 'i', 73},
    {"ShiftLetterI", 31, 'I', 73},
    {"LetterA", 38, 'a', 65},
    {"LetterZ", 52, 'z', 90},
    // A German keyboard has Z where the US one has Y.
    {"LetterZGerman", 29, 'z', 90},
    {"F1", 67, 0xffbe, 112},
    {"F12", 96, 0xffc9, 123},
    {"Escape", 9, 0xff1b, 27},
    {"Return", 36, 0xff0d, 13},
    {"Delete", 119, 0xffff, 46},
    {"EqualKey", 21, '=', 187},
    {"ShiftEqualKey", 21, '+', 187},
    {"MinusKey", 20, '-', 189},
    {"ShiftMinusKey", 20, '_', 189},
    // An Italian keyboard types + and - on other keys than a US one.
    {"PlusKeyItalian", 35, '+', 187},
    {"MinusKeyItalian", 61, '-', 189},
    {"Keypad1", 87, 0xffb1, 97},
    {"Keypad0", 90, 0xffb0, 96},
    {"Keypad9", 81, 0xffb9, 105},
    {"KeypadPlus", 86, 0xffab, 107},
    {"KeypadMinus", 82, 0xffad, 109},
    {"KeypadEnter", 104, 0xff8d, 13},
    // With Num Lock off the keypad's 1 is End.
    {"Keypad1NumLockOff", 87, 0xff9c, 35},
    {"ShiftKey", 50, 0xffe1, 16},
    {"ControlKey", 37, 0xffe3, 17},
    {"AltKey", 64, 0xffe9, 18},
    {"Left", 113, 0xff51, 37},
    {"PageDown", 117, 0xff56, 34},
    {"UnknownKey", 94, 0x3c, 0},
};

class X11KeyTest : public ::testing::TestWithParam<KeyCase> {};

TEST_P(X11KeyTest, MapsToTheWindowsCode) {
  const KeyCase& c = GetParam();
  EXPECT_EQ(VirtualKey(c.keycode, c.keysym), c.virtualKey);
}

INSTANTIATE_TEST_SUITE_P(Keys, X11KeyTest, ::testing::ValuesIn(kKeys),
                         [](const auto& p) { return std::string(p.param.name); });

TEST(ModifierMask, IsTheSumOfShiftCtrlAndAlt) {
  EXPECT_EQ(ModifierMask(false, false, false), 0);
  EXPECT_EQ(ModifierMask(true, false, false), 1);
  EXPECT_EQ(ModifierMask(false, true, false), 2);
  EXPECT_EQ(ModifierMask(false, false, true), 4);
  EXPECT_EQ(ModifierMask(true, true, false), 3);
  EXPECT_EQ(ModifierMask(false, true, true), 6);
  EXPECT_EQ(ModifierMask(true, true, true), 7);
  EXPECT_EQ(X11State(7), 1u | 4u | 8u);
}

struct ScriptCase {
  const char* text;
  std::int16_t virtualKey;
  std::int16_t shift;
};

TEST(ScriptKeys, NamesReachTheCodesTheirKeysMapTo) {
  const ScriptCase cases[] = {
      {"Ctrl+2", 50, 2},     {"ctrl+i", 73, 2},   {"Alt+plus", 187, 4},    {"Alt+minus", 189, 4},
      {"Ctrl+=", 187, 2},    {"Ctrl+-", 189, 2},  {"Ctrl+Shift+1", 49, 3}, {"Shift+Ctrl+Alt+D", 68, 7},
      {"F1", 112, 0},        {"Alt+F1", 112, 4},  {"Esc", 27, 0},          {"Enter", 13, 0},
      {"Delete", 46, 0},     {"Ctrl+KP1", 97, 2}, {"Alt+KPplus", 107, 4},  {"Ctrl+KP_minus", 109, 2},
      {"Ctrl+Alt+9", 57, 6}, {"Ctrl+0", 48, 2},   {"F12", 123, 0},
  };
  for (const ScriptCase& c : cases) {
    SCOPED_TRACE(c.text);
    const auto key = ParseScriptKey(c.text);
    ASSERT_TRUE(key.has_value());
    EXPECT_EQ(key->virtualKey, c.virtualKey);
    EXPECT_EQ(key->shift, c.shift);
    EXPECT_EQ(VirtualKey(key->keycode, key->keysym), c.virtualKey);
  }
}

TEST(ScriptKeys, ShiftChangesTheKeysymAsAKeyboardDoes) {
  EXPECT_EQ(ParseScriptKey("Ctrl+Shift+1")->keysym, static_cast<std::uint32_t>('!'));
  EXPECT_EQ(ParseScriptKey("Shift+a")->keysym, static_cast<std::uint32_t>('A'));
  EXPECT_EQ(ParseScriptKey("Alt+plus")->keysym, static_cast<std::uint32_t>('='));
  EXPECT_TRUE(ParseScriptKey("KP1")->keypad);
}

TEST(ScriptKeys, MistakesAreRefused) {
  for (const char* text :
       {"", "Ctrl+", "Ctrl", "Hyper+2", "Ctrl+Ctrl+2", "F13", "F0", "Ctrl+22", "KP+", "+"}) {
    SCOPED_TRACE(text);
    EXPECT_FALSE(ParseScriptKey(text).has_value());
  }
}

}  // namespace
}  // namespace orva::x11keys
