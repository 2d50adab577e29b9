#include "launcher/scelta.h"

#include "common/runtime/text.h"
#include "launcher/launcher.h"

namespace orva::smart {

Scelta::Scelta(Launcher& launcher)
    : LauncherWindow(launcher, "scelta", "OrvaPlayer"), Timer1(launcher.Services().loop, 1000, true) {
  Text1.SetText("60");
  Text1.Change = [this] { Text1_Change(); };
  Timer1.Timer = [this] { Timer1_Timer(); };
}

void Scelta::Form_Load() {
  SetLabel1(
      "Non è stata rilevata nessuna versione di OrvaPlayer in questo personal computer.\r\n"
      "Che cosa si intende fare?");
}

std::optional<int> Scelta::AcceptedSeconds(const std::string& text) {
  const std::string digits = Trim(text);
  if (digits.empty() || digits.size() > 3) return std::nullopt;
  int value = 0;
  for (char c : digits) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
  }
  if (value < kMinSeconds || value > kMaxSeconds) return std::nullopt;
  return value;
}

void Scelta::Text1_Change() {
  // While the reader types, the field may hold anything for a moment; the
  // countdown carries on from the last accepted number.
  if (auto seconds = AcceptedSeconds(Text1.Text())) seconds_ = *seconds;
}

void Scelta::Timer1_Timer() {
  if (!Loaded()) return;
  seconds_ -= 1;
  Text1.SetText(std::to_string(seconds_));
  if (seconds_ <= 0) {
    avvia_Click();
    return;
  }
  RefreshView();
}

void Scelta::Remember(const char* sfogliacd) {
  if (Check1.Value() != 1) return;
  launcher_.Untrapped([&] {
    Settings& settings = launcher_.SettingsStore();
    settings.SaveSetting("NOLinker", "Default", "noform", "1");
    settings.SaveSetting("NOLinker", "Default", "sfogliacd", sfogliacd);
  });
}

void Scelta::avvia_Click() {
  if (!Loaded()) return;
  Remember("0");
  launcher_.ShowAvvioCd();
  Unload();
}

void Scelta::Command1_Click() {
  if (!Loaded()) return;
  Remember("1");
  launcher_.Untrapped([this] { launcher_.Programs().OpenFolder(launcher_.LauncherFolder() + "Libro"); });
  Unload();
}

void Scelta::installa_Click() {
  if (!Loaded()) return;
  launcher_.Untrapped([this] {
    launcher_.Programs().StartCommandLine(launcher_.InstallerCommand(), WindowStyle::kMaximizedFocus);
  });
  Unload();
}

}  // namespace orva::smart
