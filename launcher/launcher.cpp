#include "launcher/launcher.h"

#include "common/automation/trace.h"
#include "common/automation/trace_events.h"
#include "launcher/announcing_windows.h"
#include "launcher/form1.h"
#include "launcher/scelta.h"

namespace orva::smart {

Launcher::Launcher(LauncherServices services, WindowViews* views)
    : services_(std::move(services)),
      views_(views),
      settings_(services_.registry),
      programs_(services_.fs, services_.processes, services_.currentFolder) {}

Launcher::~Launcher() { services_.loop.StopTimer(dropTimer_); }

void Launcher::Run() {
  if (form1_) return;
  form1_ = std::make_unique<Form1>(*this);
  form1Loaded_ = true;
  form1_->Form_Load();
}

void Launcher::Form1Unloaded() {
  if (!form1Loaded_) return;
  form1Loaded_ = false;
  CheckEnded();
}

void Launcher::ShowVecchia() { Show(std::make_unique<Vecchia>(*this)); }
void Launcher::ShowAvvioCd() { Show(std::make_unique<AvvioCd>(*this)); }
void Launcher::ShowAvvioHd() { Show(std::make_unique<AvvioHd>(*this)); }
void Launcher::ShowScelta() { Show(std::make_unique<Scelta>(*this)); }

template <class View>
void Launcher::AttachView(View& window) {
  if (views_) window.AttachView(views_->Create(window));
}

void Launcher::Show(std::unique_ptr<LauncherWindow> window) {
  LauncherWindow& shown = *window;
  open_.push_back(std::move(window));
  shown.Form_Load();
  if (auto* scelta = dynamic_cast<Scelta*>(&shown)) {
    AttachView(*scelta);
  } else if (auto* announcing = dynamic_cast<AnnouncingWindow*>(&shown)) {
    AttachView(*announcing);
  }
  TraceWindowShown(shown.Name(), shown.Caption());
  TraceEvent("announce", {{"window", shown.Name()}, {"text", shown.Label1()}});
  if (shown.View()) shown.View()->Show();
}

std::vector<LauncherWindow*> Launcher::OpenWindows() const {
  std::vector<LauncherWindow*> windows;
  for (const auto& window : open_) windows.push_back(window.get());
  return windows;
}

LauncherWindow* Launcher::Find(const std::string& name) const {
  for (const auto& window : open_)
    if (window->Name() == name) return window.get();
  return nullptr;
}

void Launcher::Unloaded(LauncherWindow& window) {
  for (auto it = open_.begin(); it != open_.end(); ++it) {
    if (it->get() != &window) continue;
    closed_.push_back(std::move(*it));
    open_.erase(it);
    TraceWindowHidden(window.Name());
    if (dropTimer_ == kNoTimer) dropTimer_ = services_.loop.StartTimer(0, [this] { DropClosed(); });
    break;
  }
  CheckEnded();
}

void Launcher::DropClosed() {
  dropTimer_ = kNoTimer;
  closed_.clear();
}

void Launcher::CheckEnded() {
  if (ended_ || form1Loaded_ || !open_.empty()) return;
  ended_ = true;
  TraceEvent("launcher-ended");
  if (onEnded_) onEnded_();
}

void Launcher::Untrapped(const std::function<void()>& step) {
  RunUntrapped(services_.dialogs, kSmartTitle, step);
}

}  // namespace orva::smart
