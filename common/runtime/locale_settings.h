#pragma once
// The user's number format. Numbers in settings and page positions are text
// in the user's locale (a decimal comma on an Italian system), so every
// conversion between numbers and text goes through this one process-wide
// value. It is taken from the locale variables of the environment, never from
// the C library's locale, which a toolkit may change behind our back.

#include <string_view>

#include "common/platform/environment.h"

namespace orva {

struct NumberFormat {
  char decimal = '.';
  // '\0' when the locale groups digits with a blank: a blank inside a number
  // is then never taken for a separator, so "1 2" stays a non-number.
  char thousands = ',';

  friend bool operator==(const NumberFormat&, const NumberFormat&) = default;
};

// The format of a POSIX locale name such as "it_IT.UTF-8" or "de_CH@euro".
// "C", "POSIX", the empty name and unknown languages give '.' and ','.
NumberFormat NumberFormatFromLocaleName(std::string_view name);

// The format of the first locale variable that is set and not empty among
// LC_ALL, LC_NUMERIC and LANG, as the C library would pick it.
NumberFormat NumberFormatFromEnvironment(const Environment& environment);

// The process-wide format. Until SetNumberFormat is called it is read once
// from the process environment.
const NumberFormat& CurrentNumberFormat();
void SetNumberFormat(NumberFormat format);

// Sets the process-wide format for the lifetime of the object and then puts
// back the previous one; for tests.
class ScopedNumberFormat {
 public:
  explicit ScopedNumberFormat(NumberFormat format);
  ~ScopedNumberFormat();
  ScopedNumberFormat(const ScopedNumberFormat&) = delete;
  ScopedNumberFormat& operator=(const ScopedNumberFormat&) = delete;

 private:
  NumberFormat previous_;
};

}  // namespace orva
