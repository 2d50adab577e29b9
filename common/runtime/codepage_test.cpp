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

// Texts that survive the trip both ways, including every kind of high byte.
const CodepageCase kRoundTrips[] = {
    {"ascii", "C:\\Libro\\Cap1.htm", "C:\\Libro\\Cap1.htm"},
    {"empty", "", ""},
    {"latin1_letters", "perché città à é ñ ö ÿ", "perch\xE9 citt\xE0 \xE0 \xE9 \xF1 \xF6 \xFF"},
    {"euro", "5 €", "5 \x80"},
    {"windows_letters", "Œœ Šš Žž Ÿ ƒ", "\x8C\x9C \x8A\x9A \x8E\x9E \x9F \x83"},
    {"typographic_quotes", "‘a’ “b” – — … •",
     "\x91"
     "a\x92 \x93"
     "b\x94 \x96 \x97 \x85 \x95"},
    {"undefined_bytes", "\u0081\u008D\u008F\u0090\u009D", "\x81\x8D\x8F\x90\x9D"},
    {"nbsp_and_degree", "\u00A0°", "\xA0\xB0"},
    {"nul_inside", std::string("a\0b", 3), std::string("a\0b", 3)},
};

TEST(CodepageTest, RoundTripsBothWays) {
  for (const auto& c : kRoundTrips) {
    SCOPED_TRACE(c.name);
    bool lossy = false;
    EXPECT_EQ(Utf8ToCp1252(c.utf8, &lossy), c.cp1252);
    EXPECT_FALSE(lossy);
    EXPECT_EQ(Cp1252ToUtf8(c.cp1252), c.utf8);
    EXPECT_TRUE(FitsCp1252(c.utf8));
  }
}

TEST(CodepageTest, EveryByteSurvivesTheRoundTrip) {
  std::string all;
  for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
  const std::string utf8 = Cp1252ToUtf8(all);
  bool lossy = false;
  EXPECT_EQ(Utf8ToCp1252(utf8, &lossy), all);
  EXPECT_FALSE(lossy);
}

// Characters the code page lacks and malformed UTF-8 become "?" each.
const CodepageCase kLossy[] = {
    {"greek", "αβ", "??"},
    {"cjk_inside_text", "a中b", "a?b"},
    {"emoji_four_bytes", "x😀y", "x?y"},
    {"c1_control_not_undefined", "\u0080", "?"},
    {"stray_continuation_byte",
     "a\x80"
     "b",
     "a?b"},
    {"truncated_sequence", "a\xC3", "a?"},
    {"overlong_slash", "\xC0\xAF", "??"},
    {"encoded_surrogate", "\xED\xA0\x80", "???"},
    {"replacement_char_itself", "\uFFFD", "?"},
};

TEST(CodepageTest, LossyTextBecomesQuestionMarks) {
  for (const auto& c : kLossy) {
    SCOPED_TRACE(c.name);
    bool lossy = false;
    EXPECT_EQ(Utf8ToCp1252(c.utf8, &lossy), c.cp1252);
    EXPECT_TRUE(lossy);
    EXPECT_FALSE(FitsCp1252(c.utf8));
    EXPECT_EQ(Utf8ToCp1252(c.utf8), c.cp1252);  // no flag asked for
  }
}

TEST(CodepageTest, LossyFlagIsNotClearedByLaterText) {
  bool lossy = true;
  Utf8ToCp1252("abc", &lossy);
  EXPECT_TRUE(lossy);
}

}  // namespace
}  // namespace orva
