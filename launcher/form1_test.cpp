// The launcher's start-up decision, case by case, on fakes.
#include "launcher/form1.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "launcher/launcher_test_support.h"

namespace orva::smart {
namespace {

using testing::FakeMachine;

constexpr const char* kIni =
    "[nuovo]\r\n"
    "desc=OrvaPlayer 2\r\n"
    "file=./setup.sh --quiet\r\n"
    "versione=7\r\n"
    "[vecchi]\r\n"
    "invoice=2\r\n"
    "1=OrvaOld1\r\n"
    "2=OrvaOld2\r\n";

std::string IniWith(const std::string& line, const std::string& replacement) {
  std::string ini = kIni;
  const auto at = ini.find(line);
  if (at != std::string::npos) ini.replace(at, line.size(), replacement);
  return ini;
}

constexpr const char* kLinkerFolder = "/opt/linker";

struct FlowCase {
  const char* name = "";
  std::string ini = kIni;
  bool iniPresent = true;
  const char* linkerPath = kLinkerFolder;  // "Linker"/"Default"/"Path"; null: not set
  std::vector<std::string> files = {"/opt/linker/linker.exe"};
  std::map<std::string, std::string> entries;   // uninstall entries and their commands
  std::map<std::string, std::string> noLinker;  // "NOLinker"/"Default" keys
  std::string installedIni;                     // orvaplayer.ini in $windir; empty: none
  std::map<std::string, std::string> env = {{"windir", "/win"}};
  // Expected.
  std::string window;  // the one window shown; empty: none
  std::string message;
  std::vector<std::string> started;  // at once, before any window's timer
  std::vector<std::string> deleted;
  std::vector<std::string> kept;
};

std::vector<FlowCase> Cases() {
  std::vector<FlowCase> cases;
  auto add = [&](const char* name, auto tweak) {
    FlowCase c;
    c.name = name;
    tweak(c);
    cases.push_back(std::move(c));
  };

  // No smart.ini beside the launcher.
  add("no_ini_starts_from_cd", [](FlowCase& c) {
    c.iniPresent = false;
    c.window = "avviocd";
    c.message = "Il file ini non esiste in questa stessa cartella, avvio OrvaPlayer da CD";
  });

  // No usable linker.
  add("linker_not_set_asks", [](FlowCase& c) {
    c.linkerPath = nullptr;
    c.window = "scelta";
  });
  add("linker_path_blank_asks", [](FlowCase& c) {
    c.linkerPath = "   ";
    c.window = "scelta";
  });
  add("linker_file_removed_asks", [](FlowCase& c) {
    c.files = {};
    c.window = "scelta";
  });
  add("noform_0_asks", [](FlowCase& c) {
    c.files = {};
    c.noLinker = {{"noform", "0"}};
    c.window = "scelta";
  });
  add("noform_1_starts_from_cd", [](FlowCase& c) {
    c.files = {};
    c.noLinker = {{"noform", "1"}, {"sfogliacd", "0"}};
    c.window = "avviocd";
  });
  add("noform_1_sfogliacd_1_opens_book_folder", [](FlowCase& c) {
    c.files = {};
    c.noLinker = {{"noform", "1"}, {"sfogliacd", "1"}};
    c.started = {"xdg-open /cd/Libro"};
  });

  // The linker is installed: old versions, then the versions.
  add("linker_without_exe_counts", [](FlowCase& c) {
    c.files = {"/opt/linker/linker"};
    c.entries = {{"OrvaPlayer 2", "/opt/orva/uninstall"}};
    c.window = "avviohd";
  });
  add("stale_entry_deleted_then_product_installed", [](FlowCase& c) {
    c.entries = {{"OrvaOld1", "/gone/uninstall.exe"}, {"OrvaPlayer 2", "/opt/orva/uninstall"}};
    c.window = "avviohd";
    c.deleted = {"OrvaOld1"};
    c.kept = {"OrvaPlayer 2"};
  });
  // OrvaOld2 is stale too, but the scan stops at the installed OrvaOld1.
  add("old_version_present_installs_and_scan_stops", [](FlowCase& c) {
    c.files = {"/opt/linker/linker.exe", "/opt/old1/uninstall.exe"};
    c.entries = {{"OrvaOld1", "/opt/old1/uninstall.exe"}, {"OrvaOld2", "/gone/uninstall.exe"}};
    c.window = "vecchia";
    c.kept = {"OrvaOld1", "OrvaOld2"};
  });
  add("second_entry_present_after_stale_first", [](FlowCase& c) {
    c.files = {"/opt/linker/linker.exe", "/opt/old2/uninstall.exe"};
    c.entries = {{"OrvaOld1", "/gone/uninstall.exe"}, {"OrvaOld2", "/opt/old2/uninstall.exe"}};
    c.window = "vecchia";
    c.deleted = {"OrvaOld1"};
    c.kept = {"OrvaOld2"};
  });
  add("entry_with_arguments_is_present", [](FlowCase& c) {
    c.files = {"/opt/linker/linker.exe", "/opt/old1/uninstall"};
    c.entries = {{"OrvaOld1", "/opt/old1/uninstall --purge --quiet"}};
    c.window = "vecchia";
    c.kept = {"OrvaOld1"};
  });
  add("quoted_entry_with_blanks_is_present", [](FlowCase& c) {
    c.files = {"/opt/linker/linker.exe", "/opt/Old Player/un inst.exe"};
    c.entries = {{"OrvaOld1", "\"/opt/Old Player/un inst.exe\" /S"}};
    c.window = "vecchia";
    c.kept = {"OrvaOld1"};
  });
  add("unquoted_path_with_blanks_is_present", [](FlowCase& c) {
    c.files = {"/opt/linker/linker.exe", "/opt/Old Player/uninstall"};
    c.entries = {{"OrvaOld1", "/opt/Old Player/uninstall --purge"}};
    c.window = "vecchia";
    c.kept = {"OrvaOld1"};
  });
  add("entry_with_arguments_whose_program_is_gone_is_stale", [](FlowCase& c) {
    c.entries = {{"OrvaOld1", "/gone/uninstall --purge"}};
    c.window = "vecchia";
    c.deleted = {"OrvaOld1"};
  });
  // Uninstallers found on the search path cannot be tested as files: their
  // products count as installed.
  add("search_path_uninstaller_is_kept", [](FlowCase& c) {
    c.entries = {{"OrvaOld1", "orva-uninstall --purge"}};
    c.window = "vecchia";
    c.kept = {"OrvaOld1"};
  });
  add("msiexec_entry_is_kept_and_present", [](FlowCase& c) {
    c.entries = {{"OrvaOld1", "MsiExec.exe /X{5F1C2A4B-1D3E-4F50-8A6B-7C8D9E0F1A2B}"},
                 {"OrvaPlayer 2", "/opt/orva/uninstall"}};
    c.window = "vecchia";
    c.kept = {"OrvaOld1"};
  });
  add("empty_uninstall_command_is_skipped", [](FlowCase& c) {
    c.entries = {{"OrvaOld1", ""}};
    c.window = "vecchia";
    c.kept = {"OrvaOld1"};
  });
  add("invoice_0_looks_for_nothing", [](FlowCase& c) {
    c.ini = IniWith("invoice=2", "invoice=0");
    c.entries = {{"OrvaOld1", "/gone/uninstall.exe"}};
    c.window = "vecchia";
    c.kept = {"OrvaOld1"};
  });
  add("invoice_missing_looks_for_nothing", [](FlowCase& c) {
    c.ini = IniWith("invoice=2\r\n", "");
    c.entries = {{"OrvaOld1", "/gone/uninstall.exe"}};
    c.window = "vecchia";
    c.kept = {"OrvaOld1"};
  });
  add("invoice_not_a_number_looks_for_nothing", [](FlowCase& c) {
    c.ini = IniWith("invoice=2", "invoice=due");
    c.entries = {{"OrvaOld1", "/gone/uninstall.exe"}};
    c.window = "vecchia";
    c.kept = {"OrvaOld1"};
  });
  add("invoice_out_of_range_looks_for_nothing", [](FlowCase& c) {
    c.ini = IniWith("invoice=2", "invoice=99999");
    c.entries = {{"OrvaOld1", "/gone/uninstall.exe"}};
    c.window = "vecchia";
    c.kept = {"OrvaOld1"};
  });
  add("product_entry_present_starts_from_hd", [](FlowCase& c) {
    c.entries = {{"OrvaPlayer 2", "/opt/orva/uninstall"}};
    c.window = "avviohd";
  });
  add("cd_older_than_installed_starts_from_hd", [](FlowCase& c) {
    c.ini = IniWith("versione=7", "versione=5");
    c.installedIni = "[installation]\r\nversione = 7 \r\n";
    c.window = "avviohd";
  });
  add("cd_same_as_installed_installs", [](FlowCase& c) {
    c.installedIni = "[installation]\r\nversione=7\r\n";
    c.window = "vecchia";
  });
  add("cd_newer_than_installed_installs", [](FlowCase& c) {
    c.ini = IniWith("versione=7", "versione=8");
    c.installedIni = "[installation]\r\nversione=7\r\n";
    c.window = "vecchia";
  });
  add("numbers_compared_as_numbers", [](FlowCase& c) {
    c.ini = IniWith("versione=7", "versione=9");
    c.installedIni = "[installation]\r\nversione=10\r\n";
    c.window = "avviohd";
  });
  add("installed_version_missing_installs", [](FlowCase& c) { c.window = "vecchia"; });
  add("cd_version_not_a_number_installs", [](FlowCase& c) {
    c.ini = IniWith("versione=7", "versione=sette");
    c.installedIni = "[installation]\r\nversione=7\r\n";
    c.window = "vecchia";
  });
  add("installed_ini_under_xdg_config_without_windir", [](FlowCase& c) {
    c.ini = IniWith("versione=7", "versione=5");
    c.installedIni = "[installation]\r\nversione=7\r\n";
    c.env = {{"XDG_CONFIG_HOME", "/home/reader/.cfg"}};
    c.window = "avviohd";
  });
  add("installed_ini_under_home_config_without_xdg", [](FlowCase& c) {
    c.ini = IniWith("versione=7", "versione=5");
    c.installedIni = "[installation]\r\nversione=7\r\n";
    c.env = {};
    c.window = "avviohd";
  });
  return cases;
}

class Form1Flow : public ::testing::TestWithParam<FlowCase> {};

TEST_P(Form1Flow, Decides) {
  const FlowCase& c = GetParam();
  FakeMachine m;
  if (c.iniPresent) m.fs.AddFile("/cd/smart.ini", c.ini);
  m.fs.AddFolder("/cd/Libro");
  for (const auto& file : c.files) m.fs.AddFile(file);
  if (c.linkerPath) m.settings.SaveSetting("Linker", "Default", "Path", c.linkerPath);
  for (const auto& [key, value] : c.noLinker) m.settings.SaveSetting("NOLinker", "Default", key, value);
  for (const auto& [name, command] : c.entries) m.AddUninstallEntry(name, command);
  for (const auto& [name, value] : c.env) m.env.Set(name, value);
  if (!c.installedIni.empty()) {
    std::string folder = "/win";
    if (!c.env.count("windir"))
      folder =
          c.env.count("XDG_CONFIG_HOME") ? "/home/reader/.cfg/orvaplayer" : "/home/reader/.config/orvaplayer";
    m.fs.AddFile(folder + "/orvaplayer.ini", c.installedIni);
  }

  Launcher launcher(m.Services(), nullptr);
  launcher.Run();

  std::vector<std::string> windows;
  for (auto* w : launcher.OpenWindows()) windows.push_back(w->Name());
  EXPECT_EQ(windows, c.window.empty() ? std::vector<std::string>{} : std::vector<std::string>{c.window});
  EXPECT_EQ(launcher.Ended(), c.window.empty());
  if (c.message.empty()) {
    EXPECT_TRUE(m.dialogs.Shown().empty());
  } else {
    ASSERT_EQ(m.dialogs.Shown().size(), 1u);
    EXPECT_EQ(m.dialogs.Shown()[0].text, c.message);
    EXPECT_EQ(m.dialogs.Shown()[0].icon, MsgBoxIcon::kCritical);
    EXPECT_EQ(m.dialogs.Shown()[0].title, "smart");
  }
  EXPECT_EQ(m.Started(), c.started);
  for (const auto& name : c.deleted) EXPECT_FALSE(m.HasUninstallEntry(name)) << name;
  for (const auto& name : c.kept) EXPECT_TRUE(m.HasUninstallEntry(name)) << name;
  EXPECT_EQ(m.registry.OpenHandleCount(), 0u);
}

INSTANTIATE_TEST_SUITE_P(Cases, Form1Flow, ::testing::ValuesIn(Cases()),
                         [](const auto& p) { return std::string(p.param.name); });

// A CD with smart.ini and an installed linker.
struct Form1Test : ::testing::Test {
  FakeMachine m;
  void Prepare(const std::string& ini = kIni) {
    m.fs.AddFile("/cd/smart.ini", ini);
    m.fs.AddFile("/opt/linker/linker.exe");
    m.settings.SaveSetting("Linker", "Default", "Path", kLinkerFolder);
  }
};

TEST_F(Form1Test, StaleEntryWithSubkeysIsKept) {
  Prepare();
  m.AddUninstallEntry("OrvaOld1", "/gone/uninstall.exe");
  m.AddUninstallEntry("OrvaOld1\\Componenti", "/gone/component.exe");
  Launcher launcher(m.Services(), nullptr);
  launcher.Run();
  EXPECT_TRUE(m.HasUninstallEntry("OrvaOld1"));
  EXPECT_NE(launcher.Find("vecchia"), nullptr);
}

TEST_F(Form1Test, ReadsTheListOfOldProductsInOrder) {
  Prepare(IniWith("invoice=2", "invoice=3"));
  Launcher launcher(m.Services(), nullptr);
  Form1 form(launcher);
  form.Form_Load();
  EXPECT_EQ(form.List1, (std::vector<std::string>{"OrvaOld1", "OrvaOld2", ""}));
}

TEST_F(Form1Test, TracesDeletedEntries) {
  orva::testing::CapturedTrace trace;
  Prepare();
  m.AddUninstallEntry("OrvaOld2", "/gone/uninstall.exe");
  Launcher launcher(m.Services(), nullptr);
  launcher.Run();
  EXPECT_NE(trace.Text().find(R"("ev":"registry-key-deleted","root":"HKEY_LOCAL_MACHINE",)"
                              R"("key":"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\OrvaOld2")"),
            std::string::npos)
      << trace.Text();
  EXPECT_NE(trace.Text().find(R"("ev":"window","window":"vecchia","state":"shown")"), std::string::npos);
}

TEST_F(Form1Test, LauncherFolderTakesOneSeparator) {
  m.fs.AddFile("/cd/smart.ini", kIni);
  LauncherServices services = m.Services();
  services.programFolder = "/cd/";
  Launcher launcher(services, nullptr);
  launcher.Run();
  EXPECT_EQ(launcher.LauncherFolder(), "/cd/");
  EXPECT_EQ(launcher.InstallerCommand(), "./setup.sh --quiet");
}

}  // namespace
}  // namespace orva::smart
