#include "player/playback/fake_media_engine.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "common/runtime/vb_error.h"

namespace orva::fakes {

const FakeMedia* FakeMediaLibrary::Find(const std::string& url) const {
  auto it = files_.find(url);
  return it == files_.end() ? nullptr : &it->second;
}

MediaEngineFactory FakeMediaLibrary::Factory() {
  return [this]() -> std::unique_ptr<MediaEngine> {
    if (failCreation_ != 0) throw VbError(failCreation_);
    return std::make_unique<FakeMediaEngine>(*this);
  };
}

void FakeMediaLibrary::Fail(const std::string& member, int number) {
  if (number == 0)
    failures_.erase(member);
  else
    failures_[member] = number;
}

void FakeMediaLibrary::Check(const std::string& member) const {
  auto it = failures_.find(member);
  if (it != failures_.end()) throw VbError(it->second);
}

FakeMediaEngine::FakeMediaEngine(FakeMediaLibrary& library) : library_(library) {
  library_.current_ = this;
  ++library_.made_;
  ++library_.alive_;
}

FakeMediaEngine::~FakeMediaEngine() {
  *alive_ = false;
  library_.loop_.StopTimer(endTimer_);
  if (library_.current_ == this) library_.current_ = nullptr;
  --library_.alive_;
}

template <class Fn>
void FakeMediaEngine::Post(Fn fn) {
  library_.loop_.StartTimer(0, [alive = alive_, fn = std::move(fn)]() mutable {
    if (*alive) fn();
  });
}

bool FakeMediaEngine::Raise(std::int32_t state) {
  const std::shared_ptr<bool> alive = alive_;
  raised_.push_back(state);
  if (events.PlayStateChange) events.PlayStateChange(state);
  return *alive;
}

void FakeMediaEngine::ChangeState(std::int32_t state) {
  state_ = state;
  Post([this, state] { Raise(state); });
}

double FakeMediaEngine::Position() const {
  if (state_ != playstate::kPlaying) return position_;
  const double elapsed = static_cast<double>(library_.loop_.NowMs() - since_) / 1000.0 * rate_;
  const double duration = media_ ? media_->duration : 0;
  return std::min(position_ + elapsed, duration);
}

void FakeMediaEngine::StartClock() {
  since_ = library_.loop_.NowMs();
  const double remaining = (media_ ? media_->duration : 0) - position_;
  const auto ms = static_cast<int>(std::ceil(std::max(remaining, 0.0) / rate_ * 1000.0));
  endTimer_ = library_.loop_.StartTimer(ms, [this] { Ended(); });
}

void FakeMediaEngine::StopClock() {
  position_ = Position();
  library_.loop_.StopTimer(endTimer_);
  endTimer_ = kNoTimer;
}

void FakeMediaEngine::Ended() {
  endTimer_ = kNoTimer;
  position_ = media_ ? media_->duration : 0;
  state_ = playstate::kMediaEnded;
  Post([this] {
    if (!Raise(playstate::kMediaEnded)) return;
    // The raise may have started something new; only a file still at its
    // end goes on to stopped.
    if (state_ != playstate::kMediaEnded) return;
    position_ = 0;
    state_ = playstate::kStopped;
    Raise(playstate::kStopped);
  });
}

void FakeMediaEngine::Open() {
  const FakeMedia* media = library_.Find(url_);
  if (media == nullptr) {
    MediaError error{MediaError::Kind::kLoadingFailed, url_, "file inesistente"};
    const std::shared_ptr<bool> alive = alive_;
    if (events.Error) events.Error(error);
    if (!*alive) return;
    pendingPosition_.reset();
    playWhenOpen_ = false;
    ChangeState(playstate::kReady);
    return;
  }
  media_ = media;
  Post([this] {
    if (events.OpenStateChange) events.OpenStateChange(openstate::kMediaOpen);
  });
  position_ = std::clamp(pendingPosition_.value_or(0.0), 0.0, media_->duration);
  pendingPosition_.reset();
  if (playWhenOpen_) {
    StartClock();
    ChangeState(playstate::kPlaying);
  } else {
    ChangeState(playstate::kReady);
  }
  playWhenOpen_ = false;
}

std::string FakeMediaEngine::URL() const {
  library_.Check("URL");
  return url_;
}

void FakeMediaEngine::SetURL(const std::string& url) {
  library_.Check("URL");
  Record("URL=" + url);
  StopClock();
  url_ = url;
  media_ = nullptr;
  position_ = 0;
  pendingPosition_.reset();
  const std::uint64_t generation = ++openGeneration_;
  if (url.empty()) {
    playWhenOpen_ = false;
    if (state_ != playstate::kStopped && state_ != playstate::kUndefined) ChangeState(playstate::kStopped);
    return;
  }
  playWhenOpen_ = autoStart_;
  ChangeState(playstate::kTransitioning);
  Post([this] {
    if (events.OpenStateChange) events.OpenStateChange(openstate::kMediaOpening);
  });
  Post([this, generation] {
    if (generation == openGeneration_) Open();
  });
}

std::int32_t FakeMediaEngine::playState() const {
  library_.Check("playState");
  return state_;
}

std::string FakeMediaEngine::uiMode() const {
  library_.Check("uiMode");
  return uiMode_;
}

void FakeMediaEngine::SetUiMode(const std::string& mode) {
  library_.Check("uiMode");
  if (mode != "none" && mode != "mini" && mode != "full" && mode != "invisible")
    throw VbError(vberr::kInvalidCall);
  Record("uiMode=" + mode);
  uiMode_ = mode;
}

bool FakeMediaEngine::enabled() const {
  library_.Check("enabled");
  return enabled_;
}

void FakeMediaEngine::SetEnabled(bool value) {
  library_.Check("enabled");
  Record(std::string("enabled=") + (value ? "1" : "0"));
  enabled_ = value;
}

bool FakeMediaEngine::enableContextMenu() const {
  library_.Check("enableContextMenu");
  return contextMenu_;
}

void FakeMediaEngine::SetEnableContextMenu(bool value) {
  library_.Check("enableContextMenu");
  Record(std::string("enableContextMenu=") + (value ? "1" : "0"));
  contextMenu_ = value;
}

std::string FakeMediaEngine::versionInfo() const {
  library_.Check("versionInfo");
  return library_.versionInfo;
}

double FakeMediaEngine::settingsRate() const {
  library_.Check("settings.rate");
  return rate_;
}

void FakeMediaEngine::SetSettingsRate(double rate) {
  library_.Check("settings.rate");
  if (!std::isfinite(rate) || rate <= 0) throw VbError(vberr::kInvalidCall);
  Record("settings.rate=" + std::to_string(rate));
  if (state_ == playstate::kPlaying) {
    StopClock();
    rate_ = rate;
    StartClock();
  } else {
    rate_ = rate;
  }
}

bool FakeMediaEngine::settingsAutoStart() const {
  library_.Check("settings.autoStart");
  return autoStart_;
}

void FakeMediaEngine::SetSettingsAutoStart(bool value) {
  library_.Check("settings.autoStart");
  Record(std::string("settings.autoStart=") + (value ? "1" : "0"));
  autoStart_ = value;
}

std::int32_t FakeMediaEngine::settingsVolume() const {
  library_.Check("settings.volume");
  return volume_;
}

void FakeMediaEngine::SetSettingsVolume(std::int32_t volume) {
  library_.Check("settings.volume");
  volume_ = std::clamp(volume, 0, 100);
  Record("settings.volume=" + std::to_string(volume_));
}

void FakeMediaEngine::controlsPlay() {
  library_.Check("controls.play");
  Record("controls.play");
  if (url_.empty()) return;
  if (state_ == playstate::kTransitioning) {
    playWhenOpen_ = true;
    return;
  }
  // A file that failed to open stays failed until a new URL is given.
  if (media_ == nullptr || state_ == playstate::kPlaying) return;
  StartClock();
  ChangeState(playstate::kPlaying);
}

void FakeMediaEngine::controlsStop() {
  library_.Check("controls.stop");
  Record("controls.stop");
  if (url_.empty()) return;
  StopClock();
  position_ = 0;
  pendingPosition_.reset();
  playWhenOpen_ = false;
  if (state_ != playstate::kStopped && state_ != playstate::kTransitioning) ChangeState(playstate::kStopped);
}

void FakeMediaEngine::controlsPause() {
  library_.Check("controls.pause");
  Record("controls.pause");
  if (state_ == playstate::kTransitioning) playWhenOpen_ = false;
  if (state_ != playstate::kPlaying) return;
  StopClock();
  ChangeState(playstate::kPaused);
}

double FakeMediaEngine::controlsCurrentPosition() const {
  library_.Check("controls.currentPosition");
  if (pendingPosition_) return *pendingPosition_;
  return Position();
}

void FakeMediaEngine::SetControlsCurrentPosition(double seconds) {
  library_.Check("controls.currentPosition");
  if (!std::isfinite(seconds)) throw VbError(vberr::kInvalidCall);
  Record("controls.currentPosition=" + std::to_string(seconds));
  if (media_ == nullptr) {
    if (state_ == playstate::kTransitioning) pendingPosition_ = seconds;
    return;
  }
  const double target = std::clamp(seconds, 0.0, media_->duration);
  if (state_ == playstate::kPlaying) {
    StopClock();
    position_ = target;
    StartClock();
  } else {
    position_ = target;
  }
}

void FakeMediaEngine::currentPlaylistClear() {
  library_.Check("currentPlaylist.clear");
  Record("currentPlaylist.clear");
  StopClock();
  ++openGeneration_;
  const bool wasActive = state_ == playstate::kPlaying || state_ == playstate::kPaused;
  url_.clear();
  media_ = nullptr;
  position_ = 0;
  pendingPosition_.reset();
  playWhenOpen_ = false;
  if (wasActive)
    ChangeState(playstate::kStopped);
  else if (state_ == playstate::kTransitioning)
    state_ = playstate::kStopped;
}

double FakeMediaEngine::currentMediaDuration() const {
  library_.Check("currentMedia.duration");
  return media_ ? media_->duration : 0;
}

std::int32_t FakeMediaEngine::currentMediaImageSourceWidth() const {
  library_.Check("currentMedia.imageSourceWidth");
  return media_ ? media_->width : 0;
}

std::int32_t FakeMediaEngine::currentMediaImageSourceHeight() const {
  library_.Check("currentMedia.imageSourceHeight");
  return media_ ? media_->height : 0;
}

void FakeMediaEngine::SetCaption(const std::string& caption) {
  library_.Check("window.caption");
  caption_ = caption;
}

bool FakeMediaEngine::Visible() const {
  library_.Check("window.visible");
  return visible_;
}

void FakeMediaEngine::SetVisible(bool visible) {
  library_.Check("window.visible");
  Record(std::string("window.visible=") + (visible ? "1" : "0"));
  visible_ = visible;
}

WindowState FakeMediaEngine::State() const {
  library_.Check("window.state");
  return windowState_;
}

void FakeMediaEngine::SetState(WindowState state) {
  library_.Check("window.state");
  Record("window.state=" + std::to_string(static_cast<int>(state)));
  windowState_ = state;
}

void FakeMediaEngine::SetGeometry(int left, int top, int width, int height) {
  library_.Check("window.geometry");
  Record("window.geometry=" + std::to_string(left) + "," + std::to_string(top) + "," + std::to_string(width) +
         "," + std::to_string(height));
  geometry_ = {left, top, width, height};
}

int FakeMediaEngine::ScreenWidth() const { return library_.screenWidth; }
int FakeMediaEngine::ScreenHeight() const { return library_.screenHeight; }

void FakeMediaEngine::PressKey(std::int16_t keyCode, std::int16_t shift) {
  if (KeyDown) KeyDown(keyCode, shift);
}

void FakeMediaEngine::TypeKey(std::int16_t keyAscii) {
  if (events.KeyPress) events.KeyPress(keyAscii);
}

}  // namespace orva::fakes
