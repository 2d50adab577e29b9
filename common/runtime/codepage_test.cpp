#include "common/runtime/codepage.h"

#include <gtest/gtest.h>

#include <string>

namespace orva {
namespace {

struct CodepageCase {
  const char* name;
  std::string utf8;
  std::string cp1252;
};

TEST(CodepageTest, MapsWindowsBytesBothWays) {
  const CodepageCase cases[] = {
      {"latin1_letters", "perché città ñ ÿ", "perch\xE9 citt\xE0 \xF1 \xFF"},
      {"euro", "5 €", "5 \x80"},
      {"windows_letters", "Œœ Šš Žž Ÿ ƒ", "\x8C\x9C \x8A\x9A \x8E\x9E \x9F \x83"},
      {"typographic_quotes", "‘a’ “b” – — … •",
       "\x91"
       "a\x92 \x93"
       "b\x94 \x96 \x97 \x85 \x95"},
      {"undefined_bytes", "\u0081\u008D\u008F\u0090\u009D", "\x81\x8D\x8F\x90\x9D"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    bool lossy = false;
    EXPECT_EQ(Utf8ToCp1252(c.utf8, &lossy), c.cp1252);
    EXPECT_FALSE(lossy);
    EXPECT_EQ(Cp1252ToUtf8(c.cp1252), c.utf8);
    EXPECT_TRUE(FitsCp1252(c.utf8));
  }
  std::string all;
  for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
  bool lossy = false;
  EXPECT_EQ(Utf8ToCp1252(Cp1252ToUtf8(all), &lossy), all);
  EXPECT_FALSE(lossy);
}

// Characters the code page lacks and malformed UTF-8 become "?" each.
TEST(CodepageTest, LossyTextBecomesQuestionMarks) {
  const CodepageCase cases[] = {
      {"greek", "αβ", "??"},
      {"emoji_four_bytes", "x😀y", "x?y"},
      {"c1_control_not_undefined", "\u0080", "?"},
      {"stray_continuation_byte",
       "a\x80"
       "b",
       "a?b"},
      {"truncated_sequence", "a\xC3", "a?"},
      {"overlong_slash", "\xC0\xAF", "??"},
      {"encoded_surrogate", "\xED\xA0\x80", "???"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    bool lossy = false;
    EXPECT_EQ(Utf8ToCp1252(c.utf8, &lossy), c.cp1252);
    EXPECT_TRUE(lossy);
    EXPECT_FALSE(FitsCp1252(c.utf8));
    Utf8ToCp1252("abc", &lossy);  // later text that fits does not clear the flag
    EXPECT_TRUE(lossy);
  }
}

}  // namespace
}  // namespace orva
