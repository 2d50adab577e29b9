#pragma once
// The launcher's windows on screen: the three announcing windows and the
// choice window, drawn with Qt over the core windows. Labels use Verdana, or
// the nearest font the system has; every control has an accessible name; a
// window announces its text to screen readers when it appears.

#include <functional>
#include <memory>

#include "launcher/window_view.h"

namespace orva {

class QtLauncherViews : public smart::WindowViews {
 public:
  // `afterEvent` runs after each handler a reader's action started (the
  // program commits the settings written there).
  explicit QtLauncherViews(std::function<void()> afterEvent = {}) : afterEvent_(std::move(afterEvent)) {}

  std::unique_ptr<smart::WindowView> Create(smart::AnnouncingWindow& window) override;
  std::unique_ptr<smart::WindowView> Create(smart::Scelta& window) override;

 private:
  std::function<void()> afterEvent_;
};

}  // namespace orva
