#pragma once
// Conversions between numbers, Booleans and text with the old runtime's
// rules. Stored settings and page positions were written by these rules, in
// the user's locale, so reading and writing them must follow the same rules
// to give back the same values.
//
// Failures throw VbError: 13 for a text that is not a number, 6 for a number
// out of the target's range.

#include <concepts>
#include <cstdint>
#include <string>
#include <string_view>

#include "common/runtime/locale_settings.h"

namespace orva {

// Booleans of the window state are 16-bit with True = -1.
using VbBoolean = std::int16_t;
inline constexpr VbBoolean kVbTrue = -1;
inline constexpr VbBoolean kVbFalse = 0;
constexpr VbBoolean ToVbBoolean(bool value) { return value ? kVbTrue : kVbFalse; }
// Any value other than 0 is True, as the old runtime tested it.
constexpr bool FromVbBoolean(VbBoolean value) { return value != 0; }

// Whether the whole text is a number in the current format: blanks around it,
// a sign before or after it, decimal and thousands separators, an exponent
// ("1,5E3", also with D), or a hexadecimal or octal literal ("&H1F", "&O17").
// The empty text, " ", "-" and "1 2" are not numbers; nor is a number too
// large for a Double, so that IsNumeric(s) means CDbl(s) succeeds.
bool IsNumeric(std::string_view text);

// Text to number in the current format. With a decimal comma, "1,5" is 1.5
// and "1.5" is 15: the thousands separator is skipped wherever it stands in
// the whole part. &H and &O literals of up to four hexadecimal digits' value
// are 16-bit ("&HFFFF" is -1), longer ones 32-bit ("&HFFFFFFFF" is -1).
double CDbl(std::string_view text);
constexpr double CDbl(double value) { return value; }
float CSng(std::string_view text);
// Single precision, rounded to nearest; beyond its range is error 6.
float CSng(double value);

// Half to even (0.5 -> 0, 1.5 -> 2, 2.5 -> 2), then 16 or 32 bits signed.
std::int16_t CInt(double value);
std::int16_t CInt(std::string_view text);
std::int32_t CLng(double value);
std::int32_t CLng(std::string_view text);
// The old runtime's True is -1, not 1; convert Booleans with ToVbBoolean.
// (Templates, so that a string literal still picks the text overloads.)
template <std::same_as<bool> B>
std::int16_t CInt(B) = delete;
template <std::same_as<bool> B>
std::int32_t CLng(B) = delete;

// The leading number of a text, always with "." as decimal point, blanks,
// tabs and line feeds skipped wherever they stand (" 1 2" is 12). Stops at
// the first character that cannot continue the number; 0 when there is none.
// Reads &H and &O literals. A number beyond a Double's range is error 6.
double Val(std::string_view text);

// Half to even at the given number of decimals: Round(2.5) is 2,
// Round(0.125, 2) is 0.12. Negative decimals are error 5.
double Round(double value, int decimals = 0);

// Number to text: up to 7 significant digits for a Single, 15 for a Double,
// the shortest form without trailing zeros, an exponent written as "E+15" or
// "E-05" for very large or small values, and the format's decimal separator.
// No thousands separators. Negative zero is "0".
std::string FormatSingle(float value, const NumberFormat& format);
std::string FormatDouble(double value, const NumberFormat& format);

inline std::string CStr(float value) { return FormatSingle(value, CurrentNumberFormat()); }
inline std::string CStr(double value) { return FormatDouble(value, CurrentNumberFormat()); }
// A template, so that a pointer is never taken for a Boolean.
template <std::same_as<bool> B>
std::string CStr(B value) {
  return value ? "True" : "False";
}
template <std::integral T>
requires(!std::same_as<T, bool>) std::string CStr(T value) { return std::to_string(value); }

// A Boolean read back from text: "True" and "False" in any letter case, or a
// number (so "0" is False, "1" and "-1" are True); blanks around are allowed.
// Any other text is error 13.
bool CBool(std::string_view text);

}  // namespace orva
