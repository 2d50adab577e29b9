#include "launcher/launcher_window.h"

#include "launcher/launcher.h"

namespace orva::smart {

LauncherWindow::LauncherWindow(Launcher& launcher, std::string name, std::string caption)
    : launcher_(launcher), name_(std::move(name)), caption_(std::move(caption)) {}

LauncherWindow::~LauncherWindow() = default;

void LauncherWindow::Unload() {
  if (!loaded_) return;
  loaded_ = false;
  StopTimers();
  if (view_) view_->Close();
  launcher_.Unloaded(*this);
}

void LauncherWindow::RefreshView() {
  if (view_ && loaded_) view_->Refresh();
}

}  // namespace orva::smart
