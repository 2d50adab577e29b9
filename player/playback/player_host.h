#pragma once
// What the player facade asks of an engine host. Both hosts answer it and
// trap their own failures: every member reports under the host's name and
// returns its default instead of failing.

#include <cstdint>
#include <functional>
#include <string>

namespace orva {

class MediaEngine;

class PlayerHost {
 public:
  virtual ~PlayerHost() = default;

  // The end of a file, raised from the host's one-shot timer.
  std::function<void(std::int32_t NewMode)> PlayStateChange;
  // A short text for the reader's display: a file that cannot be played.
  std::function<void(const std::string& Text)> PlayMessage;

  // Runs the window's start-up; the window stays hidden.
  virtual void Form_Load() = 0;

  virtual float Rate() = 0;
  virtual void SetRate(float value) = 0;
  virtual bool AutoStart() = 0;
  virtual void SetAutoStart(bool value) = 0;
  virtual bool FullScreen() = 0;
  virtual void SetFullScreen(bool value) = 0;
  virtual bool AudioOff() = 0;
  virtual void SetAudioOff(bool value) = 0;
  virtual std::string FileName() = 0;
  virtual void SetFileName(const std::string& value) = 0;
  virtual void Stop_Player() = 0;
  virtual void Play_Player() = 0;
  virtual double CurrentPosition() = 0;
  virtual void SetCurrentPosition(double seconds) = 0;
  virtual double Duration() = 0;
  virtual void StopPlay() = 0;
  virtual std::int32_t Volume() = 0;
  virtual void SetVolume(double value) = 0;
  virtual bool IsPlaying() = 0;
  virtual void Pause_Player() = 0;

  // The embedded version-9 control. A host that has none fails with error
  // 438, which is how the facade's engine probe tells the hosts apart.
  virtual MediaEngine& WMP() = 0;
};

}  // namespace orva
