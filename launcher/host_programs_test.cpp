#include "launcher/host_programs.h"

#include <gtest/gtest.h>

#include "fakes/fake_environment.h"
#include "fakes/memory_file_system.h"
#include "fakes/recording_process_launcher.h"

namespace orva::smart {
namespace {

TEST(WindowsFolder, IsWindirElseTheUsersConfigFolder) {
  struct Case {
    const char* name;
    std::map<std::string, std::string> env;
    const char* folder;
  } cases[] = {
      {"windir", {{"windir", "/win"}, {"XDG_CONFIG_HOME", "/x"}, {"HOME", "/h"}}, "/win"},
      {"empty_windir_counts_as_unset", {{"windir", ""}, {"XDG_CONFIG_HOME", "/x"}}, "/x/orvaplayer"},
      {"xdg_config_home", {{"XDG_CONFIG_HOME", "/x/"}, {"HOME", "/h"}}, "/x/orvaplayer"},
      {"relative_xdg_ignored", {{"XDG_CONFIG_HOME", "rel"}, {"HOME", "/h"}}, "/h/.config/orvaplayer"},
      {"nothing", {}, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(WindowsFolder(fakes::FakeEnvironment(c.env)), c.folder);
  }
}

class Programs : public ::testing::Test {
 protected:
  fakes::MemoryFileSystem fs;
  fakes::RecordingProcessLauncher launcher;
  HostPrograms programs{fs, launcher, "/cd"};
};

TEST_F(Programs, ExeNamesStartWithoutExeUnlessSuchAFileExists) {
  fs.AddFile("/cd/Start.exe");
  fs.AddFile("/cd/orvaplayer");
  fs.AddFile("/opt/l/linker");
  fs.AddFile("/opt/lower/start");
  fs.AddFile("/opt/both/linker.exe");
  fs.AddFile("/opt/both/linker");
  struct Case {
    const char* name;
    const char* exe;
    const char* program;
    const char* found;  // FindProgram
  } cases[] = {
      {"relative_missing", "Missing.exe", "./Missing", ""},
      {"relative_without_exe_file_spelt_as_on_disk", "OrvaPlayer.exe", "./orvaplayer", ""},
      {"relative_exe_file_exists", "Start.exe", "./Start.exe", "" /* relative: not looked for */},
      {"absolute_without_exe_file", "/opt/l/linker.exe", "/opt/l/linker", "/opt/l/linker"},
      {"absolute_exe_file_preferred", "/opt/both/linker.exe", "/opt/both/linker.exe", "/opt/both/linker.exe"},
      {"absolute_neither", "/opt/none/linker.exe", "/opt/none/linker", ""},
      {"exe_in_capitals", "/opt/l/linker.EXE", "/opt/l/linker", "/opt/l/linker"},
      {"not_an_exe_name", "/opt/l/linker", "/opt/l/linker", "/opt/l/linker"},
      {"windows_name_for_a_lower_case_program", "/opt/lower/Start.exe", "/opt/lower/start",
       "/opt/lower/start"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(programs.ProgramFor(c.exe), c.program);
    if (c.exe[0] == '/') {
      EXPECT_EQ(programs.FindProgram(c.exe), c.found);
    }
  }
}

}  // namespace
}  // namespace orva::smart
