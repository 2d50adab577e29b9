#include "player/bookmarks/book_walk.h"

#include <gtest/gtest.h>

#include "fakes/memory_file_system.h"

namespace orva {
namespace {

fakes::MemoryFileSystem Book() {
  fakes::MemoryFileSystem fs;
  fs.AddFile("/book/Index.htm");
  fs.AddFile("/book/b/Zeta.htm");
  fs.AddFile("/book/b/alfa.htm");
  fs.AddFile("/book/A/only.htm");
  fs.AddFile("/book/Include/Style1.CSS");  // skipped in any letter case
  fs.AddFile("/book/Libro/a.mp3");
  fs.AddFolder("/book/Empty");
  return fs;
}

std::vector<std::string> Walk(const FileSystem& fs, const std::string& folder,
                              const std::function<WalkNext(const BookFile&)>& decide) {
  std::vector<std::string> seen;
  WalkBook(fs, folder, [&](const BookFile& page) {
    seen.push_back(std::to_string(page.number) + " " + page.folder + "\\" + page.file);
    return decide(page);
  });
  return seen;
}

TEST(WalkBook, VisitsEveryFileOfEveryFolderButIncludeInListingOrder) {
  struct Case {
    const char* title;
    std::function<WalkNext(const BookFile&)> decide;
    std::vector<std::string> seen;
  };
  const Case cases[] = {
      // The recall leaves a folder on a match without counting the file.
      {"leaving a folder keeps the number for the next folder",
       [](const BookFile& p) { return p.file == "alfa.htm" ? WalkNext::kNextFolder : WalkNext::kNextFile; },
       {"1 A\\only.htm", "2 b\\alfa.htm", "2 Libro\\a.mp3"}},
      {"stop ends the walk",
       [](const BookFile& p) { return p.number == 2 ? WalkNext::kStop : WalkNext::kNextFile; },
       {"1 A\\only.htm", "2 b\\alfa.htm"}},
  };
  const auto fs = Book();
  for (const auto& c : cases) {
    SCOPED_TRACE(c.title);
    EXPECT_EQ(Walk(fs, "/book", c.decide), c.seen);
  }
}

}  // namespace
}  // namespace orva
