#include "backends/mpv/mpv_media_engine.h"

#include <mpv/client.h>

#include <QMetaObject>
#include <QObject>
#include <algorithm>
#include <charconv>
#include <clocale>
#include <cmath>
#include <cstring>

#include "backends/mpv/mpv_video_window.h"
#include "common/runtime/vb_error.h"

namespace orva::mpvbackend {

// Lives on the GUI thread and receives the queued calls. It outlives the
// engine by one turn of the event loop, so a queued call whose handler
// destroys the engine never runs inside a deleted object.
class MpvEventPump final : public QObject {
 public:
  MpvMediaEngine* engine = nullptr;
  void Drain() {
    if (engine) engine->Drain();
  }
};

namespace {

constexpr int kCannotCreateEngine = 429;

// mpv's own options: no user configuration, no terminal, no key bindings of
// its own; stay alive with no file and keep the last frame at the end, so
// the end of a file can be told from a stop. Output samples as floats:
// through 16-bit output the lowest volumes fall silent.
constexpr std::pair<const char*, const char*> kBaseOptions[] = {
    {"config", "no"},
    {"terminal", "no"},
    {"idle", "yes"},
    {"keep-open", "yes"},
    {"input-default-bindings", "no"},
    {"input-vo-keyboard", "no"},
    {"audio-display", "no"},
    {"gpu-sw", "yes"},
    {"audio-format", "float"},
    {"force-window", "no"},
    // Exact seeks start decoding a little before the target. Without this,
    // WMA seeks land up to one frame (93 ms) off, varying with the target;
    // with it, every seek lands the same way on the file's own timeline.
    {"hr-seek-demuxer-offset", "0.2"},
    {"osc", "no"},
    // A sound device that cannot be opened must not stop the book: the file
    // plays on into no device, in real time, and the engine says so once.
    {"audio-fallback-to-null", "yes"},
};

std::string NumberText(double value) {
  char buf[64];
  const auto result = std::to_chars(buf, buf + sizeof buf, value);
  return std::string(buf, result.ptr);
}

[[noreturn]] void Fail(int mpvError, const char* what) {
  throw VbError(vberr::kInternalError, std::string("mpv: ") + what + ": " + mpv_error_string(mpvError));
}

void Wakeup(void* context) {
  auto* pump = static_cast<MpvEventPump*>(context);
  QMetaObject::invokeMethod(
      pump, [pump] { pump->Drain(); }, Qt::QueuedConnection);
}

}  // namespace

MpvEngineOptions MpvEngineOptions::Headless(bool untimed) {
  MpvEngineOptions options;
  options.embedVideo = false;
  options.extra = {{"vo", "null"}, {"ao", "null"}};
  if (untimed) {
    options.extra.emplace_back("ao-null-untimed", "yes");
    options.extra.emplace_back("untimed", "yes");
  }
  return options;
}

MpvMediaEngine::MpvMediaEngine(MpvEngineOptions options, std::shared_ptr<bool> silenceTold)
    : silenceTold_(silenceTold ? std::move(silenceTold) : std::make_shared<bool>(false)) {
  // mpv will not start under a numeric locale other than "C". Our own number
  // texts never depend on the C library's locale.
  std::setlocale(LC_NUMERIC, "C");
  mpv_ = mpv_create();
  if (mpv_ == nullptr) throw VbError(kCannotCreateEngine, "Impossibile avviare il motore multimediale");
  try {
    for (const auto& [name, value] : kBaseOptions) mpv_set_option_string(mpv_, name, value);
    for (const auto& [name, value] : options.extra) {
      if (int err = mpv_set_option_string(mpv_, name.c_str(), value.c_str()); err < 0)
        Fail(err, name.c_str());
    }
    window_ = std::make_unique<MpvVideoWindow>();
    if (options.embedVideo) {
      const std::string wid = std::to_string(window_->winId());
      mpv_set_option_string(mpv_, "wid", wid.c_str());
    }
    if (int err = mpv_initialize(mpv_); err < 0) Fail(err, "initialize");
    mpv_observe_property(mpv_, 0, "eof-reached", MPV_FORMAT_FLAG);
    pump_ = new MpvEventPump;
    pump_->engine = this;
    mpv_set_wakeup_callback(mpv_, Wakeup, pump_);
  } catch (...) {
    mpv_terminate_destroy(mpv_);
    delete pump_;
    throw;
  }
}

MpvMediaEngine::~MpvMediaEngine() {
  pump_->engine = nullptr;
  mpv_set_wakeup_callback(mpv_, nullptr, nullptr);
  mpv_terminate_destroy(mpv_);
  pump_->deleteLater();
  window_.reset();
}

HostWindow& MpvMediaEngine::Window() { return *window_; }

void MpvMediaEngine::Post(std::function<void()> fn) {
  MpvEventPump* pump = pump_;
  QMetaObject::invokeMethod(
      pump,
      [pump, fn = std::move(fn)] {
        if (pump->engine) fn();
      },
      Qt::QueuedConnection);
}

void MpvMediaEngine::ChangeState(std::int32_t state) {
  state_ = state;
  Post([this, state] {
    if (events.PlayStateChange) events.PlayStateChange(state);
  });
}

void MpvMediaEngine::Command(std::vector<std::string> args) {
  std::vector<const char*> argv;
  for (const auto& a : args) argv.push_back(a.c_str());
  argv.push_back(nullptr);
  if (int err = mpv_command(mpv_, argv.data()); err < 0) Fail(err, args.front().c_str());
}

void MpvMediaEngine::SetFlag(const char* name, bool value) {
  int flag = value ? 1 : 0;
  if (int err = mpv_set_property(mpv_, name, MPV_FORMAT_FLAG, &flag); err < 0) Fail(err, name);
}

void MpvMediaEngine::SetDouble(const char* name, double value) {
  if (int err = mpv_set_property(mpv_, name, MPV_FORMAT_DOUBLE, &value); err < 0) Fail(err, name);
}

std::optional<double> MpvMediaEngine::GetDouble(const char* name) const {
  double value = 0;
  if (mpv_get_property(mpv_, name, MPV_FORMAT_DOUBLE, &value) < 0) return std::nullopt;
  return value;
}

std::optional<std::string> MpvMediaEngine::GetText(const char* name) const {
  char* text = mpv_get_property_string(mpv_, name);
  if (text == nullptr) return std::nullopt;
  std::string value(text);
  mpv_free(text);
  return value;
}

bool MpvMediaEngine::GetFlag(const char* name) const {
  int flag = 0;
  if (mpv_get_property(mpv_, name, MPV_FORMAT_FLAG, &flag) < 0) return false;
  return flag != 0;
}

void MpvMediaEngine::Seek(double seconds) {
  Command({"seek", NumberText(seconds), "absolute+exact"});
  seekTarget_ = seconds;
  seekPending_ = true;
  seekStarted_ = false;
}

void MpvMediaEngine::Unload() {
  entry_ = 0;
  startSeen_ = false;
  loaded_ = false;
  failed_ = false;
  ended_ = false;
  playWhenLoaded_ = false;
  pendingPosition_.reset();
  seekTarget_.reset();
  seekPending_ = false;
  seekStarted_ = false;
  playAfterSeek_ = false;
  width_ = 0;
  height_ = 0;
}

void MpvMediaEngine::SetURL(const std::string& url) {
  const bool hadFile = entry_ != 0;
  const bool wasActive = state_ == playstate::kPlaying || state_ == playstate::kPaused;
  Unload();
  url_ = url;
  if (url.empty()) {
    if (hadFile) Command({"stop"});
    if (wasActive) ChangeState(playstate::kStopped);
    return;
  }
  // pause, speed and volume carry over from the last file: set them for
  // this one. It opens paused; it starts once open, after any position set
  // meanwhile has been applied.
  SetFlag("pause", true);
  SetDouble("speed", rate_);
  SetDouble("volume", volume_);
  const char* args[] = {"loadfile", url_.c_str(), "replace", nullptr};
  mpv_node result;
  if (int err = mpv_command_ret(mpv_, args, &result); err < 0) Fail(err, "loadfile");
  if (result.format == MPV_FORMAT_NODE_MAP) {
    for (int i = 0; i < result.u.list->num; ++i) {
      if (std::strcmp(result.u.list->keys[i], "playlist_entry_id") == 0 &&
          result.u.list->values[i].format == MPV_FORMAT_INT64)
        entry_ = result.u.list->values[i].u.int64;
    }
  }
  mpv_free_node_contents(&result);
  if (entry_ == 0) Fail(MPV_ERROR_GENERIC, "loadfile");
  playWhenLoaded_ = autoStart_;
  ChangeState(playstate::kTransitioning);
  Post([this] {
    if (events.OpenStateChange) events.OpenStateChange(openstate::kMediaOpening);
  });
}

void MpvMediaEngine::SetUiMode(const std::string& mode) {
  if (mode != "none" && mode != "mini" && mode != "full" && mode != "invisible")
    throw VbError(vberr::kInvalidCall);
  uiMode_ = mode;
}

void MpvMediaEngine::SetEnabled(bool value) { enabled_ = value; }

std::string MpvMediaEngine::versionInfo() const {
  std::optional<std::string> version = GetText("mpv-version");
  if (!version) throw VbError(vberr::kNotSupported);
  return *version;
}

void MpvMediaEngine::SetSettingsRate(double rate) {
  if (!std::isfinite(rate) || rate < 0.01 || rate > 100) throw VbError(vberr::kInvalidCall);
  rate_ = rate;
  SetDouble("speed", rate);
}

void MpvMediaEngine::SetSettingsVolume(std::int32_t volume) {
  volume_ = std::clamp(volume, 0, 100);
  SetDouble("volume", volume_);
}

void MpvMediaEngine::controlsPlay() {
  if (url_.empty() || failed_) return;
  if (!loaded_) {
    playWhenLoaded_ = true;
    return;
  }
  if (state_ == playstate::kTransitioning) {
    playAfterSeek_ = true;
    return;
  }
  if (state_ == playstate::kPlaying) return;
  ended_ = false;
  if (!seekPending_) seekTarget_.reset();
  SetFlag("pause", false);
  ChangeState(playstate::kPlaying);
  // Already at the end (a position set there while paused): mpv stays at
  // its end without a new notice, so the end is ours to announce.
  if (!seekPending_ && GetFlag("eof-reached")) OnEndOfFile();
}

void MpvMediaEngine::controlsStop() {
  if (url_.empty()) return;
  playWhenLoaded_ = false;
  playAfterSeek_ = false;
  pendingPosition_.reset();
  if (!loaded_) return;
  SetFlag("pause", true);
  Seek(0);
  ended_ = false;
  if (state_ != playstate::kStopped) ChangeState(playstate::kStopped);
}

void MpvMediaEngine::controlsPause() {
  playAfterSeek_ = false;
  if (!loaded_) {
    playWhenLoaded_ = false;
    return;
  }
  if (state_ != playstate::kPlaying) return;
  SetFlag("pause", true);
  ChangeState(playstate::kPaused);
}

double MpvMediaEngine::controlsCurrentPosition() const {
  if (!loaded_) return pendingPosition_.value_or(0.0);
  if (seekTarget_ && (state_ != playstate::kPlaying || seekPending_)) return *seekTarget_;
  if (state_ == playstate::kStopped) return 0.0;
  const double pos = GetDouble("time-pos").value_or(0.0);
  const double duration = GetDouble("duration").value_or(pos);
  return std::clamp(pos, 0.0, std::max(duration, 0.0));
}

void MpvMediaEngine::SetControlsCurrentPosition(double seconds) {
  if (!std::isfinite(seconds)) throw VbError(vberr::kInvalidCall);
  if (url_.empty() || failed_) return;
  if (!loaded_) {
    // mpv drops a seek made before the file has opened.
    pendingPosition_ = seconds;
    return;
  }
  // A negative start would count from the end, a start past the end fail.
  const double duration = GetDouble("duration").value_or(0.0);
  Seek(std::clamp(seconds, 0.0, std::max(duration, 0.0)));
  ended_ = false;
}

void MpvMediaEngine::currentPlaylistClear() {
  const bool hadFile = entry_ != 0;
  const bool wasActive = state_ == playstate::kPlaying || state_ == playstate::kPaused;
  Unload();
  url_.clear();
  if (hadFile) Command({"stop"});
  if (wasActive)
    ChangeState(playstate::kStopped);
  else if (state_ == playstate::kTransitioning)
    state_ = playstate::kStopped;
}

double MpvMediaEngine::currentMediaDuration() const {
  // Read each time: a raw stream's duration grows while it plays.
  if (!loaded_) return 0.0;
  return std::max(GetDouble("duration").value_or(0.0), 0.0);
}

void MpvMediaEngine::Drain() {
  while (true) {
    mpv_event* event = mpv_wait_event(mpv_, 0);
    if (event->event_id == MPV_EVENT_NONE) break;
    Handle(*event);  // uses the event's data before the next wait
  }
}

void MpvMediaEngine::Handle(const mpv_event& event) {
  switch (event.event_id) {
    case MPV_EVENT_START_FILE: {
      const auto* start = static_cast<const mpv_event_start_file*>(event.data);
      if (entry_ != 0 && start->playlist_entry_id == entry_) startSeen_ = true;
      break;
    }
    case MPV_EVENT_FILE_LOADED:
      // Carries no entry; it belongs to the last file started.
      if (startSeen_ && !loaded_ && !failed_) OnFileLoaded();
      break;
    case MPV_EVENT_END_FILE: {
      const auto* end = static_cast<const mpv_event_end_file*>(event.data);
      if (entry_ == 0 || end->playlist_entry_id != entry_) break;
      if (end->reason == MPV_END_FILE_REASON_ERROR)
        OnLoadFailed(end->error);
      else if (end->reason == MPV_END_FILE_REASON_EOF && loaded_ && !ended_)
        OnEndOfFile();
      break;
    }
    case MPV_EVENT_PROPERTY_CHANGE: {
      const auto* prop = static_cast<const mpv_event_property*>(event.data);
      if (std::strcmp(prop->name, "eof-reached") != 0 || prop->format != MPV_FORMAT_FLAG) break;
      // The notice may be late and belong to the file before; ask again.
      if (*static_cast<int*>(prop->data) != 0 && loaded_ && state_ == playstate::kPlaying && !ended_ &&
          !seekPending_ && GetFlag("eof-reached"))
        OnEndOfFile();
      break;
    }
    case MPV_EVENT_SEEK:
      if (seekPending_) seekStarted_ = true;
      break;
    case MPV_EVENT_PLAYBACK_RESTART:
      // The restart that opens a file comes without a SEEK before it; only
      // one after our seek has begun means the seek is done.
      if (seekPending_ && seekStarted_) OnSeekFinished();
      break;
    case MPV_EVENT_AUDIO_RECONFIG:
      if (!*silenceTold_ && FellBackToNoSound()) {
        *silenceTold_ = true;
        MediaError error{MediaError::Kind::kNoAudioOutput, url_, mpv_error_string(MPV_ERROR_AO_INIT_FAILED)};
        Post([this, error] {
          if (events.Error) events.Error(error);
        });
      }
      break;
    case MPV_EVENT_VIDEO_RECONFIG:
      if (loaded_) {
        width_ = static_cast<std::int32_t>(GetDouble("width").value_or(0));
        height_ = static_cast<std::int32_t>(GetDouble("height").value_or(0));
      }
      break;
    default: break;
  }
}

bool MpvMediaEngine::FellBackToNoSound() const {
  // The null output is in use although it was not asked for.
  return GetText("current-ao").value_or("") == "null" &&
         GetText("options/ao").value_or("").find("null") == std::string::npos;
}

void MpvMediaEngine::OnFileLoaded() {
  loaded_ = true;
  width_ = static_cast<std::int32_t>(GetDouble("width").value_or(0));
  height_ = static_cast<std::int32_t>(GetDouble("height").value_or(0));
  Post([this] {
    if (events.OpenStateChange) events.OpenStateChange(openstate::kMediaOpen);
  });
  if (pendingPosition_) {
    const double duration = GetDouble("duration").value_or(0.0);
    Seek(std::clamp(*pendingPosition_, 0.0, std::max(duration, 0.0)));
    pendingPosition_.reset();
    // Played from the start position only: wait for the seek.
    playAfterSeek_ = playWhenLoaded_;
    playWhenLoaded_ = false;
    return;
  }
  if (playWhenLoaded_) {
    playWhenLoaded_ = false;
    SetFlag("pause", false);
    ChangeState(playstate::kPlaying);
  } else if (state_ == playstate::kTransitioning) {
    ChangeState(playstate::kReady);
  }
}

void MpvMediaEngine::OnSeekFinished() {
  seekPending_ = false;
  seekStarted_ = false;
  if (state_ == playstate::kPlaying) seekTarget_.reset();
  if (state_ != playstate::kTransitioning) return;
  // A file opened at a start position.
  if (playAfterSeek_) {
    playAfterSeek_ = false;
    // Playing from here on: the position is mpv's again. A target kept would
    // be reported at the next pause, where the reader is long past it.
    seekTarget_.reset();
    SetFlag("pause", false);
    ChangeState(playstate::kPlaying);
  } else {
    ChangeState(playstate::kReady);
  }
}

void MpvMediaEngine::OnEndOfFile() {
  // Reported once; then stopped and rewound, with the file kept.
  ended_ = true;
  ChangeState(playstate::kMediaEnded);
  SetFlag("pause", true);
  Seek(0);
  ChangeState(playstate::kStopped);
}

void MpvMediaEngine::OnLoadFailed(int mpvError) {
  failed_ = true;
  loaded_ = false;
  playWhenLoaded_ = false;
  pendingPosition_.reset();
  MediaError error;
  error.kind = mpvError == MPV_ERROR_UNKNOWN_FORMAT ? MediaError::Kind::kUnrecognisedFormat
                                                    : MediaError::Kind::kLoadingFailed;
  error.url = url_;
  error.detail = mpv_error_string(mpvError);
  Post([this, error] {
    if (events.Error) events.Error(error);
  });
  ChangeState(playstate::kReady);
}

MediaEngineFactory MakeMpvEngineFactory(MpvEngineOptions options) {
  auto silenceTold = std::make_shared<bool>(false);
  return [options, silenceTold]() -> std::unique_ptr<MediaEngine> {
    return std::make_unique<MpvMediaEngine>(options, silenceTold);
  };
}

}  // namespace orva::mpvbackend
