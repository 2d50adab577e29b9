#include "backends/posix/posix_file_system.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <memory>

#include "backends/posix/listing_order.h"
#include "backends/posix/posix_errors.h"
#include "common/runtime/vb_error.h"

namespace orva {
namespace {

enum class EntryKind { kFile, kFolder };

struct DirCloser {
  void operator()(DIR* d) const { closedir(d); }
};

class Fd {
 public:
  explicit Fd(int fd) : fd_(fd) {}
  ~Fd() {
    if (fd_ >= 0) close(fd_);
  }
  Fd(const Fd&) = delete;
  Fd& operator=(const Fd&) = delete;
  int get() const { return fd_; }
  // Closes now, reporting the failure a delayed write error shows up as.
  int Close() {
    const int rc = close(fd_);
    fd_ = -1;
    return rc;
  }

 private:
  int fd_;
};

std::vector<std::string> List(const std::string& folder, EntryKind wanted) {
  std::unique_ptr<DIR, DirCloser> dir(opendir(folder.c_str()));
  if (!dir) RaiseFromErrno(errno, Missing::kFolder);
  std::vector<std::string> names;
  errno = 0;
  while (const dirent* entry = readdir(dir.get())) {
    const std::string name = entry->d_name;
    if (name == "." || name == "..") continue;
    // Links count as what they point to; a dangling link is neither.
    struct stat st;
    if (fstatat(dirfd(dir.get()), entry->d_name, &st, 0) != 0) continue;
    if ((wanted == EntryKind::kFolder) == S_ISDIR(st.st_mode)) names.push_back(name);
    errno = 0;
  }
  if (errno != 0) RaiseFromErrno(errno, Missing::kFolder);
  SortLikeBookFileSystem(names);
  return names;
}

// 0, or the errno of the failure.
int WriteAll(int fd, const std::string& text) {
  std::size_t done = 0;
  while (done < text.size()) {
    const ssize_t n = write(fd, text.data() + done, text.size() - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      return errno;
    }
    done += static_cast<std::size_t>(n);
  }
  return 0;
}

// The file a write lands in: the target of a link, so the link survives.
std::string WriteTarget(const std::string& path) {
  struct stat st;
  if (lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return path;
  std::unique_ptr<char, decltype(&std::free)> real(realpath(path.c_str(), nullptr), &std::free);
  return real ? std::string(real.get()) : path;
}

}  // namespace

bool PosixFileSystem::FileExists(const std::string& path) const {
  struct stat st;
  return stat(path.c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
}

bool PosixFileSystem::FolderExists(const std::string& path) const {
  struct stat st;
  return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::vector<std::string> PosixFileSystem::SubFolders(const std::string& folder) const {
  return List(folder, EntryKind::kFolder);
}

std::vector<std::string> PosixFileSystem::Files(const std::string& folder) const {
  return List(folder, EntryKind::kFile);
}

void PosixFileSystem::DeleteFile(const std::string& path) {
  struct stat st;
  if (lstat(path.c_str(), &st) != 0) RaiseFromErrno(errno, Missing::kFile, path.c_str());
  // A folder is not a file: the old runtime did not find one to delete.
  if (S_ISDIR(st.st_mode)) RaiseVbError(vberr::kFileNotFound);
  if (unlink(path.c_str()) != 0) RaiseFromErrno(errno, Missing::kFile, path.c_str());
}

std::string PosixFileSystem::ReadText(const std::string& path) const {
  Fd fd(open(path.c_str(), O_RDONLY | O_CLOEXEC));
  if (fd.get() < 0) RaiseFromErrno(errno, Missing::kFile, path.c_str());
  struct stat st;
  if (fstat(fd.get(), &st) != 0) RaiseFromErrno(errno, Missing::kFile);
  if (S_ISDIR(st.st_mode)) RaiseVbError(vberr::kPathFileAccessError);
  std::string text;
  if (S_ISREG(st.st_mode)) text.reserve(static_cast<std::size_t>(st.st_size));
  char buf[65536];
  for (;;) {
    const ssize_t n = read(fd.get(), buf, sizeof buf);
    if (n == 0) break;
    if (n < 0) {
      if (errno == EINTR) continue;
      RaiseFromErrno(errno, Missing::kFile);
    }
    text.append(buf, static_cast<std::size_t>(n));
  }
  return text;
}

void PosixFileSystem::WriteText(const std::string& path, const std::string& text) {
  const std::string target = WriteTarget(path);
  struct stat old;
  const bool existed = stat(target.c_str(), &old) == 0;
  if (existed && S_ISDIR(old.st_mode)) RaiseVbError(vberr::kPathFileAccessError);

  // A unique name beside the target, so the rename stays on one file system.
  static unsigned counter = 0;
  std::string temp;
  int raw = -1;
  for (int attempt = 0; raw < 0; ++attempt) {
    temp = target + ".orva-" + std::to_string(getpid()) + "-" + std::to_string(++counter) + ".tmp";
    raw = open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (raw < 0 && (errno != EEXIST || attempt > 100)) RaiseFromErrno(errno, Missing::kFile, target.c_str());
  }
  Fd fd(raw);
  const int failure = [&] {
    if (const int err = WriteAll(fd.get(), text)) return err;
    if (existed && fchmod(fd.get(), old.st_mode & 07777) != 0) return errno;
    if (fsync(fd.get()) != 0) return errno;
    if (fd.Close() != 0) return errno;
    if (rename(temp.c_str(), target.c_str()) != 0) return errno;
    return 0;
  }();
  if (failure == 0) return;
  unlink(temp.c_str());
  RaiseFromErrno(failure, Missing::kFile, target.c_str());
}

}  // namespace orva
