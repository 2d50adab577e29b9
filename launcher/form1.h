#pragma once
// Form1 of the launcher ("Verifica vecchia versione"): it never shows. Its
// load decides, from smart.ini, the settings and the uninstall entries,
// whether to install the player, start it from the hard disk or from the
// CD, ask the reader, or open the book folder; then it unloads.

#include <string>
#include <vector>

namespace orva::smart {

class Launcher;

// The key that holds the machine's uninstall entries, under
// HKEY_LOCAL_MACHINE.
inline constexpr const char* kUninstallKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";

class Form1 {
 public:
  static constexpr const char* kCaption = "Verifica vecchia versione";

  explicit Form1(Launcher& launcher) : launcher_(launcher) {}

  void Form_Load();
  // Whether smart.ini in the launcher folder can be opened for reading.
  bool fileexists();

  // The hidden list of the older products' uninstall entry names.
  std::vector<std::string> List1;

 private:
  // The linker counts as installed when "Linker"/"Default"/"Path" is not
  // blank and names a folder that holds it.
  bool LinkerInstalled();
  void NoLinker();
  // Fills List1 from smart.ini and walks it; true when an older product is
  // still installed. Stale entries are deleted on the way.
  bool OldVersionPresent();
  void Decide(bool oldVersionPresent);

  Launcher& launcher_;
  std::string iniPath_;
};

}  // namespace orva::smart
