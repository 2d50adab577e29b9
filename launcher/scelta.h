#pragma once
// The choice window, shown when no installed player was found: start the
// player from the CD, install it, or browse the CD's book folder. Left alone
// it counts down from 60 seconds in `Text1` and starts the player from the
// CD. With "Non ricordarmelo più" ticked, starting from the CD or browsing
// is remembered, so later runs skip this window.

#include <optional>
#include <string>

#include "common/controls/controls.h"
#include "common/controls/timer_control.h"
#include "launcher/launcher_window.h"

namespace orva::smart {

class Scelta : public LauncherWindow {
 public:
  // Button captions.
  static constexpr const char* kAvviaCaption = "Avvia OrvaPlayer dal CD";
  static constexpr const char* kInstallaCaption = "Installa OrvaPlayer";
  static constexpr const char* kCommand1Caption = "Sfoglia il CD";
  // The countdown field takes whole numbers in this range only, so the
  // countdown always reaches 0 and starts the player.
  static constexpr int kMinSeconds = 1;
  static constexpr int kMaxSeconds = 999;

  explicit Scelta(Launcher& launcher);

  void Form_Load() override;
  void Timer1_Timer();
  void avvia_Click();
  void installa_Click();
  void Command1_Click();
  void Text1_Change();

  CheckBox Check1{"Non ricordarmelo più"};
  TextBox Text1;
  TimerControl Timer1;

  // The seconds the countdown goes on from: Text1 when it holds an accepted
  // number, else the last accepted one.
  int Seconds() const { return seconds_; }
  // The accepted number in `text` (blanks around allowed), if any.
  static std::optional<int> AcceptedSeconds(const std::string& text);

 protected:
  void StopTimers() override { Timer1.SetEnabled(false); }

 private:
  // Stores the two choices when "Non ricordarmelo più" is ticked.
  void Remember(const char* sfogliacd);

  int seconds_ = 60;
};

}  // namespace orva::smart
