#include "player/browser/book_format.h"

#include <gtest/gtest.h>

namespace orva::book {
namespace {

TEST(BookFormat, CommandLinksAreRecognisedInTheirOrderAndCaseRules) {
  struct Case {
    const char* url;
    CommandLink expected;
  };
  const Case cases[] = {
      {"javascript:LOCATION.RELOAD()", CommandLink::kReload},
      // The first marker in the order decides, not the first in the text.
      {"file:///x.htm#ZUVP_PLAY##ZUVP_STOP#", CommandLink::kStop},
      {"file:///x.htm@VIDEO_PERS@film.mpg", CommandLink::kPersonalVideo},
      {"file:///C:/Libro/Film.Avi", CommandLink::kVideo},
      {"file:///C:/Libro/cap01.htm#par2", CommandLink::kNone},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.url);
    EXPECT_EQ(ClassifyCommandLink(c.url), c.expected);
  }
}

TEST(BookFormat, VideoNamesLoseTheirMarkers) {
  EXPECT_EQ(PersonalVideoName("#VIDEO_PERS#video/film.avi@NOFULL@"), "video/film.avi");
  EXPECT_EQ(PersonalVideoName("@VIDEO_PERS@a#b.avi"), "a#b.avi");  // "@" delimits, "#" stays
  EXPECT_EQ(RemoveHtmExtensions("C:\\Libro\\film.avi.htm.HTM"), "C:\\Libro\\film.avi");
  EXPECT_TRUE(WantsWindowedVideo("film.avi@NOFULL@"));
  EXPECT_FALSE(WantsWindowedVideo("film.avi@nofull@"));
}

TEST(BookFormat, AFileNameHasAnExtensionWhenItsLastDotFollowsEverySeparator) {
  struct Case {
    const char* name;
    bool expected;
  };
  // A dot in a folder's name is not the file's.
  const Case cases[] = {
      {"cap01.mp3", true},        {"cap01", false},      {"audio/cap01", false}, {"audio.v2/cap01", false},
      {"audio.v2\\cap01", false}, {"a.b/c.d\\e", false}, {"a/b\\c.d", true},     {"", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(HasExtension(c.name), c.expected);
  }
  EXPECT_TRUE(IsVideoExtension(".avi"));
  EXPECT_FALSE(IsVideoExtension(".mp3"));
}

TEST(BookFormat, IndexPagesAreRecognisedByTheEndOfTheirAddress) {
  struct Case {
    const char* address;
    bool expected;
  };
  const Case cases[] = {
      {"file:///C:/Libro/cap01/index.HTML#top", true},  // in a sub-folder too
      {"file:///C:/Index.htm/a/very/long/tail/page.htm", false},
      {"file:///C:/Libro/indice.htm", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.address);
    EXPECT_EQ(IsIndexPage(c.address), c.expected);
  }
}

}  // namespace
}  // namespace orva::book
