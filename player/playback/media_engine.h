#pragma once
// The media engine a player host drives: the object model of the embedded
// media control (its URL, play state, settings, controls, playlist and
// current media) and the window its picture shows in. The real engine sits
// in backends/mpv; tests use FakeMediaEngine on the virtual clock.
//
// Every member may fail with a VbError, as the control's members could; the
// hosts trap and report those failures. Events are delivered later, from the
// event loop, never from inside the call that caused them, as the control
// posted its notifications.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "player/playback/host_window.h"

namespace orva {

// playState values, numbered as the control numbers them.
namespace playstate {
inline constexpr std::int32_t kUndefined = 0;
inline constexpr std::int32_t kStopped = 1;
inline constexpr std::int32_t kPaused = 2;
inline constexpr std::int32_t kPlaying = 3;
inline constexpr std::int32_t kMediaEnded = 8;
inline constexpr std::int32_t kTransitioning = 9;
inline constexpr std::int32_t kReady = 10;
}  // namespace playstate

// OpenStateChange values the engines raise.
namespace openstate {
inline constexpr std::int32_t kUndefined = 0;
inline constexpr std::int32_t kPlaylistChanged = 1;
inline constexpr std::int32_t kMediaOpening = 12;
inline constexpr std::int32_t kMediaOpen = 13;
}  // namespace openstate

// A file that could not be played: it is missing or unreadable, or its
// content is not a format the engine knows. Or no sound device could be
// opened: the engine then plays on without sound, so positions and ends of
// files still come, and says so once a session, not for every file.
struct MediaError {
  enum class Kind { kLoadingFailed, kUnrecognisedFormat, kNoAudioOutput };
  Kind kind = Kind::kLoadingFailed;
  std::string url;
  std::string detail;  // the engine's own words, for the report
};

// The control's events. The host connects them when it loads and clears
// them when it unloads; an engine never calls an empty one.
struct MediaEngineEvents {
  std::function<void(std::int32_t newState)> PlayStateChange;
  std::function<void(std::int32_t newState)> OpenStateChange;
  // A character typed while the control had the focus.
  std::function<void(std::int16_t keyAscii)> KeyPress;
  // Raised once per failed load, with no PlayStateChange to playing; and
  // once a session for a missing sound device (kNoAudioOutput), while the
  // file plays on.
  std::function<void(const MediaError& error)> Error;
};

class MediaEngine {
 public:
  virtual ~MediaEngine() = default;

  MediaEngineEvents events;

  // The window that carries the picture; it lives as long as the engine.
  virtual HostWindow& Window() = 0;

  // URL: setting it replaces the current media and, with autoStart on,
  // starts it. The URL is kept after a stop and after the end of the media.
  virtual std::string URL() const = 0;
  virtual void SetURL(const std::string& url) = 0;
  virtual std::int32_t playState() const = 0;
  // "none" (picture only, used full screen), "mini", "full" or "invisible".
  virtual std::string uiMode() const = 0;
  virtual void SetUiMode(const std::string& mode) = 0;
  // Whether the control takes the reader's input.
  virtual bool enabled() const = 0;
  virtual void SetEnabled(bool value) = 0;
  virtual bool enableContextMenu() const = 0;
  virtual void SetEnableContextMenu(bool value) = 0;
  virtual std::string versionInfo() const = 0;

  // settings.rate: speed factor, 1 = normal; the pitch stays natural.
  virtual double settingsRate() const = 0;
  virtual void SetSettingsRate(double rate) = 0;
  virtual bool settingsAutoStart() const = 0;
  virtual void SetSettingsAutoStart(bool value) = 0;
  // settings.volume: 0 to 100; values outside are clamped.
  virtual std::int32_t settingsVolume() const = 0;
  virtual void SetSettingsVolume(std::int32_t volume) = 0;

  virtual void controlsPlay() = 0;
  // Stops and rewinds; the URL stays.
  virtual void controlsStop() = 0;
  virtual void controlsPause() = 0;
  // Seconds from the start of the media. Setting it clamps to 0 … duration;
  // it takes effect also when set right after the URL, before the media has
  // opened.
  virtual double controlsCurrentPosition() const = 0;
  virtual void SetControlsCurrentPosition(double seconds) = 0;

  virtual void currentPlaylistClear() = 0;

  // Seconds; 0 while nothing is open. It may grow while a stream plays.
  virtual double currentMediaDuration() const = 0;
  // The picture's own size in pixels; 0 for audio.
  virtual std::int32_t currentMediaImageSourceWidth() const = 0;
  virtual std::int32_t currentMediaImageSourceHeight() const = 0;
};

// Makes a new engine each time a host loads; the application passes the
// real one, tests a fake.
using MediaEngineFactory = std::function<std::unique_ptr<MediaEngine>()>;

}  // namespace orva
