#include "player/panels/strtempo.h"

#include <gtest/gtest.h>

#include <limits>

namespace orva {
namespace {

TEST(Strtempo, FormatsMinutesAndSecondsDroppingHours) {
  const struct {
    std::int32_t seconds;
    const char* text;
  } cases[] = {
      {0, "00:00"},    {59, "00:59"},   {60, "01:00"},  {3599, "59:59"},
      {3600, "00:00"}, {3725, "02:05"}, {-75, "01:15"}, {std::numeric_limits<std::int32_t>::min(), "14:08"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.seconds);
    EXPECT_EQ(strtempo(c.seconds), c.text);
  }
}

}  // namespace
}  // namespace orva
