#include "common/runtime/text.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "fakes/error_number.h"

#include "common/runtime/vb_error.h"

namespace orva {
namespace {

struct SearchCase {
  const char* name;
  int start;
  const char* s;
  const char* find;
  int expected;
};

TEST(TextTest, InStr) {
  const SearchCase cases[] = {
      {"found_after_start", 2, "abcabc", "abc", 4},
      {"not_found", 1, "abcabc", "x", 0},
      {"case_sensitive", 1, "Index.htm", "INDEX", 0},
      {"start_past_end", 8, "abc", "c", 0},
      {"empty_find_gives_start", 2, "abc", "", 2},
      {"empty_find_beyond", 5, "abc", "", 0},
      {"empty_text", 1, "", "", 0},
      {"counts_characters_not_bytes", 1, "perché.htm", ".htm", 7},
      {"start_after_accents", 7, "èèèèè.è.", ".", 8},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(InStr(c.start, c.s, c.find), c.expected);
  }
  EXPECT_EQ(InStr("file:///C:/x", "file:///"), 1);
}

TEST(TextTest, InStrRev) {
  const SearchCase cases[] = {
      {"last_occurrence", -1, "a\\b\\c", "\\", 4},
      {"not_found", -1, "abc", "/", 0},
      {"match_must_fit_before_start", 5, "abcabc", "bc", 2},
      {"match_ending_at_start", 6, "abcabc", "bc", 5},
      {"start_past_end", 7, "abc", "a", 0},
      {"empty_find_gives_start", 2, "abc", "", 2},
      {"counts_characters", -1, "città/perché/x", "/", 13},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(InStrRev(c.s, c.find, c.start), c.expected);
  }
}

TEST(TextTest, Replace) {
  const struct {
    const char* name;
    const char* s;
    const char* find;
    const char* replacement;
    int start;
    int count;
    const char* expected;
  } cases[] = {
      {"blank_for_escape", "Pag%201%20a", "%20", " ", 1, -1, "Pag 1 a"},
      {"count_limits", "aaaa", "a", "b", 1, 2, "bbaa"},
      {"result_begins_at_start", "abcabc", "b", "X", 3, -1, "caXc"},
      {"non_overlapping", "aaa", "aa", "b", 1, -1, "ba"},
      {"empty_find", "abc", "", "x", 1, -1, "abc"},
      {"start_past_end", "abc", "a", "x", 4, -1, ""},
      {"start_counts_characters", "èèab", "a", "A", 3, -1, "Ab"},
      {"case_sensitive", ".HTM.htm", ".htm", "", 1, -1, ".HTM"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(Replace(c.s, c.find, c.replacement, c.start, c.count), c.expected);
  }
}

TEST(TextTest, SlicesAndTrims) {
  const struct {
    const char* name;
    std::function<std::string()> call;
    const char* expected;
  } cases[] = {
      {"mid_from", [] { return Mid("abcdef", 3); }, "cdef"},
      {"mid_length_past_end", [] { return Mid("abc", 2, 10); }, "bc"},
      {"mid_characters", [] { return Mid("àèìòù", 2, 2); }, "èì"},
      {"left_too_long", [] { return Left("ab", 5); }, "ab"},
      {"left_characters", [] { return Left("città", 4); }, "citt"},
      {"right_characters", [] { return Right("così.htm", 5); }, "ì.htm"},
      {"trim_keeps_tabs", [] { return Trim(" \ta \r\n "); }, "\ta \r\n"},
      {"trim_all_blank", [] { return Trim("   "); }, ""},
      {"ltrim", [] { return LTrim("  a  "); }, "a  "},
      {"rtrim", [] { return RTrim("  a  "); }, "  a"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(c.call(), c.expected);
  }
  EXPECT_EQ(Len("perché"), 6);
  EXPECT_EQ(Len("a\xFF"), 2);
}

TEST(TextTest, ArgumentsOutOfRangeAreError5) {
  const std::function<void()> calls[] = {
      [] { InStr(0, "abc", "a"); },
      [] { InStrRev("abc", "a", 0); },
      [] { InStrRev("abc", "a", -2); },
      [] { Replace("abc", "a", "b", 0); },
      [] { Replace("abc", "a", "b", 1, -2); },
      [] { Mid("abc", 0); },
      [] { Mid("abc", 1, -1); },
      [] { Left("abc", -1); },
      [] { Right("abc", -1); },
  };
  for (std::size_t i = 0; i < std::size(calls); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(ErrorNumberOf(calls[i]), vberr::kInvalidCall);
  }
}

TEST(TextTest, UCaseAndLCaseMapWindowsLettersOnly) {
  const struct {
    const char* name;
    const char* lower;
    const char* upper;
  } cases[] = {
      {"ascii_path", "cap01\\pag 1.htm", "CAP01\\PAG 1.HTM"},
      {"italian_accents", "àèéìòù", "ÀÈÉÌÒÙ"},
      {"latin1_letters", "ñöçåæøþ", "ÑÖÇÅÆØÞ"},
      {"windows_letters", "œšžÿ", "ŒŠŽŸ"},
      {"sharp_s_and_micro", "ßµ", "ßµ"},
      {"greek_is_not_folded", "αβ", "αβ"},
      {"malformed_bytes", "a\xFF\xC3", "A\xFF\xC3"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(UCase(c.lower), c.upper);
    EXPECT_EQ(LCase(c.upper), c.lower);
  }
  EXPECT_EQ(LCase("ΑΒ"), "ΑΒ");
  EXPECT_FALSE(EqualsNoCase("α", "Α"));
  EXPECT_TRUE(EqualsNoCase("città", "CITTÀ"));
  EXPECT_FALSE(EqualsNoCase("abc", "abcd"));
  EXPECT_FALSE(EqualsNoCase("\xFF", "\xFE"));  // distinct malformed bytes stay distinct
  EXPECT_FALSE(EqualsNoCase("a\xC3", "a\xC3\xA0"));
}

TEST(TextTest, AsciiCaseLeavesOtherLettersAlone) {
  EXPECT_EQ(AsciiUpper("index.htm è"), "INDEX.HTM è");
  EXPECT_TRUE(AsciiEqualsNoCase("hkey_Current_User", "HKEY_CURRENT_USER"));
  EXPECT_FALSE(AsciiEqualsNoCase("è", "È"));
  EXPECT_FALSE(AsciiEqualsNoCase("HKCU", "HKCU2"));
}

}  // namespace
}  // namespace orva
