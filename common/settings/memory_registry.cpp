#include "common/settings/memory_registry.h"

#include <algorithm>
#include <cstring>

namespace orva {
namespace {

constexpr std::uint32_t kRootSlots = 6;

void AppendFolded(std::string& out, std::string_view name) {
  const std::size_t start = out.size();
  out.append(name);
  for (std::size_t i = start; i < out.size(); ++i) {
    const auto c = static_cast<unsigned char>(out[i]);
    if (c >= 'a' && c <= 'z') {
      out[i] = static_cast<char>(c - 32);
    } else if (c == 0xC3 && i + 1 < out.size()) {
      // Latin-1 small letters U+00E0..U+00FE (but U+00F7, the division sign)
      // fold to their capitals U+00C0..U+00DE, which differ in one bit.
      const auto d = static_cast<unsigned char>(out[i + 1]);
      if (d >= 0xA0 && d <= 0xBE && d != 0xB7) out[i + 1] = static_cast<char>(d - 0x20);
      ++i;
    }
  }
}

char RootTag(RegHandle root) { return static_cast<char>('0' + (root & 0xF)); }

// Splits "a\b\c" into its names. A single trailing separator is allowed;
// an empty name anywhere else makes the path invalid.
template <class F>
bool ForEachName(std::string_view path, F&& f) {
  if (!path.empty() && path.back() == '\\') path.remove_suffix(1);
  if (path.empty()) return true;
  std::size_t start = 0;
  while (true) {
    const std::size_t end = path.find('\\', start);
    const std::string_view name = path.substr(start, end == std::string_view::npos ? path.npos : end - start);
    if (name.empty()) return false;
    if (!f(name)) return false;
    if (end == std::string_view::npos) return true;
    start = end + 1;
  }
}

}  // namespace

std::string FoldRegistryName(std::string_view name) {
  std::string out;
  AppendFolded(out, name);
  return out;
}

MemoryRegistry::MemoryRegistry() {
  roots_.resize(kRootSlots);
  for (RegHandle root :
       {kHkeyClassesRoot, kHkeyCurrentUser, kHkeyLocalMachine, kHkeyUsers, kHkeyCurrentConfig}) {
    auto node = std::make_unique<Node>();
    node->lookup = std::string(1, RootTag(root));
    byPath_[node->lookup] = node.get();
    roots_[root & 0xF] = std::move(node);
  }
}

MemoryRegistry::~MemoryRegistry() = default;

MemoryRegistry::Node* MemoryRegistry::RootNode(RegHandle root) const {
  if (!IsRootHandle(root)) return nullptr;
  return roots_[root & 0xF].get();
}

RegHandle MemoryRegistry::RootOf(const Node* node) const {
  while (node->parent) node = node->parent;
  return 0x80000000u | static_cast<RegHandle>(node->lookup[0] - '0');
}

MemoryRegistry::Node* MemoryRegistry::Resolve(RegHandle key, std::uint32_t needAccess, RegStatus* rc) {
  if (IsRootHandle(key)) return RootNode(key);
  if (key == 0 || key > handles_.size() || !handles_[key - 1].open) {
    *rc = kErrorInvalidHandle;
    return nullptr;
  }
  HandleEntry& h = handles_[key - 1];
  // A key removed since the handle was opened may have been loaded back.
  if (h.generation != generation_ || !h.node) {
    auto it = byPath_.find(h.lookup);
    h.node = it == byPath_.end() ? nullptr : it->second;
    h.generation = generation_;
  }
  if (!h.node) {
    *rc = kErrorKeyDeleted;
    return nullptr;
  }
  if ((h.access & needAccess) != needAccess) {
    *rc = kErrorAccessDenied;
    return nullptr;
  }
  return h.node;
}

MemoryRegistry::Node* MemoryRegistry::FindPath(const Node* base, std::string_view subKey) {
  // Readers ask for the same key many times in a row (every bookmark number
  // of a page): the last key found is remembered until a key is removed.
  if (lastNode_ && lastGeneration_ == generation_ && lastBase_ == base && lastSubKey_ == subKey)
    return lastNode_;
  scratch_ = base->lookup;
  const bool ok = ForEachName(subKey, [&](std::string_view name) {
    scratch_ += '\\';
    AppendFolded(scratch_, name);
    return true;
  });
  if (!ok) return nullptr;
  auto it = byPath_.find(scratch_);
  if (it == byPath_.end()) return nullptr;
  lastBase_ = base;
  lastSubKey_.assign(subKey);
  lastNode_ = it->second;
  lastGeneration_ = generation_;
  return it->second;
}

RegStatus MemoryRegistry::CheckNewPath(const Node* base, std::string_view subKey) {
  int depth = base->depth;
  RegStatus rc = kErrorSuccess;
  const bool ok = ForEachName(subKey, [&](std::string_view name) {
    std::size_t chars = 0;
    for (char c : name) chars += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    // A zero character would end the name for every caller that reads it
    // as C text.
    if (chars > kMaxKeyNameChars || name.find('\0') != std::string_view::npos) {
      rc = kErrorInvalidParameter;
      return false;
    }
    if (++depth > kMaxKeyDepth) {
      rc = kErrorBadPathname;
      return false;
    }
    return true;
  });
  return ok ? kErrorSuccess : (rc == kErrorSuccess ? kErrorBadPathname : rc);
}

MemoryRegistry::Node* MemoryRegistry::CreatePath(Node* base, std::string_view subKey, bool* created) {
  if (created) *created = false;
  if (CheckNewPath(base, subKey) != kErrorSuccess) return nullptr;
  Node* node = base;
  bool any = false;
  ForEachName(subKey, [&](std::string_view name) {
    std::string folded = FoldRegistryName(name);
    auto it = std::lower_bound(node->children.begin(), node->children.end(), folded,
                               [](const auto& child, const std::string& f) { return child.first < f; });
    if (it != node->children.end() && it->first == folded) {
      node = it->second.get();
      return true;
    }
    auto child = std::make_unique<Node>();
    child->name = std::string(name);
    child->path = node->parent ? node->path + '\\' + child->name : child->name;
    child->lookup = node->lookup + '\\' + folded;
    child->parent = node;
    child->depth = node->depth + 1;
    Node* raw = child.get();
    byPath_[raw->lookup] = raw;
    node->children.insert(it, {std::move(folded), std::move(child)});
    node = raw;
    any = true;
    return true;
  });
  if (created) *created = any;
  return node;
}

RegStatus MemoryRegistry::NewHandle(RegHandle root, Node* node, std::uint32_t access, RegHandle* result) {
  std::uint32_t slot;
  if (!freeHandles_.empty()) {
    slot = freeHandles_.back();
    freeHandles_.pop_back();
  } else {
    handles_.emplace_back();
    slot = static_cast<std::uint32_t>(handles_.size() - 1);
  }
  HandleEntry& h = handles_[slot];
  h.open = true;
  h.root = root;
  h.lookup = node->lookup;
  h.access = access;
  h.node = node;
  h.generation = generation_;
  if (result) *result = slot + 1;
  return kErrorSuccess;
}

RegStatus MemoryRegistry::OpenKey(RegHandle parent, std::string_view subKey, std::uint32_t access,
                                  RegHandle* result) {
  RegStatus rc = kErrorSuccess;
  Node* base = Resolve(parent, 0, &rc);
  if (!base) return rc;
  Node* node = FindPath(base, subKey);
  if (!node) return kErrorFileNotFound;
  return NewHandle(RootOf(node), node, access, result);
}

RegStatus MemoryRegistry::CreateKey(RegHandle parent, std::string_view subKey, RegHandle* result,
                                    bool* created) {
  RegStatus rc = kErrorSuccess;
  Node* base = Resolve(parent, kKeyCreateSubKey, &rc);
  if (!base) return rc;
  const RegHandle root = RootOf(base);
  if (!CanWrite(root)) return kErrorAccessDenied;
  if (const RegStatus bad = CheckNewPath(base, subKey); bad != kErrorSuccess) return bad;
  Node* node = CreatePath(base, subKey, created);
  return NewHandle(root, node, kKeyAllAccess, result);
}

RegStatus MemoryRegistry::CloseKey(RegHandle key) {
  if (IsRootHandle(key)) return kErrorSuccess;
  if (key == 0 || key > handles_.size() || !handles_[key - 1].open) return kErrorInvalidHandle;
  HandleEntry& h = handles_[key - 1];
  h = HandleEntry{};
  freeHandles_.push_back(key - 1);
  return kErrorSuccess;
}

const MemoryRegistry::Value* MemoryRegistry::FindValue(const Node* node, std::string_view name) {
  if (node->values.empty()) return nullptr;
  auto it = node->valueIndex.find(FoldRegistryName(name));
  return it == node->valueIndex.end() ? nullptr : &node->values[it->second];
}

namespace {
RegStatus CopyOut(const std::string& bytes, std::uint8_t* data, std::uint32_t* size) {
  const auto needed = static_cast<std::uint32_t>(bytes.size());
  if (data) {
    if (!size || *size < needed) {
      if (size) *size = needed;
      return kErrorMoreData;
    }
    if (needed) std::memcpy(data, bytes.data(), needed);
  }
  if (size) *size = needed;
  return kErrorSuccess;
}
}  // namespace

RegStatus MemoryRegistry::QueryValue(RegHandle key, std::string_view name, std::uint32_t* type,
                                     std::uint8_t* data, std::uint32_t* size) {
  RegStatus rc = kErrorSuccess;
  Node* node = Resolve(key, kKeyQueryValue, &rc);
  if (!node) return rc;
  const Value* v = FindValue(node, name);
  if (!v) return kErrorFileNotFound;
  if (type) *type = v->type;
  return CopyOut(v->data, data, size);
}

RegStatus MemoryRegistry::GetValue(RegHandle parent, std::string_view subKey, std::string_view name,
                                   std::uint32_t* type, std::string* data) {
  RegStatus rc = kErrorSuccess;
  Node* base = Resolve(parent, 0, &rc);
  if (!base) return rc;
  Node* node = FindPath(base, subKey);
  if (!node) return kErrorFileNotFound;
  if (node->values.empty()) return kErrorFileNotFound;
  scratch_.clear();
  AppendFolded(scratch_, name);
  auto it = node->valueIndex.find(scratch_);
  if (it == node->valueIndex.end()) return kErrorFileNotFound;
  const Value& v = node->values[it->second];
  if (type) *type = v.type;
  if (data) *data = v.data;
  return kErrorSuccess;
}

RegStatus MemoryRegistry::SetValue(RegHandle key, std::string_view name, std::uint32_t type,
                                   const std::uint8_t* data, std::uint32_t size) {
  RegStatus rc = kErrorSuccess;
  Node* node = Resolve(key, kKeySetValue, &rc);
  if (!node) return rc;
  if (!CanWrite(RootOf(node))) return kErrorAccessDenied;
  if (!data && size) return kErrorInvalidParameter;
  std::string bytes(reinterpret_cast<const char*>(data), data ? size : 0);
  std::string folded = FoldRegistryName(name);
  auto it = node->valueIndex.find(folded);
  if (it != node->valueIndex.end()) {
    Value& v = node->values[it->second];
    v.type = type;
    v.data = std::move(bytes);
    return kErrorSuccess;
  }
  node->valueIndex.emplace(folded, node->values.size());
  node->values.push_back(Value{std::string(name), std::move(folded), type, std::move(bytes)});
  return kErrorSuccess;
}

RegStatus MemoryRegistry::DeleteValue(RegHandle key, std::string_view name) {
  RegStatus rc = kErrorSuccess;
  Node* node = Resolve(key, kKeySetValue, &rc);
  if (!node) return rc;
  if (!CanWrite(RootOf(node))) return kErrorAccessDenied;
  auto it = node->valueIndex.find(FoldRegistryName(name));
  if (it == node->valueIndex.end()) return kErrorFileNotFound;
  node->values.erase(node->values.begin() + static_cast<std::ptrdiff_t>(it->second));
  node->valueIndex.clear();
  for (std::size_t i = 0; i < node->values.size(); ++i) node->valueIndex.emplace(node->values[i].folded, i);
  return kErrorSuccess;
}

RegStatus MemoryRegistry::EnumKey(RegHandle key, std::uint32_t index, std::string* name) {
  RegStatus rc = kErrorSuccess;
  Node* node = Resolve(key, kKeyEnumerateSubKeys, &rc);
  if (!node) return rc;
  if (index >= node->children.size()) return kErrorNoMoreItems;
  if (name) *name = node->children[index].second->name;
  return kErrorSuccess;
}

RegStatus MemoryRegistry::EnumValue(RegHandle key, std::uint32_t index, std::string* name,
                                    std::uint32_t* type, std::uint8_t* data, std::uint32_t* size) {
  RegStatus rc = kErrorSuccess;
  Node* node = Resolve(key, kKeyQueryValue, &rc);
  if (!node) return rc;
  if (index >= node->values.size()) return kErrorNoMoreItems;
  const Value& v = node->values[index];
  if (name) *name = v.name;
  if (type) *type = v.type;
  return CopyOut(v.data, data, size);
}

void MemoryRegistry::Unindex(Node* node) {
  byPath_.erase(node->lookup);
  for (auto& child : node->children) Unindex(child.second.get());
}

void MemoryRegistry::RemoveNode(Node* node) {
  Unindex(node);
  Node* parent = node->parent;
  auto& siblings = parent->children;
  siblings.erase(std::find_if(siblings.begin(), siblings.end(),
                              [&](const auto& child) { return child.second.get() == node; }));
  ++generation_;
}

RegStatus MemoryRegistry::DeleteKey(RegHandle parent, std::string_view subKey) {
  RegStatus rc = kErrorSuccess;
  Node* base = Resolve(parent, 0, &rc);
  if (!base) return rc;
  Node* node = FindPath(base, subKey);
  if (!node) return kErrorFileNotFound;
  if (!node->parent || !CanWrite(RootOf(node))) return kErrorAccessDenied;
  if (!node->children.empty()) return kErrorAccessDenied;
  RemoveNode(node);
  return kErrorSuccess;
}

RegStatus MemoryRegistry::DeleteTree(RegHandle parent, std::string_view subKey) {
  RegStatus rc = kErrorSuccess;
  Node* base = Resolve(parent, 0, &rc);
  if (!base) return rc;
  Node* node = FindPath(base, subKey);
  if (!node) return kErrorFileNotFound;
  if (!CanWrite(RootOf(node))) return kErrorAccessDenied;
  if (subKey.empty() || !node->parent) {
    for (auto& child : node->children) Unindex(child.second.get());
    node->children.clear();
    node->values.clear();
    node->valueIndex.clear();
    ++generation_;
    return kErrorSuccess;
  }
  RemoveNode(node);
  return kErrorSuccess;
}

bool MemoryRegistry::CanWrite(RegHandle root) const {
  return IsRootHandle(root) && (readOnlyRoots_ & (1u << (root & 0xF))) == 0;
}

void MemoryRegistry::SetReadOnly(RegHandle root, bool readOnly) {
  const std::uint32_t bit = 1u << (root & 0xF);
  readOnlyRoots_ = readOnly ? (readOnlyRoots_ | bit) : (readOnlyRoots_ & ~bit);
}

bool MemoryRegistry::DescribeHandle(RegHandle key, RegHandle* root, std::string* path) const {
  const Node* node = nullptr;
  if (IsRootHandle(key)) {
    node = RootNode(key);
  } else if (key != 0 && key <= handles_.size() && handles_[key - 1].open) {
    const HandleEntry& h = handles_[key - 1];
    if (h.generation == generation_ && h.node) {
      node = h.node;
    } else {
      auto it = byPath_.find(h.lookup);
      node = it == byPath_.end() ? nullptr : it->second;
    }
  }
  if (!node) return false;
  if (root) *root = RootOf(node);
  if (path) *path = node->path;
  return true;
}

void MemoryRegistry::ClearRoot(RegHandle root) {
  Node* node = RootNode(root);
  if (!node) return;
  for (auto& child : node->children) Unindex(child.second.get());
  node->children.clear();
  node->values.clear();
  node->valueIndex.clear();
  ++generation_;
}

void MemoryRegistry::LoadKey(RegHandle root, std::string_view path) {
  if (Node* base = RootNode(root)) CreatePath(base, path, nullptr);
}

void MemoryRegistry::LoadValue(RegHandle root, std::string_view path, std::string_view name,
                               std::uint32_t type, std::string_view data) {
  Node* base = RootNode(root);
  if (!base) return;
  Node* node = CreatePath(base, path, nullptr);
  if (!node) return;
  std::string folded = FoldRegistryName(name);
  auto it = node->valueIndex.find(folded);
  if (it != node->valueIndex.end()) {
    node->values[it->second].type = type;
    node->values[it->second].data = std::string(data);
    return;
  }
  node->valueIndex.emplace(folded, node->values.size());
  node->values.push_back(Value{std::string(name), std::move(folded), type, std::string(data)});
}

std::size_t MemoryRegistry::OpenHandleCount() const {
  return static_cast<std::size_t>(
      std::count_if(handles_.begin(), handles_.end(), [](const HandleEntry& h) { return h.open; }));
}

}  // namespace orva
