#include "common/runtime/conversions.h"

#include <gtest/gtest.h>

#include "fakes/error_number.h"
#include "fakes/fake_environment.h"

#include <cmath>
#include <limits>
#include <map>
#include <string>

#include "common/runtime/locale_settings.h"
#include "common/runtime/vb_error.h"

namespace orva {
namespace {

constexpr NumberFormat kItalian{',', '.'};
constexpr NumberFormat kEnglish{'.', ','};

TEST(ConversionsTest, IsNumericFollowsTheLocale) {
  const struct {
    const char* name;
    const char* text;
    bool italian;  // with a decimal comma
    bool english;  // with a decimal point
  } cases[] = {
      {"blanks_and_tabs_around", " \t12  ", true, true},
      {"decimal_comma", "1,5", true, true},  // a thousands separator in English
      {"grouped_italian", "1.234,5", true, false},
      {"grouped_english", "1,234.5", false, true},
      {"leading_decimal", ",5", true, false},
      {"exponent_d_lower_signed", "1d-3", true, true},
      {"hex", "&H1F", true, true},
      {"empty", "", false, false},
      {"exponent_without_digits", "1E", false, false},
      {"hex_without_digits", "&H", false, false},
      {"hex_too_long", "&H100000000", false, false},
      {"too_large_for_double", "1E400", false, false},
      {"two_decimal_separators", "1,2,3", false, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    for (const auto& [format, expected] : {std::pair{kItalian, c.italian}, std::pair{kEnglish, c.english}}) {
      ScopedNumberFormat scoped(format);
      EXPECT_EQ(IsNumeric(c.text), expected);
    }
  }
}

TEST(ConversionsTest, BlankGroupingLocaleNeverTakesABlankForASeparator) {
  ScopedNumberFormat format({',', '\0'});
  EXPECT_FALSE(IsNumeric("1 2"));
  EXPECT_FALSE(IsNumeric("1.5"));
  EXPECT_FALSE(IsNumeric(std::string("1\0002", 3)));
  EXPECT_DOUBLE_EQ(CDbl("1,5"), 1.5);
}

TEST(ConversionsTest, CDblParsesWithTheLocaleSeparator) {
  const struct {
    const char* name;
    const char* text;
    NumberFormat format;
    double expected;
  } cases[] = {
      {"grouping_not_checked", "1.2.3,5", kItalian, 123.5},
      {"trailing_minus", "2,5-", kItalian, -2.5},
      {"hex_16_bit_pattern", "&HFFFF", kItalian, -1},
      {"hex_16_bit_min", "&H8000", kItalian, -32768},
      {"hex_above_16_bits", "&H10000", kItalian, 65536},
      {"hex_32_bit_pattern", "&HFFFFFFFF", kItalian, -1},
      {"minus_zero_is_zero", "-0", kItalian, 0},
      {"tiny_reads_as_zero", "1E-400", kItalian, 0},
      {"many_fraction_digits", "0,1000000000000000055511151231257827", kItalian, 0.1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ScopedNumberFormat format(c.format);
    EXPECT_EQ(CDbl(c.text), c.expected);
    EXPECT_FALSE(std::signbit(CDbl(c.text)) && c.expected == 0);
  }
}

TEST(ConversionsTest, FailuresCarryTheOldErrorNumbers) {
  const struct {
    const char* name;
    int (*call)();
    int expected;
  } cases[] = {
      {"cdbl_empty", [] { return static_cast<int>(CDbl("")); }, vberr::kTypeMismatch},
      {"cdbl_too_large", [] { return static_cast<int>(CDbl("1E309")); }, vberr::kOverflow},
      {"csng_too_small", [] { return static_cast<int>(CSng(-1e39)); }, vberr::kOverflow},
      {"cint_rounds_out_of_range", [] { return static_cast<int>(CInt(32767.5)); }, vberr::kOverflow},
      {"cint_nan", [] { return static_cast<int>(CInt(std::nan(""))); }, vberr::kOverflow},
      {"clng_too_large", [] { return static_cast<int>(CLng(2147483647.5)); }, vberr::kOverflow},
      {"cbool_word", [] { return static_cast<int>(CBool("si")); }, vberr::kTypeMismatch},
      {"round_negative_decimals", [] { return static_cast<int>(Round(1.5, -1)); }, vberr::kInvalidCall},
      {"val_too_large", [] { return static_cast<int>(Val("1e400")); }, vberr::kOverflow},
  };
  ScopedNumberFormat format(kItalian);
  for (const auto& c : cases) EXPECT_EQ(ErrorNumberOf(c.call), c.expected) << c.name;
}

// With no decimals CInt and CLng round as Round does.
TEST(ConversionsTest, RoundingIsHalfToEven) {
  const struct {
    const char* name;
    double value;
    int decimals;
    double expected;
  } cases[] = {
      {"half_to_zero", 0.5, 0, 0},
      {"one_and_half_to_two", 1.5, 0, 2},
      {"two_and_half_to_two", 2.5, 0, 2},
      {"below_half", 2.4999999, 0, 2},
      {"above_half", 2.5000001, 0, 3},
      {"min_half_even", -32768.5, 0, -32768},
      {"exact_half_down_to_even", 0.125, 2, 0.12},
      {"exact_half_up_to_even", 0.375, 2, 0.38},
      {"negative_at_decimals", -2.35, 1, -2.4},
      {"huge_unchanged", 1e300, 2, 1e300},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_DOUBLE_EQ(Round(c.value, c.decimals), c.expected);
    if (c.decimals == 0) {
      EXPECT_EQ(CInt(c.value), c.expected);
      EXPECT_EQ(CLng(c.value), c.expected);
    }
  }
  ScopedNumberFormat format(kItalian);
  EXPECT_EQ(CInt("2,5"), 2);
  EXPECT_EQ(CLng("1.000.000"), 1000000);
}

TEST(ConversionsTest, ValReadsTheLeadingNumber) {
  const struct {
    const char* name;
    const char* text;
    double expected;
  } cases[] = {
      {"point_always_decimal", "1.5", 1.5},
      {"comma_stops", "1,5", 1},
      {"blanks_tabs_and_line_feeds_inside", " 1 \t2\n3", 123},
      {"dangling_exponent_sign", "1e-x", 1},
      {"hex_stops_at_non_digit", "&H1Gx", 1},
      {"octal", "&O17", 15},
      {"ampersand_other", "&X1", 0},
      {"trailing_sign_ignored", "5-", 5},
  };
  ScopedNumberFormat format(kItalian);  // Val ignores the locale
  for (const auto& c : cases) EXPECT_DOUBLE_EQ(Val(c.text), c.expected) << c.name;
}

TEST(ConversionsTest, CStrUsesSignificantDigitsAndTheLocale) {
  const struct {
    const char* name;
    double value;
    bool single;
    const char* italian;
    const char* english;
  } cases[] = {
      {"single_seven_digits", 1234567, true, "1234567", "1234567"},
      {"single_eight_digits_goes_exponent", 12345678, true, "1,234568E+07", "1.234568E+07"},
      {"double_fifteen_digits", 123456789012345, false, "123456789012345", "123456789012345"},
      {"double_sixteen_digits", 1e15, false, "1E+15", "1E+15"},
      {"negative_zero", -0.0, false, "0", "0"},
      {"single_third", 1.0 / 3, true, "0,3333333", "0.3333333"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    for (const auto& [format, expected] : {std::pair{kItalian, c.italian}, std::pair{kEnglish, c.english}}) {
      ScopedNumberFormat scoped(format);
      EXPECT_EQ(c.single ? CStr(static_cast<float>(c.value)) : CStr(c.value), expected);
    }
  }
  EXPECT_EQ(CStr(true), "True");
  EXPECT_EQ(CStr(std::int16_t{-5}), "-5");
  EXPECT_EQ(CStr(ToVbBoolean(true)), "-1");
}

TEST(ConversionsTest, SinglesRoundTripThroughTheLocaleText) {
  for (const NumberFormat& format : {kItalian, kEnglish}) {
    ScopedNumberFormat scoped(format);
    for (const float rate : {0.5f, 0.6f, 1.1f, 1.9f, 2.0f}) EXPECT_EQ(CSng(CStr(rate)), rate) << rate;
  }
  ScopedNumberFormat format(kItalian);
  EXPECT_EQ(CStr(CDbl(CSng(0.6)) - 0.1), "0,500000023841858");  // a Single shows through a Double
  EXPECT_EQ(CSng("3,4028234E38"), std::numeric_limits<float>::max());
}

TEST(ConversionsTest, BooleansReadBackFromText) {
  const struct {
    const char* text;
    bool expected;
  } cases[] = {{"True", true}, {"false", false}, {" TRUE ", true}, {"0", false},
               {"-1", true},   {"2", true},      {"0,0", false}};
  ScopedNumberFormat format(kItalian);
  for (const auto& c : cases) EXPECT_EQ(CBool(c.text), c.expected) << c.text;
}

TEST(LocaleSettingsTest, FormatFromEnvironment) {
  const struct {
    const char* name;
    std::map<std::string, std::string> variables;
    NumberFormat expected;
  } cases[] = {
      {"italian_lang", {{"LANG", "it_IT.UTF-8"}}, kItalian},
      {"nothing_set", {}, kEnglish},
      {"language_only", {{"LANG", "de"}}, kItalian},
      {"swiss_italian_uses_point", {{"LANG", "it_CH.UTF-8"}}, NumberFormat{'.', '\''}},
      {"mexican_spanish_uses_point", {{"LANG", "es_MX.UTF-8"}}, kEnglish},
      {"french_groups_with_blank", {{"LANG", "fr_FR.UTF-8"}}, NumberFormat{',', '\0'}},
      {"lc_numeric_beats_lang", {{"LANG", "en_US.UTF-8"}, {"LC_NUMERIC", "it_IT.UTF-8"}}, kItalian},
      {"lc_all_beats_lc_numeric", {{"LC_NUMERIC", "it_IT.UTF-8"}, {"LC_ALL", "en_GB.UTF-8"}}, kEnglish},
      {"empty_lc_all_is_unset", {{"LC_ALL", ""}, {"LANG", "it_IT.UTF-8"}}, kItalian},
  };
  for (const auto& c : cases)
    EXPECT_EQ(NumberFormatFromEnvironment(fakes::FakeEnvironment(c.variables)), c.expected) << c.name;
}

}  // namespace
}  // namespace orva
