#include "player/panels/strtempo.h"

#include <cstdio>
#include <cstdlib>

namespace orva {

std::string strtempo(std::int32_t seconds) {
  // Widen first: the absolute value of the smallest 32-bit number overflows.
  const std::int64_t r = std::llabs(std::int64_t{seconds}) % 3600;
  char text[8];
  std::snprintf(text, sizeof text, "%02d:%02d", static_cast<int>(r / 60), static_cast<int>(r % 60));
  return text;
}

}  // namespace orva
