#pragma once
// The programs the CD's launcher and utilities start, and the few places they
// look for, mapped onto the host system. The names are the Windows ones
// ("OrvaPlayer.exe", "Start.exe", "linker.exe", Explorer, the Windows folder);
// each host maps them in its own file (host_programs_posix.cpp on Linux), so
// the flows that use them read the same everywhere.

#include <string>
#include <vector>

#include "common/platform/environment.h"
#include "common/platform/file_system.h"
#include "common/platform/process_launcher.h"

namespace orva::smart {

// The separator that ends a folder path, as the launcher appends it.
extern const char kPathSeparator;

// `folder` and `name` joined by one separator.
std::string JoinPath(const std::string& folder, const std::string& name);

// The folder that holds the installed player's "orvaplayer.ini".
std::string WindowsFolder(const Environment& env);

class HostPrograms {
 public:
  // `currentFolder` is the folder relative names are started from (the CD).
  HostPrograms(const FileSystem& fs, ProcessLauncher& launcher, std::string currentFolder);

  // The program to start for a Windows program name such as "OrvaPlayer.exe"
  // (relative to the current folder) or ".../linker.exe": the name itself when
  // that file exists, otherwise the name without ".exe". Letter case is
  // ignored in the name, as on Windows; the file's own spelling is used.
  std::string ProgramFor(const std::string& exeName) const;
  // The existing file behind a full ".exe" path, or its twin without ".exe";
  // the empty text when neither exists.
  std::string FindProgram(const std::string& exePath) const;

  // No start waits for the program. A program that cannot be started
  // raises VbError (53 when it is missing, 5 for an empty command line).
  void Start(const std::string& exeName, WindowStyle style);
  // The installer's command line, as the CD's smart.ini gives it.
  void StartCommandLine(const std::string& commandLine, WindowStyle style);
  // Opens a folder in the desktop's file manager.
  void OpenFolder(const std::string& folder);

 private:
  // The file `exePath` names, or its twin without ".exe", as spelt in its
  // folder; the empty text when neither exists.
  std::string Existing(const std::string& exePath) const;

  const FileSystem& fs_;
  ProcessLauncher& launcher_;
  std::string currentFolder_;
};

}  // namespace orva::smart
