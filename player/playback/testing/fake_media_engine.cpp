#include "player/playback/testing/fake_media_engine.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "common/runtime/vb_error.h"

namespace orva::fakes {

MediaEngineFactory FakeMediaLibrary::Factory() {
  return [this]() -> std::unique_ptr<MediaEngine> {
    if (failCreation_ != 0) throw VbError(failCreation_);
    return std::make_unique<FakeMediaEngine>(*this);
  };
}

FakeMediaEngine::FakeMediaEngine(FakeMediaLibrary& library) : library_(library) {
  library_.current_ = this;
  ++library_.alive_;
}

FakeMediaEngine::~FakeMediaEngine() {
  *alive_ = false;
  library_.loop_.StopTimer(endTimer_);
  if (library_.current_ == this) library_.current_ = nullptr;
  --library_.alive_;
}

void FakeMediaEngine::Check(const char* member) const {
  auto it = library_.failures_.find(member);
  if (it != library_.failures_.end() && it->second != 0) throw VbError(it->second);
}

void FakeMediaEngine::ChangeState(std::int32_t state) {
  state_ = state;
  library_.loop_.StartTimer(0, [this, alive = alive_, state] {
    if (*alive && events.PlayStateChange) events.PlayStateChange(state);
  });
}

double FakeMediaEngine::Position() const {
  if (state_ != playstate::kPlaying) return position_;
  const double elapsed = static_cast<double>(library_.loop_.NowMs() - since_) / 1000.0 * rate_;
  return std::min(position_ + elapsed, media_.duration);
}

void FakeMediaEngine::MoveTo(double seconds) {
  position_ = seconds;
  since_ = library_.loop_.NowMs();
  library_.loop_.StopTimer(endTimer_);
  endTimer_ = kNoTimer;
  if (state_ != playstate::kPlaying) return;
  const double remaining = std::max(media_.duration - position_, 0.0);
  endTimer_ = library_.loop_.StartTimer(static_cast<int>(std::ceil(remaining / rate_ * 1000.0)), [this] {
    endTimer_ = kNoTimer;
    Ended();
  });
}

void FakeMediaEngine::Ended() {
  position_ = media_.duration;
  state_ = playstate::kMediaEnded;
  library_.loop_.StartTimer(0, [this, alive = alive_] {
    if (!*alive) return;
    if (events.PlayStateChange) events.PlayStateChange(playstate::kMediaEnded);
    // The handler may have gone, or started something new; only a file
    // still at its end goes on to stopped.
    if (!*alive || state_ != playstate::kMediaEnded) return;
    position_ = 0;
    state_ = playstate::kStopped;
    if (events.PlayStateChange) events.PlayStateChange(playstate::kStopped);
  });
}

void FakeMediaEngine::Open() {
  auto it = library_.files_.find(url_);
  const bool play = playWhenOpen_;
  const double start = pendingPosition_.value_or(0.0);
  pendingPosition_.reset();
  playWhenOpen_ = false;
  const std::shared_ptr<bool> alive = alive_;
  if (it == library_.files_.end()) {
    if (events.Error) events.Error({MediaError::Kind::kLoadingFailed, url_, "file inesistente"});
  } else {
    open_ = true;
    media_ = it->second;
    if (events.OpenStateChange) events.OpenStateChange(openstate::kMediaOpen);
  }
  if (!*alive) return;
  ChangeState(open_ && play ? playstate::kPlaying : playstate::kReady);
  MoveTo(std::clamp(start, 0.0, media_.duration));
}

void FakeMediaEngine::SetURL(const std::string& url) {
  Check("URL");
  Record("URL=" + url);
  url_ = url;
  open_ = false;
  media_ = {};
  pendingPosition_.reset();
  playWhenOpen_ = !url.empty() && autoStart_;
  const std::uint64_t generation = ++openGeneration_;
  if (!url.empty())
    ChangeState(playstate::kTransitioning);
  else if (state_ != playstate::kStopped && state_ != playstate::kUndefined)
    ChangeState(playstate::kStopped);
  MoveTo(0);
  if (url.empty()) return;
  library_.loop_.StartTimer(0, [this, alive = alive_, generation] {
    if (!*alive) return;
    if (events.OpenStateChange) events.OpenStateChange(openstate::kMediaOpening);
    if (*alive && generation == openGeneration_) Open();
  });
}

void FakeMediaEngine::SetSettingsRate(double rate) {
  Check("settings.rate");
  if (!std::isfinite(rate) || rate <= 0) throw VbError(vberr::kInvalidCall);
  Record("settings.rate=" + std::to_string(rate));
  const double at = Position();
  rate_ = rate;
  MoveTo(at);
}

void FakeMediaEngine::SetSettingsVolume(std::int32_t volume) {
  volume_ = std::clamp(volume, 0, 100);
  Record("settings.volume=" + std::to_string(volume_));
}

void FakeMediaEngine::controlsPlay() {
  Check("controls.play");
  Record("controls.play");
  if (state_ == playstate::kTransitioning) playWhenOpen_ = true;
  // A file that failed to open stays failed until a new URL is given.
  if (!open_ || state_ == playstate::kPlaying) return;
  ChangeState(playstate::kPlaying);
  MoveTo(position_);
}

void FakeMediaEngine::controlsStop() {
  Record("controls.stop");
  if (url_.empty()) return;
  pendingPosition_.reset();
  playWhenOpen_ = false;
  if (state_ != playstate::kStopped && state_ != playstate::kTransitioning) ChangeState(playstate::kStopped);
  MoveTo(0);
}

void FakeMediaEngine::controlsPause() {
  Check("controls.pause");
  Record("controls.pause");
  if (state_ == playstate::kTransitioning) playWhenOpen_ = false;
  if (state_ != playstate::kPlaying) return;
  const double at = Position();
  ChangeState(playstate::kPaused);
  MoveTo(at);
}

double FakeMediaEngine::controlsCurrentPosition() const {
  Check("controls.currentPosition");
  return pendingPosition_.value_or(Position());
}

void FakeMediaEngine::SetControlsCurrentPosition(double seconds) {
  Check("controls.currentPosition");
  if (!std::isfinite(seconds)) throw VbError(vberr::kInvalidCall);
  Record("controls.currentPosition=" + std::to_string(seconds));
  if (open_)
    MoveTo(std::clamp(seconds, 0.0, media_.duration));
  else if (state_ == playstate::kTransitioning)
    pendingPosition_ = seconds;
}

void FakeMediaEngine::currentPlaylistClear() {
  Record("currentPlaylist.clear");
  ++openGeneration_;
  url_.clear();
  open_ = false;
  media_ = {};
  pendingPosition_.reset();
  playWhenOpen_ = false;
  if (state_ == playstate::kPlaying || state_ == playstate::kPaused)
    ChangeState(playstate::kStopped);
  else if (state_ == playstate::kTransitioning)
    state_ = playstate::kStopped;
  MoveTo(0);
}

void FakeMediaEngine::SetGeometry(int left, int top, int width, int height) {
  Record("window.geometry=" + std::to_string(left) + "," + std::to_string(top) + "," + std::to_string(width) +
         "," + std::to_string(height));
}

}  // namespace orva::fakes
