#include "player/registry/hive_restore.h"

#include "common/settings/memory_registry.h"
#include "player/registry/utf16.h"

namespace orva {
namespace {

bool IsTextKind(std::uint32_t type) { return type == kRegSz || type == kRegExpandSz || type == kRegMultiSz; }

bool ValidKeyName(const std::string& name) {
  if (name.empty() || name.find('\\') != std::string::npos) return false;
  std::size_t chars = 0;
  for (char c : name) chars += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
  return chars <= MemoryRegistry::kMaxKeyNameChars;
}

bool CheckTree(const HiveKey& key, int depth, std::string* error) {
  if (depth > kMaxHiveDepth) {
    *error = "chiavi annidate troppo in profondità";
    return false;
  }
  for (const HiveKey& sub : key.subkeys) {
    if (!ValidKeyName(sub.name)) {
      *error = "nome di chiave non valido: " + sub.name;
      return false;
    }
    if (!CheckTree(sub, depth + 1, error)) return false;
  }
  return true;
}

// Text kinds are UTF-16LE in a hive; the store keeps UTF-8.
RegStatus WriteTree(Registry& registry, RegHandle key, const HiveKey& tree) {
  for (const HiveValue& v : tree.values) {
    const std::string data = IsTextKind(v.type) && v.data.size() % 2 == 0 ? Utf16LeToUtf8(v.data) : v.data;
    const RegStatus rc =
        registry.SetValue(key, v.name, v.type, reinterpret_cast<const std::uint8_t*>(data.data()),
                          static_cast<std::uint32_t>(data.size()));
    if (rc != kErrorSuccess) return rc;
  }
  for (const HiveKey& sub : tree.subkeys) {
    RegHandle child = 0;
    RegStatus rc = registry.CreateKey(key, sub.name, &child);
    if (rc != kErrorSuccess) return rc;
    rc = WriteTree(registry, child, sub);
    registry.CloseKey(child);
    if (rc != kErrorSuccess) return rc;
  }
  return kErrorSuccess;
}

}  // namespace

bool RestoreHiveTree(Registry& registry, RegHandle root, std::string_view keyPath, const HiveKey& tree,
                     std::string* error) {
  if (!CheckTree(tree, 0, error)) return false;
  RegHandle key = 0;
  RegStatus rc = registry.CreateKey(root, keyPath, &key);
  if (rc == kErrorSuccess) {
    rc = registry.DeleteTree(key, "");
    if (rc == kErrorSuccess) rc = WriteTree(registry, key, tree);
    registry.CloseKey(key);
  }
  if (rc != kErrorSuccess) {
    *error = "il registro ha rifiutato la scrittura (codice " + std::to_string(rc) + ")";
    return false;
  }
  return true;
}

}  // namespace orva
