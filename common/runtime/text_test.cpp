#include "common/runtime/text.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "fakes/error_number.h"

#include "common/runtime/codepage.h"
#include "common/runtime/collection.h"
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
      {"not_found", 1, "Index.htm", "INDEX", 0},
      {"start_past_end", 8, "abc", "c", 0},
      {"empty_find_gives_start", 2, "abc", "", 2},
      {"empty_find_beyond", 5, "abc", "", 0},
      {"counts_characters_not_bytes", 1, "perché.htm", ".htm", 7},
  };
  for (const auto& c : cases) EXPECT_EQ(InStr(c.start, c.s, c.find), c.expected) << c.name;
}

TEST(TextTest, InStrRev) {
  const SearchCase cases[] = {
      {"not_found", -1, "abc", "/", 0},
      {"match_must_fit_before_start", 5, "abcabc", "bc", 2},
      {"match_ending_at_start", 6, "abcabc", "bc", 5},
      {"start_past_end", 7, "abc", "a", 0},
      {"empty_find_gives_start", 2, "abc", "", 2},
      {"counts_characters", -1, "città/perché/x", "/", 13},
  };
  for (const auto& c : cases) EXPECT_EQ(InStrRev(c.s, c.find, c.start), c.expected) << c.name;
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
      {"empty_find", "abc", "", "x", 1, -1, "abc"},
      {"start_past_end", "abc", "a", "x", 4, -1, ""},
      {"start_counts_characters", "èèab", "a", "A", 3, -1, "Ab"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(Replace(c.s, c.find, c.replacement, c.start, c.count), c.expected) << c.name;
}

TEST(TextTest, SlicesAndTrims) {
  const std::pair<std::string, const char*> cases[] = {
      {Mid("abcdef", 3), "cdef"}, {Mid("abc", 2, 10), "bc"},        {Mid("àèìòù", 2, 2), "èì"},
      {Left("ab", 5), "ab"},      {Left("città", 4), "citt"},       {Right("così.htm", 5), "ì.htm"},
      {Right("ab", 5), "ab"},     {Trim(" \ta \r\n "), "\ta \r\n"}, {Trim("   "), ""},
      {LTrim("  a  "), "a  "},    {RTrim("  a  "), "  a"},
  };
  for (const auto& [got, expected] : cases) EXPECT_EQ(got, expected);
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
  };
  for (std::size_t i = 0; i < std::size(calls); ++i)
    EXPECT_EQ(ErrorNumberOf(calls[i]), vberr::kInvalidCall) << i;
}

TEST(TextTest, UCaseAndLCaseMapWindowsLettersOnly) {
  const struct {
    const char* name;
    const char* lower;
    const char* upper;
  } cases[] = {
      {"ascii_path", "cap01\\pag 1.htm", "CAP01\\PAG 1.HTM"},
      {"italian_accents", "àèéìòù", "ÀÈÉÌÒÙ"},
      {"windows_letters", "œšžÿ", "ŒŠŽŸ"},
      {"sharp_s_and_micro", "ßµ", "ßµ"},
      {"malformed_bytes", "a\xFF\xC3", "A\xFF\xC3"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(UCase(c.lower), c.upper);
    EXPECT_EQ(LCase(c.upper), c.lower);
  }
  EXPECT_EQ(LCase("ΑΒ"), "ΑΒ");
  EXPECT_TRUE(EqualsNoCase("città", "CITTÀ"));
  EXPECT_FALSE(EqualsNoCase("abc", "abcd"));
  EXPECT_FALSE(EqualsNoCase("\xFF", "\xFE"));  // distinct malformed bytes stay distinct
  EXPECT_FALSE(EqualsNoCase("a\xC3", "a\xC3\xA0"));
  EXPECT_EQ(AsciiUpper("index.htm è"), "INDEX.HTM è");
  EXPECT_TRUE(AsciiEqualsNoCase("hkey_Current_User", "HKEY_CURRENT_USER"));
  EXPECT_FALSE(AsciiEqualsNoCase("è", "È"));
}

// Characters the code page lacks and malformed UTF-8 become "?" each.
TEST(CodepageTest, MapsWindowsBytesBothWaysAndMarksWhatItLoses) {
  const struct {
    const char* name;
    std::string utf8;
    std::string cp1252;
    bool lossy;
  } cases[] = {
      {"latin1_letters", "perché ÿ", "perch\xE9 \xFF", false},
      {"windows_letters", "€ Œœ Šš Žž Ÿ ƒ ‘’“”–—…•",
       "\x80 \x8C\x9C \x8A\x9A \x8E\x9E \x9F \x83 \x91\x92\x93\x94\x96\x97\x85\x95", false},
      {"undefined_bytes", "\u0081\u008D\u008F\u0090\u009D", "\x81\x8D\x8F\x90\x9D", false},
      {"emoji_four_bytes", "x😀y", "x?y", true},
      {"c1_control_not_undefined", "\u0080", "?", true},
      {"stray_continuation_byte", "a\x80", "a?", true},
      {"truncated_sequence", "a\xC3", "a?", true},
      {"overlong_slash", "\xC0\xAF", "??", true},
      {"encoded_surrogate", "\xED\xA0\x80", "???", true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    bool lossy = false;
    EXPECT_EQ(Utf8ToCp1252(c.utf8, &lossy), c.cp1252);
    EXPECT_EQ(lossy, c.lossy);
    EXPECT_EQ(FitsCp1252(c.utf8), !c.lossy);
    if (!c.lossy) {
      EXPECT_EQ(Cp1252ToUtf8(c.cp1252), c.utf8);
    }
    Utf8ToCp1252("abc", &lossy);  // later text that fits does not clear the flag
    EXPECT_EQ(lossy, c.lossy);
  }
  std::string all;
  for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
  bool lossy = false;
  EXPECT_EQ(Utf8ToCp1252(Cp1252ToUtf8(all), &lossy), all);
  EXPECT_FALSE(lossy);
}

std::vector<std::string> Items(const VbCollection<std::string>& c) { return {c.begin(), c.end()}; }

VbCollection<std::string> Bookmarks() {
  VbCollection<std::string> c;
  c.Add("uno", "K1");
  c.Add("due");
  c.Add("tre", "Città");
  return c;
}

TEST(CollectionTest, KeysIgnoreLetterCaseAndFollowRemovals) {
  auto c = Bookmarks();
  EXPECT_EQ(std::as_const(c).Item(3), "tre");
  EXPECT_EQ(c.Item("CITTÀ"), "tre");
  EXPECT_FALSE(c.Exists("citta"));
  c.Remove(1);
  EXPECT_EQ(c.Item("città"), "tre");
  EXPECT_FALSE(c.Exists("K1"));
  c.Add("uno again", "k1");  // the removed key is free again
  c.Remove("CITTÀ");
  for (std::string& item : c) item += "!";
  EXPECT_EQ(Items(c), (std::vector<std::string>{"due!", "uno again!"}));
  c.Clear();
  EXPECT_EQ(c.Count(), 0);
  EXPECT_FALSE(c.Exists("k1"));
}

TEST(CollectionTest, FailuresCarryTheOldErrorNumbersAndChangeNothing) {
  const struct {
    const char* name;
    std::function<void(VbCollection<std::string>&)> call;
    int expected;
  } cases[] = {
      {"duplicate_key_accented_case", [](auto& c) { c.Add("x", "CITTÀ"); }, vberr::kDuplicateKey},
      {"missing_key", [](auto& c) { c.Item("nessuna"); }, vberr::kInvalidCall},
      {"remove_missing_key", [](auto& c) { c.Remove("nessuna"); }, vberr::kInvalidCall},
      {"index_zero", [](auto& c) { c.Item(0); }, vberr::kSubscriptOutOfRange},
      {"remove_index_past_end", [](auto& c) { c.Remove(4); }, vberr::kSubscriptOutOfRange},
  };
  for (const auto& e : cases) {
    SCOPED_TRACE(e.name);
    auto c = Bookmarks();
    EXPECT_EQ(ErrorNumberOf([&] { e.call(c); }), e.expected);
    EXPECT_EQ(Items(c), (std::vector<std::string>{"uno", "due", "tre"}));
  }
}

}  // namespace
}  // namespace orva
