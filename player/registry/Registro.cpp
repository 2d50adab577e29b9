#include "player/registry/Registro.h"

#include <functional>

#include "common/platform/file_system.h"
#include "player/registry/utf16.h"

namespace orva {

RegTextWriteResult Registro::SaveKeyAsRegText(RegHandle root, std::string_view keyPath,
                                              const std::string& fileName, bool withSubkeys, bool append) {
  RegTextWriteResult result;
  try {
    std::string existing;
    if (append && fs_.FileExists(fileName)) existing = fs_.ReadText(fileName);
    // The whole subtree goes out in one write, so its format is decided
    // before its first block and a failure leaves the old file whole.
    RegTextOutput out = BuildRegText(registry_, root, keyPath, withSubkeys, append ? &existing : nullptr);
    fs_.WriteText(fileName, out.bytes);
    result.written = true;
    result.format = out.format;
  } catch (...) {
    // The writer reports nothing; the file stays as it was.
  }
  return result;
}

std::vector<std::string> Registro::ListSubkeys(RegHandle root, std::string_view keyPath) {
  return ListRegSubkeys(registry_, root, keyPath);
}

std::vector<RegListedValue> Registro::ListValues(RegHandle root, std::string_view keyPath) {
  return ListRegValues(registry_, root, keyPath);
}

bool Registro::EnablePrivilege(std::string_view /*name*/) { return registry_.CanWrite(kHkeyCurrentUser); }

namespace {

bool IsTextKind(std::uint32_t type) { return type == kRegSz || type == kRegExpandSz || type == kRegMultiSz; }

// A key name the registry will take: not empty, no separator, 255
// characters at most.
bool ValidKeyName(const std::string& name) {
  return !name.empty() && name.size() <= 255 * 4 && name.find('\\') == std::string::npos;
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

HiveRestoreResult Registro::RestoreKeyFromFile(std::string_view keyPath, const std::string& fileName,
                                               RegHandle root) {
  HiveRestoreResult result;
  if (!EnablePrivilege("SeRestorePrivilege")) {
    result.error = "il registro non si può scrivere";
    return result;
  }
  if (!hives_) {
    result.error = "lettura dei file hive non disponibile";
    return result;
  }
  HiveKey tree;
  if (!hives_->ReadHive(fileName, &tree, &result.error) || !CheckTree(tree, 0, &result.error)) return result;
  RegHandle key = 0;
  RegStatus rc = registry_.CreateKey(root, keyPath, &key);
  if (rc == kErrorSuccess) {
    rc = registry_.DeleteTree(key, "");
    if (rc == kErrorSuccess) rc = WriteTree(registry_, key, tree);
    registry_.CloseKey(key);
  }
  if (rc != kErrorSuccess) {
    result.error = "il registro ha rifiutato la scrittura (codice " + std::to_string(rc) + ")";
    return result;
  }
  result.restored = true;
  return result;
}

RegImportSummary Registro::ImportRegFile(const std::string& fileName) {
  RegImportSummary summary;
  std::string bytes;
  try {
    if (fs_.FolderExists(fileName)) {
      summary.refused = true;
      summary.warnings.push_back({0, fileName + " è una cartella"});
      return summary;
    }
    bytes = fs_.ReadText(fileName);
  } catch (const std::exception& e) {
    summary.refused = true;
    summary.warnings.push_back({0, "impossibile leggere " + fileName + ": " + e.what()});
    return summary;
  }
  RegImportOptions options;
  options.confineRoot = kHkeyCurrentUser;
  options.confinePath = std::string(kPlayerSettingsSubtree);
  return ImportRegText(registry_, bytes, options);
}

}  // namespace orva
