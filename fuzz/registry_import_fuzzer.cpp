// libFuzzer target for the registry text importer. No input may crash or
// hang it, and whatever it imports must come back unchanged through the
// writer and the importer again.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "common/settings/memory_registry.h"
#include "player/registry/reg_importer.h"
#include "player/registry/reg_listing.h"
#include "player/registry/reg_text_writer.h"

namespace {

using namespace orva;

constexpr RegHandle kRoots[] = {kHkeyClassesRoot, kHkeyCurrentUser, kHkeyLocalMachine, kHkeyUsers,
                                kHkeyCurrentConfig};

void Dump(Registry& reg, RegHandle root, const std::string& path, std::string& out) {
  out += "[" + path + "]\n";
  for (const RegListedValue& v : ListRegValues(reg, root, path)) {
    out += v.name + "/" + std::to_string(v.type) + "=" + v.raw + "\n";
  }
  for (const std::string& name : ListRegSubkeys(reg, root, path))
    Dump(reg, root, path.empty() ? name : path + "\\" + name, out);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  MemoryRegistry first;
  const RegImportSummary s = ImportRegText(first, bytes);
  if (first.OpenHandleCount() != 0) __builtin_trap();

  // A confined import never writes outside its subtree.
  MemoryRegistry confined;
  ImportRegText(confined, bytes, RegImportOptions{kHkeyCurrentUser, "Software\\App"});
  for (RegHandle root : kRoots) {
    for (const std::string& name : ListRegSubkeys(confined, root, "")) {
      if (root != kHkeyCurrentUser || FoldRegistryName(name) != "SOFTWARE") __builtin_trap();
    }
  }
  if (s.refused) return 0;

  for (RegHandle root : kRoots) {
    const RegTextOutput out = BuildRegText(first, root, "", true, nullptr);
    MemoryRegistry second;
    const RegImportSummary again = ImportRegText(second, out.bytes);
    if (!again.Complete()) __builtin_trap();
    std::string a, b;
    Dump(first, root, "", a);
    Dump(second, root, "", b);
    if (a != b) __builtin_trap();
  }
  return 0;
}
