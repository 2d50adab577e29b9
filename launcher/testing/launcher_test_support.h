#pragma once
// A launcher on fakes: the CD is /cd, the current folder too, and the
// machine's uninstall entries and the user's settings live in one registry
// in memory.

#include <string>

#include "common/automation/testing/captured_trace.h"
#include "common/settings/settings.h"
#include "common/settings/testing/registry_helpers.h"
#include "fakes/fake_environment.h"
#include "fakes/memory_file_system.h"
#include "fakes/recording_dialogs.h"
#include "fakes/recording_process_launcher.h"
#include "fakes/virtual_event_loop.h"
#include "launcher/form1.h"
#include "launcher/launcher.h"

namespace orva::smart::testing {

inline constexpr const char* kCd = "/cd";

struct FakeMachine {
  MemoryRegistry registry;
  fakes::MemoryFileSystem fs;
  fakes::FakeEnvironment env{{{"HOME", "/home/reader"}, {"windir", "/win"}}};
  fakes::RecordingProcessLauncher processes;
  fakes::RecordingDialogs dialogs;
  fakes::VirtualEventLoop loop;
  Settings settings{registry};

  LauncherServices Services() { return {registry, fs, env, processes, dialogs, loop, kCd, kCd}; }

  // An uninstall entry of the machine with its command.
  void AddUninstallEntry(const std::string& name, const std::string& command) {
    orva::testing::SetText(registry, kHkeyLocalMachine, std::string(kUninstallKey) + name, "uninstallstring",
                           command);
  }
  bool HasUninstallEntry(const std::string& name) {
    return orva::testing::KeyExists(registry, kHkeyLocalMachine, std::string(kUninstallKey) + name);
  }
  // What was started, one text per start: "program arg..." or "sh: command".
  std::vector<std::string> Started() const {
    std::vector<std::string> started;
    for (const auto& s : processes.Starts()) {
      if (s.program.empty()) {
        started.push_back("sh: " + s.commandLine);
        continue;
      }
      std::string line = s.program;
      for (const auto& arg : s.args) line += " " + arg;
      started.push_back(line);
    }
    return started;
  }
};

// A launcher started from the CD with the player on it; its windows are
// shown through `views` (none: the core windows alone).
struct LauncherOnCd {
  explicit LauncherOnCd(WindowViews* views = nullptr) : launcher(m.Services(), views) {
    m.fs.AddFile("/cd/OrvaPlayer");
    launcher.SetLauncherFolder("/cd/");
    launcher.SetInstallerCommand("./setup.sh --quiet");
  }
  FakeMachine m;
  Launcher launcher;
};

}  // namespace orva::smart::testing
