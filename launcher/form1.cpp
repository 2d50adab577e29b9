#include "launcher/form1.h"

#include "common/automation/trace.h"
#include "common/runtime/conversions.h"
#include "common/runtime/text.h"
#include "launcher/chiavi.h"
#include "launcher/fileini.h"
#include "launcher/launcher.h"
#include "launcher/uninstall_command.h"

namespace orva::smart {

void Form1::Form_Load() {
  std::string folder = launcher_.Services().programFolder;
  if (folder.empty() || folder.back() != kPathSeparator) folder += kPathSeparator;
  launcher_.SetLauncherFolder(folder);
  iniPath_ = folder + "smart.ini";

  if (!fileexists()) {
    launcher_.Services().dialogs.MsgBox(
        "Il file ini non esiste in questa stessa cartella, avvio OrvaPlayer da CD", MsgBoxButtons::kOkOnly,
        MsgBoxIcon::kCritical, kSmartTitle);
    launcher_.ShowAvvioCd();
  } else {
    launcher_.SetInstallerCommand(LeggiIni(launcher_.Services().fs, "nuovo", "file", iniPath_));
    if (!LinkerInstalled()) {
      NoLinker();
    } else {
      Decide(OldVersionPresent());
    }
  }
  launcher_.Form1Unloaded();
}

bool Form1::fileexists() {
  try {
    launcher_.Services().fs.ReadText(iniPath_);
    return true;
  } catch (...) {
    return false;
  }
}

bool Form1::LinkerInstalled() {
  const std::string path = launcher_.SettingsStore().GetSetting("Linker", "Default", "Path");
  if (Trim(path).empty()) return false;
  return !launcher_.Programs().FindProgram(JoinPath(path, "linker.exe")).empty();
}

void Form1::NoLinker() {
  Settings& settings = launcher_.SettingsStore();
  if (settings.GetSetting("NOLinker", "Default", "noform") != "1") {
    launcher_.ShowScelta();
  } else if (settings.GetSetting("NOLinker", "Default", "sfogliacd") != "1") {
    launcher_.ShowAvvioCd();
  } else {
    launcher_.Untrapped([this] { launcher_.Programs().OpenFolder(launcher_.LauncherFolder() + "Libro"); });
  }
}

namespace {

// "vecchi"/"invoice": how many older products to look for. A count that is
// missing, not a number or out of range means none.
int OldProductCount(const std::string& text) {
  if (!IsNumeric(text)) return 0;
  try {
    return CInt(text);
  } catch (...) {
    return 0;
  }
}

}  // namespace

bool Form1::OldVersionPresent() {
  LauncherServices& s = launcher_.Services();
  const int count = OldProductCount(LeggiIni(s.fs, "vecchi", "invoice", iniPath_));
  List1.clear();
  for (int i = 1; i <= count; ++i) List1.push_back(LeggiIni(s.fs, "vecchi", std::to_string(i), iniPath_));

  for (const std::string& entry : List1) {
    // A blank name would address the uninstall key itself.
    if (Trim(entry).empty()) continue;
    const std::string command =
        LeggiValoreChiave(s.registry, kUninstallKey + entry, "uninstallstring", kHkeyLocalMachine);
    if (command.empty()) continue;
    // Only an entry whose uninstaller is provably gone is stale; any other
    // is a product still installed.
    if (!UninstallerGone(command, s.fs)) return true;
    RegHandle uninstall = ApriChiave(s.registry, kUninstallKey, kHkeyLocalMachine);
    if (uninstall == kChiaveNonAperta) continue;
    RegKey guard(s.registry, uninstall);
    if (CancellaChiave(s.registry, uninstall, entry) == 0)
      TraceEvent("registry-key-deleted",
                 {{"root", RootName(kHkeyLocalMachine)}, {"key", kUninstallKey + entry}});
  }
  return false;
}

void Form1::Decide(bool oldVersionPresent) {
  LauncherServices& s = launcher_.Services();
  if (oldVersionPresent) {
    launcher_.ShowVecchia();
    return;
  }
  const std::string product = LeggiIni(s.fs, "nuovo", "desc", iniPath_);
  if (!Trim(product).empty() &&
      !LeggiValoreChiave(s.registry, kUninstallKey + product, "uninstallstring", kHkeyLocalMachine).empty()) {
    launcher_.ShowAvvioHd();
    return;
  }
  const std::string cdVersion = Trim(LeggiIni(s.fs, "nuovo", "versione", iniPath_));
  const std::string installedVersion =
      Trim(LeggiIni(s.fs, "installation", "versione", JoinPath(WindowsFolder(s.env), "orvaplayer.ini")));
  if (IsNumeric(cdVersion) && IsNumeric(installedVersion) && CDbl(cdVersion) < CDbl(installedVersion)) {
    launcher_.ShowAvvioHd();
  } else {
    launcher_.ShowVecchia();
  }
}

}  // namespace orva::smart
