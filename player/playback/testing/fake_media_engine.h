#pragma once
// A media engine on the virtual clock, for tests of the player hosts and of
// everything above them. Files are entries of a library the test fills; the
// position moves with the virtual time times the rate and a file ends exactly
// when it should. As on the real engine, a call changes playState() at once
// and its PlayStateChange arrives from the event loop; a new URL is state 9
// until the file has opened; the end of a file is 8, then 1 (rewound, URL
// kept).

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <type_traits>
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

// The files the fake engines can open and the failures a test injects.
class FakeMediaLibrary {
 public:
  explicit FakeMediaLibrary(VirtualEventLoop& loop) : loop_(loop) {}

  void Add(const std::string& url, FakeMedia media) { files_[url] = media; }
  MediaEngineFactory Factory();
  // The engine made last, while it is alive; nullptr otherwise.
  FakeMediaEngine* Current() const { return current_; }
  int EnginesAlive() const { return alive_; }
  // A member ("settings.rate", "playState"...) fails with `number` from now
  // on, in every engine; 0 removes the failure.
  void Fail(const std::string& member, int number) { failures_[member] = number; }
  // The factory fails with this number (0: it works).
  void FailCreation(int number) { failCreation_ = number; }

 private:
  friend class FakeMediaEngine;
  VirtualEventLoop& loop_;
  std::map<std::string, FakeMedia> files_;
  std::map<std::string, int> failures_;
  int failCreation_ = 0;
  FakeMediaEngine* current_ = nullptr;
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
  std::string URL() const override { return Read("URL", url_); }
  void SetURL(const std::string& url) override;
  std::int32_t playState() const override { return Read("playState", state_); }
  std::string uiMode() const override { return Read("uiMode", uiMode_); }
  void SetUiMode(const std::string& mode) override { Write("uiMode", uiMode_, mode); }
  bool enabled() const override { return enabled_; }
  void SetEnabled(bool value) override { Write("enabled", enabled_, value); }
  bool enableContextMenu() const override { return contextMenu_; }
  void SetEnableContextMenu(bool value) override { Write("enableContextMenu", contextMenu_, value); }
  std::string versionInfo() const override { return "9.0.0.4503"; }
  double settingsRate() const override { return Read("settings.rate", rate_); }
  void SetSettingsRate(double rate) override;
  bool settingsAutoStart() const override { return autoStart_; }
  void SetSettingsAutoStart(bool value) override { Write("settings.autoStart", autoStart_, value); }
  std::int32_t settingsVolume() const override { return volume_; }
  void SetSettingsVolume(std::int32_t volume) override;
  void controlsPlay() override;
  void controlsStop() override;
  void controlsPause() override;
  double controlsCurrentPosition() const override;
  void SetControlsCurrentPosition(double seconds) override;
  void currentPlaylistClear() override;
  double currentMediaDuration() const override { return Read("currentMedia.duration", media_.duration); }
  std::int32_t currentMediaImageSourceWidth() const override { return media_.width; }
  std::int32_t currentMediaImageSourceHeight() const override { return media_.height; }

  // HostWindow, on a 1920x1080 screen
  void SetCaption(const std::string& caption) override { Record("window.caption=" + caption); }
  bool Visible() const override { return visible_; }
  void SetVisible(bool visible) override { Write("window.visible", visible_, visible); }
  WindowState State() const override { return windowState_; }
  void SetState(WindowState state) override { Write("window.state", windowState_, state); }
  void SetGeometry(int left, int top, int width, int height) override;
  int ScreenWidth() const override { return 1920; }
  int ScreenHeight() const override { return 1080; }

  // Every call that changes something, in order ("URL=a.mp3", "controls.play"...).
  const std::vector<std::string>& Calls() const { return calls_; }
  void ClearCalls() { calls_.clear(); }

 private:
  void Check(const char* member) const;
  template <class T>
  T Read(const char* member, const T& value) const {
    Check(member);
    return value;
  }
  template <class T>
  void Write(const char* member, T& field, const T& value) {
    Check(member);
    if constexpr (std::is_same_v<T, std::string>)
      Record(std::string(member) + "=" + value);
    else
      Record(std::string(member) + "=" + std::to_string(static_cast<int>(value)));
    field = value;
  }
  void Record(std::string call) { calls_.push_back(std::move(call)); }
  void ChangeState(std::int32_t state);
  void Open();
  double Position() const;
  // Moves the position to `seconds` and, while playing, restarts the clock
  // and the timer of the end from there.
  void MoveTo(double seconds);
  void Ended();

  FakeMediaLibrary& library_;
  std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);

  std::string url_;
  bool open_ = false;
  FakeMedia media_;  // of the open file; all zero while none is open
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
  bool visible_ = false;
  WindowState windowState_ = WindowState::kNormal;
  std::vector<std::string> calls_;
};

}  // namespace orva::fakes
