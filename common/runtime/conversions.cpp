#include "common/runtime/conversions.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>

#include "common/runtime/text.h"
#include "common/runtime/vb_error.h"

namespace orva {

namespace {

enum class ParseStatus { kNumber, kNotANumber, kOverflow };

struct ParseResult {
  ParseStatus status = ParseStatus::kNotANumber;
  double value = 0;
};

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsBlank(char c) { return c == ' ' || c == '\t'; }

int HexDigitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// An &H or &O literal's value: up to 0xFFFF it is a 16-bit pattern, above it
// a 32-bit one, beyond that too large.
ParseResult LiteralValue(std::uint64_t bits) {
  if (bits <= 0xFFFF) return {ParseStatus::kNumber, static_cast<double>(static_cast<std::int16_t>(bits))};
  if (bits <= 0xFFFFFFFF) {
    return {ParseStatus::kNumber, static_cast<double>(static_cast<std::int32_t>(bits))};
  }
  return {ParseStatus::kOverflow, 0};
}

// Accumulates the digits of a base-8 or base-16 literal; saturates past 32
// bits so that a long literal reads as too large rather than wrapping round.
struct LiteralDigits {
  std::uint64_t bits = 0;
  bool any = false;
  bool Add(char c, int base) {
    const int digit = base == 16 ? HexDigitValue(c) : (c >= '0' && c <= '7' ? c - '0' : -1);
    if (digit < 0) return false;
    if (bits <= 0xFFFFFFFFull) bits = bits * static_cast<unsigned>(base) + static_cast<unsigned>(digit);
    any = true;
    return true;
  }
};

// A decimal number gathered as "-ddd.ddde-dd" for std::from_chars, which is
// exact and ignores the C library's locale.
class DecimalBuilder {
 public:
  void Sign(bool negative) { negative_ = negative; }
  void IntegerDigit(char c) {
    if (c != '0' || significant_) {
      significant_ = true;
      ++integer_digits_;
    }
    mantissa_ += c;
    any_digit_ = true;
  }
  void Point() { mantissa_ += '.'; }
  void FractionDigit(char c) {
    if (c != '0') significant_ = true;
    if (!significant_) ++leading_fraction_zeros_;
    mantissa_ += c;
    any_digit_ = true;
  }
  void ExponentSign(bool negative) { exponent_negative_ = negative; }
  void ExponentDigit(char c) {
    // Beyond this any non-zero mantissa is out of range either way.
    if (exponent_ < 100000) exponent_ = exponent_ * 10 + (c - '0');
  }
  bool AnyDigit() const { return any_digit_; }

  ParseResult Result() const {
    std::string text = mantissa_;
    const long exponent = exponent_negative_ ? -exponent_ : exponent_;
    text += 'e';
    text += std::to_string(exponent);
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error == std::errc::result_out_of_range) {
      // Too many digits before the point is too large; otherwise the value
      // is too small to hold and reads as zero.
      const long order =
          integer_digits_ > 0 ? integer_digits_ + exponent : exponent - leading_fraction_zeros_;
      if (order > 0) return {ParseStatus::kOverflow, 0};
      return {ParseStatus::kNumber, 0};
    }
    if (error != std::errc{} || end != text.data() + text.size()) return {ParseStatus::kNotANumber, 0};
    if (value == 0) return {ParseStatus::kNumber, 0};  // never a negative zero
    return {ParseStatus::kNumber, negative_ ? -value : value};
  }

 private:
  std::string mantissa_;
  bool negative_ = false;
  bool significant_ = false;
  bool any_digit_ = false;
  long integer_digits_ = 0;
  long leading_fraction_zeros_ = 0;
  bool exponent_negative_ = false;
  long exponent_ = 0;
};

bool IsExponentMark(char c) { return c == 'e' || c == 'E' || c == 'd' || c == 'D'; }

// The whole text as one number in the given format.
ParseResult ParseStrict(std::string_view text, const NumberFormat& format) {
  std::size_t begin = 0;
  std::size_t end = text.size();
  while (begin < end && IsBlank(text[begin])) ++begin;
  while (end > begin && IsBlank(text[end - 1])) --end;
  const std::string_view s = text.substr(begin, end - begin);
  if (s.empty()) return {};

  if (s[0] == '&') {
    if (s.size() < 3) return {};
    const char kind = s[1];
    const int base = (kind == 'h' || kind == 'H') ? 16 : (kind == 'o' || kind == 'O') ? 8 : 0;
    if (base == 0) return {};
    LiteralDigits digits;
    for (std::size_t i = 2; i < s.size(); ++i) {
      if (!digits.Add(s[i], base)) return {};
    }
    return LiteralValue(digits.bits);
  }

  DecimalBuilder number;
  std::size_t i = 0;
  bool signed_before = false;
  if (s[i] == '+' || s[i] == '-') {
    number.Sign(s[i] == '-');
    signed_before = true;
    ++i;
    while (i < s.size() && IsBlank(s[i])) ++i;
  }
  for (; i < s.size(); ++i) {
    const char c = s[i];
    if (IsDigit(c)) {
      number.IntegerDigit(c);
    } else if (c == format.thousands && c != '\0' && c != format.decimal && number.AnyDigit()) {
      continue;  // grouping is not checked, as the old runtime did not
    } else {
      break;
    }
  }
  if (i < s.size() && s[i] == format.decimal) {
    number.Point();
    for (++i; i < s.size() && IsDigit(s[i]); ++i) number.FractionDigit(s[i]);
  }
  if (!number.AnyDigit()) return {};
  if (i < s.size() && IsExponentMark(s[i])) {
    ++i;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) {
      number.ExponentSign(s[i] == '-');
      ++i;
    }
    if (i >= s.size() || !IsDigit(s[i])) return {};
    for (; i < s.size() && IsDigit(s[i]); ++i) number.ExponentDigit(s[i]);
  }
  if (i < s.size()) {
    while (i < s.size() && IsBlank(s[i])) ++i;
    if (signed_before || i + 1 != s.size() || (s[i] != '+' && s[i] != '-')) return {};
    number.Sign(s[i] == '-');
  }
  return number.Result();
}

double ParseOrRaise(std::string_view text) {
  const ParseResult result = ParseStrict(text, CurrentNumberFormat());
  if (result.status == ParseStatus::kNotANumber) RaiseVbError(vberr::kTypeMismatch);
  if (result.status == ParseStatus::kOverflow) RaiseVbError(vberr::kOverflow);
  return result.value;
}

double RoundHalfEven(double value) {
  const double floor = std::floor(value);
  const double fraction = value - floor;  // exact for every finite double
  if (fraction > 0.5) return floor + 1;
  if (fraction < 0.5) return floor;
  return std::fmod(floor, 2.0) == 0 ? floor : floor + 1;
}

template <typename Int>
Int RoundToInteger(double value) {
  if (std::isnan(value)) RaiseVbError(vberr::kOverflow);
  const double rounded = RoundHalfEven(value);
  if (rounded < static_cast<double>(std::numeric_limits<Int>::min()) ||
      rounded > static_cast<double>(std::numeric_limits<Int>::max())) {
    RaiseVbError(vberr::kOverflow);
  }
  return static_cast<Int>(rounded);
}

template <typename Float>
std::string FormatFloat(Float value, int precision, const NumberFormat& format) {
  if (value == 0) return "0";
  char buffer[64];
  const auto result =
      std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, precision);
  std::string text(buffer, result.ptr);
  for (char& c : text) {
    if (c == '.') {
      c = format.decimal;
    } else if (c == 'e') {
      c = 'E';
    }
  }
  return text;
}

bool IsValBlank(char c) { return c == ' ' || c == '\t' || c == '\n'; }

}  // namespace

bool IsNumeric(std::string_view text) {
  return ParseStrict(text, CurrentNumberFormat()).status == ParseStatus::kNumber;
}

double CDbl(std::string_view text) { return ParseOrRaise(text); }

float CSng(double value) {
  constexpr double kMax = std::numeric_limits<float>::max();
  // Half a unit in the last place above the largest Single still rounds to it.
  constexpr double kRoundsToInfinity = kMax + 0x1p103;
  if (std::isnan(value) || std::fabs(value) >= kRoundsToInfinity) RaiseVbError(vberr::kOverflow);
  if (value > kMax) return std::numeric_limits<float>::max();
  if (value < -kMax) return -std::numeric_limits<float>::max();
  return static_cast<float>(value);
}

float CSng(std::string_view text) { return CSng(ParseOrRaise(text)); }

std::int16_t CInt(double value) { return RoundToInteger<std::int16_t>(value); }
std::int16_t CInt(std::string_view text) { return CInt(ParseOrRaise(text)); }
std::int32_t CLng(double value) { return RoundToInteger<std::int32_t>(value); }
std::int32_t CLng(std::string_view text) { return CLng(ParseOrRaise(text)); }

double Val(std::string_view text) {
  std::size_t i = 0;
  const auto skip_blanks = [&] {
    while (i < text.size() && IsValBlank(text[i])) ++i;
  };
  const auto at = [&](auto predicate) {
    skip_blanks();
    return i < text.size() && predicate(text[i]);
  };

  skip_blanks();
  if (i + 1 < text.size() && text[i] == '&') {
    const char kind = text[i + 1];
    const int base = (kind == 'h' || kind == 'H') ? 16 : (kind == 'o' || kind == 'O') ? 8 : 0;
    if (base == 0) return 0;
    i += 2;
    LiteralDigits digits;
    while (at([](char) { return true; }) && digits.Add(text[i], base)) ++i;
    const ParseResult result = LiteralValue(digits.bits);
    if (result.status == ParseStatus::kOverflow) RaiseVbError(vberr::kOverflow);
    return result.value;
  }

  DecimalBuilder number;
  if (at([](char c) { return c == '+' || c == '-'; })) {
    number.Sign(text[i] == '-');
    ++i;
  }
  while (at(IsDigit)) number.IntegerDigit(text[i++]);
  if (at([](char c) { return c == '.'; })) {
    number.Point();
    ++i;
    while (at(IsDigit)) number.FractionDigit(text[i++]);
  }
  if (!number.AnyDigit()) return 0;
  if (at(IsExponentMark)) {
    // The exponent counts only when digits follow it: "1e" is 1.
    std::size_t j = i + 1;
    const auto skip_from_j = [&] {
      while (j < text.size() && IsValBlank(text[j])) ++j;
    };
    skip_from_j();
    bool negative = false;
    if (j < text.size() && (text[j] == '+' || text[j] == '-')) {
      negative = text[j] == '-';
      ++j;
      skip_from_j();
    }
    if (j < text.size() && IsDigit(text[j])) {
      number.ExponentSign(negative);
      i = j;
      while (at(IsDigit)) number.ExponentDigit(text[i++]);
    }
  }
  const ParseResult result = number.Result();
  if (result.status == ParseStatus::kOverflow) RaiseVbError(vberr::kOverflow);
  return result.value;
}

double Round(double value, int decimals) {
  if (decimals < 0) RaiseVbError(vberr::kInvalidCall);
  if (!std::isfinite(value)) return value;
  if (decimals == 0) return RoundHalfEven(value);
  if (decimals > 22) return value;
  const double scale = std::pow(10.0, decimals);
  const double scaled = value * scale;
  // Past 2^52 a double holds no fraction to round.
  if (!std::isfinite(scaled) || std::fabs(scaled) >= 0x1p52) return value;
  return RoundHalfEven(scaled) / scale;
}

std::string FormatSingle(float value, const NumberFormat& format) { return FormatFloat(value, 7, format); }

std::string FormatDouble(double value, const NumberFormat& format) { return FormatFloat(value, 15, format); }

bool CBool(std::string_view text) {
  std::size_t begin = 0;
  std::size_t end = text.size();
  while (begin < end && IsBlank(text[begin])) ++begin;
  while (end > begin && IsBlank(text[end - 1])) --end;
  const std::string_view word = text.substr(begin, end - begin);
  if (EqualsNoCase(word, "True")) return true;
  if (EqualsNoCase(word, "False")) return false;
  return CDbl(text) != 0;
}

}  // namespace orva
