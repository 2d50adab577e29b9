#include "common/platform/path_resolver.h"

#include <gtest/gtest.h>

#include <fstream>

#include "common/platform/host_paths.h"

namespace orva {
namespace {

namespace fs = std::filesystem;

// A book on disk in a folder whose name has a blank, with names in the
// letter case a Linux copy of a Windows book has.
struct BookOnDisk : ::testing::Test {
  fs::path root = fs::temp_directory_path() /
                  ("orva paths " + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
                   ::testing::UnitTest::GetInstance()->current_test_info()->name());
  std::string book = (root / "Storia Antica").string();

  BookOnDisk() {
    fs::remove_all(root);
    for (const char* f : {"Index.htm", "cap01/Pag 1.htm", "include/style1.css", "INCLUDE/avvio.jpg",
                          "cap02.htm", "CAP02.htm", "Libro/Cap01.MP3"}) {
      fs::create_directories((fs::path(book) / f).parent_path());
      std::ofstream(fs::path(book) / f) << f;
    }
  }
  ~BookOnDisk() override { fs::remove_all(root); }
};

TEST_F(BookOnDisk, ResolvesEachComponentWithoutRegardToCase) {
  CaseInsensitivePaths paths;
  struct Case {
    std::string asked;
    std::optional<std::string> found;
  };
  const Case cases[] = {
      {book + "/INDEX.HTM", book + "/Index.htm"},
      {book + "/CAP01/pag 1.HTM", book + "/cap01/Pag 1.htm"},
      {book + "/Include/Style1.CSS", book + "/include/style1.css"},
      // Two folders that differ only in case: the exact one, else the
      // smallest name.
      {book + "/INCLUDE/avvio.jpg", book + "/INCLUDE/avvio.jpg"},
      {book + "/Cap02.htm", book + "/CAP02.htm"},
      {book + "/libro/cap01.mp3", book + "/Libro/Cap01.MP3"},
      {book + "/Libro/cap02.mp3", std::nullopt},
      {book + "/nowhere/Index.htm", std::nullopt},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.asked);
    EXPECT_EQ(paths.Resolve(c.asked), c.found);
  }
  // A new file goes into the folder that exists; an existing one is replaced.
  EXPECT_EQ(paths.ResolveForWriting(book + "/CAP01/Note.txt"), book + "/cap01/Note.txt");
  EXPECT_EQ(paths.ResolveForWriting(book + "/cap01/PAG 1.HTM"), book + "/cap01/Pag 1.htm");
}

TEST_F(BookOnDisk, FindsFilesCreatedAfterTheFolderWasListed) {
  CaseInsensitivePaths paths;
  EXPECT_EQ(paths.Resolve(book + "/cap01/NEW.htm"), std::nullopt);
  std::ofstream(fs::path(book) / "cap01" / "new.htm") << "x";
  EXPECT_EQ(paths.Resolve(book + "/cap01/NEW.htm"), book + "/cap01/new.htm");
}

TEST_F(BookOnDisk, CorePathsFromFileAddressesReachTheBook) {
  // The core turns file:///…/Storia%20Antica/CAP01/pag%201.htm into a "\"
  // path without its root; the host layer and the case layer bring it back.
  const std::string core = CoreFolderFromHost(book).substr(1) + "\\CAP01\\pag 1.htm";
  const std::string host = HostPathFromCore(core, [](const std::string& f) { return fs::is_directory(f); });
  EXPECT_EQ(host, book + "/CAP01/pag 1.htm");
  CaseInsensitivePaths paths;
  EXPECT_EQ(paths.Resolve(host), book + "/cap01/Pag 1.htm");
}

TEST(HostPaths, MapCorePathsToTheHost) {
  auto rootHas = [](const std::string& folder) { return folder == "/home" || folder == "/media"; };
  struct Case {
    const char* core;
    const char* host;
  };
  const Case cases[] = {
      {"\\home\\anna\\Storia Antica\\Index.htm", "/home/anna/Storia Antica/Index.htm"},
      {"home\\anna\\Storia Antica\\Index.htm", "/home/anna/Storia Antica/Index.htm"},  // lost with file:///
      {"media\\cd\\x.mp3", "/media/cd/x.mp3"},
      {"cap01.mp3", "cap01.mp3"},               // bare names stay in the current folder
      {"audio\\cap01.mp3", "audio/cap01.mp3"},  // so do relative paths
      {"C:\\ZUVPlayer_Backup.reg", "C:/ZUVPlayer_Backup.reg"},
      {"", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.core);
    EXPECT_EQ(HostPathFromCore(c.core, rootHas), c.host);
  }
  EXPECT_EQ(CoreFolderFromHost("/home/anna/Storia Antica"), "\\home\\anna\\Storia Antica");
}

TEST(HostPaths, FileAddressesGetThreeSlashes) {
  EXPECT_EQ(NormaliseFileAddress("file:////home/a/INCLUDE/Style1.CSS"), "file:///home/a/INCLUDE/Style1.CSS");
  EXPECT_EQ(NormaliseFileAddress("file:///C:/a/b.htm#x#y"), "file:///C:/a/b.htm#x#y");
  EXPECT_EQ(NormaliseFileAddress("FILE:\\\\\\home\\a.htm"), "file:///home/a.htm");
  EXPECT_EQ(NormaliseFileAddress("about:blank"), "about:blank");
  EXPECT_EQ(AddressAsCorePath("\\home\\a\\Index.htm"), "\\home\\a\\Index.htm");
  EXPECT_EQ(AddressAsCorePath("C:\\Libro\\Index.htm"), "C:\\Libro\\Index.htm");
  EXPECT_EQ(AddressAsCorePath("http://x/"), std::nullopt);
}

}  // namespace
}  // namespace orva
