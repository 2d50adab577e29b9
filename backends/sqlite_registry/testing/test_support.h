#pragma once
// For the store's tests: its two files in a folder, a recorder of what it
// reports, and SQLite's own verdict on a store file.

#include <sqlite3.h>

#include <string>
#include <vector>

#include "backends/posix/testing/test_folder.h"
#include "backends/sqlite_registry/sqlite_registry.h"
#include "common/settings/testing/registry_helpers.h"

namespace orva::testing {

inline RegistryPaths PathsIn(const std::string& folder) {
  return {folder + "/registry.sqlite", folder + "/machine.sqlite"};
}

struct Recorder {
  std::vector<RegistryFailure> failures;
  RegistryErrorHandler Handler() {
    return [this](const RegistryFailure& f) { failures.push_back(f); };
  }
};

// What SQLite's integrity check says of a store file: "ok" when it is sound.
inline std::string IntegrityCheck(const std::string& file) {
  sqlite3* db = nullptr;
  std::string result = "cannot open";
  if (sqlite3_open_v2(file.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK) {
    sqlite3_stmt* s = nullptr;
    if (sqlite3_prepare_v2(db, "PRAGMA integrity_check", -1, &s, nullptr) == SQLITE_OK &&
        sqlite3_step(s) == SQLITE_ROW)
      result = reinterpret_cast<const char*>(sqlite3_column_text(s, 0));
    sqlite3_finalize(s);
  }
  sqlite3_close(db);
  return result;
}

}  // namespace orva::testing
