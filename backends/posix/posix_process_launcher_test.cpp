#include "backends/posix/posix_process_launcher.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
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

// The state letter of a process in /proc, or ' ' once it is gone.
char ProcessState(const std::string& pid) {
  std::ifstream stat("/proc/" + pid + "/stat");
  std::string line;
  if (!std::getline(stat, line)) return ' ';
  const std::size_t paren = line.rfind(')');
  return paren + 2 < line.size() ? line[paren + 2] : '?';
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

TEST(PosixProcessLauncher, LeavesNoZombieBehind) {
  TestFolder dir;
  PosixProcessLauncher launcher;
  launcher.Start("/bin/sh", {"-c", "echo $$ > \"$0\"; : > \"$0.done\"", dir / "pid"}, WindowStyle::kHide);
  std::string pid = AwaitFile(dir, "pid");
  ASSERT_FALSE(pid.empty());
  pid.pop_back();  // the line break
  char state = ProcessState(pid);
  for (int i = 0; i < 500 && state != ' '; ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
    state = ProcessState(pid);
  }
  EXPECT_EQ(state, ' ') << "process " << pid << " is still listed";
}

}  // namespace
}  // namespace orva
