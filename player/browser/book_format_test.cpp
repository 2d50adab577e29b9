#include "player/browser/book_format.h"

#include <gtest/gtest.h>

#include "common/runtime/locale_settings.h"
#include "common/runtime/vb_error.h"

namespace orva::book {
namespace {

TEST(BookFormat, CommandLinksAreRecognisedInTheirOrderAndCaseRules) {
  struct Case {
    const char* url;
    CommandLink expected;
  };
  const Case cases[] = {
      {"file:///C:/Libro/cap01.htm#ZUVP_STOP#", CommandLink::kStop},
      {"file:///C:/Libro/cap01.htm#zuvp_stop#", CommandLink::kNone},         // exact case
      {"file:///C:/Libro/cap01.htm#location.reload", CommandLink::kReload},  // any case
      {"javascript:LOCATION.RELOAD()", CommandLink::kReload},
      // The first marker in the order decides, not the first in the text.
      {"file:///x.htm#ZUVP_PLAY##ZUVP_STOP#", CommandLink::kStop},
      {"file:///x.htm#ZUVP_PAUSE#", CommandLink::kPause},
      {"file:///x.htm#ZUVP_PLAY#", CommandLink::kPlay},
      {"file:///x.htm#ZUVP_KEYCMD##KEYCTRL#77", CommandLink::kKeyCommand},
      {"file:///x.htm#VIDEO_PERS#film.avi", CommandLink::kPersonalVideo},
      {"file:///x.htm@VIDEO_PERS@film.mpg", CommandLink::kPersonalVideo},
      {"file:///C:/Libro/Film.Avi", CommandLink::kVideo},
      {"file:///C:/Libro/film.wmv@NOFULL@", CommandLink::kVideo},
      {"file:///C:/Libro/film.m1v", CommandLink::kVideo},
      {"file:///x.htm#PLAYVIDEODIZIONARIO", CommandLink::kVideo},
      {"file:///C:/Libro/INDEX.HTM", CommandLink::kNone},
      {"file:///C:/Libro/cap01.htm#par2", CommandLink::kNone},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.url);
    EXPECT_EQ(ClassifyCommandLink(c.url), c.expected);
  }
}

TEST(BookFormat, KeyCommandsCarryTheirModifiersFromAnywhereInTheAddress) {
  const KeyCommand ctrlShift = ParseKeyCommand("file:///x.htm#KEYSHIFT##ZUVP_KEYCMD##KEYCTRL#39");
  EXPECT_EQ(ctrlShift.keyCode, 39);
  EXPECT_EQ(ctrlShift.shift, 3);
  const KeyCommand alt = ParseKeyCommand("file:///x.htm#ZUVP_KEYCMD##KEYALT#56");
  EXPECT_EQ(alt.keyCode, 56);
  EXPECT_EQ(alt.shift, 4);
  try {
    ParseKeyCommand("file:///x.htm#ZUVP_KEYCMD#abc");
    FAIL() << "a key code that is not a number must fail";
  } catch (const VbError& e) {
    EXPECT_EQ(e.Number(), vberr::kTypeMismatch);
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
      {"file:///C:/Libro/Index.htm", true},
      {"file:///C:/Libro/cap01/index.HTML#top", true},  // in a sub-folder too
      {"file:///C:/Index.htm/a/very/long/tail/page.htm", false},
      {"file:///C:/Libro/indice.htm", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.address);
    EXPECT_EQ(IsIndexPage(c.address), c.expected);
  }
}

TEST(BookFormat, PositionsAreReadFromTheEndOfTheAddress) {
  EXPECT_EQ(PositionTextFromAddress("file:///C:/Libro/cap01.htm#ZUVPLAYER_AUDIO_POS=125"), "125");
  // Without the marker the text from the twentieth character on is taken.
  EXPECT_EQ(PositionTextFromAddress("#abcdefghijklmnopqrstuvwxyz"), "stuvwxyz");
  EXPECT_EQ(PositionTextFromAddress("short"), "");
  ScopedNumberFormat italian({',', '.'});
  EXPECT_DOUBLE_EQ(ParsePosition("12,5"), 12.5);
}

TEST(BookFormat, ElementNamesAndMessages) {
  EXPECT_EQ(AudioElement(0), "ZUVPLAYER_AUDIO");
  EXPECT_EQ(AudioElement(2), "ZUVPLAYER_AUDIO_2");
  EXPECT_EQ(PositionElement(0), "ZUVPLAYER_AUDIO_POS");
  EXPECT_EQ(PositionElement(3), "ZUVPLAYER_AUDIO_POS_3");
  EXPECT_EQ(NextHtmlElement(1), "ZUVPLAYER_AUDIO_NEXTHTML_1");
  EXPECT_EQ(IndexAnchorElement(4), "OrvaIndex_4");
  MessageTexts texts;
  EXPECT_EQ(texts[Message::kUscita], "Sei sicuro di voler uscire?");
  texts.Set(Message::kUscita, "Really quit?");
  EXPECT_EQ(texts[Message::kUscita], "Really quit?");
  texts.ResetToDefaults();
  EXPECT_EQ(texts[Message::kUscita], "Sei sicuro di voler uscire?");
  for (std::size_t i = 0; i < kMessages.size(); ++i) EXPECT_EQ(static_cast<std::size_t>(kMessages[i].id), i);
}

TEST(BookFormat, BookPathsFromTheProgramFolder) {
  EXPECT_EQ(IndexPathOf("C:\\Libri\\Storia"), "C:\\Libri\\Storia\\Index.htm");
  EXPECT_EQ(IndexPathOf("C:\\"), "C:\\Index.htm");
  EXPECT_EQ(IndexPathOf("\\home\\anna\\Storia Antica"), "\\home\\anna\\Storia Antica\\Index.htm");
  EXPECT_EQ(StyleSheetAddress("C:\\Libri\\Storia", 2), "file:///C:/Libri/Storia/INCLUDE/Style2.CSS");
}

}  // namespace
}  // namespace orva::book
