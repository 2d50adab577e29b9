#include "player/browser/addresses.h"

#include <gtest/gtest.h>

#include "common/platform/host_paths.h"

namespace orva {
namespace {

struct SectionCase {
  const char* name;
  const char* folder;
  const char* url;
  const char* key;
};

TEST(Section, GivesThePathInsideTheBookInCapitals) {
  const std::string linuxFolder = CoreFolderFromHost("/home/anna/Storia Antica");
  const SectionCase cases[] = {
      {"windows folder with a blank", "C:\\Books\\Storia Antica",
       "file:///C:/Books/Storia%20Antica/cap01/Pag%201.html#x", "CAP01\\PAG 1.HTM"},
      {"linux folder with a blank", linuxFolder.c_str(),
       "file:///home/anna/Storia%20Antica/cap01/Pag%201.html#x", "CAP01\\PAG 1.HTM"},
      {"query before fragment", "C:\\Libro", "file:///C:/Libro/cap01.htm?a=1#b", "CAP01.HTM"},
      {"fragment without query", "C:\\Libro", "file:///C:/Libro/cap01/pag.htm#ZUVPLAYER_AUDIO_POS=3",
       "CAP01\\PAG.HTM"},
      {"first .HTM in a folder name decides", "C:\\Libro", "file:///C:/Libro/old.htm.d/pag.htm", "OLD.HTM"},
      {"outside the program folder keeps its path without drive", "C:\\Libro", "file:///D:/Altro/Cap.htm",
       "ALTRO\\CAP.HTM"},
      {"web page", "C:\\Libro", "http://www.example.org/Dir/Page.html", "WWW.EXAMPLE.ORG\\DIR\\PAGE.HTM"},
      {"blank page", "C:\\Libro", "about:blank", "ABOUT:BLANK"},
      {"empty", "C:\\Libro", "", ""},
  };
  for (const SectionCase& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(SectionKey(c.url, c.folder), c.key);
  }
}

TEST(PulisciUrl, TurnsVideoLinksIntoFilePaths) {
  struct Case {
    const char* name;
    const char* url;
    const char* expected;
  };
  const char* page = "file:///C:/Libro/cap01/pag1.htm";
  const Case cases[] = {
      // A fragment of the page on view, relative to the page's folder.
      {"fragment of the page", "file:///C:/Libro/cap01/pag1.htm#video/intro.avi",
       "C:\\Libro\\cap01\\video\\intro.avi"},
      {"query after the fragment", "file:///C:/Libro/cap01/pag1.htm#x?film.avi",
       "C:\\Libro\\cap01\\film.avi"},
      {"names the program folder", "#C:\\Libro\\film.avi", "C:\\Libro\\film.avi"},
      {"every @ removed", "file:///C:/Libro/cap01/pag1.htm#a@b%20c.avi", "C:\\Libro\\cap01\\ab c.avi"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(CleanVideoAddress(c.url, page, "pag1.htm", "C:\\Libro"), c.expected);
  }
}

TEST(SavedPage, IsTestedAsAFileWithoutQueryOrFragment) {
  struct Case {
    const char* address;
    const char* path;
  };
  const Case cases[] = {
      {"file:///C:/L/a.htm?x=1#y?z", "C:\\L\\a.htm?x=1#y"},  // the last "?" decides
      {"file:///C:/L/a.htm#b#c", "C:\\L\\a.htm#b"},          // else the last "#"
      {"", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.address);
    EXPECT_EQ(SavedPagePath(c.address), c.path);
  }
}

TEST(PageFolder, IsTheAddressWithoutTheLocationName) {
  EXPECT_EQ(PageFolderAddress("file:///C:/L/cap01.htm#x", "cap01"), "file:///C:/L/");
  EXPECT_EQ(PageFolderAddress("file:///C:/L/cap01.html", "cap01.html"), "file:///C:/L/");
  EXPECT_EQ(PageFolderAddress("file:///C:/L/cap01.htm", "Capitolo uno"), "file:///C:/L/cap01.htm");
}

}  // namespace
}  // namespace orva
