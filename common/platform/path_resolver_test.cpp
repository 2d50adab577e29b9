#include "common/platform/path_resolver.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <fstream>

#include "common/platform/host_paths.h"

namespace orva {
namespace {

namespace fs = std::filesystem;

// A book on disk in a folder whose name has a blank, with names in the
// letter case a Linux copy of a Windows book has.
TEST(CaseInsensitivePaths, ResolveEachComponentWithoutRegardToCase) {
  const fs::path root = fs::temp_directory_path() / ("orva paths " + std::to_string(getpid()));
  const std::string book = (root / "Storia Antica").string();
  fs::remove_all(root);
  for (const char* f : {"Index.htm", "cap01/Pag 1.htm", "include/style1.css", "INCLUDE/avvio.jpg",
                        "cap02.htm", "CAP02.htm", "Libro/Cap01.MP3"}) {
    fs::create_directories((fs::path(book) / f).parent_path());
    std::ofstream(fs::path(book) / f) << f;
  }
  CaseInsensitivePaths paths;
  const std::pair<std::string, std::optional<std::string>> cases[] = {
      {"/CAP01/pag 1.HTM", "/cap01/Pag 1.htm"},
      // Two folders that differ only in case: the exact one, else the smallest name.
      {"/INCLUDE/avvio.jpg", "/INCLUDE/avvio.jpg"},
      {"/Cap02.htm", "/CAP02.htm"},
      {"/Libro/cap02.mp3", std::nullopt},
      {"/nowhere/Index.htm", std::nullopt},
  };
  for (const auto& [asked, found] : cases) {
    EXPECT_EQ(paths.Resolve(book + asked), found ? std::optional(book + *found) : std::nullopt) << asked;
  }
  // A new file goes into the folder that exists; an existing one is replaced.
  EXPECT_EQ(paths.ResolveForWriting(book + "/CAP01/Note.txt"), book + "/cap01/Note.txt");
  EXPECT_EQ(paths.ResolveForWriting(book + "/cap01/PAG 1.HTM"), book + "/cap01/Pag 1.htm");
  // A file created after its folder was listed is found.
  std::ofstream(fs::path(book) / "cap01" / "new.htm") << "x";
  EXPECT_EQ(paths.Resolve(book + "/cap01/NEW.htm"), book + "/cap01/new.htm");
  // The core turns file:///…/Storia%20Antica/CAP01/pag%201.htm into a "\"
  // path without its root; the host layer and the case layer bring it back.
  const std::string core = CoreFolderFromHost(book).substr(1) + "\\CAP01\\pag 1.htm";
  const std::string host = HostPathFromCore(core, [](const std::string& f) { return fs::is_directory(f); });
  EXPECT_EQ(paths.Resolve(host), book + "/cap01/Pag 1.htm");
  fs::remove_all(root);
}

TEST(HostPaths, MapCorePathsAndFileAddressesToTheHost) {
  auto rootHas = [](const std::string& folder) { return folder == "/home" || folder == "/media"; };
  const std::pair<const char*, const char*> cases[] = {
      {"\\home\\anna\\Storia Antica\\Index.htm", "/home/anna/Storia Antica/Index.htm"},
      {"home\\anna\\Storia Antica\\Index.htm", "/home/anna/Storia Antica/Index.htm"},  // lost with file:///
      {"audio\\cap01.mp3", "audio/cap01.mp3"},  // relative paths stay in the current folder
      {"C:\\ZUVPlayer_Backup.reg", "C:/ZUVPlayer_Backup.reg"},
      {"", ""},
  };
  for (const auto& [core, host] : cases) EXPECT_EQ(HostPathFromCore(core, rootHas), host) << core;
  EXPECT_EQ(NormaliseFileAddress("file:////home/a/INCLUDE/Style1.CSS"), "file:///home/a/INCLUDE/Style1.CSS");
  EXPECT_EQ(NormaliseFileAddress("FILE:\\\\\\home\\a.htm"), "file:///home/a.htm");
  EXPECT_EQ(NormaliseFileAddress("about:blank"), "about:blank");
  EXPECT_EQ(AddressAsCorePath("\\home\\a\\Index.htm"), "\\home\\a\\Index.htm");
  EXPECT_EQ(AddressAsCorePath("C:\\Libro\\Index.htm"), "C:\\Libro\\Index.htm");
  EXPECT_EQ(AddressAsCorePath("http://x/"), std::nullopt);
}

}  // namespace
}  // namespace orva
