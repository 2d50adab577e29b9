#include "backends/sqlite_registry/sqlite_registry.h"

#include <gtest/gtest.h>
#include <sqlite3.h>
#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <functional>
#include <map>
#include <optional>

#include "backends/sqlite_registry/test_support.h"
#include "common/platform/environment.h"

namespace orva {
namespace {

using namespace testing_support;

std::vector<std::string> Subkeys(Registry& reg, RegHandle root, std::string_view path) {
  std::vector<std::string> names;
  RegHandle h = 0;
  if (reg.OpenKey(root, path, kKeyRead, &h) != kErrorSuccess) return names;
  std::string name;
  for (std::uint32_t i = 0; reg.EnumKey(h, i, &name) == kErrorSuccess; ++i) names.push_back(name);
  reg.CloseKey(h);
  return names;
}

std::vector<std::string> ValueNames(Registry& reg, RegHandle root, std::string_view path) {
  std::vector<std::string> names;
  RegHandle h = 0;
  if (reg.OpenKey(root, path, kKeyRead, &h) != kErrorSuccess) return names;
  std::string name;
  for (std::uint32_t i = 0; reg.EnumValue(h, i, &name, nullptr, nullptr, nullptr) == kErrorSuccess; ++i)
    names.push_back(name);
  reg.CloseKey(h);
  return names;
}

// Runs `body` in a child process as an ordinary user (the tests run as root
// in CI, and root may write any file). Returns the child's exit code.
int AsOrdinaryUser(const std::function<int()>& body) {
  if (geteuid() != 0) return body();
  const pid_t pid = fork();
  if (pid == 0) {
    if (setgid(65534) != 0 || setuid(65534) != 0) _exit(100);
    _exit(body());
  }
  int status = 0;
  waitpid(pid, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : 101;
}

class SqliteRegistryTest : public ::testing::Test {
 protected:
  void SetUp() override { paths = PathsIn(FreshTestFolder()); }
  RegistryPaths paths;
  Recorder recorder;
};

TEST_F(SqliteRegistryTest, CommittedWritesOutliveTheProgram) {
  {
    SqliteRegistry reg(paths, recorder.Handler());
    SetText(reg, kHkeyCurrentUser, "Software\\App\\Sec", "Zeta", "1");
    SetText(reg, kHkeyCurrentUser, "Software\\App\\Sec", "alfa", "2");
    SetText(reg, kHkeyCurrentUser, "Software\\App\\beta", "x", "3");
    SetText(reg, kHkeyCurrentUser, "Software\\App\\Alfa", "x", "4");
    const std::uint8_t raw[] = {0xDE, 0xAD, 0x00};
    RegHandle h = 0;
    ASSERT_EQ(reg.CreateKey(kHkeyLocalMachine, "Software\\Raw", &h), kErrorSuccess);
    EXPECT_EQ(reg.SetValue(h, "odd", 11, raw, sizeof raw), kErrorSuccess);
    EXPECT_EQ(reg.SetValue(h, "", kRegBinary, nullptr, 0), kErrorSuccess);
    reg.CloseKey(h);
    reg.Commit();
    SetText(reg, kHkeyCurrentUser, "Software\\App\\Sec", "atExit", "committed by the destructor");
  }
  SqliteRegistry reg(paths, recorder.Handler());
  EXPECT_EQ(Text(reg, kHkeyCurrentUser, "software\\app\\sec", "zeta"), "1");
  EXPECT_EQ(Text(reg, kHkeyCurrentUser, "Software\\App\\Sec", "atExit"), "committed by the destructor");
  EXPECT_EQ(ValueNames(reg, kHkeyCurrentUser, "Software\\App\\Sec"),
            (std::vector<std::string>{"Zeta", "alfa", "atExit"}));
  EXPECT_EQ(Subkeys(reg, kHkeyCurrentUser, "Software\\App"),
            (std::vector<std::string>{"Alfa", "beta", "Sec"}));
  std::uint32_t type = 0;
  std::string data;
  ASSERT_EQ(reg.GetValue(kHkeyLocalMachine, "Software\\Raw", "odd", &type, &data), kErrorSuccess);
  EXPECT_EQ(type, 11u);
  EXPECT_EQ(data, std::string("\xDE\xAD\0", 3));
  ASSERT_EQ(reg.GetValue(kHkeyLocalMachine, "Software\\Raw", "", &type, &data), kErrorSuccess);
  EXPECT_EQ(data, "");
  EXPECT_TRUE(recorder.failures.empty());
}

TEST_F(SqliteRegistryTest, DeletionsReachTheFileAndSparePrefixSiblings) {
  {
    SqliteRegistry reg(paths);
    for (const char* key :
         {"LIBRO", "LIBRO\\CAP01.HTM", "LIBRO\\CAP01.HTM\\deep", "LIBRO2", "LIBRO]", "LIBRO_X"})
      SetText(reg, kHkeyCurrentUser, key, "v", key);
    SetText(reg, kHkeyCurrentUser, "Keep", "a", "1");
    SetText(reg, kHkeyCurrentUser, "Keep", "b", "2");
    reg.Commit();
    ASSERT_EQ(reg.DeleteTree(kHkeyCurrentUser, "libro"), kErrorSuccess);
    RegHandle h = 0;
    ASSERT_EQ(reg.OpenKey(kHkeyCurrentUser, "Keep", kKeyAllAccess, &h), kErrorSuccess);
    EXPECT_EQ(reg.DeleteValue(h, "A"), kErrorSuccess);
    reg.CloseKey(h);
    EXPECT_EQ(reg.DeleteKey(kHkeyCurrentUser, "LIBRO_X"), kErrorSuccess);
    reg.Commit();
  }
  SqliteRegistry reg(paths);
  EXPECT_EQ(Subkeys(reg, kHkeyCurrentUser, ""), (std::vector<std::string>{"Keep", "LIBRO2", "LIBRO]"}));
  EXPECT_EQ(ValueNames(reg, kHkeyCurrentUser, "Keep"), std::vector<std::string>{"b"});
}

TEST_F(SqliteRegistryTest, EmptyingAKeyKeepsIt) {
  {
    SqliteRegistry reg(paths);
    SetText(reg, kHkeyCurrentUser, "Top\\Child", "v", "1");
    SetText(reg, kHkeyCurrentUser, "Top", "v", "1");
    reg.Commit();
    RegHandle top = 0;
    ASSERT_EQ(reg.OpenKey(kHkeyCurrentUser, "Top", kKeyAllAccess, &top), kErrorSuccess);
    ASSERT_EQ(reg.DeleteTree(top, ""), kErrorSuccess);
    reg.CloseKey(top);
  }
  SqliteRegistry reg(paths);
  EXPECT_EQ(Subkeys(reg, kHkeyCurrentUser, ""), std::vector<std::string>{"Top"});
  EXPECT_TRUE(Subkeys(reg, kHkeyCurrentUser, "Top").empty());
  EXPECT_TRUE(ValueNames(reg, kHkeyCurrentUser, "Top").empty());
}

TEST_F(SqliteRegistryTest, ProgramsSeeEachOthersCommitsAndLoseNoneOfThem) {
  SqliteRegistry player(paths);
  SqliteRegistry launcher(paths);
  SetText(player, kHkeyCurrentUser, "S", "fromPlayer", "1");
  SetText(launcher, kHkeyCurrentUser, "S", "fromLauncher", "2");
  player.Commit();
  launcher.Commit();
  // Each sees the other's write once its next event begins.
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

TEST_F(SqliteRegistryTest, PendingWritesSurviveAReloadCausedByAnotherProgram) {
  SqliteRegistry a(paths);
  SqliteRegistry b(paths);
  a.Commit();  // a checks for changes at its next call
  SetText(b, kHkeyCurrentUser, "K", "b", "from b");
  b.Commit();
  SetText(a, kHkeyCurrentUser, "K", "a", "from a");  // reloads first, then writes
  EXPECT_EQ(Text(a, kHkeyCurrentUser, "K", "b"), "from b");
  a.Commit();
  SqliteRegistry c(paths);
  EXPECT_EQ(ValueNames(c, kHkeyCurrentUser, "K"), (std::vector<std::string>{"b", "a"}));
}

TEST_F(SqliteRegistryTest, CorruptFileIsSetAsideReportedAndReplaced) {
  {
    std::ofstream junk(paths.userFile, std::ios::binary);
    junk << "REGEDIT4 this is no database, but it may be all the reader has" << std::string(5000, 'x');
  }
  SqliteRegistry reg(paths, recorder.Handler());
  ASSERT_EQ(recorder.failures.size(), 1u);
  EXPECT_EQ(recorder.failures[0].number, 57);
  EXPECT_NE(recorder.failures[0].detail.find(".corrupt-"), std::string::npos);
  int asides = 0;
  for (const auto& entry :
       std::filesystem::directory_iterator(std::filesystem::path(paths.userFile).parent_path())) {
    if (entry.path().filename().string().find("registry.sqlite.corrupt-") != 0) continue;
    ++asides;
    std::ifstream in(entry.path(), std::ios::binary);
    std::string first;
    std::getline(in, first);
    EXPECT_EQ(first.substr(0, 8), "REGEDIT4") << "the set-aside file keeps its bytes";
  }
  EXPECT_EQ(asides, 1);
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
  std::filesystem::permissions(std::filesystem::path(paths.userFile).parent_path(),
                               std::filesystem::perms::all);
  std::filesystem::permissions(paths.userFile, std::filesystem::perms::owner_read |
                                                   std::filesystem::perms::group_read |
                                                   std::filesystem::perms::others_read);
  std::filesystem::remove(paths.userFile + "-wal");
  std::filesystem::remove(paths.userFile + "-shm");
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
  std::filesystem::permissions(std::filesystem::path(paths.userFile).parent_path(),
                               std::filesystem::perms::all);
  std::filesystem::permissions(paths.userFile, std::filesystem::perms::all);
  std::filesystem::permissions(paths.machineFile, std::filesystem::perms::owner_read |
                                                      std::filesystem::perms::group_read |
                                                      std::filesystem::perms::others_read);
  for (const char* suffix : {"-wal", "-shm"}) std::filesystem::remove(paths.machineFile + suffix);
  const int rc = AsOrdinaryUser([&] {
    Recorder r;
    SqliteRegistry reg(paths, r.Handler());
    if (!r.failures.empty()) return 1;
    if (Text(reg, kHkeyLocalMachine, "Software\\Uninstall\\Orva", "DisplayName") != "OrvaPlayer") return 2;
    RegHandle h = 0;
    if (reg.CreateKey(kHkeyLocalMachine, "Software\\New", &h) != kErrorAccessDenied) return 3;
    if (reg.DeleteKey(kHkeyLocalMachine, "Software\\Uninstall\\Orva") != kErrorAccessDenied) return 4;
    if (reg.CanWrite(kHkeyLocalMachine)) return 5;
    return reg.CanWrite(kHkeyCurrentUser) ? 0 : 6;
  });
  EXPECT_EQ(rc, 0);
}

TEST_F(SqliteRegistryTest, MissingMachineStoreReadsEmpty) {
  { std::ofstream touch(paths.userFile + "x"); }
  paths.machineFile = paths.userFile + "x/machine.sqlite";  // under a plain file: cannot be created
  SqliteRegistry reg(paths, recorder.Handler());
  EXPECT_TRUE(recorder.failures.empty());
  EXPECT_EQ(reg.CreateKey(kHkeyLocalMachine, "Software", nullptr), kErrorAccessDenied);
  EXPECT_EQ(reg.OpenKey(kHkeyLocalMachine, "Software", kKeyRead, nullptr), kErrorFileNotFound);
}

TEST_F(SqliteRegistryTest, FullDiskIsReportedOnceAndTheWritesLandLater) {
  const std::string folder = std::filesystem::path(paths.userFile).parent_path().string() + "/small";
  std::filesystem::create_directories(folder);
  if (mount("tmpfs", folder.c_str(), "tmpfs", 0, "size=400k") != 0)
    GTEST_SKIP() << "cannot mount a small disk";
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
  const std::filesystem::path folder = std::filesystem::path(paths.userFile).parent_path() / "later";
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

TEST(RegistryPathsTest, FolderComesFromTheEnvironment) {
  class Env : public Environment {
   public:
    std::map<std::string, std::string> vars;
    std::optional<std::string> Get(const std::string& name) const override {
      auto it = vars.find(name);
      return it == vars.end() ? std::nullopt : std::optional<std::string>(it->second);
    }
  };
  struct Case {
    const char* name;
    std::map<std::string, std::string> vars;
    std::string user, machine;
  };
  const Case cases[] = {
      {"xdg",
       {{"HOME", "/home/r"}, {"XDG_CONFIG_HOME", "/cfg"}},
       "/cfg/orvaplayer/registry.sqlite",
       "/var/lib/orvaplayer/machine-registry.sqlite"},
      {"relative xdg means ~/.config",
       {{"HOME", "/home/r"}, {"XDG_CONFIG_HOME", "cfg"}},
       "/home/r/.config/orvaplayer/registry.sqlite",
       "/var/lib/orvaplayer/machine-registry.sqlite"},
      {"unset xdg",
       {{"HOME", "/home/r"}},
       "/home/r/.config/orvaplayer/registry.sqlite",
       "/var/lib/orvaplayer/machine-registry.sqlite"},
      {"override",
       {{"HOME", "/home/r"},
        {"XDG_CONFIG_HOME", "/cfg"},
        {"ORVA_REGISTRY_DIR", "/t"},
        {"ORVA_MACHINE_REGISTRY", "/t/m.sqlite"}},
       "/t/registry.sqlite",
       "/t/m.sqlite"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Env env;
    env.vars = c.vars;
    const RegistryPaths p = RegistryPathsFromEnvironment(&env);
    EXPECT_EQ(p.userFile, c.user);
    EXPECT_EQ(p.machineFile, c.machine);
  }
}

}  // namespace
}  // namespace orva
