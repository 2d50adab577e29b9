#pragma once
// What the launcher's small windows share: a name, a caption, the label
// `Label1` with the window's announcement, and unloading.

#include <memory>
#include <string>

#include "launcher/window_view.h"

namespace orva::smart {

class Launcher;

class LauncherWindow {
 public:
  LauncherWindow(Launcher& launcher, std::string name, std::string caption);
  virtual ~LauncherWindow();
  LauncherWindow(const LauncherWindow&) = delete;
  LauncherWindow& operator=(const LauncherWindow&) = delete;

  const std::string& Name() const { return name_; }
  const std::string& Caption() const { return caption_; }
  const std::string& Label1() const { return label1_; }
  bool Loaded() const { return loaded_; }

  virtual void Form_Load() = 0;
  // Unload Me: stops the window's timer and closes it. Harmless twice.
  void Unload();
  // The reader closed the window from its title bar.
  void CloseRequested() { Unload(); }

  // Gives the window its view; the launcher does it once the window has loaded.
  void AttachView(std::unique_ptr<WindowView> view) { view_ = std::move(view); }
  WindowView* View() const { return view_.get(); }

 protected:
  virtual void StopTimers() = 0;
  void SetLabel1(std::string text) { label1_ = std::move(text); }
  void RefreshView();

  Launcher& launcher_;

 private:
  std::string name_;
  std::string caption_;
  std::string label1_;
  bool loaded_ = true;
  std::unique_ptr<WindowView> view_;
};

}  // namespace orva::smart
