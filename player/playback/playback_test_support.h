#pragma once
// The world the playback tests play in: a virtual clock, a library of fake
// media files, the error report and a facade whose events are recorded.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "fakes/scripted_dialogs.h"
#include "fakes/virtual_event_loop.h"
#include "player/panels/mdlMain.h"
#include "player/playback/fake_media_engine.h"
#include "player/playback/oMoxPlayer.h"

namespace orva::testing {

inline const std::string kAudio = "C:\\Libro\\cap1.mp3";   // 60 s
inline const std::string kAudio2 = "C:\\Libro\\cap2.mp3";  // 30 s
inline const std::string kVideo = "C:\\Libro\\film.avi";   // 20 s, 640x480

struct PlaybackWorld : ::testing::Test {
  fakes::VirtualEventLoop loop;
  fakes::ScriptedDialogs dialogs;
  MdlMain report{dialogs, nullptr};
  fakes::FakeMediaLibrary media{loop};
  std::unique_ptr<oMoxPlayer> player;
  std::vector<std::int32_t> states;      // PlayStateChange as the main window sees it
  std::vector<std::string> fileChanges;  // PlayFileChange
  std::vector<std::string> messages;     // PlayMessage

  PlaybackWorld() {
    media.Add(kAudio, {.duration = 60});
    media.Add(kAudio2, {.duration = 30});
    media.Add(kVideo, {.duration = 20, .width = 640, .height = 480});
    player = MakePlayer();
  }

  std::unique_ptr<oMoxPlayer> MakePlayer() {
    auto p = std::make_unique<oMoxPlayer>(loop, report, media.Factory());
    p->PlayStateChange = [this](std::int32_t mode) { states.push_back(mode); };
    p->PlayFileChange = [this](const std::string& file) { fileChanges.push_back(file); };
    p->PlayMessage = [this](const std::string& text) { messages.push_back(text); };
    return p;
  }

  // The main window's order: engine, settings, file, play; then the engine
  // opens the file.
  void Play(const std::string& file, std::int16_t versione = 1) {
    if (player->Versione() != versione || player->CurrentPlayer() == nullptr) player->SetVersione(versione);
    player->SetFileName(file);
    player->Play_Player();
    loop.DoEvents();
  }

  fakes::FakeMediaEngine& Engine() {
    fakes::FakeMediaEngine* engine = media.Current();
    if (engine == nullptr) throw std::logic_error("no engine");
    return *engine;
  }

  // "procedure / number" of every error report shown.
  std::vector<std::string> Reports() const { return dialogs.ErrorReportCodes(); }
};

}  // namespace orva::testing
