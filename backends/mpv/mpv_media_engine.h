#pragma once
// The media engine on libmpv. mpv keeps natural pitch at every speed, plays
// every format the books use, and reports through events that this engine
// turns into the control's play states:
//  - a stop keeps the file (pause and rewind, with our own stopped flag);
//  - the end of a file is 8 once, then 1 (stopped, rewound), URL kept;
//  - a position set before the file has opened is applied when it opens,
//    clamped to 0 … duration; while paused the position read back is the
//    target of the last seek until playback resumes;
//  - pause, speed and volume are set anew for every file;
//  - a file that cannot be opened raises one Error and no playing state;
//  - without a sound device files play on in silence; the first engine of a
//    factory to find that out raises one Error (kNoAudioOutput).
//
// Threads: mpv's wakeup callback only posts a queued call to the GUI thread;
// there that call drains mpv_wait_event(0) until it is empty. Every
// notification of the interface is queued as well, so none is raised from
// inside the call that caused it, and a handler may destroy the engine.
//
// mpv refuses to start unless LC_NUMERIC is "C"; the constructor sets it
// (after QApplication, which sets the locale from the environment).

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "player/playback/media_engine.h"

struct mpv_handle;
struct mpv_event;

namespace orva::mpvbackend {

class MpvVideoWindow;
class MpvEventPump;

struct MpvEngineOptions {
  // Further mpv options, applied after the engine's own (so they win):
  // {"ao", "null"}, {"vo", "null"}, {"untimed", "yes"}, {"ao", "pcm"},
  // {"ao-pcm-file", path}...
  std::vector<std::pair<std::string, std::string>> extra;
  // Draw the picture into the host window. Off when vo is null.
  bool embedVideo = true;

  // For tests and benchmarks without sound or screen: no output at all, and
  // with `untimed` as fast as the machine can decode.
  static MpvEngineOptions Headless(bool untimed);
};

class MpvMediaEngine final : public MediaEngine {
 public:
  // Throws VbError when mpv cannot be started. Engines that share
  // `silenceTold` tell a missing sound device once among them.
  explicit MpvMediaEngine(MpvEngineOptions options = {}, std::shared_ptr<bool> silenceTold = nullptr);
  ~MpvMediaEngine() override;
  MpvMediaEngine(const MpvMediaEngine&) = delete;
  MpvMediaEngine& operator=(const MpvMediaEngine&) = delete;

  HostWindow& Window() override;
  std::string URL() const override { return url_; }
  void SetURL(const std::string& url) override;
  std::int32_t playState() const override { return state_; }
  std::string uiMode() const override { return uiMode_; }
  void SetUiMode(const std::string& mode) override;
  bool enabled() const override { return enabled_; }
  void SetEnabled(bool value) override;
  bool enableContextMenu() const override { return contextMenu_; }
  void SetEnableContextMenu(bool value) override { contextMenu_ = value; }
  std::string versionInfo() const override;
  double settingsRate() const override { return rate_; }
  void SetSettingsRate(double rate) override;
  bool settingsAutoStart() const override { return autoStart_; }
  void SetSettingsAutoStart(bool value) override { autoStart_ = value; }
  std::int32_t settingsVolume() const override { return volume_; }
  void SetSettingsVolume(std::int32_t volume) override;
  void controlsPlay() override;
  void controlsStop() override;
  void controlsPause() override;
  double controlsCurrentPosition() const override;
  void SetControlsCurrentPosition(double seconds) override;
  void currentPlaylistClear() override;
  double currentMediaDuration() const override;
  std::int32_t currentMediaImageSourceWidth() const override { return width_; }
  std::int32_t currentMediaImageSourceHeight() const override { return height_; }

 private:
  friend class MpvEventPump;
  void Drain();
  // Runs `fn` later on the GUI thread, unless the engine is gone by then.
  void Post(std::function<void()> fn);
  bool GetFlag(const char* name) const;
  void Handle(const mpv_event& event);
  bool FellBackToNoSound() const;
  void OnFileLoaded();
  void OnSeekFinished();
  void OnEndOfFile();
  void OnLoadFailed(int mpvError);
  void ChangeState(std::int32_t state);
  void Unload();
  void SetFlag(const char* name, bool value);
  void SetDouble(const char* name, double value);
  std::optional<double> GetDouble(const char* name) const;
  std::optional<std::string> GetText(const char* name) const;
  void Seek(double seconds);
  void Command(std::vector<std::string> args);

  std::shared_ptr<bool> silenceTold_;
  mpv_handle* mpv_ = nullptr;
  std::unique_ptr<MpvVideoWindow> window_;
  MpvEventPump* pump_ = nullptr;  // deleted later, never under its own call

  std::string url_;
  std::int32_t state_ = playstate::kUndefined;
  // The playlist entry of the file now being opened or open, 0 for none.
  std::int64_t entry_ = 0;
  bool startSeen_ = false;  // its START_FILE has arrived
  bool loaded_ = false;     // its FILE_LOADED has arrived
  bool failed_ = false;     // it could not be opened
  bool playWhenLoaded_ = false;
  std::optional<double> pendingPosition_;  // set before the file opened
  std::optional<double> seekTarget_;       // reported while paused
  bool seekPending_ = false;               // mpv has not finished the seek
  bool seekStarted_ = false;               // mpv has begun it
  // The file starts once the seek to its start position has finished, so
  // nothing before that position is heard.
  bool playAfterSeek_ = false;
  bool ended_ = false;

  std::string uiMode_ = "full";
  bool enabled_ = true;
  bool contextMenu_ = true;
  double rate_ = 1.0;
  bool autoStart_ = true;
  std::int32_t volume_ = 50;
  std::int32_t width_ = 0;
  std::int32_t height_ = 0;
};

// Makes an mpv engine per call, for the player hosts; a missing sound device
// is told by the first of them only.
MediaEngineFactory MakeMpvEngineFactory(MpvEngineOptions options = {});

}  // namespace orva::mpvbackend
