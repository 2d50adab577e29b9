#pragma once
// A complete registry held in memory: the store of the core tests, and the
// read copy that the on-disk store keeps so that reads cost no I/O.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "common/settings/registry.h"

namespace orva {

// Case folding of key and value names: upper case, as the registry orders
// them (so "A_" sorts after "AZ"). ASCII letters and the Latin-1 letters of
// UTF-8 text are folded; other characters compare as they are.
std::string FoldRegistryName(std::string_view name);

class MemoryRegistry : public Registry {
 public:
  // Limits of the registry: a key name has at most 255 characters and no
  // zero character (87 otherwise), and keys nest at most 512 deep (161).
  static constexpr std::size_t kMaxKeyNameChars = 255;
  static constexpr int kMaxKeyDepth = 512;

  MemoryRegistry();
  ~MemoryRegistry() override;
  MemoryRegistry(const MemoryRegistry&) = delete;
  MemoryRegistry& operator=(const MemoryRegistry&) = delete;

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
  void Commit() override {}

  // Makes writes under `root` fail with 5 (a machine store the user may only
  // read).
  void SetReadOnly(RegHandle root, bool readOnly);

  // --- For a store that keeps this registry as its copy in memory. ---
  // Root and path (names as created, "\"-separated, "" for the root itself)
  // of an open handle; false for a handle that is not open or whose key was
  // deleted.
  bool DescribeHandle(RegHandle key, RegHandle* root, std::string* path) const;
  // Drops everything under `root`. Open handles stay valid and find their
  // keys again by path when those are loaded back.
  void ClearRoot(RegHandle root);
  // Loading, past the read-only guard: creates root\path with its parents,
  // and sets a value of root\path (creating the key).
  void LoadKey(RegHandle root, std::string_view path);
  void LoadValue(RegHandle root, std::string_view path, std::string_view name, std::uint32_t type,
                 std::string_view data);
  // Open handles right now (for leak checks in tests).
  std::size_t OpenHandleCount() const;

 private:
  struct Value {
    std::string name;
    std::string folded;
    std::uint32_t type = 0;
    std::string data;
  };
  struct Node {
    std::string name;    // last component as created
    std::string path;    // names from the root as created
    std::string lookup;  // root tag + folded path: the key of the path index
    Node* parent = nullptr;
    int depth = 0;
    std::vector<std::pair<std::string, std::unique_ptr<Node>>> children;  // sorted by folded name
    std::vector<Value> values;                                            // creation order
    std::unordered_map<std::string, std::size_t> valueIndex;              // folded name -> index
  };
  struct HandleEntry {
    bool open = false;
    RegHandle root = 0;
    std::string lookup;
    std::uint32_t access = 0;
    Node* node = nullptr;
    std::uint64_t generation = 0;
  };

  Node* RootNode(RegHandle root) const;
  // The node behind an open handle or a root; null with *rc set otherwise.
  Node* Resolve(RegHandle key, std::uint32_t needAccess, RegStatus* rc);
  Node* FindPath(const Node* base, std::string_view subKey);
  static RegStatus CheckNewPath(const Node* base, std::string_view subKey);
  Node* CreatePath(Node* base, std::string_view subKey, bool* created);
  RegStatus NewHandle(RegHandle root, Node* node, std::uint32_t access, RegHandle* result);
  RegHandle RootOf(const Node* node) const;
  void Unindex(Node* node);
  void RemoveNode(Node* node);
  static const Value* FindValue(const Node* node, std::string_view name);

  std::vector<std::unique_ptr<Node>> roots_;  // by root handle & 0xF
  std::unordered_map<std::string, Node*> byPath_;
  std::vector<HandleEntry> handles_;
  std::vector<std::uint32_t> freeHandles_;
  std::uint64_t generation_ = 0;  // bumped whenever keys are removed
  std::uint32_t readOnlyRoots_ = 0;
  std::string scratch_;
  const Node* lastBase_ = nullptr;
  std::string lastSubKey_;
  Node* lastNode_ = nullptr;
  std::uint64_t lastGeneration_ = 0;
};

}  // namespace orva
