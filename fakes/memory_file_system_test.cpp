#include "fakes/memory_file_system.h"

#include <gtest/gtest.h>

#include "fakes/error_number.h"

#include "common/runtime/vb_error.h"

namespace orva::fakes {
namespace {

TEST(MemoryFileSystem, ListsNamesSortedByTheirUpperCaseForm) {
  MemoryFileSystem fs;
  fs.AddFile("/book/cap02/b.htm");
  fs.AddFile("/book/Cap01/a.htm");
  fs.AddFile("/book/_extra/x.htm");
  fs.AddFile("/book/Cap01/Z.htm");
  fs.AddFile("/book/Cap01/y.htm");
  EXPECT_EQ(fs.SubFolders("/book"), (std::vector<std::string>{"Cap01", "cap02", "_extra"}));
  EXPECT_EQ(fs.Files("/book/Cap01"), (std::vector<std::string>{"a.htm", "y.htm", "Z.htm"}));
}

TEST(MemoryFileSystem, ResolvesPathsWithoutRegardToLetterCase) {
  MemoryFileSystem fs;
  fs.AddFile("/book/cap02/pagina1.htm", "x");
  EXPECT_TRUE(fs.FileExists("/book/Cap02/Pagina1.htm"));
  EXPECT_TRUE(fs.FileExists("\\book\\CAP02\\PAGINA1.HTM"));
  EXPECT_EQ(fs.ReadText("/BOOK/cap02/PAGINA1.htm"), "x");
  EXPECT_TRUE(fs.FolderExists("/Book/Cap02"));
  EXPECT_FALSE(fs.FileExists("/book/cap02"));
}

TEST(MemoryFileSystem, ErrorsCarryTheOldRuntimeNumbers) {
  MemoryFileSystem fs;
  fs.AddFile("/a/locked.txt");
  fs.SetReadOnly("/a/locked.txt");
  EXPECT_EQ(ErrorNumberOf([&] { fs.ReadText("/a/none.txt"); }), 53);
  EXPECT_EQ(ErrorNumberOf([&] { fs.DeleteFile("/a/none.txt"); }), 53);
  EXPECT_EQ(ErrorNumberOf([&] { fs.DeleteFile("/a/locked.txt"); }), 70);
  EXPECT_EQ(ErrorNumberOf([&] { fs.WriteText("/missing/x.txt", "t"); }), 76);
  EXPECT_EQ(ErrorNumberOf([&] { fs.Files("/nowhere"); }), 76);
  EXPECT_TRUE(fs.FileExists("/a/locked.txt"));
}

}  // namespace
}  // namespace orva::fakes
