#include "common/runtime/collection.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

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

TEST(CollectionTest, ItemsNumberedFromOneInOrder) {
  const auto c = Bookmarks();
  EXPECT_EQ(c.Count(), 3);
  EXPECT_EQ(c.Item(1), "uno");
  EXPECT_EQ(c.Item(3), "tre");
  EXPECT_EQ(Items(c), (std::vector<std::string>{"uno", "due", "tre"}));
}

TEST(CollectionTest, KeysIgnoreLetterCaseIncludingAccents) {
  auto c = Bookmarks();
  EXPECT_EQ(c.Item("k1"), "uno");
  EXPECT_EQ(c.Item("CITTÀ"), "tre");
  EXPECT_TRUE(c.Exists("cittÀ"));
  EXPECT_FALSE(c.Exists("citta"));
  EXPECT_FALSE(c.Exists(""));
}

TEST(CollectionTest, RemoveRenumbersAndKeepsKeys) {
  auto c = Bookmarks();
  c.Remove(1);
  EXPECT_EQ(Items(c), (std::vector<std::string>{"due", "tre"}));
  EXPECT_EQ(c.Item("città"), "tre");
  EXPECT_FALSE(c.Exists("K1"));
  c.Add("uno again", "k1");  // the removed key is free again
  c.Remove("CITTÀ");
  EXPECT_EQ(Items(c), (std::vector<std::string>{"due", "uno again"}));
  EXPECT_EQ(c.Item("K1"), "uno again");
  c.Clear();
  EXPECT_EQ(c.Count(), 0);
  EXPECT_FALSE(c.Exists("k1"));
}

struct ErrorCase {
  const char* name;
  std::function<void(VbCollection<std::string>&)> call;
  int expected;
};

const ErrorCase kErrorCases[] = {
    {"duplicate_key", [](auto& c) { c.Add("x", "K1"); }, vberr::kDuplicateKey},
    {"duplicate_key_other_case", [](auto& c) { c.Add("x", "k1"); }, vberr::kDuplicateKey},
    {"duplicate_key_accented_case", [](auto& c) { c.Add("x", "CITTÀ"); }, vberr::kDuplicateKey},
    {"missing_key", [](auto& c) { c.Item("nessuna"); }, vberr::kInvalidCall},
    {"empty_key", [](auto& c) { c.Item(""); }, vberr::kInvalidCall},
    {"remove_missing_key", [](auto& c) { c.Remove("nessuna"); }, vberr::kInvalidCall},
    {"index_zero", [](auto& c) { c.Item(0); }, vberr::kSubscriptOutOfRange},
    {"index_past_end", [](auto& c) { c.Item(4); }, vberr::kSubscriptOutOfRange},
    {"remove_index_past_end", [](auto& c) { c.Remove(4); }, vberr::kSubscriptOutOfRange},
};

TEST(CollectionTest, FailuresCarryTheOldErrorNumbers) {
  for (const auto& e : kErrorCases) {
    SCOPED_TRACE(e.name);
    auto c = Bookmarks();
    try {
      e.call(c);
      ADD_FAILURE() << "no error";
    } catch (const VbError& error) {
      EXPECT_EQ(error.Number(), e.expected);
    }
    EXPECT_EQ(Items(c), (std::vector<std::string>{"uno", "due", "tre"}));  // unchanged
  }
}

TEST(CollectionTest, ItemsAreWritable) {
  VbCollection<int> c;
  c.Add(1, "a");
  c.Item("A") = 5;
  for (int& v : c) v *= 2;
  EXPECT_EQ(c.Item(1), 10);
}

}  // namespace
}  // namespace orva
