#include "common/runtime/text.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "common/runtime/vb_error.h"

namespace orva {
namespace {

struct InStrCase {
  const char* name;
  int start;
  const char* s;
  const char* find;
  int expected;
};

const InStrCase kInStrCases[] = {
    {"found_at_start", 1, "abcabc", "abc", 1},
    {"found_after_start", 2, "abcabc", "abc", 4},
    {"start_on_match", 4, "abcabc", "abc", 4},
    {"not_found", 1, "abcabc", "x", 0},
    {"case_sensitive", 1, "Index.htm", "INDEX", 0},
    {"start_past_end", 8, "abc", "c", 0},
    {"start_at_last", 3, "abc", "c", 3},
    {"empty_find_gives_start", 2, "abc", "", 2},
    {"empty_find_one_past_end", 4, "abc", "", 4},
    {"empty_find_beyond", 5, "abc", "", 0},
    {"empty_text", 1, "", "", 0},
    {"find_longer_than_text", 1, "ab", "abc", 0},
    {"counts_characters_not_bytes", 1, "perché.htm", ".htm", 7},
    {"start_counts_characters", 6, "èèèèè.è.", ".", 6},
    {"start_after_accents", 7, "èèèèè.è.", ".", 8},
};

TEST(TextTest, InStr) {
  for (const auto& c : kInStrCases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(InStr(c.start, c.s, c.find), c.expected);
  }
  EXPECT_EQ(InStr("file:///C:/x", "file:///"), 1);
}

const InStrCase kInStrRevCases[] = {
    {"last_occurrence", -1, "a\\b\\c", "\\", 4},
    {"not_found", -1, "abc", "/", 0},
    {"match_must_fit_before_start", 5, "abcabc", "bc", 2},
    {"match_ending_at_start", 6, "abcabc", "bc", 5},
    {"start_past_end", 7, "abc", "a", 0},
    {"empty_find_gives_start", 2, "abc", "", 2},
    {"empty_find_whole_text", -1, "abc", "", 3},
    {"empty_text", -1, "", "a", 0},
    {"counts_characters", -1, "città/perché/x", "/", 13},
};

TEST(TextTest, InStrRev) {
  for (const auto& c : kInStrRevCases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(InStrRev(c.s, c.find, c.start), c.expected);
  }
}

struct ReplaceCase {
  const char* name;
  const char* s;
  const char* find;
  const char* replacement;
  int start;
  int count;
  const char* expected;
};

const ReplaceCase kReplaceCases[] = {
    {"all", "a/b/c", "/", "\\", 1, -1, "a\\b\\c"},
    {"blank_for_escape", "Pag%201%20a", "%20", " ", 1, -1, "Pag 1 a"},
    {"count_limits", "aaaa", "a", "b", 1, 2, "bbaa"},
    {"count_zero", "aaaa", "a", "b", 1, 0, "aaaa"},
    {"result_begins_at_start", "abcabc", "b", "X", 3, -1, "caXc"},
    {"non_overlapping", "aaa", "aa", "b", 1, -1, "ba"},
    {"remove", "x.htm.htm", ".htm", "", 1, -1, "x"},
    {"empty_find", "abc", "", "x", 1, -1, "abc"},
    {"start_past_end", "abc", "a", "x", 4, -1, ""},
    {"empty_text", "", "a", "x", 1, -1, ""},
    {"double_backslash", "C:\\\\Libro\\\\Index.htm", "\\\\", "\\", 1, -1, "C:\\Libro\\Index.htm"},
    {"start_counts_characters", "èèab", "a", "A", 3, -1, "Ab"},
    {"case_sensitive", ".HTM.htm", ".htm", "", 1, -1, ".HTM"},
};

TEST(TextTest, Replace) {
  for (const auto& c : kReplaceCases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(Replace(c.s, c.find, c.replacement, c.start, c.count), c.expected);
  }
}

struct SliceCase {
  const char* name;
  std::function<std::string()> call;
  const char* expected;
};

const SliceCase kSliceCases[] = {
    {"mid_from", [] { return Mid("abcdef", 3); }, "cdef"},
    {"mid_length", [] { return Mid("abcdef", 2, 3); }, "bcd"},
    {"mid_length_past_end", [] { return Mid("abc", 2, 10); }, "bc"},
    {"mid_start_past_end", [] { return Mid("abc", 5, 1); }, ""},
    {"mid_zero_length", [] { return Mid("abc", 1, 0); }, ""},
    {"mid_characters", [] { return Mid("àèìòù", 2, 2); }, "èì"},
    {"left", [] { return Left("abcdef", 2); }, "ab"},
    {"left_too_long", [] { return Left("ab", 5); }, "ab"},
    {"left_characters", [] { return Left("città", 4); }, "citt"},
    {"right", [] { return Right("abcdef", 2); }, "ef"},
    {"right_too_long", [] { return Right("ab", 5); }, "ab"},
    {"right_characters", [] { return Right("così.htm", 5); }, "ì.htm"},
    {"right_zero", [] { return Right("abc", 0); }, ""},
    {"trim_blanks", [] { return Trim("  a b  "); }, "a b"},
    {"trim_keeps_tabs", [] { return Trim("\ta \r\n"); }, "\ta \r\n"},
    {"trim_all_blank", [] { return Trim("   "); }, ""},
    {"ltrim", [] { return LTrim("  a  "); }, "a  "},
    {"rtrim", [] { return RTrim("  a  "); }, "  a"},
};

TEST(TextTest, SlicesAndTrims) {
  for (const auto& c : kSliceCases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(c.call(), c.expected);
  }
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
    try {
      calls[i]();
      ADD_FAILURE() << "no error";
    } catch (const VbError& e) {
      EXPECT_EQ(e.Number(), vberr::kInvalidCall);
    }
  }
}

struct CaseCase {
  const char* name;
  const char* lower;
  const char* upper;
};

// Pairs that map both ways.
const CaseCase kCasePairs[] = {
    {"ascii_path", "cap01\\pag 1.htm", "CAP01\\PAG 1.HTM"},
    {"italian_accents", "àèéìòù", "ÀÈÉÌÒÙ"},
    {"latin1_letters", "ñöçåæøþ", "ÑÖÇÅÆØÞ"},
    {"windows_letters", "œšžÿ", "ŒŠŽŸ"},
    {"digits_and_signs", "1-2_3.%20", "1-2_3.%20"},
};

TEST(TextTest, UCaseAndLCaseMapWindowsLetters) {
  for (const auto& c : kCasePairs) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(UCase(c.lower), c.upper);
    EXPECT_EQ(LCase(c.upper), c.lower);
    EXPECT_TRUE(EqualsNoCase(c.lower, c.upper));
  }
}

// Characters outside the Windows letters stay as they are either way.
const CaseCase kUnchanged[] = {
    {"sharp_s", "ß", "ß"}, {"micro", "µ", "µ"},        {"division_and_times", "÷×", "÷×"},
    {"greek", "αβ", "αβ"}, {"cyrillic", "дом", "дом"}, {"malformed_bytes", "a\xFF\xC3", "A\xFF\xC3"},
};

TEST(TextTest, OtherCharactersKeepTheirCase) {
  for (const auto& c : kUnchanged) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(UCase(c.lower), c.upper);
  }
  EXPECT_EQ(LCase("ΑΒ"), "ΑΒ");
}

TEST(TextTest, AsciiUpperLeavesOtherLettersAlone) { EXPECT_EQ(AsciiUpper("index.htm è"), "INDEX.HTM è"); }

TEST(TextTest, EqualsNoCase) {
  EXPECT_TRUE(EqualsNoCase("", ""));
  EXPECT_FALSE(EqualsNoCase("abc", "abcd"));
  EXPECT_FALSE(EqualsNoCase("α", "Α"));        // Greek is not folded
  EXPECT_FALSE(EqualsNoCase("\xFF", "\xFE"));  // distinct malformed bytes stay distinct
  EXPECT_FALSE(EqualsNoCase("a\xC3", "a\xC3\xA0"));
}

TEST(TextTest, Len) {
  EXPECT_EQ(Len(""), 0);
  EXPECT_EQ(Len("abc"), 3);
  EXPECT_EQ(Len("perché"), 6);
  EXPECT_EQ(Len("a\xFF"), 2);
}

}  // namespace
}  // namespace orva
