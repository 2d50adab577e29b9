#pragma once
// The launcher `smart` as a whole: the services it runs on, the state its
// start-up shares with its windows (the launcher folder and the installer's
// command), the windows it shows, and its end when the last window closes.

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "common/platform/dialogs.h"
#include "common/platform/environment.h"
#include "common/platform/event_loop.h"
#include "common/platform/file_system.h"
#include "common/platform/process_launcher.h"
#include "common/settings/registry.h"
#include "common/settings/settings.h"
#include "launcher/host_programs.h"
#include "launcher/launcher_window.h"
#include "launcher/untrapped.h"
#include "launcher/window_view.h"

namespace orva::smart {

class Form1;

struct LauncherServices {
  Registry& registry;  // the user's settings and the machine's uninstall entries
  FileSystem& fs;
  Environment& env;
  ProcessLauncher& processes;
  Dialogs& dialogs;
  EventLoop& loop;
  std::string programFolder;  // the folder that holds smart: the CD
  std::string currentFolder;  // where relative program names are started from
};

// The title of the launcher's own message boxes.
inline constexpr const char* kSmartTitle = "smart";

class Launcher {
 public:
  // `views` may be null: the windows then live without being drawn.
  Launcher(LauncherServices services, WindowViews* views);
  ~Launcher();
  Launcher(const Launcher&) = delete;
  Launcher& operator=(const Launcher&) = delete;

  // Loads Form1, whose start-up decides what follows. Once only.
  void Run();
  // True once Form1 has unloaded and every window it led to has closed.
  bool Ended() const { return ended_; }
  // Called once, when the launcher ends.
  void OnEnded(std::function<void()> ended) { onEnded_ = std::move(ended); }

  // The windows, shown without blocking.
  void ShowVecchia();
  void ShowAvvioCd();
  void ShowAvvioHd();
  void ShowScelta();
  // The windows still open, in the order they were shown.
  std::vector<LauncherWindow*> OpenWindows() const;
  // The open window of that name, or null.
  LauncherWindow* Find(const std::string& name) const;

  // Runs a step the old program left untrapped. A failure there ended the
  // old program with the runtime's message box; here the same message box
  // is shown and the launcher carries on.
  void Untrapped(const std::function<void()>& step);

  LauncherServices& Services() { return services_; }
  Settings& SettingsStore() { return settings_; }
  HostPrograms& Programs() { return programs_; }
  // The launcher folder, ending in a separator.
  const std::string& LauncherFolder() const { return launcherFolder_; }
  void SetLauncherFolder(std::string folder) { launcherFolder_ = std::move(folder); }
  // The installer's command line from smart.ini ("nuovo"/"file").
  const std::string& InstallerCommand() const { return installerCommand_; }
  void SetInstallerCommand(std::string command) { installerCommand_ = std::move(command); }

  // Called by a window when it unloads, and by Form1 at the end of its load.
  void Unloaded(LauncherWindow& window);
  void Form1Unloaded();

 private:
  void Show(std::unique_ptr<LauncherWindow> window);
  template <class View>
  void AttachView(View& window);
  void CheckEnded();
  void DropClosed();

  LauncherServices services_;
  WindowViews* views_;
  Settings settings_;
  HostPrograms programs_;
  std::string launcherFolder_;
  std::string installerCommand_;
  std::unique_ptr<Form1> form1_;
  bool form1Loaded_ = false;
  std::vector<std::unique_ptr<LauncherWindow>> open_;
  // Windows that unloaded inside their own handlers; destroyed once those
  // handlers have returned.
  std::vector<std::unique_ptr<LauncherWindow>> closed_;
  TimerId dropTimer_ = kNoTimer;
  bool ended_ = false;
  std::function<void()> onEnded_;
};

}  // namespace orva::smart
