#pragma once
// A media engine that passes every member and every event on to the engine
// it wraps. Engines that change a little of what another engine does derive
// from it and override only that.

#include <memory>
#include <string>
#include <utility>

#include "player/playback/media_engine.h"

namespace orva {

class ForwardingMediaEngine : public MediaEngine {
 public:
  explicit ForwardingMediaEngine(std::unique_ptr<MediaEngine> inner) : inner_(std::move(inner)) {
    // The hosts connect to this engine; relay what the wrapped one raises.
    inner_->events.PlayStateChange = [this](std::int32_t s) {
      if (events.PlayStateChange) events.PlayStateChange(s);
    };
    inner_->events.OpenStateChange = [this](std::int32_t s) {
      if (events.OpenStateChange) events.OpenStateChange(s);
    };
    inner_->events.KeyPress = [this](std::int16_t key) {
      if (events.KeyPress) events.KeyPress(key);
    };
    inner_->events.Error = [this](const MediaError& error) {
      if (events.Error) events.Error(error);
    };
  }
  // The wrapped engine's events point at this one.
  ForwardingMediaEngine(const ForwardingMediaEngine&) = delete;
  ForwardingMediaEngine& operator=(const ForwardingMediaEngine&) = delete;

  HostWindow& Window() override { return inner_->Window(); }
  std::string URL() const override { return inner_->URL(); }
  void SetURL(const std::string& url) override { inner_->SetURL(url); }
  std::int32_t playState() const override { return inner_->playState(); }
  std::string uiMode() const override { return inner_->uiMode(); }
  void SetUiMode(const std::string& mode) override { inner_->SetUiMode(mode); }
  bool enabled() const override { return inner_->enabled(); }
  void SetEnabled(bool value) override { inner_->SetEnabled(value); }
  bool enableContextMenu() const override { return inner_->enableContextMenu(); }
  void SetEnableContextMenu(bool value) override { inner_->SetEnableContextMenu(value); }
  std::string versionInfo() const override { return inner_->versionInfo(); }
  double settingsRate() const override { return inner_->settingsRate(); }
  void SetSettingsRate(double rate) override { inner_->SetSettingsRate(rate); }
  bool settingsAutoStart() const override { return inner_->settingsAutoStart(); }
  void SetSettingsAutoStart(bool value) override { inner_->SetSettingsAutoStart(value); }
  std::int32_t settingsVolume() const override { return inner_->settingsVolume(); }
  void SetSettingsVolume(std::int32_t volume) override { inner_->SetSettingsVolume(volume); }
  void controlsPlay() override { inner_->controlsPlay(); }
  void controlsStop() override { inner_->controlsStop(); }
  void controlsPause() override { inner_->controlsPause(); }
  double controlsCurrentPosition() const override { return inner_->controlsCurrentPosition(); }
  void SetControlsCurrentPosition(double seconds) override { inner_->SetControlsCurrentPosition(seconds); }
  void currentPlaylistClear() override { inner_->currentPlaylistClear(); }
  double currentMediaDuration() const override { return inner_->currentMediaDuration(); }
  std::int32_t currentMediaImageSourceWidth() const override {
    return inner_->currentMediaImageSourceWidth();
  }
  std::int32_t currentMediaImageSourceHeight() const override {
    return inner_->currentMediaImageSourceHeight();
  }

 protected:
  MediaEngine& Inner() const { return *inner_; }

 private:
  std::unique_ptr<MediaEngine> inner_;
};

}  // namespace orva
