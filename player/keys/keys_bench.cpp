// The key map in the core: from the key press to the message on the display,
// for every command that stays on the page (the ones that open a page are
// as fast up to the browser, which then takes its own time to load).
// The main window runs on the in-memory store, the fake browser and the
// fake engine, playing a 180 s audio at 100 s; each benchmark presses its
// keys in turn so the state stays in range (forward then back, louder then
// softer...). Times are per key press.

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "player/browser/testing/frm_browser_world.h"
#include "player/keys/key_codes.h"

namespace orva {
namespace {

using keys::Digit;

struct Key {
  std::int16_t code;
  std::int16_t shift;
};

constexpr std::int16_t kCtrl = keys::kCtrlMask;
constexpr std::int16_t kAlt = keys::kAltMask;

// A main window reading a page with three index anchors and `bookmarks`
// bookmarks in the audio.
struct World : testing::FrmBrowserWorld {
  explicit World(double position = 100, int bookmarks = 0) : FrmBrowserWorld({.hostFolder = "/book"}) {
    for (int n = 1; n <= bookmarks; ++n) {
      const std::string k = std::to_string(n);
      settings.SaveSetting("ZUV MediaPlayer", "CAP01\\PAG1.HTM", k, k);
      settings.SaveSetting("ZUV MediaPlayer", "CAP01\\PAG1.HTM", k + "NOME", "Segno " + k);
      settings.SaveSetting("ZUV MediaPlayer", "CAP01\\PAG1.HTM", k + "NOMEAUDIO", "uno.mp3");
    }
    const std::string page = "file:///book/cap01/Pag1.htm";
    disk.AddFile("/book/cap01/Pag1.htm");
    disk.AddFile("/book/cap01/uno.mp3");
    for (const char* sheet : {"Style1.CSS", "Style2.CSS"})
      disk.AddFile(std::string("/book/INCLUDE/") + sheet);
    media.Add("book\\cap01\\uno.mp3", {.duration = 180});
    FakePage content{.title = "Pag1.htm"};
    content.elements.push_back({.name = "ZUVPLAYER_AUDIO", .content = "uno.mp3"});
    for (int n = 1; n <= 3; ++n)
      content.elements.push_back({.tagName = "A",
                                  .id = "OrvaIndex_" + std::to_string(n),
                                  .href = page + "#ZUVPLAYER_AUDIO_POS=" + std::to_string(60 * (n - 1))});
    browser.AddPage(page, content);
    Start();
    browser.Navigate2(page);
    loop.DoEvents();
    testing::In::Player(*form)->SetCurrentPosition(position);
    testing::In::Player(*form)->SetVolume(50.0);
  }
};

void PressInTurnFrom(benchmark::State& state, double position, const std::vector<Key>& keys,
                     int bookmarks = 0) {
  World world(position, bookmarks);
  std::size_t next = 0;
  for (auto _ : state) {
    const Key& key = keys[next];
    world.form->Form_KeyDown(key.code, key.shift);
    benchmark::DoNotOptimize(world.form->OsdText().data());
    next = (next + 1) % keys.size();
  }
  if (!world.dialogs.ErrorReports().empty()) state.SkipWithError("a key reported a failure");
}

void PressInTurn(benchmark::State& state, const std::vector<Key>& keys) { PressInTurnFrom(state, 100, keys); }

BENCHMARK_CAPTURE(PressInTurn, seek_forward_back, std::vector<Key>{{Digit(2), kCtrl}, {Digit(1), kCtrl}});
BENCHMARK_CAPTURE(PressInTurn, stop, std::vector<Key>{{Digit(4), kCtrl}});
BENCHMARK_CAPTURE(PressInTurn, pause_resume, std::vector<Key>{{Digit(3), kCtrl}});
BENCHMARK_CAPTURE(PressInTurn, louder_softer,
                  std::vector<Key>{{keys::kVkPlus, kCtrl}, {keys::kVkMinus, kCtrl}});
BENCHMARK_CAPTURE(PressInTurn, faster_slower,
                  std::vector<Key>{{keys::kVkPlus, kAlt}, {keys::kVkMinus, kAlt}});
BENCHMARK_CAPTURE(PressInTurn, speed_presets, std::vector<Key>{{Digit(9), kCtrl}});
BENCHMARK_CAPTURE(PressInTurn, configuration_panel, std::vector<Key>{{Digit(8), kCtrl}});
BENCHMARK_CAPTURE(PressInTurn, audio_off_on, std::vector<Key>{{Digit(0), kCtrl}});
// The index keys where they open no page: back in the first section, forward
// after the last anchor.
void IndexBackInTheFirstSection(benchmark::State& state) { PressInTurnFrom(state, 30, {{Digit(7), kAlt}}); }
BENCHMARK(IndexBackInTheFirstSection);
void IndexForwardAfterTheLastAnchor(benchmark::State& state) {
  PressInTurnFrom(state, 150, {{Digit(8), kAlt}});
}
BENCHMARK(IndexForwardAfterTheLastAnchor);
BENCHMARK_CAPTURE(PressInTurn, debug_frame, std::vector<Key>{{keys::Letter('D'), keys::kShiftCtrlAltMask}});
BENCHMARK_CAPTURE(PressInTurn, key_without_command, std::vector<Key>{{Digit(1), kCtrl | keys::kShiftMask}});

// Walking a page's 99 bookmarks: each press recalls one (stop, hand the
// file over, seek, play, show its name).
void NextAndPreviousBookmark(benchmark::State& state) {
  PressInTurnFrom(state, 100, {{Digit(2), kAlt}, {Digit(2), kAlt}, {Digit(1), kAlt}}, 99);
}
BENCHMARK(NextAndPreviousBookmark);

// Adding the 100th bookmark: the scan of the stored names, the name prompt,
// the store and the list. The bookmark is taken away again untimed.
void AddTheHundredthBookmark(benchmark::State& state) {
  World world(100, 99);
  for (auto _ : state) {
    world.dialogs.QueueInput("Nuovo");
    world.form->Form_KeyDown(Digit(3), kAlt);
    state.PauseTiming();
    world.settings.DeleteSetting("ZUV MediaPlayer", "CAP01\\PAG1.HTM", "100");
    world.settings.DeleteSetting("ZUV MediaPlayer", "CAP01\\PAG1.HTM", "100NOME");
    world.settings.DeleteSetting("ZUV MediaPlayer", "CAP01\\PAG1.HTM", "100NOMEAUDIO");
    BookmarkLists& lists = world.form->Bookmarks();
    lists.oMarkers.Remove("Nuovo");
    lists.ListMarkers.RemoveItem(lists.ListMarkers.ListCount() - 1);
    state.ResumeTiming();
  }
  if (!world.dialogs.ErrorReports().empty()) state.SkipWithError("adding reported a failure");
}
BENCHMARK(AddTheHundredthBookmark);

}  // namespace
}  // namespace orva
