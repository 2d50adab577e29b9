#pragma once
// The registry of this system on Linux: the per-user roots in one SQLite
// file, HKEY_LOCAL_MACHINE in another, and a copy of both in memory for
// reads. Several programs may read and write the files at once: every
// write is a row-level operation, the writes of one handled event are
// committed together by Commit(), and each program reloads its copy when
// another one has committed.
//
//   RegistryPaths paths = RegistryPathsFromEnvironment();
//   SqliteRegistry registry(paths, [&](const RegistryFailure& f) { ...show it... });
//   Settings settings(registry);
//   ... after each handled event: registry.Commit();
//
// Failures of the files (corrupt, read-only, disk full) never stop the
// program: they are handed to the error handler and the copy in memory keeps
// the session going.

#include <memory>

#include "backends/sqlite_registry/registry_paths.h"
#include "backends/sqlite_registry/sqlite_file.h"
#include "common/settings/memory_registry.h"
#include "common/settings/registry.h"

namespace orva {

class SqliteRegistry : public Registry {
 public:
  explicit SqliteRegistry(const RegistryPaths& paths, RegistryErrorHandler onError = {});
  // Commits what is still pending.
  ~SqliteRegistry() override;

  RegStatus OpenKey(RegHandle parent, std::string_view subKey, std::uint32_t access,
                    RegHandle* result) override;
  RegStatus CreateKey(RegHandle parent, std::string_view subKey, RegHandle* result,
                      bool* created = nullptr) override;
  RegStatus CloseKey(RegHandle key) override;
  RegStatus QueryValue(RegHandle key, std::string_view name, std::uint32_t* type, std::uint8_t* data,
                       std::uint32_t* size) override;
  RegStatus SetValue(RegHandle key, std::string_view name, std::uint32_t type, const std::uint8_t* data,
                     std::uint32_t size) override;
  RegStatus DeleteValue(RegHandle key, std::string_view name) override;
  RegStatus EnumKey(RegHandle key, std::uint32_t index, std::string* name) override;
  RegStatus EnumValue(RegHandle key, std::uint32_t index, std::string* name, std::uint32_t* type,
                      std::uint8_t* data, std::uint32_t* size) override;
  RegStatus DeleteKey(RegHandle parent, std::string_view subKey) override;
  RegStatus DeleteTree(RegHandle parent, std::string_view subKey) override;
  RegStatus GetValue(RegHandle parent, std::string_view subKey, std::string_view name, std::uint32_t* type,
                     std::string* data) override;
  bool CanWrite(RegHandle root) const override;
  void Commit() override;

  bool HasPendingWrites() const;

 private:
  SqliteFile& FileFor(RegHandle root);
  void Queue(RegistryOp op);
  // After each commit the next call first checks whether another program
  // has committed since (one cheap query), and reloads if so.
  void Refresh() {
    if (checkForChanges_) RefreshNow();
  }
  void RefreshNow();

  MemoryRegistry cache_;
  std::unique_ptr<SqliteFile> user_;
  std::unique_ptr<SqliteFile> machine_;
  bool checkForChanges_ = false;
};

}  // namespace orva
