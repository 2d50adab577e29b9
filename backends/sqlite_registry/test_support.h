#pragma once
// Helpers shared by the store's tests: a private folder per test, a store
// opened on it that records what it reports, and the store file's integrity.

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "backends/sqlite_registry/sqlite_registry.h"

namespace orva::testing_support {

// A fresh folder for the running test, under ORVA_REGISTRY_DIR.
inline std::string FreshTestFolder() {
  const char* base = std::getenv("ORVA_REGISTRY_DIR");
  const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
  std::string folder = std::string(base && *base ? base : "/tmp/orva-registry-tests") + "/" +
                       info->test_suite_name() + "." + info->name();
  std::filesystem::remove_all(folder);
  std::filesystem::create_directories(folder);
  return folder;
}

inline RegistryPaths PathsIn(const std::string& folder) {
  return {folder + "/registry.sqlite", folder + "/machine.sqlite"};
}

struct Recorder {
  std::vector<RegistryFailure> failures;
  RegistryErrorHandler Handler() {
    return [this](const RegistryFailure& f) { failures.push_back(f); };
  }
};

inline void SetText(Registry& reg, RegHandle root, std::string_view path, std::string_view name,
                    std::string_view text) {
  RegHandle h = 0;
  ASSERT_EQ(reg.CreateKey(root, path, &h), kErrorSuccess) << path;
  std::string bytes(text);
  bytes += '\0';
  EXPECT_EQ(reg.SetValue(h, name, kRegSz, reinterpret_cast<const std::uint8_t*>(bytes.data()),
                         static_cast<std::uint32_t>(bytes.size())),
            kErrorSuccess);
  reg.CloseKey(h);
}

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

// The text of a value, or "<missing>".
inline std::string Text(Registry& reg, RegHandle root, std::string_view path, std::string_view name) {
  std::string data;
  if (reg.GetValue(root, path, name, nullptr, &data) != kErrorSuccess) return "<missing>";
  if (!data.empty() && data.back() == '\0') data.pop_back();
  return data;
}

}  // namespace orva::testing_support
