#pragma once
// The three windows that only announce what happens next: each shows its
// announcement, waits on a one-shot use of its timer, starts one program and
// closes.
//   vecchia  "Rilevamento versione OrvaPlayer"  2000 ms  the installer
//   avviocd  "Avvio da cd"                      1000 ms  OrvaPlayer.exe
//   avviohd  "Avvio da hd"                      1500 ms  Start.exe

#include <string>

#include "common/controls/timer_control.h"
#include "launcher/launcher_window.h"

namespace orva::smart {

class AnnouncingWindow : public LauncherWindow {
 public:
  AnnouncingWindow(Launcher& launcher, std::string name, std::string caption, std::string announcement,
                   int intervalMs);

  void Form_Load() override;
  void Timer1_Timer();

  TimerControl Timer1;

 protected:
  // Starts the window's program.
  virtual void StartProgram() = 0;
  void StopTimers() override { Timer1.SetEnabled(false); }

 private:
  std::string announcement_;
};

// The old version was found, or nothing newer is installed: install.
class Vecchia : public AnnouncingWindow {
 public:
  explicit Vecchia(Launcher& launcher);

 protected:
  void StartProgram() override;
};

// Start the player from the CD.
class AvvioCd : public AnnouncingWindow {
 public:
  explicit AvvioCd(Launcher& launcher);

 protected:
  void StartProgram() override;
};

// Start the player installed on the hard disk, through the start utility.
class AvvioHd : public AnnouncingWindow {
 public:
  explicit AvvioHd(Launcher& launcher);

 protected:
  void StartProgram() override;
};

}  // namespace orva::smart
