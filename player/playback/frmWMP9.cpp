#include "player/playback/frmWMP9.h"

#include <cmath>
#include <utility>

#include "common/automation/trace.h"
#include "common/automation/trace_events.h"
#include "common/runtime/text.h"
#include "common/runtime/vb_error.h"
#include "player/panels/handler_guard.h"

namespace orva {

namespace {
constexpr int kTimerNextActionInterval = 1;
constexpr std::int16_t kKeyEscape = 27;
// Where the corner video window sits, in screen pixels.
constexpr int kVideoRightMargin = 20;
constexpr int kVideoBottomMargin = 50;
// The old runtime's "Device unavailable".
constexpr int kDeviceUnavailable = 68;

// The name of a file after its folder, whichever separator the path uses.
std::string FileNamePart(const std::string& path) { return path.substr(path.find_last_of("\\/") + 1); }

// A 32-bit integer as the old runtime converted a number: half to even.
std::int32_t ToLong(double value) {
  if (!std::isfinite(value) || value >= 2147483647.5 || value < -2147483648.5)
    throw VbError(vberr::kOverflow);
  return static_cast<std::int32_t>(std::nearbyint(value));
}
}  // namespace

void frmWMP9::TraceMedia(std::string_view op) const {
  if (TraceEnabled()) TraceEvent("media", {{"host", name_}, {"op", op}});
}

void frmWMP9::TraceMedia(std::string_view op, const TraceField& detail) const {
  if (TraceEnabled()) TraceEvent("media", {{"host", name_}, {"op", op}, detail});
}

bool IsVideoFileName(std::string_view name) {
  const std::string upper = AsciiUpper(name);
  for (const char* ext : {".WMV", ".M1V", ".AVI"})
    if (upper.find(ext) != std::string::npos) return true;
  return false;
}

frmWMP9::frmWMP9(EventLoop& loop, MdlMain& report, std::unique_ptr<MediaEngine> wmp)
    : frmWMP9(loop, report, std::move(wmp), "oWMP9") {}

frmWMP9::frmWMP9(EventLoop& loop, MdlMain& report, std::unique_ptr<MediaEngine> wmp, std::string name)
    : TimerNextAction(loop, kTimerNextActionInterval, false),
      loop_(loop),
      report_(report),
      wmp_(std::move(wmp)),
      name_(std::move(name)) {
  if (!wmp_) throw VbError(vberr::kObjectNotSet);
  TimerNextAction.Timer = [this] { TimerNextAction_Timer(); };
  wmp_->events.PlayStateChange = [this](std::int32_t s) { WMP_PlayStateChange(s); };
  wmp_->events.OpenStateChange = [this](std::int32_t s) { WMP_OpenStateChange(s); };
  wmp_->events.KeyPress = [this](std::int16_t k) { WMP_KeyPress(k); };
  wmp_->events.Error = [this](const MediaError& e) { WMP_Error(e); };
  wmp_->Window().KeyDown = [this](std::int16_t k, std::int16_t s) { Form_KeyDown(k, s); };
}

frmWMP9::~frmWMP9() {
  // Unloading: whatever is still on the stack below us must see that the
  // host is gone, and the engine must not call back into a dead window.
  *loaded_ = false;
  TimerNextAction.SetEnabled(false);
  wmp_->events = {};
  wmp_->Window().KeyDown = nullptr;
  IgnoringErrors([&] { wmp_->Window().SetVisible(false); });
}

std::string frmWMP9::ReportName(std::string_view member) const { return name_ + " - " + std::string(member); }

bool frmWMP9::DoEventsAndStillLoaded() {
  const std::shared_ptr<bool> loaded = loaded_;
  loop_.DoEvents();
  return *loaded;
}

void frmWMP9::Form_Load() {
  Guarded(report_, ReportName("Form_Load"), [&] {
    HostWindow& window = wmp_->Window();
    window.SetCaption(kCaption);
    window.SetGeometry(0, 0, window.ScreenWidth(), window.ScreenHeight());
    wmp_->SetUiMode("mini");
    wmp_->SetEnableContextMenu(true);
  });
}

float frmWMP9::Rate() {
  return Guarded(report_, ReportName("Get Rate"), 0.0F,
                 [&] { return static_cast<float>(wmp_->settingsRate()); });
}

void frmWMP9::SetRate(float value) {
  Guarded(report_, ReportName("Let Rate"), [&] {
    TraceMedia("rate", {"rate", static_cast<double>(value)});
    wmp_->SetSettingsRate(value);
  });
}

bool frmWMP9::AutoStart() {
  return Guarded(report_, ReportName("Get AutoStart"), false, [&] { return autoStart_; });
}

void frmWMP9::SetAutoStart(bool value) {
  Guarded(report_, ReportName("Let AutoStart"), [&] {
    autoStart_ = value;
    wmp_->SetSettingsAutoStart(value);
  });
}

bool frmWMP9::FullScreen() {
  return Guarded(report_, ReportName("Get FullScreen"), false, [&] { return fullScreen_; });
}

void frmWMP9::SetFullScreen(bool value) {
  Guarded(report_, ReportName("Let FullScreen"), [&] {
    fullScreen_ = value;
    wmp_->SetUiMode(value ? "none" : "mini");
  });
}

bool frmWMP9::AudioOff() {
  return Guarded(report_, ReportName("Get AudioOff"), false, [&] { return audioOff_; });
}

void frmWMP9::SetAudioOff(bool value) {
  Guarded(report_, ReportName("Let AudioOff"), [&] {
    audioOff_ = value;
    if (value) Stop_Player();
  });
}

std::string frmWMP9::FileName() {
  return Guarded(report_, ReportName("Get FileName"), std::string(), [&] { return wmp_->URL(); });
}

void frmWMP9::SetFileName(const std::string& value) {
  Guarded(report_, ReportName("Let FileName"), [&] {
    TraceMedia("file", {"file", value});
    wmp_->currentPlaylistClear();
    if (!DoEventsAndStillLoaded()) return;
    wmp_->SetURL(value);
    if (audioOff_ && !IsVideoFileName(FileName())) Stop_Player();
  });
}

void frmWMP9::Stop_Player() {
  Guarded(report_, ReportName("Stop_Player"), [&] {
    // A file still opening is stopped too, or it would start by itself
    // right after a stop that came just after its name.
    const std::int32_t state = wmp_->playState();
    if (state == playstate::kPlaying || state == playstate::kTransitioning) {
      TraceMedia("stop");
      wmp_->controlsStop();
    }
    if (!DoEventsAndStillLoaded()) return;
    TimerNextAction.SetEnabled(false);
  });
}

void frmWMP9::Play_Player() {
  StepTrail trail(ReportName("Play_Player - Posizione: "));
  Guarded(report_, trail, [&] {
    if (audioOff_ && !IsVideoFileName(FileName())) return;
    trail.Step(" isPlaying ");
    if (IsPlaying()) return;
    trail.Step(" FileName ");
    if (FileName().empty()) return;
    if (!DoEventsAndStillLoaded()) return;
    trail.Step(" WMP.Controls.play ");
    TraceMedia("play");
    wmp_->controlsPlay();
  });
}

double frmWMP9::CurrentPosition() {
  return Guarded(report_, ReportName("Get CurrentPosition"), 0.0,
                 [&] { return wmp_->controlsCurrentPosition(); });
}

void frmWMP9::SetCurrentPosition(double seconds) {
  Guarded(report_, ReportName("Let CurrentPosition"), [&] {
    TraceMedia("position", {"seconds", seconds});
    wmp_->SetControlsCurrentPosition(seconds);
  });
}

double frmWMP9::Duration() {
  return Guarded(report_, ReportName("Get Duration"), 0.0, [&] { return wmp_->currentMediaDuration(); });
}

void frmWMP9::StopPlay() {
  Guarded(report_, ReportName("StopPlay"), [&] {
    if (wmp_->playState() == playstate::kPlaying) {
      TraceMedia("pause");
      wmp_->controlsPause();
    } else {
      TraceMedia("play");
      wmp_->controlsPlay();
    }
  });
}

std::int32_t frmWMP9::Volume() {
  return Guarded(report_, ReportName("Get Volume"), std::int32_t{0}, [&] { return wmp_->settingsVolume(); });
}

void frmWMP9::SetVolume(double value) {
  Guarded(report_, ReportName("Let Volume"), [&] {
    const std::int32_t volume = ToLong(value);
    TraceMedia("volume", {"volume", volume});
    wmp_->SetSettingsVolume(volume);
  });
}

bool frmWMP9::IsPlaying() {
  return Guarded(report_, ReportName("IsPlaying"), false,
                 [&] { return wmp_->playState() == playstate::kPlaying; });
}

void frmWMP9::Pause_Player() {
  Guarded(report_, ReportName("Pause_Player"), [&] {
    TraceMedia("pause");
    wmp_->controlsPause();
  });
}

void frmWMP9::Form_KeyDown(std::int16_t KeyCode, std::int16_t /*Shift*/) {
  Guarded(report_, ReportName("Form_KeyDown"), [&] {
    if (KeyCode != kKeyEscape) return;
    TraceMedia("stop");
    wmp_->controlsStop();
  });
}

void frmWMP9::WMP_KeyPress(std::int16_t nKeyAscii) {
  Guarded(report_, ReportName("WMP_KeyPress"), [&] { Form_KeyDown(nKeyAscii, 0); });
}

void frmWMP9::WMP_OpenStateChange(std::int32_t /*NewState*/) {}

void frmWMP9::ShowVideo() {
  HostWindow& window = wmp_->Window();
  if (fullScreen_) {
    window.SetState(WindowState::kMaximized);
    wmp_->SetEnabled(false);
  } else {
    window.SetState(WindowState::kNormal);
    const int height = wmp_->currentMediaImageSourceHeight();
    const int width = wmp_->currentMediaImageSourceWidth();
    const int top = window.ScreenHeight() - (height + kVideoBottomMargin);
    const int left = window.ScreenWidth() - (width + kVideoRightMargin);
    window.SetGeometry(left, top, width, height);
    wmp_->SetEnabled(true);
  }
  window.SetVisible(true);
  TraceWindowShown("frmWMP9", kCaption);
}

void frmWMP9::WMP_PlayStateChange(std::int32_t NewState) {
  Guarded(report_, ReportName("WMP_PlayStateChange"), [&] {
    TraceMedia("state", {"state", NewState});
    switch (NewState) {
      case playstate::kStopped: {
        HostWindow& window = wmp_->Window();
        if (window.Visible()) {
          window.SetState(WindowState::kNormal);
          window.SetVisible(false);
          TraceWindowHidden("frmWMP9");
        }
        break;
      }
      case playstate::kPlaying:
        if (IsVideoFileName(FileName())) ShowVideo();
        break;
      case playstate::kMediaEnded:
        TimerNextActionTag = "8";
        if (!DoEventsAndStillLoaded()) return;
        TimerNextAction.SetEnabled(true);
        break;
      default: break;
    }
  });
}

void frmWMP9::WMP_Error(const MediaError& error) {
  Guarded(report_, ReportName("WMP_Error"), [&] {
    if (TraceEnabled())
      TraceEvent("media", {{"host", name_}, {"op", "error"}, {"file", error.url}, {"detail", error.detail}});
    if (error.kind == MediaError::Kind::kNoAudioOutput) {
      // Told once a session while the book reads on in silence. A report
      // stays until the reader closes it, so one who hears nothing can find
      // out why; a line on the display is gone in a second and a half.
      report_.MostraErrore(
          ReportName("WMP_Error"), {},
          {kDeviceUnavailable,
           "Impossibile aprire l'uscita audio: la lettura prosegue senza suono (" + error.detail + ")"});
      return;
    }
    // A file that cannot be played is told on the display, which is spoken
    // like every message there, and reading is not held up by a dialog. As
    // after any failed load the page stays; the reader goes on with the keys.
    if (PlayMessage) PlayMessage("Impossibile riprodurre: " + FileNamePart(error.url));
  });
}

void frmWMP9::TimerNextAction_Timer() {
  Guarded(report_, ReportName("TimerNextAction_Timer"), [&] {
    TimerNextAction.SetEnabled(false);
    if (TimerNextActionTag != "8") return;
    TraceMedia("end");
    if (PlayStateChange) PlayStateChange(playstate::kMediaEnded);
  });
}

}  // namespace orva
