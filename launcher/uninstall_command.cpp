#include "launcher/uninstall_command.h"

namespace orva::smart {

std::string UninstallProgram(std::string_view command, const FileSystem& fs) {
  const std::size_t first = command.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  command.remove_prefix(first);

  if (command.front() == '"') {
    command.remove_prefix(1);
    const std::string path(command.substr(0, command.find('"')));
    return !path.empty() && fs.FileExists(path) ? path : std::string();
  }

  // Longest first: the whole command, then each part before a blank.
  std::size_t end = command.size();
  while (end > 0) {
    const std::string path(command.substr(0, end));
    if (path.back() != ' ' && fs.FileExists(path)) return path;
    const std::size_t blank = command.rfind(' ', end - 1);
    if (blank == std::string_view::npos) break;
    end = blank;
  }
  return {};
}

bool UninstallerGone(std::string_view command, const FileSystem& fs) {
  std::string_view program = command;
  const std::size_t first = program.find_first_not_of(' ');
  if (first == std::string_view::npos) return false;
  program.remove_prefix(first);
  if (program.front() == '"') program.remove_prefix(1);
  // Every leading part of an absolute command is absolute too, so none of
  // the parts UninstallProgram tries can be a name on the search path.
  return !program.empty() && program.front() == '/' && UninstallProgram(command, fs).empty();
}

}  // namespace orva::smart
