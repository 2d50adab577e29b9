#pragma once
// One SQLite database file holding some of the registry's roots. Writes are
// queued as row-level operations and applied in one transaction by
// Commit(), so a program only ever rewrites the rows it changed and the
// writes of other programs in between are kept.

#include <sqlite3.h>

#include <cstdint>
#include <functional>
#include <string>
#include <unordered_set>
#include <vector>

#include "common/settings/memory_registry.h"

namespace orva {

// What the store tells its program about a failure: the old runtime's
// number and text, the step that failed and what happened, in Italian.
struct RegistryFailure {
  int number = 0;
  std::string description;
  std::string step;
  std::string detail;
};
using RegistryErrorHandler = std::function<void(const RegistryFailure&)>;

struct RegistryOp {
  enum class Kind { kEnsureKey, kSetValue, kDeleteValue, kDeleteTree };
  Kind kind;
  RegHandle root;
  std::string path;  // key path, names as created
  std::string name;  // value name
  std::uint32_t type = 0;
  std::string data;
};

class SqliteFile {
 public:
  // `quietWhenUnwritable`: a file the user may not write (the machine's
  // store) is read-only without a report.
  SqliteFile(std::string path, std::vector<RegHandle> roots, bool quietWhenUnwritable,
             RegistryErrorHandler report);
  ~SqliteFile();
  SqliteFile(const SqliteFile&) = delete;
  SqliteFile& operator=(const SqliteFile&) = delete;

  // Opens the file, creating it when it may, and loads the roots into
  // `cache`. Other programs' locks are waited out for a bounded time; a file
  // that still cannot be opened is reported and Commit() tries again. A file
  // that is not a sound database is set aside under a time-stamped name and
  // reported, and the store starts empty.
  void Open(MemoryRegistry& cache);
  bool Owns(RegHandle root) const;
  // True when commits can reach the disk.
  bool Writable() const { return db_ != nullptr && !readOnly_; }
  // True when the file is open only for reading (the user may not write it).
  bool ReadOnly() const { return readOnly_; }
  const std::string& path() const { return path_; }

  void Queue(RegistryOp op) { pending_.push_back(std::move(op)); }
  bool HasPending() const { return !pending_.empty(); }
  // Applies the queued operations in one transaction, waiting out other
  // programs' locks. On failure they stay queued for the next commit (which
  // also reopens a file that could not be opened) and the failure is
  // reported once, until a commit succeeds again.
  void Commit(MemoryRegistry& cache);
  // Reloads the roots into `cache` when another program has committed to
  // the file since it was last read. Cheap when nothing changed.
  void RefreshIfChanged(MemoryRegistry& cache);

 private:
  struct SqlError {
    int code;
    std::string message;
  };

  void OpenConnection(bool allowWrite);
  void Close();
  void Configure();
  // Opens the file and reads it into `cache`; throws what failed, with the
  // connection closed.
  void Connect(MemoryRegistry& cache, bool allowReadOnly);
  // Runs `attempt` again while it fails only because another program holds
  // a lock, for a bounded time. SQLite's busy handler does not cover every
  // such case (a lock upgrade that could deadlock, such as the switch to
  // WAL, fails at once), so each attempt must leave no transaction open.
  static void RetryWhileBusy(const std::function<void()>& attempt);
  // Commit() on a file that could not be opened: opens it, reloads and
  // puts the queued writes back on top. False when it is still unusable.
  bool Reopen(MemoryRegistry& cache);
  void Load(MemoryRegistry& cache);
  bool SetAside(const std::string& why);
  void ReplaceDamagedFile(MemoryRegistry& cache, const std::string& why);
  void RewriteFrom(MemoryRegistry& cache);
  void Recover(MemoryRegistry& cache, const std::string& why);
  void Rebuild(MemoryRegistry& cache);
  void ApplyOps(const std::vector<RegistryOp>& ops);
  void ApplyToCache(MemoryRegistry& cache, const RegistryOp& op) const;
  void EnsureKey(RegHandle root, const std::string& path);
  void Exec(const char* sql);
  sqlite3_stmt* Prepare(const char* sql);
  void Check(int rc, const char* what);
  std::int64_t DataVersion();
  void Report(int number, const std::string& step, const std::string& detail);
  void ReportSqlFailure(const SqlError& e, const std::string& step);
  static bool IsCorruption(int code);
  static bool IsTransient(int code);

  std::string path_;
  std::vector<RegHandle> roots_;
  bool quietWhenUnwritable_;
  RegistryErrorHandler report_;
  sqlite3* db_ = nullptr;
  bool readOnly_ = false;
  bool failing_ = false;
  // The damaged file could not be set aside: this session's writes stay in
  // memory only (reported).
  bool gaveUp_ = false;
  // The damaged file was set aside but the new one is not written yet: the
  // next commit writes everything this program knows into it.
  bool rebuild_ = false;
  std::int64_t dataVersion_ = -1;
  std::vector<RegistryOp> pending_;
  std::unordered_set<std::string> ensured_;
  std::vector<sqlite3_stmt*> statements_;
  sqlite3_stmt* upsertValue_ = nullptr;
  sqlite3_stmt* insertKey_ = nullptr;
  sqlite3_stmt* deleteValue_ = nullptr;
  sqlite3_stmt* dataVersionStmt_ = nullptr;
};

}  // namespace orva
