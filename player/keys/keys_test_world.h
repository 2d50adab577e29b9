#pragma once
// The world the key tests press keys in: the main window on a book in
// memory (see reading_test_world.h), with a reading page "cap01/Pag1.htm"
// titled by its file name, as books are made:
//   - audio 0 "uno.mp3" beside the page (180 s), audio 1 "due.mp3" in
//     "Libro" (30 s, from 5 s), then the next page "Pag2.htm";
//   - previous page "Pag0.htm";
//   - index anchors OrvaIndex_n at the positions a test asks for;
//   - the style sheets INCLUDE/Style1.CSS to Style3.CSS and the help page.
// Keys are traced; LastKey() reads back what the dispatcher traced.

#include <gtest/gtest.h>

#include <optional>
#include <regex>
#include <string>
#include <vector>

#include "common/automation/testing/captured_trace.h"
#include "player/browser/reading_test_world.h"
#include "player/keys/key_codes.h"

namespace orva::keys_testing {

using reading_testing::kHostFolder;
using reading_testing::kProgramFolder;
using reading_testing::Meta;

inline const std::string kPage = "cap01/Pag1.htm";
inline constexpr double kAudio0Seconds = 180;
inline constexpr double kAudio1Seconds = 30;

// An anchor of the page's position index; no position gives an href
// without the marker.
inline FakeElement Anchor(int n, const std::string& href) {
  return FakeElement{.tagName = "A", .id = "OrvaIndex_" + std::to_string(n), .href = href};
}

struct KeysWorld : reading_testing::ReadingWorld {
  orva::testing::CapturedTrace trace{&loop};

  // The reading page with anchors at these positions (seconds); nullopt
  // makes an anchor without the position marker.
  void AddReadingPage(const std::vector<std::optional<int>>& anchors = {0, 60, 120},
                      const std::string& title = "Pag1.htm") {
    FakePage page{.title = title,
                  .elements = {Meta("ZUVPLAYER_AUDIO", "uno.mp3"), Meta("ZUVPLAYER_AUDIO_POS", "0"),
                               Meta("ZUVPLAYER_AUDIO_1", "due.mp3"), Meta("ZUVPLAYER_AUDIO_POS_1", "5"),
                               Meta("ZUVPLAYER_AUDIO_NEXTHTML_1", "Pag2.htm"),
                               Meta("ZUVPLAYER_AUDIO_NEXTHTML_2", "Pag2.htm"),
                               Meta("ZUVPLAYER_AUDIO_PREVHTML", "Pag0.htm")}};
    for (std::size_t i = 0; i < anchors.size(); ++i) {
      const int n = static_cast<int>(i) + 1;
      page.elements.push_back(
          Anchor(n, anchors[i] ? AnchorAddress(*anchors[i]) : Url(kPage) + "#parte" + std::to_string(n)));
    }
    AddPage(kPage, std::move(page));
    AddPage("cap01/Pag0.htm", {.title = "Pag0.htm"});
    AddPage("cap01/Pag2.htm", {.title = "Pag2.htm"});
    AddMedia("cap01/uno.mp3", kAudio0Seconds);
    AddMedia("Libro/uno.mp3", kAudio0Seconds);  // where a seek back looks for it
    AddMedia("Libro/due.mp3", kAudio1Seconds);
  }

  static std::string AnchorAddress(int seconds) {
    return Url(kPage) + "#ZUVPLAYER_AUDIO_POS=" + std::to_string(seconds);
  }

  void AddStyleSheets(const std::vector<std::string>& names = {"Style1.CSS", "Style2.CSS", "Style3.CSS"}) {
    for (const std::string& name : names) disk.AddFile(reading_testing::kHostFolder + "/INCLUDE/" + name);
    disk.AddFile(reading_testing::kHostFolder + "/INCLUDE/help.htm");
  }

  // The window started and the reading page open and playing from 0.
  FrmBrowser& StartReading(const std::vector<std::optional<int>>& anchors = {0, 60, 120}) {
    AddReadingPage(anchors);
    AddStyleSheets();
    FrmBrowser& f = Start();
    Open(kPage);
    return f;
  }

  // The window started as Start() does, on these engines.
  FrmBrowser& StartWithEngines(MediaEngineFactory engines) {
    StartWithoutSplash([this, engines] { return NewPlayer(engines); });
    dialogs.Clear();
    return *form;
  }

  void Press(std::int16_t code, std::int16_t shift) { form->Form_KeyDown(code, shift); }
  void Ctrl(std::int16_t code) { Press(code, keys::kCtrlMask); }
  void Alt(std::int16_t code) { Press(code, keys::kAltMask); }

  // The message on the display, or empty when it is hidden.
  std::string Shown() const { return form->frmOSDVisible ? form->lblOSD : std::string(); }
  double Position() { return form->oPlayer->CurrentPosition(); }
  void PlayFrom(double seconds) {
    form->oPlayer->SetCurrentPosition(seconds);
    loop.DoEvents();
  }

  // The last key the dispatcher traced: a field of it, as written.
  std::string LastKey(const std::string& field) const {
    const std::vector<std::string> lines = trace.Lines();
    for (auto it = lines.rbegin(); it != lines.rend(); ++it) {
      if (it->find("\"ev\":\"key\"") == std::string::npos) continue;
      std::smatch m;
      if (std::regex_search(*it, m, std::regex("\"" + field + "\":(\"[^\"]*\"|[^,}]*)"))) {
        std::string value = m[1];
        if (!value.empty() && value.front() == '"') value = value.substr(1, value.size() - 2);
        return value;
      }
      return "<no " + field + ">";
    }
    return "<no key>";
  }
  int KeysTraced() const {
    int n = 0;
    for (const std::string& line : trace.Lines()) n += line.find("\"ev\":\"key\"") != std::string::npos;
    return n;
  }
};

}  // namespace orva::keys_testing
