#pragma once
// Reading a saved registry hive file (the binary "regf" format that the
// registry's own save function writes). The backend reads it whole, so a
// corrupt or truncated file is refused before anything is changed.

#include <cstdint>
#include <string>
#include <vector>

namespace orva {

struct HiveValue {
  std::string name;  // UTF-8
  std::uint32_t type = 0;
  std::string data;  // bytes as in the hive: text kinds are UTF-16LE
};

struct HiveKey {
  std::string name;  // UTF-8
  std::vector<HiveValue> values;
  std::vector<HiveKey> subkeys;
};

// Deepest key nesting a hive may have, as in the registry itself.
inline constexpr int kMaxHiveDepth = 512;

class HiveReader {
 public:
  virtual ~HiveReader() = default;
  // Reads the whole tree under the hive's root key into *root. False, with
  // *error saying why (in Italian), when the file is missing, corrupt or
  // truncated.
  virtual bool ReadHive(const std::string& path, HiveKey* root, std::string* error) = 0;
};

}  // namespace orva
