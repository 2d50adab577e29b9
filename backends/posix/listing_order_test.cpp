#include "backends/posix/listing_order.h"

#include <gtest/gtest.h>

#include <cerrno>

#include "backends/posix/posix_errors.h"
#include "common/runtime/vb_error.h"

namespace orva {
namespace {

struct OrderCase {
  const char* name;
  std::vector<std::string> given;
  std::vector<std::string> sorted;
};

TEST(SortLikeBookFileSystem, UpperCasesThenComparesCodeUnits) {
  const OrderCase cases[] = {
      {"letter case is ignored", {"b.htm", "A.htm", "c.HTM"}, {"A.htm", "b.htm", "c.HTM"}},
      // Upper-cased, "_" (0x5F) comes after every letter; lower-cased it would not.
      {"underscore after letters", {"_intro", "appendice", "Zeta"}, {"appendice", "Zeta", "_intro"}},
      {"accented letters after plain ones", {"été", "Zone", "ecco"}, {"ecco", "Zone", "été"}},
      // A character outside the BMP is a surrogate pair: below U+E000 in UTF-16.
      {"surrogates before private use", {"\uE000", "\U0001F600"}, {"\U0001F600", "\uE000"}},
      {"same name in two cases keeps byte order",
       {"capitolo", "CAPITOLO", "Capitolo"},
       {"CAPITOLO", "Capitolo", "capitolo"}},
      {"empty", {}, {}},
  };
  for (const OrderCase& c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<std::string> names = c.given;
    SortLikeBookFileSystem(names);
    EXPECT_EQ(names, c.sorted);
  }
}

TEST(VbErrorFromErrno, MapsSystemFailuresToRuntimeNumbers) {
  const struct {
    int err;
    int number;
  } cases[] = {{EROFS, 70}, {ENOSPC, 61}, {EIO, 57}, {ENAMETOOLONG, 52}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.err);
    EXPECT_EQ(VbErrorFromErrno(c.err, Missing::kFile), c.number);
  }
}

}  // namespace
}  // namespace orva
