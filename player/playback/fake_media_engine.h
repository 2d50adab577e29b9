#pragma once
// A media engine on the virtual clock, for tests of the player hosts and of
// everything above them. Files are entries of a library the test fills;
// playback position moves with the virtual time times the rate, the end of a
// file arrives exactly when it should, and every member can be made to fail.
//
//   fakes::VirtualEventLoop loop;
//   fakes::FakeMediaLibrary media(loop);
//   media.Add("C:\\Libro\\cap1.mp3", {.duration = 60});
//   oMoxPlayer player(loop, report, media.Factory());
//   ...
//   loop.Advance(60'000);  // the file ends: state 8, then 1
//
// Like the real engine, notifications are posted to the event loop: the
// state after a call is visible at once through playState(), its
// PlayStateChange arrives on the next DoEvents or Advance. Opening a file
// takes one posted step too, so right after URL is set the state is 9
// (transitioning). At the end of a file the engine raises 8 and then 1
// (stopped, rewound to 0); the URL stays.

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "fakes/virtual_event_loop.h"
#include "player/playback/media_engine.h"

namespace orva::fakes {

struct FakeMedia {
  double duration = 0;
  std::int32_t width = 0;  // picture size in pixels; 0 for audio
  std::int32_t height = 0;
};

class FakeMediaEngine;

// The files the fake engines can open, the engines made so far, and the
// failures a test injects.
class FakeMediaLibrary {
 public:
  explicit FakeMediaLibrary(VirtualEventLoop& loop) : loop_(loop) {}

  void Add(const std::string& url, FakeMedia media) { files_[url] = media; }
  const FakeMedia* Find(const std::string& url) const;

  // Each call of the factory makes a new engine.
  MediaEngineFactory Factory();
  // The engine made last, while it is alive; nullptr otherwise.
  FakeMediaEngine* Current() const { return current_; }
  int EnginesMade() const { return made_; }
  int EnginesAlive() const { return alive_; }

  // Members named as the control names them ("settings.rate",
  // "controls.play", "URL", "currentMedia.duration", "versionInfo",
  // "window.visible"...) fail with the error number from now on, in every
  // engine, reads and writes alike; 0 removes the failure.
  void Fail(const std::string& member, int number);
  // The factory fails with this number (0: it works).
  void FailCreation(int number) { failCreation_ = number; }
  // Throws the injected failure of `member`, if any.
  void Check(const std::string& member) const;

  std::string versionInfo = "9.0.0.4503";
  int screenWidth = 1920;
  int screenHeight = 1080;

 private:
  friend class FakeMediaEngine;
  VirtualEventLoop& loop_;
  std::map<std::string, FakeMedia> files_;
  std::map<std::string, int> failures_;
  int failCreation_ = 0;
  FakeMediaEngine* current_ = nullptr;
  int made_ = 0;
  int alive_ = 0;
};

class FakeMediaEngine final : public MediaEngine, public HostWindow {
 public:
  explicit FakeMediaEngine(FakeMediaLibrary& library);
  ~FakeMediaEngine() override;
  FakeMediaEngine(const FakeMediaEngine&) = delete;
  FakeMediaEngine& operator=(const FakeMediaEngine&) = delete;

  // MediaEngine
  HostWindow& Window() override { return *this; }
  std::string URL() const override;
  void SetURL(const std::string& url) override;
  std::int32_t playState() const override;
  std::string uiMode() const override;
  void SetUiMode(const std::string& mode) override;
  bool enabled() const override;
  void SetEnabled(bool value) override;
  bool enableContextMenu() const override;
  void SetEnableContextMenu(bool value) override;
  std::string versionInfo() const override;
  double settingsRate() const override;
  void SetSettingsRate(double rate) override;
  bool settingsAutoStart() const override;
  void SetSettingsAutoStart(bool value) override;
  std::int32_t settingsVolume() const override;
  void SetSettingsVolume(std::int32_t volume) override;
  void controlsPlay() override;
  void controlsStop() override;
  void controlsPause() override;
  double controlsCurrentPosition() const override;
  void SetControlsCurrentPosition(double seconds) override;
  void currentPlaylistClear() override;
  double currentMediaDuration() const override;
  std::int32_t currentMediaImageSourceWidth() const override;
  std::int32_t currentMediaImageSourceHeight() const override;

  // HostWindow
  void SetCaption(const std::string& caption) override;
  bool Visible() const override;
  void SetVisible(bool visible) override;
  WindowState State() const override;
  void SetState(WindowState state) override;
  void SetGeometry(int left, int top, int width, int height) override;
  int ScreenWidth() const override;
  int ScreenHeight() const override;

  // What the test sees and does.
  struct Geometry {
    int left = 0, top = 0, width = 0, height = 0;
    friend bool operator==(const Geometry&, const Geometry&) = default;
  };
  const std::string& Caption() const { return caption_; }
  const Geometry& WindowGeometry() const { return geometry_; }
  // Every call that changes something, in order ("URL=a.mp3",
  // "controls.play", "settings.volume=40", "window.visible=1"...).
  const std::vector<std::string>& Calls() const { return calls_; }
  void ClearCalls() { calls_.clear(); }
  // Every PlayStateChange raised, in order.
  const std::vector<std::int32_t>& RaisedStates() const { return raised_; }
  // The reader presses a key in the window, or types one in the control.
  void PressKey(std::int16_t keyCode, std::int16_t shift = 0);
  void TypeKey(std::int16_t keyAscii);

 private:
  void Record(std::string call) { calls_.push_back(std::move(call)); }
  // Posts `fn` to the event loop; it is dropped if the engine is gone.
  template <class Fn>
  void Post(Fn fn);
  void ChangeState(std::int32_t state);  // and post its PlayStateChange
  void Open();
  void StartClock();
  void StopClock();
  void Ended();
  double Position() const;
  // Raises PlayStateChange; false when a handler destroyed the engine.
  bool Raise(std::int32_t state);

  FakeMediaLibrary& library_;
  std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);

  std::string url_;
  const FakeMedia* media_ = nullptr;  // while a file is open
  std::uint64_t openGeneration_ = 0;
  std::int32_t state_ = playstate::kUndefined;
  std::string uiMode_ = "full";
  bool enabled_ = true;
  bool contextMenu_ = true;
  double rate_ = 1.0;
  bool autoStart_ = true;
  std::int32_t volume_ = 50;
  double position_ = 0;     // while playing: at `since_`
  std::int64_t since_ = 0;  // clock time the position was taken
  TimerId endTimer_ = kNoTimer;
  // Set before the file has opened; applied when it opens.
  std::optional<double> pendingPosition_;
  bool playWhenOpen_ = false;

  std::string caption_;
  bool visible_ = false;
  WindowState windowState_ = WindowState::kNormal;
  Geometry geometry_;

  std::vector<std::string> calls_;
  std::vector<std::int32_t> raised_;
};

}  // namespace orva::fakes
