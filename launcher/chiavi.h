#pragma once
// The launcher's registry helpers: read one text value, open a key, and
// delete a key that has no subkeys. They report nothing: every failure
// becomes the routine's failure value.

#include <optional>
#include <string>
#include <string_view>

#include "common/settings/registry.h"

namespace orva::smart {

// What ApriChiave gives when the key cannot be opened (-1 as a 32-bit handle).
inline constexpr RegHandle kChiaveNonAperta = 0xFFFFFFFFu;

// The text of value `name` of root\key, without its terminating zero; the
// empty text when the key or the value is missing or cannot be read. The key
// is always closed again.
std::string LeggiValoreChiave(Registry& registry, std::string_view key, std::string_view name,
                              RegHandle root);

// root\key opened for reading, or kChiaveNonAperta. The caller closes it.
RegHandle ApriChiave(Registry& registry, std::string_view key, RegHandle root);

// Deletes parent\subKey when it has no subkeys of its own. 0 when it was
// deleted; nothing (Empty) when it was kept or could not be deleted.
std::optional<int> CancellaChiave(Registry& registry, RegHandle parent, std::string_view subKey);

}  // namespace orva::smart
