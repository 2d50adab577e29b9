#include "backends/posix/listing_order.h"

#include <gtest/gtest.h>

namespace orva {
namespace {

struct OrderCase {
  const char* name;
  std::vector<std::string> given;
  std::vector<std::string> sorted;
};

// Letter case and the place of "_" show in the file system's listing test.
TEST(SortLikeBookFileSystem, UpperCasesThenComparesCodeUnits) {
  const OrderCase cases[] = {
      {"accented letters after plain ones", {"été", "Zone", "ecco"}, {"ecco", "Zone", "été"}},
      // A character outside the BMP is a surrogate pair: below U+E000 in UTF-16.
      {"surrogates before private use", {"\uE000", "\U0001F600"}, {"\U0001F600", "\uE000"}},
      {"same name in two cases keeps byte order",
       {"capitolo", "CAPITOLO", "Capitolo"},
       {"CAPITOLO", "Capitolo", "capitolo"}},
  };
  for (const OrderCase& c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<std::string> names = c.given;
    SortLikeBookFileSystem(names);
    EXPECT_EQ(names, c.sorted);
  }
}

}  // namespace
}  // namespace orva
