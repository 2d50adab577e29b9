#include "launcher/uninstall_command.h"

#include <gtest/gtest.h>

#include "fakes/memory_file_system.h"

namespace orva::smart {
namespace {

TEST(UninstallProgram, FindsTheProgramBeforeItsArguments) {
  fakes::MemoryFileSystem fs;
  fs.AddFile("/opt/orva/uninstall");
  fs.AddFile("/opt/Orva Player/un inst");
  fs.AddFile("/opt/Orva Player/un inst --all");  // a file named with what looks like an argument
  fs.AddFile("/opt/a");
  struct Case {
    const char* name;
    const char* command;
    const char* program;
  } cases[] = {
      {"plain_path", "/opt/orva/uninstall", "/opt/orva/uninstall"},
      {"with_arguments", "/opt/orva/uninstall --purge --quiet", "/opt/orva/uninstall"},
      {"leading_blanks", "   /opt/orva/uninstall /S", "/opt/orva/uninstall"},
      {"quoted_with_arguments", "\"/opt/Orva Player/un inst\" /S", "/opt/Orva Player/un inst"},
      {"quoted_unclosed", "\"/opt/Orva Player/un inst", "/opt/Orva Player/un inst"},
      {"quoted_missing_file", "\"/opt/Orva Player/gone\" /S", ""},
      {"quoted_empty", "\"\" /opt/orva/uninstall", ""},
      {"unquoted_blanks_in_path", "/opt/Orva Player/un inst /S", "/opt/Orva Player/un inst"},
      {"longest_existing_part_wins", "/opt/Orva Player/un inst --all", "/opt/Orva Player/un inst --all"},
      {"shorter_part_exists", "/opt/a b c", "/opt/a"},
      {"program_gone", "/opt/gone/uninstall --purge", ""},
      {"empty", "", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(UninstallProgram(c.command, fs), c.program);
  }
}

}  // namespace
}  // namespace orva::smart
