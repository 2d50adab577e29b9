// The clock values of SMIL clips, in each form DAISY 2.02 books write them.
#include <gtest/gtest.h>

#include <stdexcept>

#include "tools/orvabook/daisy_book.h"

namespace orva::orvabook {
namespace {

TEST(DaisyClockValue, ReadsEachFormAndRefusesTheRest) {
  constexpr double kRefused = -1;
  const struct {
    const char* text;
    double seconds;
  } cases[] = {
      {"npt=12.345s", 12.345}, {"7.5", 7.5},          {"npt=1500ms", 1.5},       {"npt=2min", 120},
      {"npt=1.5h", 5400},      {"npt=1:02.5", 62.5},  {"npt=1:01:02", 3662},     {" npt=3s ", 3},
      {"npt=", kRefused},      {"npt=-1s", kRefused}, {"npt=1.5:00", kRefused},  {"npt=1:2:3:4", kRefused},
      {"npt=inf", kRefused},   {"npt=3x", kRefused},  {"smpte=0:0:1", kRefused},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    if (c.seconds == kRefused)
      EXPECT_THROW(ParseClockValue(c.text), std::invalid_argument);
    else
      EXPECT_DOUBLE_EQ(ParseClockValue(c.text), c.seconds);
  }
}

}  // namespace
}  // namespace orva::orvabook
