#include "backends/posix/posix_file_system.h"

#include <gtest/gtest.h>

#include "fakes/error_number.h"

#include <sys/stat.h>

#include <filesystem>
#include <functional>

#include "backends/posix/testing/test_folder.h"
#include "common/runtime/vb_error.h"

namespace orva {
namespace {

namespace fs = std::filesystem;
using testing::TestFolder;

class PosixFileSystemTest : public ::testing::Test {
 protected:
  PosixFileSystemTest() {
    dir.Write("b.htm", "b");
    dir.Write("A.htm", "a");
    dir.Write("_note.txt", "n");
    fs::create_directory(dir / "Capitolo2");
    fs::create_directory(dir / "capitolo1");
    fs::create_directory_symlink(dir / "capitolo1", dir / "link-to-folder");
    fs::create_symlink(dir / "b.htm", dir / "link-to-file");
    fs::create_symlink(dir / "gone", dir / "dangling");
  }
  TestFolder dir;
  PosixFileSystem files;
};

TEST_F(PosixFileSystemTest, ListsFilesAndFoldersApartInBookOrder) {
  EXPECT_EQ(files.Files(dir.Path()),
            (std::vector<std::string>{"A.htm", "b.htm", "link-to-file", "_note.txt"}));
  EXPECT_EQ(files.SubFolders(dir.Path()),
            (std::vector<std::string>{"capitolo1", "Capitolo2", "link-to-folder"}));
}

TEST_F(PosixFileSystemTest, ExistenceTellsFilesFromFolders) {
  const struct {
    const char* name;
    bool file;
    bool folder;
  } cases[] = {
      {"A.htm", true, false},          {"capitolo1", false, true}, {"link-to-file", true, false},
      {"link-to-folder", false, true}, {"dangling", false, false}, {"missing", false, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(files.FileExists(dir / c.name), c.file);
    EXPECT_EQ(files.FolderExists(dir / c.name), c.folder);
  }
}

TEST_F(PosixFileSystemTest, FailuresCarryTheRuntimeNumbers) {
  const struct {
    const char* name;
    std::function<void()> op;
    int number;
  } cases[] = {
      {"list a missing folder", [&] { files.Files(dir / "missing"); }, 76},
      {"read a missing file", [&] { files.ReadText(dir / "missing.htm"); }, 53},
      {"read a folder", [&] { files.ReadText(dir / "capitolo1"); }, 75},
      {"delete a missing file", [&] { files.DeleteFile(dir / "missing.htm"); }, 53},
      {"delete a folder", [&] { files.DeleteFile(dir / "capitolo1"); }, 53},
      {"write in a missing folder", [&] { files.WriteText(dir / "missing/x.reg", "x"); }, 76},
      {"write over a folder", [&] { files.WriteText(dir / "capitolo1", "x"); }, 75},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(ErrorNumberOf(c.op), c.number);
  }
  EXPECT_TRUE(fs::is_directory(dir / "capitolo1"));
}

TEST_F(PosixFileSystemTest, PermissionDeniedIs70) {
  fs::create_directory(dir / "locked");
  dir.Write("locked/x.reg", "old");
  fs::permissions(dir / "locked", fs::perms::owner_read | fs::perms::owner_exec | fs::perms::others_read |
                                      fs::perms::others_exec);
  const int rc = testing::AsOrdinaryUser([&] {
    if (ErrorNumberOf([&] { files.WriteText(dir / "locked/x.reg", "new"); }) != 70) return 1;
    return ErrorNumberOf([&] { files.DeleteFile(dir / "locked/x.reg"); }) != 70 ? 2 : 0;
  });
  EXPECT_EQ(rc, 0) << "1: the write, 2: the deletion was not refused with 70";
  EXPECT_EQ(dir.Read("locked/x.reg"), "old");
}

TEST_F(PosixFileSystemTest, ReadsAndWritesBytesAsStored) {
  const std::string bytes("REGEDIT4\r\n\r\n[HKEY\xE8]\0end", 21);
  files.WriteText(dir / "x.reg", bytes);
  EXPECT_EQ(files.ReadText(dir / "x.reg"), bytes);
}

}  // namespace
}  // namespace orva
