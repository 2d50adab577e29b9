#pragma once
// The on-screen side of a launcher window. The core windows hold the
// controls' state and the handlers; a view draws them and passes the
// reader's clicks and typing back to the handlers. Tests run without views.

#include <memory>

namespace orva::smart {

class AnnouncingWindow;
class Scelta;

class WindowView {
 public:
  virtual ~WindowView() = default;
  virtual void Show() = 0;
  // A control's value changed from code (the countdown).
  virtual void Refresh() = 0;
  // The window unloaded; the view must not call the window again.
  virtual void Close() = 0;
};

class WindowViews {
 public:
  virtual ~WindowViews() = default;
  virtual std::unique_ptr<WindowView> Create(AnnouncingWindow& window) = 0;
  virtual std::unique_ptr<WindowView> Create(Scelta& window) = 0;
};

}  // namespace orva::smart
