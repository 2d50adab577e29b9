#include "backends/sqlite_registry/sqlite_file.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <system_error>
#include <thread>

#include "common/runtime/vb_error.h"

namespace orva {
namespace {

// Names are compared folded; a key's subtree is the range of folded paths
// that start with its own path and a separator. Byte 0x5D (']') follows the
// separator 0x5C, so [path\, path]) holds exactly the subtree.
constexpr const char* kSchema =
    "CREATE TABLE IF NOT EXISTS keys("
    "  root INTEGER NOT NULL, folded TEXT NOT NULL, path TEXT NOT NULL,"
    "  PRIMARY KEY(root, folded)) WITHOUT ROWID;"
    "CREATE TABLE IF NOT EXISTS vals("
    "  id INTEGER PRIMARY KEY,"
    "  root INTEGER NOT NULL, key TEXT NOT NULL, folded TEXT NOT NULL,"
    "  name TEXT NOT NULL, type INTEGER NOT NULL, data BLOB NOT NULL,"
    "  UNIQUE(root, key, folded));";

const char* kUpsertValue =
    "INSERT INTO vals(root, key, folded, name, type, data) VALUES(?1, ?2, ?3, ?4, ?5, ?6) "
    "ON CONFLICT(root, key, folded) DO UPDATE SET type = excluded.type, data = excluded.data";
const char* kInsertKey = "INSERT OR IGNORE INTO keys(root, folded, path) VALUES(?1, ?2, ?3)";
const char* kDeleteValue = "DELETE FROM vals WHERE root = ?1 AND key = ?2 AND folded = ?3";
const char* kDeleteKeysUnder =
    "DELETE FROM keys WHERE root = ?1 AND (folded = ?2 OR (folded >= ?3 AND folded < ?4))";
const char* kDeleteValsUnder = "DELETE FROM vals WHERE root = ?1 AND (key = ?2 OR (key >= ?3 AND key < ?4))";
const char* kDeleteKeysOfRoot = "DELETE FROM keys WHERE root = ?1";
const char* kDeleteValsOfRoot = "DELETE FROM vals WHERE root = ?1";

const char* const kOpenStep = "apertura archivio impostazioni";
const char* const kSaveStep = "salvataggio impostazioni";

// How long a program waits for the others' locks before it reports the
// store as unavailable (its writes then stay queued in memory).
constexpr int kBusyTimeoutMs = 5000;
constexpr std::chrono::milliseconds kBusyPatience{5000};
constexpr std::chrono::milliseconds kLongestPause{25};

void BindText(sqlite3_stmt* s, int i, const std::string& text) {
  // nullptr as destructor: the text outlives the statement's step.
  sqlite3_bind_text(s, i, text.data(), static_cast<int>(text.size()), nullptr);
}

std::string ColumnText(sqlite3_stmt* s, int i) {
  const auto* p = sqlite3_column_text(s, i);
  return p ? std::string(reinterpret_cast<const char*>(p),
                         static_cast<std::size_t>(sqlite3_column_bytes(s, i)))
           : std::string();
}

std::string ColumnBlob(sqlite3_stmt* s, int i) {
  const void* p = sqlite3_column_blob(s, i);
  return p ? std::string(static_cast<const char*>(p), static_cast<std::size_t>(sqlite3_column_bytes(s, i)))
           : std::string();
}

std::string TimeStamp() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  char buf[32];
  std::strftime(buf, sizeof buf, "%Y%m%d-%H%M%S", &local);
  return buf;
}

}  // namespace

SqliteFile::SqliteFile(std::string path, std::vector<RegHandle> roots, bool quietWhenUnwritable,
                       RegistryErrorHandler report)
    : path_(std::move(path)),
      roots_(std::move(roots)),
      quietWhenUnwritable_(quietWhenUnwritable),
      report_(std::move(report)) {}

SqliteFile::~SqliteFile() { Close(); }

bool SqliteFile::Owns(RegHandle root) const {
  return std::find(roots_.begin(), roots_.end(), root) != roots_.end();
}

bool SqliteFile::IsCorruption(int code) {
  const int primary = code & 0xFF;
  return primary == SQLITE_CORRUPT || primary == SQLITE_NOTADB;
}

bool SqliteFile::IsTransient(int code) {
  // SQLITE_PROTOCOL is a race for the WAL's locks that went on too long.
  const int primary = code & 0xFF;
  return primary == SQLITE_BUSY || primary == SQLITE_LOCKED || primary == SQLITE_PROTOCOL;
}

void SqliteFile::RetryWhileBusy(const std::function<void()>& attempt) {
  const auto deadline = std::chrono::steady_clock::now() + kBusyPatience;
  std::chrono::milliseconds pause{1};
  for (;;) {
    try {
      attempt();
      return;
    } catch (const SqlError& e) {
      if (!IsTransient(e.code) || std::chrono::steady_clock::now() >= deadline) throw;
    }
    std::this_thread::sleep_for(pause);
    pause = std::min(pause * 2, kLongestPause);
  }
}

void SqliteFile::Report(int number, const std::string& step, const std::string& detail) {
  if (!report_) return;
  try {
    report_(RegistryFailure{number, VbErrorDescription(number), step, detail});
  } catch (...) {
    // A failing report must not take the store down with it.
  }
}

void SqliteFile::ReportSqlFailure(const SqlError& e, const std::string& step) {
  if (failing_) return;
  failing_ = true;
  int number = vberr::kDeviceIoError;
  switch (e.code & 0xFF) {
    case SQLITE_FULL: number = vberr::kDiskFull; break;
    case SQLITE_READONLY:
    case SQLITE_PERM:
    case SQLITE_CANTOPEN:
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
    case SQLITE_AUTH: number = vberr::kPermissionDenied; break;
    default: break;
  }
  Report(number, step,
         "Archivio delle impostazioni " + path_ + ": " + e.message +
             ". Le modifiche restano in memoria e saranno salvate appena possibile.");
}

void SqliteFile::Check(int rc, const char* what) {
  if (rc == SQLITE_OK || rc == SQLITE_ROW || rc == SQLITE_DONE) return;
  std::string message = db_ ? sqlite3_errmsg(db_) : sqlite3_errstr(rc);
  throw SqlError{rc, std::string(what) + ": " + message};
}

void SqliteFile::Exec(const char* sql) { Check(sqlite3_exec(db_, sql, nullptr, nullptr, nullptr), sql); }

sqlite3_stmt* SqliteFile::Prepare(const char* sql) {
  sqlite3_stmt* s = nullptr;
  Check(sqlite3_prepare_v3(db_, sql, -1, SQLITE_PREPARE_PERSISTENT, &s, nullptr), sql);
  statements_.push_back(s);
  return s;
}

void SqliteFile::OpenConnection(bool allowWrite) {
  Close();
  const int flags = allowWrite ? (SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE) : SQLITE_OPEN_READONLY;
  const int rc = sqlite3_open_v2(path_.c_str(), &db_, flags, nullptr);
  if (rc != SQLITE_OK) {
    std::string message = db_ ? sqlite3_errmsg(db_) : sqlite3_errstr(rc);
    Close();
    throw SqlError{rc, message};
  }
  readOnly_ = sqlite3_db_readonly(db_, "main") == 1;
  // Some locks (the switch to WAL, or recovering another program's WAL)
  // may be met before Configure() sets the busy handler.
  sqlite3_busy_timeout(db_, kBusyTimeoutMs);
}

void SqliteFile::Close() {
  for (sqlite3_stmt* s : statements_) sqlite3_finalize(s);
  statements_.clear();
  upsertValue_ = insertKey_ = deleteValue_ = dataVersionStmt_ = nullptr;
  if (db_) sqlite3_close_v2(db_);
  db_ = nullptr;
  readOnly_ = false;
  dataVersion_ = -1;
}

void SqliteFile::Configure() {
  if (!readOnly_) {
    // Reading the header here is what finds a file that is not a database.
    Exec("PRAGMA journal_mode=WAL");
    // Bookmarks are what the reader can least afford to lose: a commit is
    // on the disk when it returns.
    Exec("PRAGMA synchronous=FULL");
    Exec(kSchema);
  } else {
    Exec("SELECT count(*) FROM sqlite_master");
  }
  dataVersionStmt_ = Prepare("PRAGMA data_version");
  if (!readOnly_) {
    upsertValue_ = Prepare(kUpsertValue);
    insertKey_ = Prepare(kInsertKey);
    deleteValue_ = Prepare(kDeleteValue);
  }
}

void SqliteFile::Connect(MemoryRegistry& cache, bool allowReadOnly) {
  RetryWhileBusy([&] {
    try {
      try {
        OpenConnection(true);
      } catch (const SqlError&) {
        if (!allowReadOnly) throw;
        OpenConnection(false);
      }
      if (readOnly_ && !allowReadOnly) throw SqlError{SQLITE_READONLY, "file di sola lettura"};
      Configure();
      Load(cache);
    } catch (...) {
      // Closing also ends whatever transaction the attempt had begun, so
      // the lock that blocked another program is released before a retry.
      Close();
      throw;
    }
  });
}

std::int64_t SqliteFile::DataVersion() {
  const int rc = sqlite3_step(dataVersionStmt_);
  const std::int64_t v = rc == SQLITE_ROW ? sqlite3_column_int64(dataVersionStmt_, 0) : -1;
  sqlite3_reset(dataVersionStmt_);
  Check(rc, "PRAGMA data_version");
  return v;
}

void SqliteFile::Load(MemoryRegistry& cache) {
  // Everything is read before the copy in memory is touched, so a file that
  // fails half-way leaves the copy as it was.
  struct KeyRow {
    RegHandle root;
    std::string path;
  };
  struct ValueRow {
    RegHandle root;
    std::string path, name;
    std::uint32_t type;
    std::string data;
  };
  std::vector<KeyRow> keyRows;
  std::vector<ValueRow> valueRows;
  std::int64_t version = -1;
  Exec("BEGIN");
  try {
    version = DataVersion();
    bool haveTables = true;
    if (readOnly_) {
      sqlite3_stmt* s = nullptr;
      Check(sqlite3_prepare_v2(db_, "SELECT count(*) FROM sqlite_master WHERE name IN ('keys', 'vals')", -1,
                               &s, nullptr),
            "schema");
      const int rc = sqlite3_step(s);
      haveTables = rc == SQLITE_ROW && sqlite3_column_int(s, 0) == 2;
      sqlite3_finalize(s);
      Check(rc, "schema");
    }
    if (haveTables) {
      sqlite3_stmt* keys = nullptr;
      Check(sqlite3_prepare_v2(db_, "SELECT root, path FROM keys", -1, &keys, nullptr), "load keys");
      int rc;
      while ((rc = sqlite3_step(keys)) == SQLITE_ROW) {
        const auto root = static_cast<RegHandle>(sqlite3_column_int64(keys, 0));
        if (Owns(root)) keyRows.push_back({root, ColumnText(keys, 1)});
      }
      sqlite3_finalize(keys);
      Check(rc, "load keys");
      sqlite3_stmt* vals = nullptr;
      Check(sqlite3_prepare_v2(db_,
                               "SELECT v.root, coalesce(k.path, v.key), v.name, v.type, v.data FROM vals v "
                               "LEFT JOIN keys k ON k.root = v.root AND k.folded = v.key ORDER BY v.id",
                               -1, &vals, nullptr),
            "load values");
      while ((rc = sqlite3_step(vals)) == SQLITE_ROW) {
        const auto root = static_cast<RegHandle>(sqlite3_column_int64(vals, 0));
        if (!Owns(root)) continue;
        valueRows.push_back({root, ColumnText(vals, 1), ColumnText(vals, 2),
                             static_cast<std::uint32_t>(sqlite3_column_int64(vals, 3)), ColumnBlob(vals, 4)});
      }
      sqlite3_finalize(vals);
      Check(rc, "load values");
    }
    Exec("COMMIT");
  } catch (...) {
    sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
    throw;
  }
  dataVersion_ = version;
  for (RegHandle root : roots_) cache.ClearRoot(root);
  for (const KeyRow& k : keyRows) cache.LoadKey(k.root, k.path);
  for (const ValueRow& v : valueRows) cache.LoadValue(v.root, v.path, v.name, v.type, v.data);
}

bool SqliteFile::SetAside(const std::string& why) {
  Close();
  std::string aside = path_ + ".corrupt-" + TimeStamp();
  std::error_code ec;
  for (int n = 1; std::filesystem::exists(aside, ec); ++n)
    aside = path_ + ".corrupt-" + TimeStamp() + "-" + std::to_string(n);
  std::filesystem::rename(path_, aside, ec);
  if (ec) {
    Report(vberr::kDeviceIoError, kOpenStep,
           "L'archivio delle impostazioni " + path_ + " è danneggiato (" + why +
               ") e non è stato possibile metterlo da parte: le modifiche di questa sessione non saranno "
               "salvate.");
    return false;
  }
  std::error_code ignored;
  std::filesystem::rename(path_ + "-wal", aside + "-wal", ignored);
  std::filesystem::remove(path_ + "-shm", ignored);
  Report(vberr::kDeviceIoError, kOpenStep,
         "L'archivio delle impostazioni " + path_ + " è danneggiato (" + why +
             "): è stato messo da parte come " + aside + ".");
  return true;
}

void SqliteFile::Open(MemoryRegistry& cache) {
  std::error_code ec;
  std::filesystem::create_directories(std::filesystem::path(path_).parent_path(), ec);
  try {
    Connect(cache, true);
  } catch (const SqlError& e) {
    if (IsCorruption(e.code)) {
      ReplaceDamagedFile(cache, e.message);
    } else if (!quietWhenUnwritable_) {
      // The writes of this session stay queued; each commit tries again.
      ReportSqlFailure(e, kOpenStep);
    }
  }
  if (!db_ || readOnly_) {
    if (quietWhenUnwritable_) {
      for (RegHandle root : roots_) cache.SetReadOnly(root, true);
    } else if (db_) {
      Report(vberr::kPermissionDenied, kOpenStep,
             "L'archivio delle impostazioni " + path_ +
                 " è di sola lettura: le modifiche di questa sessione non saranno salvate.");
    }
  }
}

void SqliteFile::ReplaceDamagedFile(MemoryRegistry& cache, const std::string& why) {
  // Setting the reader's file aside is drastic: only a file that still reads
  // as damaged through a new connection is treated so. Another program may
  // have replaced it in the meantime.
  std::string damage = why;
  try {
    Connect(cache, true);
    return;
  } catch (const SqlError& again) {
    if (!IsCorruption(again.code)) {
      if (!quietWhenUnwritable_) ReportSqlFailure(again, kOpenStep);
      return;
    }
    damage = again.message;
  }
  if (!SetAside(damage)) {
    gaveUp_ = true;
    return;
  }
  try {
    Connect(cache, false);
  } catch (const SqlError& e) {
    ReportSqlFailure(e, kOpenStep);
  }
}

bool SqliteFile::Reopen(MemoryRegistry& cache) {
  try {
    Connect(cache, false);
  } catch (const SqlError& e) {
    if (IsCorruption(e.code)) {
      Recover(cache, e.message);
    } else {
      ReportSqlFailure(e, kSaveStep);
    }
    return false;
  }
  // The file's rows are loaded; this session's writes go on top.
  for (const RegistryOp& op : pending_) ApplyToCache(cache, op);
  return true;
}

void SqliteFile::EnsureKey(RegHandle root, const std::string& path) {
  if (path.empty()) return;
  // Folding keeps every byte in its place, so the folded path's prefixes
  // end where the path's do.
  const std::string folded = FoldRegistryName(path);
  std::string tagged = std::to_string(root) + ':';
  const std::size_t base = tagged.size();
  for (std::size_t end = 0; end != std::string::npos;) {
    end = path.find('\\', end + 1);
    const std::size_t len = end == std::string::npos ? path.size() : end;
    tagged.resize(base);
    tagged.append(folded, 0, len);
    if (!ensured_.insert(tagged).second) continue;
    const std::string prefixFolded = folded.substr(0, len);
    const std::string prefixPath = path.substr(0, len);
    sqlite3_bind_int64(insertKey_, 1, root);
    BindText(insertKey_, 2, prefixFolded);
    BindText(insertKey_, 3, prefixPath);
    const int rc = sqlite3_step(insertKey_);
    sqlite3_reset(insertKey_);
    Check(rc, "insert key");
  }
}

void SqliteFile::ApplyOps(const std::vector<RegistryOp>& ops) {
  for (const RegistryOp& op : ops) {
    switch (op.kind) {
      case RegistryOp::Kind::kEnsureKey: EnsureKey(op.root, op.path); break;
      case RegistryOp::Kind::kSetValue: {
        EnsureKey(op.root, op.path);
        const std::string key = FoldRegistryName(op.path);
        const std::string folded = FoldRegistryName(op.name);
        sqlite3_bind_int64(upsertValue_, 1, op.root);
        BindText(upsertValue_, 2, key);
        BindText(upsertValue_, 3, folded);
        BindText(upsertValue_, 4, op.name);
        sqlite3_bind_int64(upsertValue_, 5, op.type);
        sqlite3_bind_blob(upsertValue_, 6, op.data.data(), static_cast<int>(op.data.size()), nullptr);
        const int rc = sqlite3_step(upsertValue_);
        sqlite3_reset(upsertValue_);
        Check(rc, "set value");
        break;
      }
      case RegistryOp::Kind::kDeleteValue: {
        const std::string key = FoldRegistryName(op.path);
        const std::string folded = FoldRegistryName(op.name);
        sqlite3_bind_int64(deleteValue_, 1, op.root);
        BindText(deleteValue_, 2, key);
        BindText(deleteValue_, 3, folded);
        const int rc = sqlite3_step(deleteValue_);
        sqlite3_reset(deleteValue_);
        Check(rc, "delete value");
        break;
      }
      case RegistryOp::Kind::kDeleteTree: {
        ensured_.clear();
        const bool whole = op.path.empty();
        const char* const ofRoot[] = {kDeleteKeysOfRoot, kDeleteValsOfRoot};
        const char* const under[] = {kDeleteKeysUnder, kDeleteValsUnder};
        for (const char* sql : whole ? ofRoot : under) {
          sqlite3_stmt* s = nullptr;
          Check(sqlite3_prepare_v2(db_, sql, -1, &s, nullptr), sql);
          const std::string folded = FoldRegistryName(op.path);
          const std::string from = folded + '\\', to = folded + ']';
          sqlite3_bind_int64(s, 1, op.root);
          if (!whole) {
            BindText(s, 2, folded);
            BindText(s, 3, from);
            BindText(s, 4, to);
          }
          const int rc = sqlite3_step(s);
          sqlite3_finalize(s);
          Check(rc, sql);
        }
        break;
      }
    }
  }
}

void SqliteFile::ApplyToCache(MemoryRegistry& cache, const RegistryOp& op) const {
  switch (op.kind) {
    case RegistryOp::Kind::kEnsureKey: cache.LoadKey(op.root, op.path); break;
    case RegistryOp::Kind::kSetValue: cache.LoadValue(op.root, op.path, op.name, op.type, op.data); break;
    case RegistryOp::Kind::kDeleteValue: {
      RegHandle h = 0;
      if (cache.OpenKey(op.root, op.path, kKeyAllAccess, &h) == kErrorSuccess) {
        cache.DeleteValue(h, op.name);
        cache.CloseKey(h);
      }
      break;
    }
    case RegistryOp::Kind::kDeleteTree: cache.DeleteTree(op.root, op.path); break;
  }
}

void SqliteFile::RewriteFrom(MemoryRegistry& cache) {
  Exec("BEGIN IMMEDIATE");
  ensured_.clear();
  std::vector<RegistryOp> ops;
  // Walks the copy in memory and writes every key and value back.
  std::function<void(RegHandle, RegHandle, const std::string&)> walk = [&](RegHandle root, RegHandle key,
                                                                           const std::string& path) {
    ops.push_back({RegistryOp::Kind::kEnsureKey, root, path, {}, 0, {}});
    std::string name;
    std::uint32_t type = 0, size = 0;
    for (std::uint32_t i = 0; cache.EnumValue(key, i, &name, &type, nullptr, &size) == kErrorSuccess; ++i) {
      std::string data(size, '\0');
      cache.EnumValue(key, i, &name, &type, reinterpret_cast<std::uint8_t*>(data.data()), &size);
      ops.push_back({RegistryOp::Kind::kSetValue, root, path, name, type, std::move(data)});
    }
    for (std::uint32_t i = 0; cache.EnumKey(key, i, &name) == kErrorSuccess; ++i) {
      RegHandle child = 0;
      if (cache.OpenKey(key, name, kKeyRead, &child) != kErrorSuccess) continue;
      walk(root, child, path.empty() ? name : path + '\\' + name);
      cache.CloseKey(child);
    }
  };
  for (RegHandle root : roots_) walk(root, root, "");
  ApplyOps(ops);
  Exec("COMMIT");
}

void SqliteFile::Recover(MemoryRegistry& cache, const std::string& why) {
  // The file went bad under us: keep it for inspection and write everything
  // this program knows into a new one.
  if (!SetAside(why)) {
    gaveUp_ = true;
    return;
  }
  rebuild_ = true;
  Rebuild(cache);
}

void SqliteFile::Rebuild(MemoryRegistry& cache) {
  try {
    RetryWhileBusy([&] {
      try {
        OpenConnection(true);
        if (readOnly_) throw SqlError{SQLITE_READONLY, "file di sola lettura"};
        Configure();
        RewriteFrom(cache);
        dataVersion_ = DataVersion();
      } catch (...) {
        Close();
        throw;
      }
    });
  } catch (const SqlError& e) {
    // Everything stays in memory; the next commit tries again.
    ReportSqlFailure(e, kSaveStep);
    return;
  }
  rebuild_ = false;
  pending_.clear();
  failing_ = false;
}

void SqliteFile::Commit(MemoryRegistry& cache) {
  if (pending_.empty()) return;
  if (readOnly_ || gaveUp_) {
    // Already reported; the copy in memory keeps the session going.
    pending_.clear();
    return;
  }
  if (!db_) {
    if (rebuild_) {
      Rebuild(cache);
      return;
    }
    if (!Reopen(cache) || pending_.empty()) return;
  }
  try {
    RetryWhileBusy([&] {
      try {
        Exec("BEGIN IMMEDIATE");
        ensured_.clear();
        ApplyOps(pending_);
        Exec("COMMIT");
      } catch (const SqlError&) {
        sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
        throw;
      }
    });
    pending_.clear();
    failing_ = false;
  } catch (const SqlError& e) {
    if (IsCorruption(e.code)) {
      Recover(cache, e.message);
    } else {
      ReportSqlFailure(e, kSaveStep);
    }
  }
}

void SqliteFile::RefreshIfChanged(MemoryRegistry& cache) {
  if (!db_) return;
  try {
    bool reloaded = false;
    RetryWhileBusy([&] {
      if (DataVersion() == dataVersion_) return;
      Load(cache);
      reloaded = true;
    });
    if (reloaded)
      for (const RegistryOp& op : pending_) ApplyToCache(cache, op);
  } catch (const SqlError& e) {
    if (IsCorruption(e.code) && !readOnly_) {
      Recover(cache, e.message);
    } else {
      ReportSqlFailure(e, "lettura impostazioni");
    }
  }
}

}  // namespace orva
