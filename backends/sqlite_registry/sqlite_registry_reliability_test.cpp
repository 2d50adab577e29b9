// The store under the failures that matter most: a program killed at any
// moment, and several programs writing at once.
#include <gtest/gtest.h>
#include <signal.h>
#include <sqlite3.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <random>
#include <thread>

#include "backends/sqlite_registry/testing/test_support.h"

namespace orva::testing {
namespace {

// A child that writes batches of values and commits each, telling the
// parent through `fd` the number of every batch whose commit returned.
[[noreturn]] void WriteBatchesUntilKilled(const RegistryPaths& paths, int round, int fd) {
  SqliteRegistry reg(paths);
  for (std::int32_t batch = 0;; ++batch) {
    for (int j = 0; j < 20; ++j)
      SetText(reg, kHkeyCurrentUser, "Crash\\R" + std::to_string(round),
              "b" + std::to_string(batch) + "_" + std::to_string(j), std::string(50 + j, 'x'));
    reg.Commit();
    if (write(fd, &batch, sizeof batch) != sizeof batch) _exit(3);
  }
}

TEST(SqliteRegistryReliabilityTest, KilledWritersLoseNoCommittedWrite) {
  const TestFolder dir;
  const RegistryPaths paths = PathsIn(dir.Path());
  std::mt19937 random(12345);
  constexpr int kRounds = 12;
  std::vector<std::int32_t> lastCommitted(kRounds, -1);
  for (int round = 0; round < kRounds; ++round) {
    int fds[2];
    ASSERT_EQ(pipe(fds), 0);
    const pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
      close(fds[0]);
      WriteBatchesUntilKilled(paths, round, fds[1]);
    }
    close(fds[1]);
    // Once the writer has committed its first batch, it is killed at a
    // random moment of its work.
    std::int32_t batch = -1;
    if (read(fds[0], &batch, sizeof batch) == sizeof batch) lastCommitted[round] = batch;
    std::this_thread::sleep_for(std::chrono::milliseconds(std::uniform_int_distribution<int>(1, 40)(random)));
    kill(pid, SIGKILL);
    int status = 0;
    waitpid(pid, &status, 0);
    ASSERT_TRUE(WIFSIGNALED(status)) << "the writer ended by itself";
    while (read(fds[0], &batch, sizeof batch) == sizeof batch) lastCommitted[round] = batch;
    close(fds[0]);

    ASSERT_EQ(IntegrityCheck(paths.userFile), "ok") << "round " << round;
    SqliteRegistry reg(paths);
    for (int r = 0; r <= round; ++r) {
      for (std::int32_t b = 0; b <= lastCommitted[r]; ++b) {
        for (int j = 0; j < 20; ++j)
          ASSERT_EQ(Text(reg, kHkeyCurrentUser, "Crash\\R" + std::to_string(r),
                         "b" + std::to_string(b) + "_" + std::to_string(j)),
                    std::string(50 + j, 'x'))
              << "round " << r << " batch " << b;
      }
    }
  }
  // The rounds did commit something.
  EXPECT_GT(std::count_if(lastCommitted.begin(), lastCommitted.end(), [](std::int32_t b) { return b >= 0; }),
            0);
}

// Programs started together on a store that does not exist yet all race to
// create it and switch it to WAL, where the losers must wait rather than
// give up on the file; then their commits interleave, and none may lose
// another's update.
TEST(SqliteRegistryReliabilityTest, ProgramsStartedTogetherOnANewStoreLoseNoWrite) {
  const TestFolder dir;
  constexpr int kRounds = 8, kPrograms = 6, kWrites = 25;
  for (int round = 0; round < kRounds; ++round) {
    SCOPED_TRACE("round " + std::to_string(round));
    const RegistryPaths paths = PathsIn(dir / ("r" + std::to_string(round)));
    int gate[2];
    ASSERT_EQ(pipe(gate), 0);
    std::vector<pid_t> children;
    for (int p = 0; p < kPrograms; ++p) {
      const pid_t pid = fork();
      ASSERT_GE(pid, 0);
      if (pid == 0) {
        close(gate[1]);
        char c;
        while (read(gate[0], &c, 1) > 0) {  // all start when the parent closes the gate
        }
        int failures = 0;
        SqliteRegistry reg(paths, [&](const RegistryFailure&) { ++failures; });
        for (int i = 0; i < kWrites; ++i) {
          const std::string name = "p" + std::to_string(p) + "_" + std::to_string(i);
          SetText(reg, kHkeyCurrentUser, i % 10 ? "Shared" : "Shared\\" + name, name, name);
          reg.Commit();
        }
        _exit(failures == 0 && !reg.HasPendingWrites() ? 0 : 1);
      }
      children.push_back(pid);
    }
    close(gate[0]);
    close(gate[1]);
    for (pid_t pid : children) {
      int status = 0;
      waitpid(pid, &status, 0);
      EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "a program reported a failure";
    }
    EXPECT_EQ(IntegrityCheck(paths.userFile), "ok");
    SqliteRegistry reg(paths);
    for (int p = 0; p < kPrograms; ++p)
      for (int i = 0; i < kWrites; ++i) {
        const std::string name = "p" + std::to_string(p) + "_" + std::to_string(i);
        EXPECT_EQ(Text(reg, kHkeyCurrentUser, i % 10 ? "Shared" : "Shared\\" + name, name), name);
      }
  }
  for (const auto& entry : std::filesystem::recursive_directory_iterator(dir.Path()))
    EXPECT_EQ(entry.path().filename().string().find(".corrupt-"), std::string::npos) << entry.path();
}

// Another program in the middle of a write on a store still in rollback
// mode: switching it to WAL cannot wait through SQLite's busy handler, so
// the store must wait by itself until the other program is done.
TEST(SqliteRegistryReliabilityTest, OpeningWaitsForAnotherProgramsWriteToEnd) {
  const TestFolder dir;
  const RegistryPaths paths = PathsIn(dir.Path());
  sqlite3* other = nullptr;
  ASSERT_EQ(sqlite3_open(paths.userFile.c_str(), &other), SQLITE_OK);
  sqlite3_busy_timeout(other, 5000);
  ASSERT_EQ(sqlite3_exec(other, "CREATE TABLE theirs(x); BEGIN IMMEDIATE; INSERT INTO theirs VALUES(1)",
                         nullptr, nullptr, nullptr),
            SQLITE_OK);
  int theirCommit = -1;
  std::thread finisher([other, &theirCommit] {
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    theirCommit = sqlite3_exec(other, "COMMIT", nullptr, nullptr, nullptr);
    sqlite3_close(other);
  });
  Recorder recorder;
  {
    SqliteRegistry reg(paths, recorder.Handler());
    SetText(reg, kHkeyCurrentUser, "K", "v", "mine");
    reg.Commit();
    EXPECT_FALSE(reg.HasPendingWrites());
  }
  finisher.join();
  EXPECT_EQ(theirCommit, SQLITE_OK);
  for (const RegistryFailure& f : recorder.failures) ADD_FAILURE() << f.step << ": " << f.detail;
  SqliteRegistry reg(paths);
  EXPECT_EQ(Text(reg, kHkeyCurrentUser, "K", "v"), "mine");
  EXPECT_EQ(IntegrityCheck(paths.userFile), "ok");
}

}  // namespace
}  // namespace orva::testing
