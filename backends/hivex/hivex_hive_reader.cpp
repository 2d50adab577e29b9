#include "backends/hivex/hivex_hive_reader.h"

#include <hivex.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <memory>

namespace orva {
namespace {

struct FreeDeleter {
  void operator()(void* p) const { std::free(p); }
};
template <class T>
using Owned = std::unique_ptr<T, FreeDeleter>;

class Walker {
 public:
  explicit Walker(hive_h* h) : h_(h) {}

  bool Read(hive_node_h node, HiveKey* key, int depth) {
    if (depth > kMaxHiveDepth) return Fail("chiavi annidate troppo in profondità");
    if (++items_ > HivexHiveReader::kMaxItems) return Fail("troppe chiavi e valori");

    errno = 0;
    Owned<hive_value_h> values(hivex_node_values(h_, node));
    if (!values) return Fail("elenco dei valori illeggibile");
    for (hive_value_h* v = values.get(); *v; ++v) {
      if (++items_ > HivexHiveReader::kMaxItems) return Fail("troppe chiavi e valori");
      HiveValue value;
      Owned<char> name(hivex_value_key(h_, *v));
      if (!name) return Fail("nome di un valore illeggibile");
      value.name = name.get();
      hive_type type = hive_t_none;
      std::size_t len = 0;
      errno = 0;
      Owned<char> data(hivex_value_value(h_, *v, &type, &len));
      if (!data && len != 0) return Fail("dato di un valore illeggibile");
      value.type = static_cast<std::uint32_t>(type);
      if (data) value.data.assign(data.get(), len);
      key->values.push_back(std::move(value));
    }

    errno = 0;
    Owned<hive_node_h> children(hivex_node_children(h_, node));
    if (!children) return Fail("elenco delle sottochiavi illeggibile");
    for (hive_node_h* c = children.get(); *c; ++c) {
      HiveKey child;
      Owned<char> name(hivex_node_name(h_, *c));
      if (!name) return Fail("nome di una chiave illeggibile");
      child.name = name.get();
      if (!Read(*c, &child, depth + 1)) return false;
      key->subkeys.push_back(std::move(child));
    }
    return true;
  }

  const std::string& error() const { return error_; }

 private:
  bool Fail(const char* what) {
    error_ = what;
    if (errno != 0) {
      error_ += ": ";
      error_ += std::strerror(errno);
    }
    return false;
  }

  hive_h* h_;
  std::size_t items_ = 0;
  std::string error_;
};

}  // namespace

bool HivexHiveReader::ReadHive(const std::string& path, HiveKey* root, std::string* error) {
  errno = 0;
  hive_h* h = hivex_open(path.c_str(), 0);
  if (!h) {
    *error = "file hive non valido o danneggiato: " + path + " (" + std::strerror(errno) + ")";
    return false;
  }
  HiveKey tree;
  Walker walker(h);
  const hive_node_h top = hivex_root(h);
  const bool ok = top != 0 && walker.Read(top, &tree, 0);
  hivex_close(h);
  if (!ok) {
    *error = "file hive danneggiato: " + path + " (" +
             (walker.error().empty() ? "radice illeggibile" : walker.error()) + ")";
    return false;
  }
  *root = std::move(tree);
  return true;
}

}  // namespace orva
