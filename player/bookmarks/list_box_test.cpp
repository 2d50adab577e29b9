#include "player/bookmarks/list_box.h"

#include <gtest/gtest.h>

#include "fakes/error_number.h"

#include "common/runtime/vb_error.h"

namespace orva {
namespace {

TEST(ListBox, SelectionFollowsItsLineWhenLinesAreRemoved) {
  struct Case {
    const char* title;
    int selected;
    int removed;
    int after;
  };
  const Case cases[] = {
      {"line before the selection", 2, 0, 1},
      {"the selected line", 1, 1, -1},
      {"line after the selection", 0, 2, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.title);
    ListBox list;
    for (const char* line : {"a", "b", "c"}) list.AddItem(line);
    list.SetListIndex(c.selected);
    list.RemoveItem(c.removed);
    EXPECT_EQ(list.ListIndex(), c.after);
    EXPECT_EQ(list.ListCount(), 2);
  }
}

TEST(ListBox, SettingTheSelectionFiresClickAndChecksTheRange) {
  ListBox list;
  int clicks = 0;
  list.Click = [&] { ++clicks; };
  list.AddItem("00:01\t - Uno");
  list.AddItem("00:02\t - Due");
  list.SetListIndex(1);
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(list.Text(), "00:02\t - Due");
  list.SetListIndex(-1);
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(list.Text(), "");
  EXPECT_EQ(ErrorNumberOf([&] { list.SetListIndex(2); }), 380);
  EXPECT_EQ(ErrorNumberOf([&] { list.SetListIndex(-2); }), 380);
  EXPECT_EQ(ErrorNumberOf([&] { list.RemoveItem(5); }), vberr::kInvalidCall);
}

}  // namespace
}  // namespace orva
