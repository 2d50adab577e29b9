// The launcher's start-up decision, case by case, on fakes.
#include "launcher/form1.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "launcher/testing/launcher_test_support.h"

namespace orva::smart {
namespace {

constexpr const char* kIni =
    "[nuovo]\r\ndesc=OrvaPlayer 2\r\nfile=./setup.sh --quiet\r\nversione=7\r\n"
    "[vecchi]\r\ninvoice=2\r\n1=OrvaOld1\r\n2=OrvaOld2\r\n";

std::string IniWith(const std::string& line, const std::string& replacement) {
  std::string ini = kIni;
  return ini.replace(ini.find(line), line.size(), replacement);
}

std::string Installed(const char* version) { return std::string("[installation]\r\nversione=") + version; }

struct FlowCase {
  const char* name = "";
  std::string ini = kIni;                  // smart.ini on the CD; empty: none
  const char* linkerPath = "/opt/linker";  // "Linker"/"Default"/"Path"; null: not set
  std::vector<std::string> files = {"/opt/linker/linker.exe"};
  std::map<std::string, std::string> entries{};   // uninstall entries and their commands
  std::map<std::string, std::string> noLinker{};  // "NOLinker"/"Default" keys
  std::string installedIni{};                     // orvaplayer.ini in $windir; empty: none
  std::string window{};                           // expected: the one window shown; empty: none
  std::vector<std::string> started{};             // at once, before any window's timer
  std::vector<std::string> deleted{};
  std::vector<std::string> kept{};
};

const FlowCase kCases[] = {
    // No usable linker.
    {.name = "linker_not_set_asks", .linkerPath = nullptr, .window = "scelta"},
    {.name = "noform_1_starts_from_cd",
     .files = {},
     .noLinker = {{"noform", "1"}, {"sfogliacd", "0"}},
     .window = "avviocd"},
    // The linker is installed: old versions, then the versions.
    {.name = "stale_entry_deleted_then_product_installed",
     .entries = {{"OrvaOld1", "/gone/uninstall.exe"}, {"OrvaPlayer 2", "/opt/orva/uninstall"}},
     .window = "avviohd",
     .deleted = {"OrvaOld1"},
     .kept = {"OrvaPlayer 2"}},
    // OrvaOld2 is stale too, but the scan stops at the installed OrvaOld1.
    {.name = "old_version_present_installs_and_scan_stops",
     .files = {"/opt/linker/linker.exe", "/opt/old1/uninstall.exe"},
     .entries = {{"OrvaOld1", "/opt/old1/uninstall.exe"}, {"OrvaOld2", "/gone/uninstall.exe"}},
     .window = "vecchia",
     .kept = {"OrvaOld1", "OrvaOld2"}},
    {.name = "second_entry_present_after_stale_first",
     .files = {"/opt/linker/linker.exe", "/opt/old2/uninstall.exe"},
     .entries = {{"OrvaOld1", "/gone/uninstall.exe"}, {"OrvaOld2", "/opt/old2/uninstall.exe"}},
     .window = "vecchia",
     .deleted = {"OrvaOld1"},
     .kept = {"OrvaOld2"}},
    {.name = "quoted_entry_with_blanks_is_present",
     .files = {"/opt/linker/linker.exe", "/opt/Old Player/un inst.exe"},
     .entries = {{"OrvaOld1", "\"/opt/Old Player/un inst.exe\" /S"}},
     .window = "vecchia",
     .kept = {"OrvaOld1"}},
    // Uninstallers found on the search path cannot be tested as files: their
    // products count as installed.
    {.name = "search_path_uninstaller_is_kept",
     .entries = {{"OrvaOld1", "orva-uninstall --purge"}},
     .window = "vecchia",
     .kept = {"OrvaOld1"}},
    // A third, blank name must not address the uninstall key itself.
    {.name = "blank_name_leaves_the_uninstall_key",
     .ini = IniWith("invoice=2", "invoice=3"),
     .entries = {{"", "/gone/uninstall.exe"}},
     .window = "vecchia",
     .kept = {""}},
    {.name = "invoice_not_a_number_looks_for_nothing",
     .ini = IniWith("invoice=2", "invoice=due"),
     .entries = {{"OrvaOld1", "/gone/uninstall.exe"}},
     .window = "vecchia",
     .kept = {"OrvaOld1"}},
    {.name = "cd_older_than_installed_starts_from_hd",
     .ini = IniWith("versione=7", "versione=5"),
     .installedIni = Installed(" 7 "),
     .window = "avviohd"},
    {.name = "cd_same_as_installed_installs", .installedIni = Installed("7"), .window = "vecchia"},
    {.name = "numbers_compared_as_numbers",
     .ini = IniWith("versione=7", "versione=9"),
     .installedIni = Installed("10"),
     .window = "avviohd"},
    {.name = "cd_version_not_a_number_installs",
     .ini = IniWith("versione=7", "versione=sette"),
     .installedIni = Installed("7"),
     .window = "vecchia"},
};

void PrintTo(const FlowCase& c, std::ostream* os) { *os << c.name; }

class Form1Flow : public ::testing::TestWithParam<FlowCase> {};

TEST_P(Form1Flow, Decides) {
  const FlowCase& c = GetParam();
  testing::FakeMachine m;
  if (!c.ini.empty()) m.fs.AddFile("/cd/smart.ini", c.ini);
  m.fs.AddFolder("/cd/Libro");
  for (const auto& file : c.files) m.fs.AddFile(file);
  if (c.linkerPath) m.settings.SaveSetting("Linker", "Default", "Path", c.linkerPath);
  for (const auto& [key, value] : c.noLinker) m.settings.SaveSetting("NOLinker", "Default", key, value);
  for (const auto& [name, command] : c.entries) m.AddUninstallEntry(name, command);
  if (!c.installedIni.empty()) m.fs.AddFile("/win/orvaplayer.ini", c.installedIni);
  Launcher launcher(m.Services(), nullptr);
  launcher.Run();

  std::string windows;
  for (auto* w : launcher.OpenWindows()) windows += w->Name() + " ";
  EXPECT_EQ(windows, c.window.empty() ? "" : c.window + " ");
  EXPECT_EQ(launcher.Ended(), c.window.empty());
  EXPECT_TRUE(m.dialogs.Shown().empty());
  EXPECT_EQ(m.Started(), c.started);
  for (const auto& name : c.deleted) EXPECT_FALSE(m.HasUninstallEntry(name)) << name;
  for (const auto& name : c.kept) EXPECT_TRUE(m.HasUninstallEntry(name)) << name;
  EXPECT_EQ(m.registry.OpenHandleCount(), 0u);
}

INSTANTIATE_TEST_SUITE_P(Cases, Form1Flow, ::testing::ValuesIn(kCases),
                         [](const auto& p) { return std::string(p.param.name); });

}  // namespace
}  // namespace orva::smart
