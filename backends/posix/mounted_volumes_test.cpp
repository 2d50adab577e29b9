#include "backends/posix/mounted_volumes.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "backends/posix/testing/test_folder.h"

namespace orva {
namespace {

// A line of five words "dev root mount-point type source" stands for a whole
// mount table line; any other line is written as it is.
std::string MountTable(const std::vector<std::string>& lines) {
  std::string table;
  for (const std::string& line : lines) {
    std::istringstream in(line);
    std::string w[6];
    int n = 0;
    while (n < 6 && in >> w[n]) ++n;
    table += n == 5
                 ? "30 1 " + w[0] + " " + w[1] + " " + w[2] + " rw shared:1 - " + w[3] + " " + w[4] + " rw\n"
                 : line + "\n";
  }
  return table;
}

TEST(PosixMountedVolumes, ListsBookVolumesRemovableFirstInByteOrder) {
  testing::TestFolder dir;
  for (const char* disk : {"sdb/sdb1", "sr0", "nvme0n1/nvme0n1p1", "nvme0n1/nvme0n1p2", "sda/sda2"}) {
    std::filesystem::create_directories(dir / (std::string("block/") + disk));
  }
  for (const auto& [disk, flag] : {std::pair{"sdb", "1"}, {"sr0", "1"}, {"nvme0n1", "0"}, {"sda", "0"}}) {
    dir.Write(std::string("block/") + disk + "/removable", flag);
  }
  const struct {
    const char* name;
    std::vector<std::string> table;  // empty: no table file
    std::vector<std::string> roots;
  } cases[] = {
      {"desktop with a USB stick and a CD",
       {"0:20 / /proc proc proc", "0:21 / /sys sysfs sysfs", "0:5 / /dev devtmpfs udev",
        "0:22 / /run tmpfs tmpfs", "0:27 / /sys/fs/cgroup cgroup2 cgroup2", "259:2 / / ext4 /dev/nvme0n1p2",
        "259:1 / /boot/efi vfat /dev/nvme0n1p1", "7:0 / /snap/core22/864 squashfs /dev/loop0",
        "8:17 / /mnt/chiavetta vfat /dev/sdb1", "11:0 / /media/anna/CD iso9660 /dev/sr0",
        "8:33 / /media/anna/LIBRO exfat /dev/sdc1"},
       {"/media/anna/CD", "/media/anna/LIBRO", "/mnt/chiavetta", "/", "/boot/efi"}},
      {"escapes in mount points, lines that do not parse",
       {"8:2 / / ext4 /dev/sda2", "8:18 / /media/anna/MIO\\040LIBRO vfat /dev/sdb2",
        "8:3 / /srv/back\\134slash\\011tab ext4 /dev/sda3", "garbage",
        "45 26 8:4 / /broken rw ext4 /dev/sda4 rw"},
       {"/media/anna/MIO LIBRO", "/", "/srv/back\\slash\ttab"}},
      {"bind mounts repeated, a second subvolume kept",
       {"0:30 /@ / btrfs /dev/sda2", "0:30 /@home /home btrfs /dev/sda2",
        "0:30 /@home/anna/Libri /srv/libri btrfs /dev/sda2", "8:17 / /media/anna/STICK vfat /dev/sdb1",
        "8:17 / /mnt/stick-again vfat /dev/sdb1"},
       {"/media/anna/STICK", "/", "/home"}},
      {"network and user-space shares",
       {"8:1 / / ext4 /dev/sda1", "0:50 / /mnt/nas nfs4 nas:/libri", "0:51 / /mnt/win cifs //server/libri",
        "0:52 / /home/anna/remoto fuse.sshfs anna@host:/libri",
        "0:53 / /run/media/anna/DISCO fuseblk /dev/sdc1", "0:54 / /var/lib/docker/merged overlay overlay",
        "0:55 / /mnt/auto autofs systemd-1"},
       {"/run/media/anna/DISCO", "/", "/home/anna/remoto", "/mnt/nas", "/mnt/win"}},
      {"unreadable table", {}, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    std::filesystem::remove(dir / "mountinfo");
    if (!c.table.empty()) dir.Write("mountinfo", MountTable(c.table));
    EXPECT_EQ(PosixMountedVolumes(dir / "mountinfo", dir / "block").MountedRoots(), c.roots);
  }
}

}  // namespace
}  // namespace orva
