// Physical keys to the key map's codes, and the script's key names.

#include "backends/qt/keys/x11_virtual_keys.h"

#include <gtest/gtest.h>

namespace orva::x11keys {
namespace {

// The rows a wrong rule would break: keys found by keycode whatever the
// layout types on them, keys found by keysym wherever the layout puts them.
TEST(VirtualKey, FollowsTheKeyOrWhatItTypesAsWindowsDoes) {
  const struct {
    const char* name;
    std::uint32_t keycode, keysym;
    std::int16_t virtualKey;
  } cases[] = {
      {"Digit0", 19, '0', 48},           {"Digit1French", 10, '&', 49},
      {"LetterZGerman", 29, 'z', 90},  // where the US keyboard has Y
      {"ShiftMinusKey", 20, '_', 189},   {"PlusKeyItalian", 35, '+', 187},
      {"MinusKeyItalian", 61, '-', 189}, {"KeypadPlus", 86, 0xffab, 107},
      {"KeypadEnter", 104, 0xff8d, 13},  {"Keypad1NumLockOff", 87, 0xff9c, 35},  // End
      {"PageDown", 117, 0xff56, 34},     {"UnknownKey", 94, 0x3c, 0},
  };
  for (const auto& c : cases) EXPECT_EQ(VirtualKey(c.keycode, c.keysym), c.virtualKey) << c.name;
  EXPECT_EQ(X11State(7), 1u | 4u | 8u);
}

// A script's key is what a US keyboard sends for it, and maps back to its
// code; virtualKey 0 marks a name that is refused.
TEST(ScriptKeys, NamesReachTheCodesTheirKeysMapTo) {
  const struct {
    const char* text;
    std::int16_t virtualKey, shift;
    std::uint32_t keysym;
  } cases[] = {
      {"ctrl+I", 73, 2, 'i'},
      {"Shift+a", 65, 1, 'A'},
      {"Ctrl+Shift+1", 49, 3, '!'},
      {"Alt+plus", 187, 4, '='},
      {"Ctrl+-", 189, 2, '-'},
      {"Shift+Ctrl+Alt+D", 68, 7, 'D'},
      {"Alt+F1", 112, 4, 0xffbe},
      {"F12", 123, 0, 0xffc9},
      {"Esc", 27, 0, 0xff1b},
      {"Ctrl+KP1", 97, 2, 0xffb1},
      {"", 0, 0, 0},
      {"Ctrl+", 0, 0, 0},
      {"Hyper+2", 0, 0, 0},
      {"Ctrl+Ctrl+2", 0, 0, 0},
      {"F13", 0, 0, 0},
      {"F0", 0, 0, 0},
      {"KP+", 0, 0, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    const auto key = ParseScriptKey(c.text);
    ASSERT_EQ(key.has_value(), c.virtualKey != 0);
    if (!key) continue;
    EXPECT_EQ(key->virtualKey, c.virtualKey);
    EXPECT_EQ(key->shift, c.shift);
    EXPECT_EQ(key->keysym, c.keysym);
    EXPECT_EQ(VirtualKey(key->keycode, key->keysym), c.virtualKey);
  }
}

}  // namespace
}  // namespace orva::x11keys
