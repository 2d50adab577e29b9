#pragma once
// Listing a key's subkeys and values the way the registry text files need
// them: in registry order, with each value's data turned into what its kind
// means (text, 32-bit number or bytes).

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "common/settings/registry.h"

namespace orva {

struct RegListedValue {
  enum class Kind { kNone, kText, kNumber, kBytes };
  std::string name;
  // Registry kinds 1, 2 and 7 give text (the data without its terminating
  // zero characters), 4 a number, 3 bytes; any other kind nothing.
  Kind kind = Kind::kNone;
  std::string text;
  std::int32_t number = 0;
  std::vector<std::uint8_t> bytes;
  // The value as stored, for writers that must not lose anything.
  std::uint32_t type = 0;
  std::string raw;
};

// Names of the direct subkeys of root\keyPath in registry order (the root
// itself for an empty path); empty when the key cannot be opened.
std::vector<std::string> ListRegSubkeys(Registry& registry, RegHandle root, std::string_view keyPath);
// Values of root\keyPath in registry order; empty when the key cannot be
// opened.
std::vector<RegListedValue> ListRegValues(Registry& registry, RegHandle root, std::string_view keyPath);

}  // namespace orva
