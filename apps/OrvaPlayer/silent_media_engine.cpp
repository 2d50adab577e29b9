#include "apps/OrvaPlayer/silent_media_engine.h"

#include <memory>
#include <ostream>

#include "common/automation/trace_events.h"

namespace orva {

namespace {

class SilentMediaEngine final : public MediaEngine, public HostWindow {
 public:
  HostWindow& Window() override { return *this; }
  std::string URL() const override { return url_; }
  void SetURL(const std::string& url) override { url_ = url; }
  std::int32_t playState() const override { return state_; }
  std::string uiMode() const override { return uiMode_; }
  void SetUiMode(const std::string& mode) override { uiMode_ = mode; }
  bool enabled() const override { return enabled_; }
  void SetEnabled(bool value) override { enabled_ = value; }
  bool enableContextMenu() const override { return contextMenu_; }
  void SetEnableContextMenu(bool value) override { contextMenu_ = value; }
  std::string versionInfo() const override { return "0.0.0.0"; }
  double settingsRate() const override { return rate_; }
  void SetSettingsRate(double rate) override { rate_ = rate; }
  bool settingsAutoStart() const override { return autoStart_; }
  void SetSettingsAutoStart(bool value) override { autoStart_ = value; }
  std::int32_t settingsVolume() const override { return volume_; }
  void SetSettingsVolume(std::int32_t volume) override { volume_ = volume; }
  void controlsPlay() override { state_ = playstate::kStopped; }
  void controlsStop() override { state_ = playstate::kStopped; }
  void controlsPause() override { state_ = playstate::kStopped; }
  double controlsCurrentPosition() const override { return position_; }
  void SetControlsCurrentPosition(double seconds) override { position_ = seconds; }
  void currentPlaylistClear() override { url_.clear(); }
  double currentMediaDuration() const override { return 0; }
  std::int32_t currentMediaImageSourceWidth() const override { return 0; }
  std::int32_t currentMediaImageSourceHeight() const override { return 0; }

  void SetCaption(const std::string&) override {}
  bool Visible() const override { return false; }
  void SetVisible(bool) override {}
  WindowState State() const override { return windowState_; }
  void SetState(WindowState state) override { windowState_ = state; }
  void SetGeometry(int, int, int, int) override {}
  int ScreenWidth() const override { return 1920; }
  int ScreenHeight() const override { return 1080; }

 private:
  std::string url_;
  std::int32_t state_ = playstate::kUndefined;
  std::string uiMode_ = "full";
  bool enabled_ = true;
  bool contextMenu_ = true;
  double rate_ = 1;
  bool autoStart_ = true;
  std::int32_t volume_ = 50;
  double position_ = 0;
  WindowState windowState_ = WindowState::kNormal;
};

}  // namespace

MediaEngineFactory SilentMediaEngines(std::ostream& diagnostics) {
  auto told = std::make_shared<bool>(false);
  return [&diagnostics, told]() -> std::unique_ptr<MediaEngine> {
    if (!*told) {
      *told = true;
      diagnostics << "OrvaPlayer: this build has no media engine; pages show, but no audio will play\n"
                  << std::flush;
      TraceNotice("no media engine: audio is silent");
    }
    return std::make_unique<SilentMediaEngine>();
  };
}

}  // namespace orva
