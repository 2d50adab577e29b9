#pragma once
// The version-9 host: a normally hidden window holding the media control
// `WMP`. Audio plays with the window hidden; for a video file it shows
// itself, maximised or as a window of the video's own size 20 pixels from
// the right and 50 pixels from the bottom of the screen. The end of a file
// reaches the facade in two steps: the control's state 8 arms the 1 ms
// TimerNextAction, whose tick raises PlayStateChange(8); Stop_Player in
// between drops the notice.
//
// Four places let pending events run (after clearing the playlist, after
// stopping, before playing, after arming the timer). An event handler there
// may unload the host; the host then returns at once.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "common/automation/trace.h"
#include "common/controls/timer_control.h"
#include "common/platform/event_loop.h"
#include "player/panels/mdlMain.h"
#include "player/playback/media_engine.h"
#include "player/playback/player_host.h"

namespace orva {

// A file is a video when its name, in capitals, holds ".WMV", ".M1V" or
// ".AVI" anywhere (so "a.wmv.mp3" counts too).
bool IsVideoFileName(std::string_view name);

class frmWMP9 : public PlayerHost {
 public:
  static constexpr const char* kCaption = "MediaPlayer";

  frmWMP9(EventLoop& loop, MdlMain& report, std::unique_ptr<MediaEngine> wmp);
  ~frmWMP9() override;
  frmWMP9(const frmWMP9&) = delete;
  frmWMP9& operator=(const frmWMP9&) = delete;

  void Form_Load() override;

  float Rate() override;
  void SetRate(float value) override;
  bool AutoStart() override;
  void SetAutoStart(bool value) override;
  bool FullScreen() override;
  void SetFullScreen(bool value) override;
  bool AudioOff() override;
  void SetAudioOff(bool value) override;
  std::string FileName() override;
  void SetFileName(const std::string& value) override;
  void Stop_Player() override;
  void Play_Player() override;
  double CurrentPosition() override;
  void SetCurrentPosition(double seconds) override;
  double Duration() override;
  void StopPlay() override;
  std::int32_t Volume() override;
  void SetVolume(double value) override;
  bool IsPlaying() override;
  void Pause_Player() override;
  MediaEngine& WMP() override { return *wmp_; }

  // Event handlers.
  void Form_KeyDown(std::int16_t KeyCode, std::int16_t Shift);
  void WMP_KeyPress(std::int16_t nKeyAscii);
  void WMP_OpenStateChange(std::int32_t NewState);
  void WMP_PlayStateChange(std::int32_t NewState);
  // A file that could not be opened: its name goes to PlayMessage, once per
  // load. A missing sound device goes to the error report.
  void WMP_Error(const MediaError& error);
  void TimerNextAction_Timer();

  TimerControl TimerNextAction;
  // The play state TimerNextAction delivers.
  std::string TimerNextActionTag;

 protected:
  // `name` prefixes every report ("oWMP9").
  frmWMP9(EventLoop& loop, MdlMain& report, std::unique_ptr<MediaEngine> wmp, std::string name);
  std::string ReportName(std::string_view member) const;
  MdlMain& Report() { return report_; }
  MediaEngine& WMPEngine() { return *wmp_; }

 private:
  // One "media" line of the trace: the host, the operation and a detail.
  void TraceMedia(std::string_view op) const;
  void TraceMedia(std::string_view op, const TraceField& detail) const;
  // Lets pending events run; false when the host was unloaded meanwhile.
  bool DoEventsAndStillLoaded();
  void ShowVideo();

  EventLoop& loop_;
  MdlMain& report_;
  std::unique_ptr<MediaEngine> wmp_;
  std::string name_;
  std::shared_ptr<bool> loaded_ = std::make_shared<bool>(true);

  bool audioOff_ = false;
  bool fullScreen_ = false;
  bool autoStart_ = false;
};

}  // namespace orva
