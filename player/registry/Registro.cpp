#include "player/registry/Registro.h"

#include "common/platform/file_system.h"
#include "player/registry/hive_restore.h"

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
  if (!hives_->ReadHive(fileName, &tree, &result.error)) return result;
  result.restored = RestoreHiveTree(registry_, root, keyPath, tree, &result.error);
  return result;
}

RegImportSummary Registro::ImportRegFile(const std::string& fileName) {
  RegImportSummary summary;
  // A store that cannot be written would take none of the file: that is a
  // failed import, not one whose every line was skipped.
  if (!EnablePrivilege("SeRestorePrivilege")) {
    summary.refused = true;
    summary.warnings.push_back({0, "il registro non si può scrivere"});
    return summary;
  }
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
