#include "launcher/announcing_windows.h"

#include "launcher/launcher.h"

namespace orva::smart {

AnnouncingWindow::AnnouncingWindow(Launcher& launcher, std::string name, std::string caption,
                                   std::string announcement, int intervalMs)
    : LauncherWindow(launcher, std::move(name), std::move(caption)),
      Timer1(launcher.Services().loop, intervalMs, true),
      announcement_(std::move(announcement)) {
  Timer1.Timer = [this] { Timer1_Timer(); };
}

void AnnouncingWindow::Form_Load() { SetLabel1(announcement_); }

void AnnouncingWindow::Timer1_Timer() {
  launcher_.Untrapped([this] { StartProgram(); });
  Unload();
}

Vecchia::Vecchia(Launcher& launcher)
    : AnnouncingWindow(launcher, "vecchia", "Rilevamento versione OrvaPlayer",
                       "Rilevo nella macchina una precedente versione di OrvaPlayer.\r\n"
                       "Procedo con l'installazione della nuova versione...",
                       2000) {}

void Vecchia::StartProgram() {
  launcher_.Programs().StartCommandLine(launcher_.InstallerCommand(), WindowStyle::kMaximizedFocus);
}

AvvioCd::AvvioCd(Launcher& launcher)
    : AnnouncingWindow(launcher, "avviocd", "Avvio da cd", "Avvio OrvaPlayer dal CD", 1000) {}

void AvvioCd::StartProgram() { launcher_.Programs().Start("OrvaPlayer.exe", WindowStyle::kMaximizedFocus); }

AvvioHd::AvvioHd(Launcher& launcher)
    : AnnouncingWindow(launcher, "avviohd", "Avvio da hd", "Avvio OrvaPlayer da Hard Disk", 1500) {}

void AvvioHd::StartProgram() { launcher_.Programs().Start("Start.exe", WindowStyle::kMaximizedFocus); }

}  // namespace orva::smart
