#include "common/runtime/collection.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "fakes/error_number.h"

namespace orva {
namespace {

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
  EXPECT_EQ(Items(c), (std::vector<std::string>{"due", "tre"}));
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
      {"empty_key", [](auto& c) { c.Item(""); }, vberr::kInvalidCall},
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
