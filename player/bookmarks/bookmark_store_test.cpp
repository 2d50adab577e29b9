#include "player/bookmarks/bookmark_store.h"

#include <gtest/gtest.h>

#include "common/settings/memory_registry.h"

namespace orva {
namespace {

struct BookmarkStoreTest : ::testing::Test {
  MemoryRegistry registry;
  Settings settings{registry};
  BookmarkStore store{settings};
};

TEST_F(BookmarkStoreTest, KeepsTheLayoutOfThreeValuesPerNumberUnderTheApplication) {
  store.SavePosition("LIBRO\\CAP01.HTM", 3, "83");
  store.SaveName("LIBRO\\CAP01.HTM", 3, "Capitolo primo");
  store.SaveAudio("LIBRO\\CAP01.HTM", 3, "cap01.mp3");
  // Nested keys under the application, values named n, nNOME, nNOMEAUDIO.
  const std::string app = "ZUV MediaPlayer";
  EXPECT_EQ(settings.GetSetting(app, "libro\\cap01.htm", "3"), "83");
  EXPECT_EQ(settings.GetSetting(app, "LIBRO\\CAP01.HTM", "3NOME"), "Capitolo primo");
  EXPECT_EQ(settings.GetSetting(app, "LIBRO\\CAP01.HTM", "3NOMEAUDIO"), "cap01.mp3");
}

TEST_F(BookmarkStoreTest, NumbersWithNameFindsExactlyTheNamesAReadWouldFind) {
  struct Case {
    const char* valueName;
    int number;  // 0: not a bookmark name
  };
  const Case cases[] = {
      {"3NOME", 3},      {"3nome", 3}, {"100NOME", 100}, {"101NOME", 0}, {"03NOME", 0},   {"0NOME", 0},
      {"3NOMEAUDIO", 0}, {"NOME", 0},  {"-3NOME", 0},    {"3", 0},       {"1000NOME", 0}, {"3 NOME", 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.valueName);
    const std::string section = std::string("P") + c.valueName;
    settings.SaveSetting("ZUV MediaPlayer", section, c.valueName, "x");
    EXPECT_EQ(store.NumbersWithName(section), c.number ? std::vector<int>{c.number} : std::vector<int>{});
    if (c.number) {
      EXPECT_EQ(store.Name(section, c.number), "x");
    }
  }
}

}  // namespace
}  // namespace orva
