#pragma once
// Registry hive files read with libhivex.

#include "player/registry/hive_reader.h"

namespace orva {

class HivexHiveReader : public HiveReader {
 public:
  // A hive of more keys and values than this is refused: it would not be a
  // player's settings, and a crafted file could otherwise make the walk
  // endless.
  static constexpr std::size_t kMaxItems = 1000000;

  bool ReadHive(const std::string& path, HiveKey* root, std::string* error) override;
};

}  // namespace orva
