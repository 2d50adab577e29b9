#include "backends/sqlite_registry/sqlite_registry.h"

#include <gtest/gtest.h>
#include <sys/mount.h>

#include <cstring>
#include <fstream>

#include "backends/sqlite_registry/testing/test_support.h"

namespace orva::testing {
namespace {

// A store file everyone may read and no one but root may write.
void MakeReadOnly(const std::string& file) {
  namespace fs = std::filesystem;
  fs::permissions(file, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
  for (const char* suffix : {"-wal", "-shm"}) fs::remove(file + suffix);
}

class SqliteRegistryTest : public ::testing::Test {
 protected:
  TestFolder dir;
  RegistryPaths paths = PathsIn(dir.Path());
  Recorder recorder;
};

TEST_F(SqliteRegistryTest, ProgramsSeeEachOthersCommitsAndLoseNoneOfThem) {
  SqliteRegistry player(paths);
  SqliteRegistry launcher(paths);
  SetText(player, kHkeyCurrentUser, "S", "fromPlayer", "1");
  SetText(launcher, kHkeyCurrentUser, "S", "fromLauncher", "2");
  RegHandle held = 0;
  ASSERT_EQ(player.OpenKey(kHkeyCurrentUser, "S", kKeyRead, &held), kErrorSuccess);
  player.Commit();
  launcher.Commit();
  // Each sees the other's write once its next event begins, through the
  // handles it holds too.
  EXPECT_EQ(player.QueryValue(held, "fromLauncher", nullptr, nullptr, nullptr), kErrorSuccess);
  player.CloseKey(held);
  EXPECT_EQ(Text(player, kHkeyCurrentUser, "S", "fromLauncher"), "2");
  EXPECT_EQ(Text(launcher, kHkeyCurrentUser, "S", "fromPlayer"), "1");
  // Deleting in one program, writing in the other: both land.
  ASSERT_EQ(launcher.DeleteTree(kHkeyCurrentUser, "S"), kErrorSuccess);
  launcher.Commit();
  player.Commit();
  SetText(player, kHkeyCurrentUser, "S", "again", "3");
  player.Commit();
  launcher.Commit();
  EXPECT_EQ(Text(launcher, kHkeyCurrentUser, "S", "again"), "3");
  EXPECT_EQ(Text(launcher, kHkeyCurrentUser, "S", "fromPlayer"), "<missing>");
}

TEST_F(SqliteRegistryTest, CorruptFileIsSetAsideReportedAndReplaced) {
  {
    std::ofstream junk(paths.userFile, std::ios::binary);
    junk << "REGEDIT4 this is no database, but it may be all the reader has" << std::string(5000, 'x');
  }
  SqliteRegistry reg(paths, recorder.Handler());
  ASSERT_EQ(recorder.failures.size(), 1u);
  std::vector<std::string> asides;
  for (const auto& entry : std::filesystem::directory_iterator(dir.Path()))
    if (entry.path().filename().string().starts_with("registry.sqlite.corrupt-"))
      asides.push_back(dir.Read(entry.path().filename()).substr(0, 8));
  EXPECT_EQ(asides, std::vector<std::string>{"REGEDIT4"}) << "set aside once, with its bytes";
  SetText(reg, kHkeyCurrentUser, "K", "v", "works");
  reg.Commit();
  EXPECT_EQ(IntegrityCheck(paths.userFile), "ok");
}

TEST_F(SqliteRegistryTest, FileDamagedWhileRunningIsRebuiltFromMemory) {
  {
    SqliteRegistry first(paths);
    for (int i = 0; i < 200; ++i)
      SetText(first, kHkeyCurrentUser, "K", "v" + std::to_string(i), std::string(100, 'a'));
  }
  SqliteRegistry reg(paths, recorder.Handler());
  {
    // Another program wipes the file's pages.
    std::fstream f(paths.userFile, std::ios::in | std::ios::out | std::ios::binary);
    f.seekp(0);
    f << std::string(4096 * 4, '\x55');
  }
  SetText(reg, kHkeyCurrentUser, "K", "after", "1");
  reg.Commit();
  ASSERT_FALSE(recorder.failures.empty());
  EXPECT_EQ(recorder.failures[0].number, 57);
  SqliteRegistry again(paths);
  EXPECT_EQ(ValueNames(again, kHkeyCurrentUser, "K").size(), 201u);
}

TEST_F(SqliteRegistryTest, ReadOnlyUserStoreIsReportedAndTheSessionGoesOn) {
  {
    SqliteRegistry reg(paths);
    SetText(reg, kHkeyCurrentUser, "K", "v", "stored");
  }
  std::filesystem::permissions(dir.Path(), std::filesystem::perms::all);
  MakeReadOnly(paths.userFile);
  const int rc = AsOrdinaryUser([&] {
    Recorder r;
    SqliteRegistry reg(paths, r.Handler());
    if (r.failures.size() != 1 || r.failures[0].number != 70) return 1;
    if (Text(reg, kHkeyCurrentUser, "K", "v") != "stored") return 2;
    if (reg.CanWrite(kHkeyCurrentUser)) return 3;
    SetText(reg, kHkeyCurrentUser, "K", "v", "session only");
    reg.Commit();
    if (Text(reg, kHkeyCurrentUser, "K", "v") != "session only") return 4;
    return r.failures.size() == 1 ? 0 : 5;
  });
  EXPECT_EQ(rc, 0);
  SqliteRegistry reg(paths);
  EXPECT_EQ(Text(reg, kHkeyCurrentUser, "K", "v"), "stored");
}

TEST_F(SqliteRegistryTest, MachineStoreTheUserMayNotWriteRefusesWithCode5) {
  {
    SqliteRegistry admin(paths);
    SetText(admin, kHkeyLocalMachine, "Software\\Uninstall\\Orva", "DisplayName", "OrvaPlayer");
  }
  std::filesystem::permissions(dir.Path(), std::filesystem::perms::all);
  std::filesystem::permissions(paths.userFile, std::filesystem::perms::all);
  MakeReadOnly(paths.machineFile);
  const int rc = AsOrdinaryUser([&] {
    Recorder r;
    SqliteRegistry reg(paths, r.Handler());
    if (!r.failures.empty()) return 1;
    if (Text(reg, kHkeyLocalMachine, "Software\\Uninstall\\Orva", "DisplayName") != "OrvaPlayer") return 2;
    if (reg.DeleteKey(kHkeyLocalMachine, "Software\\Uninstall\\Orva") != kErrorAccessDenied) return 3;
    return !reg.CanWrite(kHkeyLocalMachine) && reg.CanWrite(kHkeyCurrentUser) ? 0 : 4;
  });
  EXPECT_EQ(rc, 0);
}

TEST_F(SqliteRegistryTest, FullDiskIsReportedOnceAndTheWritesLandLater) {
  const std::string folder = dir / "small";
  std::filesystem::create_directories(folder);
  ASSERT_EQ(mount("tmpfs", folder.c_str(), "tmpfs", 0, "size=400k"), 0)
      << "cannot mount a small disk (it takes root): " << std::strerror(errno);
  struct Unmount {
    std::string folder;
    ~Unmount() { umount(folder.c_str()); }
  } unmount{folder};
  RegistryPaths small{folder + "/registry.sqlite", folder + "/machine.sqlite"};
  {
    SqliteRegistry reg(small, recorder.Handler());
    SetText(reg, kHkeyCurrentUser, "K", "first", "1");
    reg.Commit();
    {
      std::ofstream filler(folder + "/filler", std::ios::binary);
      filler << std::string(400 * 1024, 'f');
    }
    for (int i = 0; i < 50; ++i)
      SetText(reg, kHkeyCurrentUser, "K", "v" + std::to_string(i), std::string(2000, 'z'));
    reg.Commit();
    reg.Commit();
    ASSERT_EQ(recorder.failures.size(), 1u);
    EXPECT_EQ(recorder.failures[0].number, 61);
    EXPECT_TRUE(reg.HasPendingWrites());
    EXPECT_EQ(Text(reg, kHkeyCurrentUser, "K", "v49"), std::string(2000, 'z'));
    std::filesystem::remove(folder + "/filler");
    reg.Commit();
    EXPECT_FALSE(reg.HasPendingWrites());
  }
  SqliteRegistry reg(small);
  EXPECT_EQ(ValueNames(reg, kHkeyCurrentUser, "K").size(), 51u);
  EXPECT_EQ(IntegrityCheck(small.userFile), "ok");
}

TEST_F(SqliteRegistryTest, WritesMadeWhileTheStoreCannotBeOpenedLandWhenItCan) {
  const std::filesystem::path folder = dir / "later";
  { std::ofstream blocker(folder); }  // a plain file where the folder should be
  RegistryPaths later{(folder / "registry.sqlite").string(), paths.machineFile};
  SqliteRegistry reg(later, recorder.Handler());
  ASSERT_EQ(recorder.failures.size(), 1u);
  EXPECT_EQ(recorder.failures[0].number, 70);
  SetText(reg, kHkeyCurrentUser, "K", "mine", "1");
  reg.Commit();
  EXPECT_TRUE(reg.HasPendingWrites());
  EXPECT_EQ(recorder.failures.size(), 1u) << "reported once";

  std::filesystem::remove(folder);
  std::filesystem::create_directories(folder);
  {
    SqliteRegistry other(later);
    SetText(other, kHkeyCurrentUser, "K", "theirs", "2");
  }
  SetText(reg, kHkeyCurrentUser, "K", "mine too", "3");
  reg.Commit();
  EXPECT_FALSE(reg.HasPendingWrites());
  EXPECT_EQ(Text(reg, kHkeyCurrentUser, "K", "theirs"), "2");
  SqliteRegistry after(later);
  EXPECT_EQ(ValueNames(after, kHkeyCurrentUser, "K"),
            (std::vector<std::string>{"theirs", "mine", "mine too"}));
  EXPECT_EQ(recorder.failures.size(), 1u);
}

}  // namespace
}  // namespace orva::testing
