#pragma once
// A small writer of registry hive files ("regf"): the base block and one
// bin holding the key, subkey-list, value-list, value and data cells. It
// makes the hive fixtures of the tests (the hive library reads hives but
// cannot create one from nothing). Values larger than 16,344 bytes, which
// need big-data cells, are not supported.

#include <stdexcept>
#include <string>

#include "player/registry/hive_reader.h"

namespace orva {

// The bytes of a hive whose root key holds `root`'s values and subkeys.
// Text values are written as given (the caller gives UTF-16LE for text
// kinds, as a hive holds them). Throws std::invalid_argument for what the
// writer cannot express.
std::string WriteRegfHive(const HiveKey& root);

}  // namespace orva
