#pragma once
// The one object through which the main window plays a book's audio and
// video. It hides which engine host is in use (Versione 1: frmWMP9, the
// version-9 host; Versione 0: frmWMP6, the older control's host) behind a
// fixed set of members, and relays the end of a file as PlayStateChange(8)
// and a file it cannot play as PlayMessage.
//
// Units: Rate is a speed factor (1 = normal); positions and durations are
// seconds; Volume is the host's own scale (0 to 100 for version 9, -4000 to 0
// hundredths of a decibel for version 6).
//
// Calling order: construct, connect the events, set Versione, then Rate,
// FullScreen and the other settings, then FileName, then Play_Player. No
// member lets a failure through: each reports it under its own name and
// returns its default.
//
// Events are raised synchronously from inside the member or the host
// notification that causes them. A handler may destroy the facade (an
// engine switch does); the facade touches nothing of its own after raising.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "common/platform/event_loop.h"
#include "player/panels/mdlMain.h"
#include "player/playback/media_engine.h"
#include "player/playback/player_host.h"

namespace orva {

class frmWMP9;
class frmWMP6;

class oMoxPlayer {
 public:
  // `engines` makes the engine of each host the facade loads.
  oMoxPlayer(EventLoop& loop, MdlMain& report, MediaEngineFactory engines);
  // Unloads the hosts, which ends playback.
  ~oMoxPlayer();
  oMoxPlayer(const oMoxPlayer&) = delete;
  oMoxPlayer& operator=(const oMoxPlayer&) = delete;

  // Events, in their order of declaration.
  // The active host reported a play state: 8 = the file has ended.
  std::function<void(std::int32_t NewMode)> PlayStateChange;
  // A different file is about to be given to the host.
  std::function<void(const std::string& NewFile)> PlayFileChange;
  // A text the main window shows on its display: the active host could not
  // play a file. Playback then stays where a failed load leaves it.
  std::function<void(const std::string& Text)> PlayMessage;

  float Rate();
  void SetRate(float value);
  bool AutoStart();
  void SetAutoStart(bool value);
  bool FullScreen();
  void SetFullScreen(bool value);
  bool AudioOff();
  // True stops playback at once; afterwards only video plays.
  void SetAudioOff(bool value);
  std::string FileName();
  // Raises PlayFileChange first when the name differs from the host's; the
  // host is given the name in either case and starts it again.
  void SetFileName(const std::string& vNewValue);
  void Stop_Player();
  void Play_Player();
  // 0 without asking the host while no file name is set.
  double CurrentPosition();
  void SetCurrentPosition(double seconds);
  // 0 while the host's file name is blank.
  double Duration();
  // Pauses while playing, else plays.
  void StopPlay();
  std::int32_t Volume();
  void SetVolume(double value);
  // The text of the volume field, converted as a whole number in the user's
  // locale; a text that is not a number is reported as "oPl - Let Volume".
  void SetVolume(const std::string& text);
  bool IsPlaying();
  void Pause_Player();

  // True when the active host has a working version-9 control.
  bool Versione9Presente();
  std::int16_t Versione() const { return versione_; }
  // 1 loads the version-9 host, 0 the version-6 host (unloading the other);
  // any other value only changes the field.
  void SetVersione(std::int16_t v);

  // The active host, or nullptr; for tests and diagnostics.
  PlayerHost* CurrentPlayer() const { return player_; }

 private:
  PlayerHost& Player() const;
  void o9_PlayStateChange(std::int32_t NewMode);
  void o9_PlayMessage(const std::string& Text);
  void Unload9();
  void Unload6();

  EventLoop& loop_;
  MdlMain& report_;
  MediaEngineFactory engines_;

  bool audioOff_ = false;
  bool fullScreen_ = false;
  bool autoStart_ = false;
  std::int16_t versione_ = 0;
  std::unique_ptr<frmWMP6> wmp6_;
  std::unique_ptr<frmWMP9> o9_;
  PlayerHost* player_ = nullptr;
  // False once the facade is destroyed, for calls still on the stack.
  std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

}  // namespace orva
