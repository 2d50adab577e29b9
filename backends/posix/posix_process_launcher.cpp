#include "backends/posix/posix_process_launcher.h"

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <cerrno>
#include <thread>

#include "backends/posix/posix_errors.h"

extern char** environ;

namespace orva {
namespace {

// Owns the attributes and file actions of one spawn.
class SpawnSetup {
 public:
  SpawnSetup() {
    posix_spawnattr_init(&attr_);
    posix_spawn_file_actions_init(&actions_);
    // A fresh session, default signal handling and no blocked signals: the
    // program starts as if from the desktop, not as our child.
    sigset_t none;
    sigemptyset(&none);
    sigset_t all;
    sigfillset(&all);
    posix_spawnattr_setsigmask(&attr_, &none);
    posix_spawnattr_setsigdefault(&attr_, &all);
    posix_spawnattr_setflags(&attr_, POSIX_SPAWN_SETSID | POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
    // Our trace file, settings store and sockets are none of its business.
    posix_spawn_file_actions_addclosefrom_np(&actions_, 3);
  }
  ~SpawnSetup() {
    posix_spawn_file_actions_destroy(&actions_);
    posix_spawnattr_destroy(&attr_);
  }
  SpawnSetup(const SpawnSetup&) = delete;
  SpawnSetup& operator=(const SpawnSetup&) = delete;
  const posix_spawnattr_t* attr() const { return &attr_; }
  const posix_spawn_file_actions_t* actions() const { return &actions_; }

 private:
  posix_spawnattr_t attr_;
  posix_spawn_file_actions_t actions_;
};

void Reap(pid_t pid) {
  std::thread([pid] {
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
  }).detach();
}

void Spawn(const std::string& program, const std::vector<std::string>& args) {
  std::vector<std::string> argvText;
  argvText.reserve(args.size() + 1);
  argvText.push_back(program);
  argvText.insert(argvText.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (std::string& a : argvText) argv.push_back(a.data());
  argv.push_back(nullptr);

  SpawnSetup setup;
  pid_t pid = 0;
  // A bare name is looked up on PATH, as the desktop would; a path is used as is.
  const int err = posix_spawnp(&pid, program.c_str(), setup.actions(), setup.attr(), argv.data(), environ);
  if (err != 0) RaiseFromErrno(err, Missing::kFile);
  Reap(pid);
}

}  // namespace

void PosixProcessLauncher::Start(const std::string& program, const std::vector<std::string>& args,
                                 WindowStyle /*style*/) {
  if (program.empty()) RaiseFromErrno(ENOENT, Missing::kFile);
  Spawn(program, args);
}

void PosixProcessLauncher::StartCommandLine(const std::string& commandLine, WindowStyle /*style*/) {
  Spawn("/bin/sh", {"-c", commandLine});
}

}  // namespace orva
