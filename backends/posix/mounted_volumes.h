#pragma once
// The mounted volumes of this machine, read from the kernel's mount table.
//
// Only file systems a reader could keep books on are listed: those on a block
// device (a source under /dev/: discs, sticks, memory cards, disc images) and
// network or user-space ones (nfs, nfs4, cifs, smb3, fuseblk, fuse.*). Kernel
// and memory file systems (proc, sysfs, cgroup, tmpfs, devtmpfs, overlay) and
// the squashfs images of installed software are left out. A device mounted
// again elsewhere (a bind mount) is listed once, at its first mount point; a
// second mount of the same device is kept only when it shows a part of the
// device the first does not (another btrfs subvolume, say).
//
// The order, on which drive letters C, D, ... depend: first the removable
// media, then every other volume; within each group the root folders sorted
// by byte value ("/" before "/home", "/media/anna/CD" before
// "/media/anna/LIBRO"). A volume is removable when the kernel marks its disk
// removable (/sys/block/<disk>/removable is 1: sticks, card readers, optical
// drives) or when it is mounted under /media/ or /run/media/, where desktops
// mount what the reader plugs in.

#include <string>
#include <vector>

#include "common/platform/volumes.h"

namespace orva {

class PosixMountedVolumes : public Volumes {
 public:
  PosixMountedVolumes();
  // For tests: a mount table in the format of /proc/self/mountinfo and a
  // folder laid out like /sys/block.
  PosixMountedVolumes(std::string mount_table, std::string sys_block);

  std::vector<std::string> MountedRoots() const override;

 private:
  std::string mount_table_;
  std::string sys_block_;
};

}  // namespace orva
