#pragma once
// The program named by an uninstall entry's command. Such commands usually
// carry arguments ("/opt/x/uninstall --purge", "\"C:\\Program Files\\X\\un.exe\" /S"),
// so testing the whole command as a path would take every such entry for a
// stale one and delete a real program's entry.

#include <string>
#include <string_view>

#include "common/platform/file_system.h"

namespace orva::smart {

// The program file of `command` when it exists, else the empty text. A
// command that starts with a quote names the text up to the closing quote;
// otherwise the longest leading part that ends at a blank (or at the end)
// and names an existing file is taken, so paths with blanks still work.
std::string UninstallProgram(std::string_view command, const FileSystem& fs);

// Whether `command` proves its product gone: its program is an absolute path
// and no file is there. Uninstallers are often found on the search path
// ("MsiExec.exe /X{...}", "orva-uninstall --purge"), and a name looked up
// there cannot be tested as a file; such an entry, or any other whose
// program cannot be told, belongs to a product that may still be installed.
bool UninstallerGone(std::string_view command, const FileSystem& fs);

}  // namespace orva::smart
