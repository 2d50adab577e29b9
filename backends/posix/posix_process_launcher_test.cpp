#include "backends/posix/posix_process_launcher.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "backends/posix/testing/test_folder.h"
#include "fakes/error_number.h"

namespace orva {
namespace {

using testing::TestFolder;

// Waits (bounded) for a file the started program writes last.
std::string AwaitFile(const TestFolder& dir, const std::string& name) {
  for (int i = 0; i < 500 && !std::filesystem::exists(dir / (name + ".done")); ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  return dir.Read(name);
}

TEST(PosixProcessLauncher, PassesArgumentsUntouchedWithoutAShell) {
  TestFolder dir;
  PosixProcessLauncher launcher;
  const std::vector<std::string> args = {
      "-c", R"(printf '[%s]\n' "$@" > "$0.out"; : > "$0.out.done")", dir / "args", "a b", "$HOME", "'q'", "*",
      ""};
  launcher.Start("/bin/sh", args, WindowStyle::kHide);
  EXPECT_EQ(AwaitFile(dir, "args.out"), "[a b]\n[$HOME]\n['q']\n[*]\n[]\n");
}

TEST(PosixProcessLauncher, CommandLineGoesThroughTheShell) {
  TestFolder dir;
  PosixProcessLauncher launcher;
  launcher.StartCommandLine(
      "echo one two > '" + (dir / "cl.out") + "' && : > '" + (dir / "cl.out.done") + "'",
      WindowStyle::kNormalFocus);
  EXPECT_EQ(AwaitFile(dir, "cl.out"), "one two\n");
}

TEST(PosixProcessLauncher, MissingProgramIs53) {
  PosixProcessLauncher launcher;
  for (const std::string program : {"/nonexistent/linker", "orva-no-such-program", ""}) {
    SCOPED_TRACE(program);
    EXPECT_EQ(ErrorNumberOf([&] { launcher.Start(program, {}, WindowStyle::kNormalFocus); }), 53);
  }
}

}  // namespace
}  // namespace orva
