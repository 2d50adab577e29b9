#include "backends/sqlite_registry/sqlite_registry.h"

namespace orva {

namespace {

// The row operation that deletes a key and all below it, named while the
// key still exists in the copy; without a key to name when it does not.
RegistryOp TreeDeletion(MemoryRegistry& cache, RegHandle parent, std::string_view subKey) {
  RegistryOp op{RegistryOp::Kind::kDeleteTree, 0, {}, {}, 0, {}};
  RegHandle handle = 0;
  if (cache.OpenKey(parent, subKey, 0, &handle) == kErrorSuccess) {
    cache.DescribeHandle(handle, &op.root, &op.path);
    cache.CloseKey(handle);
  }
  return op;
}

}  // namespace

SqliteRegistry::SqliteRegistry(const RegistryPaths& paths, RegistryErrorHandler onError)
    : user_(std::make_unique<SqliteFile>(
          paths.userFile,
          std::vector<RegHandle>{kHkeyClassesRoot, kHkeyCurrentUser, kHkeyUsers, kHkeyCurrentConfig}, false,
          onError)),
      machine_(std::make_unique<SqliteFile>(paths.machineFile, std::vector<RegHandle>{kHkeyLocalMachine},
                                            true, onError)) {
  user_->Open(cache_);
  machine_->Open(cache_);
}

SqliteRegistry::~SqliteRegistry() { Commit(); }

SqliteFile& SqliteRegistry::FileFor(RegHandle root) { return root == kHkeyLocalMachine ? *machine_ : *user_; }

void SqliteRegistry::Queue(RegistryOp op) { FileFor(op.root).Queue(std::move(op)); }

void SqliteRegistry::RefreshNow() {
  checkForChanges_ = false;
  user_->RefreshIfChanged(cache_);
  machine_->RefreshIfChanged(cache_);
}

RegStatus SqliteRegistry::OpenKey(RegHandle parent, std::string_view subKey, std::uint32_t access,
                                  RegHandle* result) {
  Refresh();
  return cache_.OpenKey(parent, subKey, access, result);
}

RegStatus SqliteRegistry::CreateKey(RegHandle parent, std::string_view subKey, RegHandle* result,
                                    bool* created) {
  Refresh();
  bool isNew = false;
  RegHandle handle = 0;
  const RegStatus rc = cache_.CreateKey(parent, subKey, &handle, &isNew);
  if (rc != kErrorSuccess) return rc;
  if (isNew) {
    RegistryOp op{RegistryOp::Kind::kEnsureKey, 0, {}, {}, 0, {}};
    if (cache_.DescribeHandle(handle, &op.root, &op.path)) Queue(std::move(op));
  }
  if (created) *created = isNew;
  if (result) {
    *result = handle;
  } else {
    cache_.CloseKey(handle);
  }
  return rc;
}

RegStatus SqliteRegistry::CloseKey(RegHandle key) { return cache_.CloseKey(key); }

RegStatus SqliteRegistry::QueryValue(RegHandle key, std::string_view name, std::uint32_t* type,
                                     std::uint8_t* data, std::uint32_t* size) {
  Refresh();
  return cache_.QueryValue(key, name, type, data, size);
}

RegStatus SqliteRegistry::GetValue(RegHandle parent, std::string_view subKey, std::string_view name,
                                   std::uint32_t* type, std::string* data) {
  Refresh();
  return cache_.GetValue(parent, subKey, name, type, data);
}

RegStatus SqliteRegistry::SetValue(RegHandle key, std::string_view name, std::uint32_t type,
                                   const std::uint8_t* data, std::uint32_t size) {
  Refresh();
  const RegStatus rc = cache_.SetValue(key, name, type, data, size);
  if (rc != kErrorSuccess) return rc;
  RegistryOp op{
      RegistryOp::Kind::kSetValue, 0,    {},
      std::string(name),           type, std::string(reinterpret_cast<const char*>(data), data ? size : 0)};
  if (cache_.DescribeHandle(key, &op.root, &op.path)) Queue(std::move(op));
  return rc;
}

RegStatus SqliteRegistry::DeleteValue(RegHandle key, std::string_view name) {
  Refresh();
  const RegStatus rc = cache_.DeleteValue(key, name);
  if (rc != kErrorSuccess) return rc;
  RegistryOp op{RegistryOp::Kind::kDeleteValue, 0, {}, std::string(name), 0, {}};
  if (cache_.DescribeHandle(key, &op.root, &op.path)) Queue(std::move(op));
  return rc;
}

RegStatus SqliteRegistry::EnumKey(RegHandle key, std::uint32_t index, std::string* name) {
  Refresh();
  return cache_.EnumKey(key, index, name);
}

RegStatus SqliteRegistry::EnumValue(RegHandle key, std::uint32_t index, std::string* name,
                                    std::uint32_t* type, std::uint8_t* data, std::uint32_t* size) {
  Refresh();
  return cache_.EnumValue(key, index, name, type, data, size);
}

RegStatus SqliteRegistry::DeleteKey(RegHandle parent, std::string_view subKey) {
  Refresh();
  RegistryOp op = TreeDeletion(cache_, parent, subKey);
  const RegStatus rc = cache_.DeleteKey(parent, subKey);
  if (rc == kErrorSuccess) Queue(std::move(op));
  return rc;
}

RegStatus SqliteRegistry::DeleteTree(RegHandle parent, std::string_view subKey) {
  Refresh();
  RegistryOp op = TreeDeletion(cache_, parent, subKey);
  const RegStatus rc = cache_.DeleteTree(parent, subKey);
  if (rc != kErrorSuccess) return rc;
  const bool keepKey = subKey.empty();
  RegistryOp ensure{RegistryOp::Kind::kEnsureKey, op.root, op.path, {}, 0, {}};
  Queue(std::move(op));
  // Emptying a key keeps the key itself.
  if (keepKey) Queue(std::move(ensure));
  return rc;
}

bool SqliteRegistry::CanWrite(RegHandle root) const {
  if (!cache_.CanWrite(root)) return false;
  return root == kHkeyLocalMachine ? machine_->Writable() : user_->Writable();
}

void SqliteRegistry::Commit() {
  user_->Commit(cache_);
  machine_->Commit(cache_);
  checkForChanges_ = true;
}

bool SqliteRegistry::HasPendingWrites() const { return user_->HasPending() || machine_->HasPending(); }

}  // namespace orva
