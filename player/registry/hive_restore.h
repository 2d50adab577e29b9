#pragma once
// Putting a hive's tree over a key: everything under the key is replaced
// with the hive root's values and subkeys. The tree is checked before
// anything is written, so a tree the registry cannot hold changes nothing.

#include <string>
#include <string_view>

#include "common/settings/registry.h"
#include "player/registry/hive_reader.h"

namespace orva {

// True when restored; otherwise *error says why (in Italian).
bool RestoreHiveTree(Registry& registry, RegHandle root, std::string_view keyPath, const HiveKey& tree,
                     std::string* error);

}  // namespace orva
