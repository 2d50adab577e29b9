// The Linux mapping of the Windows programs and folders:
// - "X.exe" is started as X.exe when that file exists, else as X, the name a
//   Linux build of the CD gives its programs; relative names start from the
//   current folder, so they are passed as "./X".
// - Windows Explorer on a folder becomes xdg-open on that folder.
// - The installer's command line goes to the shell (the process launcher
//   runs it with /bin/sh -c); every other program gets its arguments as they
//   are, without a shell.
// - The Windows folder is $windir when set, else $XDG_CONFIG_HOME/orvaplayer
//   (~/.config/orvaplayer when XDG_CONFIG_HOME is unset or relative).
#include <algorithm>
#include <utility>

#include "common/runtime/text.h"
#include "common/runtime/vb_error.h"
#include "launcher/host_programs.h"

namespace orva::smart {

const char kPathSeparator = '/';

namespace {

constexpr std::string_view kExe = ".exe";

bool EndsWithExe(const std::string& name) {
  return name.size() > kExe.size() &&
         EqualsNoCase(std::string_view(name).substr(name.size() - kExe.size()), kExe);
}

std::string WithoutExe(const std::string& name) {
  return EndsWithExe(name) ? name.substr(0, name.size() - kExe.size()) : name;
}

bool IsAbsolute(const std::string& path) { return !path.empty() && path.front() == '/'; }

}  // namespace

std::string JoinPath(const std::string& folder, const std::string& name) {
  if (folder.empty()) return name;
  if (folder.back() == kPathSeparator) return folder + name;
  return folder + kPathSeparator + name;
}

std::string WindowsFolder(const Environment& env) {
  if (auto windir = env.Get("windir"); windir && !windir->empty()) return *windir;
  std::string config;
  if (auto xdg = env.Get("XDG_CONFIG_HOME"); xdg && IsAbsolute(*xdg)) {
    config = *xdg;
  } else if (auto home = env.Get("HOME"); home && !home->empty()) {
    config = JoinPath(*home, ".config");
  } else {
    return {};
  }
  return JoinPath(config, "orvaplayer");
}

HostPrograms::HostPrograms(const FileSystem& fs, ProcessLauncher& launcher, std::string currentFolder)
    : fs_(fs), launcher_(launcher), currentFolder_(std::move(currentFolder)) {}

std::string HostPrograms::Existing(const std::string& exePath) const {
  const std::size_t slash = exePath.rfind(kPathSeparator);
  const std::string folder = slash == std::string::npos ? "." : slash == 0 ? "/" : exePath.substr(0, slash);
  const std::string leaf = exePath.substr(slash == std::string::npos ? 0 : slash + 1);
  std::vector<std::string> names;
  try {
    names = fs_.Files(folder);
  } catch (...) {
    return {};
  }
  // Windows names ignore letter case; Linux ones do not, so the file's own
  // spelling is what gets started ("Start.exe" is the program "start").
  for (const std::string& wanted : {leaf, WithoutExe(leaf)}) {
    if (wanted.empty()) continue;
    if (std::find(names.begin(), names.end(), wanted) != names.end()) return JoinPath(folder, wanted);
    for (const std::string& name : names)
      if (EqualsNoCase(name, wanted)) return JoinPath(folder, name);
  }
  return {};
}

std::string HostPrograms::ProgramFor(const std::string& exeName) const {
  if (IsAbsolute(exeName)) {
    const std::string found = Existing(exeName);
    return found.empty() ? WithoutExe(exeName) : found;
  }
  const std::string found = Existing(JoinPath(currentFolder_, exeName));
  const std::string name =
      found.empty() ? WithoutExe(exeName) : found.substr(found.rfind(kPathSeparator) + 1);
  return "./" + name;
}

std::string HostPrograms::FindProgram(const std::string& exePath) const { return Existing(exePath); }

void HostPrograms::Start(const std::string& exeName, WindowStyle style) {
  const std::string program = ProgramFor(exeName);
  launcher_.Start(program, {}, style);
}

void HostPrograms::StartCommandLine(const std::string& commandLine, WindowStyle style) {
  // The old shell call refused an empty command line; so does this one,
  // rather than starting a shell that does nothing.
  if (Trim(commandLine).empty()) throw VbError(vberr::kInvalidCall);
  launcher_.StartCommandLine(commandLine, style);
}

void HostPrograms::OpenFolder(const std::string& folder) {
  launcher_.Start("xdg-open", {folder}, WindowStyle::kMaximizedFocus);
}

}  // namespace orva::smart
