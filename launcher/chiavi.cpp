#include "launcher/chiavi.h"

#include <cstdint>
#include <string>

namespace orva::smart {

std::string LeggiValoreChiave(Registry& registry, std::string_view key, std::string_view name,
                              RegHandle root) {
  RegHandle handle = 0;
  if (registry.OpenKey(root, key, kKeyQueryValue, &handle) != kErrorSuccess) return {};
  RegKey guard(registry, handle);
  std::uint32_t size = 0;
  if (registry.QueryValue(handle, name, nullptr, nullptr, &size) != kErrorSuccess || size == 0) return {};
  std::string buffer(size, '\0');
  if (registry.QueryValue(handle, name, nullptr, reinterpret_cast<std::uint8_t*>(buffer.data()), &size) !=
      kErrorSuccess)
    return {};
  buffer.resize(size);
  // The text ends at its terminating zero. Cutting at the first zero rather
  // than dropping the last byte keeps a value stored without one whole.
  const std::size_t end = buffer.find('\0');
  if (end != std::string::npos) buffer.resize(end);
  return buffer;
}

RegHandle ApriChiave(Registry& registry, std::string_view key, RegHandle root) {
  RegHandle handle = 0;
  if (registry.OpenKey(root, key, kKeyQueryValue, &handle) != kErrorSuccess) return kChiaveNonAperta;
  return handle;
}

std::optional<int> CancellaChiave(Registry& registry, RegHandle parent, std::string_view subKey) {
  RegHandle handle = 0;
  if (registry.OpenKey(parent, subKey, kKeyAllAccess, &handle) != kErrorSuccess) return std::nullopt;
  {
    RegKey guard(registry, handle);
    std::string firstSubKey;
    if (registry.EnumKey(handle, 0, &firstSubKey) != kErrorNoMoreItems) return std::nullopt;
  }
  if (registry.DeleteKey(parent, subKey) != kErrorSuccess) return std::nullopt;
  return 0;
}

}  // namespace orva::smart
