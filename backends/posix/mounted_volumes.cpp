#include "backends/posix/mounted_volumes.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <utility>

namespace orva {
namespace {

namespace fs = std::filesystem;

struct Mount {
  std::string device;  // major:minor
  std::string root;    // the part of the device shown at the mount point
  std::string mount_point;
  std::string type;
  std::string source;
};

// The table writes a space, tab, newline or backslash in a path as a
// backslash and three octal digits ("/media/anna/MIO\040LIBRO").
std::string Unescape(const std::string& field) {
  std::string out;
  for (size_t i = 0; i < field.size(); ++i) {
    const auto octal = [&](size_t k) { return k < field.size() && field[k] >= '0' && field[k] <= '7'; };
    if (field[i] == '\\' && octal(i + 1) && octal(i + 2) && octal(i + 3)) {
      out += static_cast<char>((field[i + 1] - '0') * 64 + (field[i + 2] - '0') * 8 + (field[i + 3] - '0'));
      i += 3;
    } else {
      out += field[i];
    }
  }
  return out;
}

// "36 35 98:0 /root /mnt rw,noatime master:1 - ext4 /dev/sda1 rw": the
// optional fields before "-" vary in number. A line that does not fit is
// skipped.
bool ParseLine(const std::string& line, Mount& mount) {
  std::istringstream in(line);
  std::vector<std::string> fields;
  for (std::string field; in >> field;) fields.push_back(field);
  const auto dash = std::find(fields.begin(), fields.end(), "-");
  if (dash - fields.begin() < 6 || fields.end() - dash < 3) return false;
  mount = {fields[2], Unescape(fields[3]), Unescape(fields[4]), dash[1], Unescape(dash[2])};
  return true;
}

bool HoldsBooks(const Mount& m) {
  static const char* const kNotForBooks[] = {"proc",  "sysfs",    "cgroup", "cgroup2", "tmpfs",
                                             "ramfs", "devtmpfs", "devpts", "overlay", "squashfs"};
  static const char* const kShared[] = {"nfs", "nfs4", "cifs", "smb3", "fuseblk"};
  if (std::find(std::begin(kNotForBooks), std::end(kNotForBooks), m.type) != std::end(kNotForBooks)) {
    return false;
  }
  return m.source.rfind("/dev/", 0) == 0 || m.type.rfind("fuse.", 0) == 0 ||
         std::find(std::begin(kShared), std::end(kShared), m.type) != std::end(kShared);
}

// A later mount of a device repeats an earlier one when the earlier shows the
// same part of the device or a folder above it.
bool Repeats(const Mount& later, const Mount& earlier) {
  if (later.device != earlier.device) return false;
  const std::string& above = earlier.root;
  return above == "/" || later.root == above || later.root.rfind(above + "/", 0) == 0;
}

bool FileSaysOne(const fs::path& path) {
  std::ifstream in(path);
  char c = 0;
  return in.get(c) && c == '1';
}

// The disk's flag: a partition (sdb1, nvme0n1p1, mmcblk0p1) is a subfolder of
// its disk's folder and takes the disk's flag.
bool DiskIsRemovable(const std::string& source, const fs::path& sys_block) {
  std::error_code ec;
  // /dev/mapper/... and /dev/disk/by-... are links to the kernel's name.
  fs::path device = fs::canonical(source, ec);
  if (ec) device = source;
  const std::string name = device.filename().string();
  if (name.empty()) return false;
  if (fs::exists(sys_block / name / "removable", ec)) return FileSaysOne(sys_block / name / "removable");
  for (fs::directory_iterator it(sys_block, ec), end; !ec && it != end; it.increment(ec)) {
    if (fs::exists(it->path() / name, ec)) return FileSaysOne(it->path() / "removable");
  }
  return false;
}

bool UnderDesktopMediaFolder(const std::string& mount_point) {
  return mount_point.rfind("/media/", 0) == 0 || mount_point.rfind("/run/media/", 0) == 0;
}

}  // namespace

PosixMountedVolumes::PosixMountedVolumes() : PosixMountedVolumes("/proc/self/mountinfo", "/sys/block") {}

PosixMountedVolumes::PosixMountedVolumes(std::string mount_table, std::string sys_block)
    : mount_table_(std::move(mount_table)), sys_block_(std::move(sys_block)) {}

std::vector<std::string> PosixMountedVolumes::MountedRoots() const {
  try {
    std::ifstream table(mount_table_);
    std::vector<Mount> kept;
    for (std::string line; std::getline(table, line);) {
      Mount m;
      if (!ParseLine(line, m) || !HoldsBooks(m)) continue;
      const bool seen = std::any_of(kept.begin(), kept.end(), [&](const Mount& k) {
        return Repeats(m, k) || k.mount_point == m.mount_point;
      });
      if (!seen) kept.push_back(m);
    }
    std::vector<std::string> removable, fixed;
    for (const Mount& m : kept) {
      const bool out = UnderDesktopMediaFolder(m.mount_point) ||
                       (m.source.rfind("/dev/", 0) == 0 && DiskIsRemovable(m.source, sys_block_));
      (out ? removable : fixed).push_back(m.mount_point);
    }
    // std::string compares its characters as unsigned bytes.
    std::sort(removable.begin(), removable.end());
    std::sort(fixed.begin(), fixed.end());
    removable.insert(removable.end(), fixed.begin(), fixed.end());
    return removable;
  } catch (...) {
    return {};
  }
}

}  // namespace orva
