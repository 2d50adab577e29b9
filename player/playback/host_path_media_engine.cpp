#include "player/playback/host_path_media_engine.h"

#include <filesystem>
#include <system_error>
#include <utility>

#include "common/platform/host_paths.h"
#include "common/platform/path_resolver.h"

namespace orva {

namespace {

class HostPathMediaEngine final : public MediaEngine {
 public:
  HostPathMediaEngine(std::unique_ptr<MediaEngine> inner, MediaPathMapper toHost)
      : inner_(std::move(inner)), toHost_(std::move(toHost)) {
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

  HostWindow& Window() override { return inner_->Window(); }
  std::string URL() const override {
    const std::string opened = inner_->URL();
    return opened == opened_ ? given_ : opened;
  }
  void SetURL(const std::string& url) override {
    std::string host = url.empty() ? url : toHost_(url);
    inner_->SetURL(host);
    given_ = url;
    opened_ = std::move(host);
  }
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

 private:
  std::unique_ptr<MediaEngine> inner_;
  MediaPathMapper toHost_;
  std::string given_;   // the name as the core gave it
  std::string opened_;  // the path the wrapped engine was given for it
};

}  // namespace

std::string HostMediaPath(const std::string& coreName) {
  if (!AddressAsCorePath(coreName)) return coreName;
  const std::string host = HostPathFromCore(coreName, [](const std::string& folder) {
    std::error_code ec;
    return std::filesystem::is_directory(folder, ec);
  });
  static CaseInsensitivePaths paths;
  return paths.Resolve(host).value_or(host);
}

MediaEngineFactory WithHostPaths(MediaEngineFactory inner, MediaPathMapper toHost) {
  return [inner = std::move(inner), toHost = std::move(toHost)]() -> std::unique_ptr<MediaEngine> {
    std::unique_ptr<MediaEngine> engine = inner();
    if (!engine) return engine;
    return std::make_unique<HostPathMediaEngine>(std::move(engine), toHost);
  };
}

}  // namespace orva
