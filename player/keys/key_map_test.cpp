// The key map: every row reaches its command, and only the exact masks
// select anything.

#include <gtest/gtest.h>

#include "player/browser/testing/frm_browser_world.h"
#include "player/keys/key_codes.h"

namespace orva::testing {
namespace {

using keys::Digit;
using keys::Letter;
constexpr std::int16_t kShift = keys::kShiftMask;
constexpr std::int16_t kCtrl = keys::kCtrlMask;
constexpr std::int16_t kAlt = keys::kAltMask;
constexpr std::int16_t kAll = keys::kShiftCtrlAltMask;
constexpr std::int16_t kPlus = keys::kVkPlus;
constexpr std::int16_t kMinus = keys::kVkMinus;

// What a key opens: a file of the book, or one of these.
constexpr const char* kHelpPage = "<help>";
constexpr const char* kIndexPage = "<index>";

struct RowCase {
  const char* name;
  std::int16_t code;
  std::int16_t shift;
  const char* command;
  const char* shown = "";  // the message on the display after the key
  const char* opens = "";  // what the browser is asked to open
};

std::ostream& operator<<(std::ostream& out, const RowCase& c) { return out << c.name; }

// The page plays from 0 s at speed 1 and volume 100, with style sheet 1 of
// three and anchors at 0, 60 and 120 s.
const RowCase kRows[] = {
    {"F1", keys::kVkF1, 0, "help", "", kHelpPage},
    {"ShiftCtrlAltA", Letter('A'), kAll, "debug_frame"},
    {"Alt9", Digit(9), kAlt, "next_style_sheet", "Stile 2", "cap01/Pag1.htm"},
    {"Alt8", Digit(8), kAlt, "index_forward", "Indice avanti - Indice 1",
     "cap01/Pag1.htm#ZUVPLAYER_AUDIO_POS=0"},
    {"Alt7", Digit(7), kAlt, "index_back", "Indice indietro - Raggiunto l'inizio "},
    {"AltMinus", kMinus, kAlt, "slower", "Lettura più lenta - Rate 0,9"},
    {"AltPlus", kPlus, kAlt, "faster", "Lettura più veloce - Rate 1,1"},
    {"CtrlI", Letter('I'), kCtrl, "index_page", "", kIndexPage},
    {"Ctrl9", Digit(9), kCtrl, "speed_presets", "Lettura veloce - Rate 1,4"},
    {"Ctrl8", Digit(8), kCtrl, "configuration_panel", "Pannello configurazione"},
    {"Ctrl6", Digit(6), kCtrl, "previous_page", "File precedente", "cap01/Pag0.htm"},
    {"Ctrl7", Digit(7), kCtrl, "next_page", "File successivo", "cap01/Pag2.htm"},
    {"Ctrl0", Digit(0), kCtrl, "audio_on_off", "Lettura disattivata"},
    // At the page's first audio, seek back binds it again from one step
    // before its end.
    {"Ctrl1", Digit(1), kCtrl, "seek_back", "INDIETRO 02:50"},
    {"Ctrl2", Digit(2), kCtrl, "seek_forward", "AVANTI 00:10"},
    {"Ctrl4", Digit(4), kCtrl, "stop", "STOP 00:00"},
    {"Ctrl3", Digit(3), kCtrl, "play_pause", "PAUSA 00:00 premere ctrl+3"},
    {"CtrlPlus", kPlus, kCtrl, "louder", "Volume - 100"},
    {"CtrlMinus", kMinus, kCtrl, "softer", "Volume - 90"},
    // Only the exact masks 0, 2, 4 and 7 select commands; the keypad's keys
    // (97: 1, 107: plus) are other keys.
    {"CtrlShift1", Digit(1), kCtrl | kShift, "none"},
    {"Plain2", Digit(2), 0, "none"},
    {"ShiftEsc", keys::kVkEscape, kShift, "none"},
    {"AltI", Letter('I'), kAlt, "none"},
    {"Ctrl5", Digit(5), kCtrl, "none"},
    {"CtrlPad1", 97, kCtrl, "none"},
    {"AltPadPlus", 107, kAlt, "none"},
    // The bookmark keys (what their commands do: frmBrowser_bookmarks_test.cpp).
    {"Esc", keys::kVkEscape, 0, "close_bookmark_list"},
    {"Alt4", Digit(4), kAlt, "delete_all_bookmarks"},
    {"Alt3", Digit(3), kAlt, "add_bookmark"},
    {"Alt6", Digit(6), kAlt, "bookmark_list"},
    {"Alt2", Digit(2), kAlt, "next_bookmark"},
    {"Alt1", Digit(1), kAlt, "previous_bookmark"},
};

struct KeyRowTest : ::testing::Test, FrmBrowserWorld, ::testing::WithParamInterface<RowCase> {};

TEST_P(KeyRowTest, RunsItsCommandAndShowsItsMessage) {
  const RowCase& c = GetParam();
  StartReading();
  Engine().ClearCalls();
  const std::size_t requested = browser.Requested().size();

  Press(c.code, c.shift);

  EXPECT_EQ(LastKey("command"), c.command);
  EXPECT_EQ(Shown(), c.shown);
  EXPECT_EQ(LastKey("osd"), c.shown);
  const std::string opens = c.opens;
  if (opens.empty()) {
    EXPECT_EQ(browser.Requested().size(), requested);
  } else {
    ASSERT_GT(browser.Requested().size(), requested);
    const std::string expected = opens == kHelpPage    ? ProgramFolder() + "\\include\\help.htm"
                                 : opens == kIndexPage ? ProgramFolder() + "\\Index.htm"
                                                       : Url(opens);
    EXPECT_EQ(browser.Requested()[requested], expected);
  }
  if (std::string(c.command) == "none") {
    EXPECT_TRUE(Engine().Calls().empty());
  }
  EXPECT_TRUE(Reports().empty()) << ::testing::PrintToString(Reports());
}

INSTANTIATE_TEST_SUITE_P(EveryRow, KeyRowTest, ::testing::ValuesIn(kRows),
                         [](const auto& p) { return std::string(p.param.name); });

struct KeyMap : ::testing::Test, FrmBrowserWorld {};

TEST_F(KeyMap, PlaybackAndPageKeysWithNothingToActOnDoNothingAndShowNothing) {
  AddPage("cap01/Sola.htm", {.title = "Sola.htm"});
  Start();  // nothing opened: the player holds no file
  for (std::int16_t code : {Digit(1), Digit(2), Digit(3), Digit(4), kPlus, kMinus}) {
    SCOPED_TRACE(code);
    Ctrl(code);
    EXPECT_EQ(LastKey("command"), "none");
  }
  EXPECT_TRUE(Engine().Calls().empty());
  EXPECT_EQ(Stored("Volume"), "100");
  EXPECT_TRUE(Reports().empty());
}

TEST_F(KeyMap, AFailingCommandIsReportedWithTheStepItReached) {
  FrmBrowser& f = StartReading();
  In::State(f).StyleNumber = 32767;  // one more does not fit; no book has that many sheets
  Alt(Digit(9));
  EXPECT_EQ(Reports(), (std::vector<std::string>{"Form_KeyDown - Form KeyDown: Ctrl+Shift+9 / 6"}));
  EXPECT_EQ(Stored("StyleSheet"), "<missing>");
  EXPECT_EQ(LastKey("command"), "next_style_sheet");
}

}  // namespace
}  // namespace orva::testing
