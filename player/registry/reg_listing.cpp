#include "player/registry/reg_listing.h"

#include <cstring>

namespace orva {
namespace {

// Opens root\keyPath for reading; the root itself needs no opening.
bool OpenForReading(Registry& registry, RegHandle root, std::string_view keyPath, RegHandle* key) {
  if (keyPath.empty()) {
    *key = root;
    return true;
  }
  return registry.OpenKey(root, keyPath, kKeyRead, key) == kErrorSuccess;
}

std::string StripZeros(std::string data, std::size_t count) {
  for (std::size_t i = 0; i < count && !data.empty() && data.back() == '\0'; ++i) data.pop_back();
  return data;
}

}  // namespace

std::vector<std::string> ListRegSubkeys(Registry& registry, RegHandle root, std::string_view keyPath) {
  std::vector<std::string> names;
  RegHandle key = 0;
  if (!OpenForReading(registry, root, keyPath, &key)) return names;
  std::string name;
  for (std::uint32_t i = 0; registry.EnumKey(key, i, &name) == kErrorSuccess; ++i) {
    // A name is cut at its first zero character.
    const std::size_t zero = name.find('\0');
    names.push_back(zero == std::string::npos ? name : name.substr(0, zero));
  }
  if (key != root) registry.CloseKey(key);
  return names;
}

std::vector<RegListedValue> ListRegValues(Registry& registry, RegHandle root, std::string_view keyPath) {
  std::vector<RegListedValue> values;
  RegHandle key = 0;
  if (!OpenForReading(registry, root, keyPath, &key)) return values;
  std::string buffer(4096, '\0');
  for (std::uint32_t i = 0;; ++i) {
    RegListedValue v;
    auto size = static_cast<std::uint32_t>(buffer.size());
    RegStatus rc =
        registry.EnumValue(key, i, &v.name, &v.type, reinterpret_cast<std::uint8_t*>(buffer.data()), &size);
    if (rc == kErrorMoreData) {
      buffer.resize(size);
      rc =
          registry.EnumValue(key, i, &v.name, &v.type, reinterpret_cast<std::uint8_t*>(buffer.data()), &size);
    }
    if (rc != kErrorSuccess) break;
    v.raw.assign(buffer.data(), size);
    switch (v.type) {
      case kRegSz:
      case kRegExpandSz:
        v.kind = RegListedValue::Kind::kText;
        v.text = StripZeros(v.raw, 1);
        break;
      case kRegMultiSz:
        v.kind = RegListedValue::Kind::kText;
        v.text = StripZeros(v.raw, 2);
        break;
      case kRegDword: {
        v.kind = RegListedValue::Kind::kNumber;
        std::uint8_t b[4] = {};
        std::memcpy(b, v.raw.data(), std::min<std::size_t>(4, v.raw.size()));
        v.number = static_cast<std::int32_t>(
            static_cast<std::uint32_t>(b[0]) | (static_cast<std::uint32_t>(b[1]) << 8) |
            (static_cast<std::uint32_t>(b[2]) << 16) | (static_cast<std::uint32_t>(b[3]) << 24));
        break;
      }
      case kRegBinary:
        v.kind = RegListedValue::Kind::kBytes;
        v.bytes.assign(v.raw.begin(), v.raw.end());
        break;
      default: break;
    }
    values.push_back(std::move(v));
  }
  if (key != root) registry.CloseKey(key);
  return values;
}

}  // namespace orva
