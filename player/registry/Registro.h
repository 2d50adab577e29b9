#pragma once
// The module that moves a subtree of the registry to and from files: the
// registry text writer, the text-file import and the restore of a saved
// hive over a key. The bookmark exchange uses all three on the player's own
// settings subtree.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "common/settings/registry.h"
#include "player/registry/hive_reader.h"
#include "player/registry/reg_importer.h"
#include "player/registry/reg_listing.h"
#include "player/registry/reg_text_writer.h"

namespace orva {

class FileSystem;

// The player's settings subtree under HKEY_CURRENT_USER: the only part of
// the registry a bookmark import may write.
inline constexpr std::string_view kPlayerSettingsSubtree =
    "Software\\VB and VBA Program Settings\\ZUV MediaPlayer";

struct RegTextWriteResult {
  bool written = false;  // the file now holds the blocks
  RegTextFormat format = RegTextFormat::kRegedit4;
};

struct HiveRestoreResult {
  bool restored = false;
  std::string error;  // why not, in Italian; empty when restored
};

class Registro {
 public:
  // `hives` may be null: restoring then does nothing.
  Registro(Registry& registry, FileSystem& fs, HiveReader* hives = nullptr)
      : registry_(registry), fs_(fs), hives_(hives) {}

  // Writes root\keyPath (and, with withSubkeys, its whole subtree) as a
  // registry text file, replacing the file or appending to it. Failures
  // are not raised: the caller checks the result or whether the file exists.
  RegTextWriteResult SaveKeyAsRegText(RegHandle root, std::string_view keyPath, const std::string& fileName,
                                      bool withSubkeys, bool append);
  std::vector<std::string> ListSubkeys(RegHandle root, std::string_view keyPath);
  std::vector<RegListedValue> ListValues(RegHandle root, std::string_view keyPath);
  // True when the store can be written (the only privilege there is here).
  bool EnablePrivilege(std::string_view name);
  // Replaces everything under root\keyPath with the hive's tree, before
  // returning. A hive that is missing, damaged or cannot be held whole, or
  // a store that cannot be written, gives restored = false with the reason
  // and leaves the store unchanged.
  HiveRestoreResult RestoreKeyFromFile(std::string_view keyPath, const std::string& fileName, RegHandle root);
  // Imports the registry text file before returning. Only the player's own
  // subtree is written; blocks for any other key are skipped and counted in
  // skippedBlocks. A folder, an unreadable file, a file that is no registry
  // file or a store that cannot be written gives refused = true, with the
  // reason in warnings, and writes nothing.
  RegImportSummary ImportRegFile(const std::string& fileName);

 private:
  Registry& registry_;
  FileSystem& fs_;
  HiveReader* hives_;
};

}  // namespace orva
