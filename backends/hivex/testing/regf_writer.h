#pragma once
// Writes registry hive files ("regf") for the hive reader's tests, as the
// hive library reads hives but cannot make one: a base block and one bin of
// key, subkey-list, value-list, value and data cells. Text kinds are given
// as a hive holds them (UTF-16LE). Values above 16,344 bytes would need
// big-data cells, which this writer does not make.

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "common/runtime/utf8.h"
#include "common/settings/memory_registry.h"
#include "player/registry/hive_reader.h"
#include "player/registry/utf16.h"

namespace orva::testing {
namespace regf {

constexpr std::uint32_t kNone = 0xFFFFFFFF;

inline void Put(std::string& s, std::size_t at, std::size_t v, int bytes = 4) {
  for (int i = 0; i < bytes; ++i) s[at + i] = static_cast<char>((v >> (8 * i)) & 0xFF);
}

// The bin from its 32-byte header on: a cell's offset is where its size
// field sits, as the hive's own offsets count.
struct Bin {
  std::string bytes = std::string(0x20, '\0');
  std::uint32_t Alloc(std::size_t dataSize) {
    const auto cell = static_cast<std::uint32_t>(bytes.size());
    const std::size_t size = (4 + dataSize + 7) & ~std::size_t{7};
    bytes.append(size, '\0');
    Put(bytes, cell, static_cast<std::uint32_t>(-static_cast<std::int32_t>(size)));
    return cell;
  }
  void Set(std::uint32_t cell, std::size_t field, std::size_t v, int n = 4) {
    Put(bytes, cell + 4 + field, v, n);
  }
  void Set(std::uint32_t cell, std::size_t field, std::string_view s) {
    bytes.replace(cell + 4 + field, s.size(), s);
  }
};

// Names are stored in Latin-1 ("compressed") when they fit, else UTF-16LE.
inline std::string Name(std::string_view utf8, bool* latin1) {
  std::string out;
  for (std::size_t pos = 0; pos < utf8.size();) {
    const char32_t c = DecodeUtf8Char(utf8, pos);
    if (c > 0xFF) return *latin1 = false, Utf8ToUtf16Le(utf8);
    out += static_cast<char>(c);
  }
  return *latin1 = true, out;
}

inline std::uint32_t Key(Bin& b, const HiveKey& key, std::uint32_t parent, bool isRoot) {
  bool latin1 = false;
  const std::string name = Name(key.name, &latin1);
  const std::uint32_t nk = b.Alloc(0x4C + name.size());
  b.Set(nk, 0, "nk");
  b.Set(nk, 0x02, (isRoot ? 0x0C : 0) | (latin1 ? 0x20 : 0), 2);
  b.Set(nk, 0x10, parent);
  for (std::size_t field : {0x1C, 0x20, 0x28, 0x2C, 0x30}) b.Set(nk, field, kNone);
  b.Set(nk, 0x48, name.size(), 2);
  b.Set(nk, 0x4C, name);

  // Subkeys in the registry's order.
  std::vector<const HiveKey*> subkeys;
  for (const HiveKey& sub : key.subkeys) subkeys.push_back(&sub);
  std::sort(subkeys.begin(), subkeys.end(), [](const HiveKey* x, const HiveKey* y) {
    return FoldRegistryName(x->name) < FoldRegistryName(y->name);
  });
  std::vector<std::uint32_t> children;
  for (const HiveKey* sub : subkeys) children.push_back(Key(b, *sub, nk, false));
  b.Set(nk, 0x14, children.size());
  if (!children.empty()) {
    const std::uint32_t li = b.Alloc(4 + 4 * children.size());
    b.Set(li, 0, "li");
    b.Set(li, 2, children.size(), 2);
    for (std::size_t i = 0; i < children.size(); ++i) b.Set(li, 4 + 4 * i, children[i]);
    b.Set(nk, 0x1C, li);
  }

  std::vector<std::uint32_t> values;
  for (const HiveValue& v : key.values) {
    const std::string vname = Name(v.name, &latin1);
    const std::uint32_t vk = b.Alloc(0x14 + vname.size());
    b.Set(vk, 0, "vk");
    b.Set(vk, 0x02, vname.size(), 2);
    b.Set(vk, 0x0C, v.type);
    b.Set(vk, 0x10, latin1 && !vname.empty() ? 1 : 0, 2);
    b.Set(vk, 0x14, vname);
    if (v.data.size() <= 4) {  // up to four bytes sit in the offset field itself
      b.Set(vk, 0x04, v.data.size() | 0x80000000u);
      b.Set(vk, 0x08, v.data);
    } else {
      const std::uint32_t data = b.Alloc(v.data.size());
      b.Set(data, 0, v.data);
      b.Set(vk, 0x04, v.data.size());
      b.Set(vk, 0x08, data);
    }
    values.push_back(vk);
  }
  b.Set(nk, 0x24, values.size());
  if (!values.empty()) {
    const std::uint32_t list = b.Alloc(4 * values.size());
    for (std::size_t i = 0; i < values.size(); ++i) b.Set(list, 4 * i, values[i]);
    b.Set(nk, 0x28, list);
  }
  return nk;
}

}  // namespace regf

// The bytes of a hive whose root key holds `root`'s values and subkeys.
inline std::string WriteRegfHive(const HiveKey& root) {
  regf::Bin b;
  const std::uint32_t rootCell = regf::Key(b, root, 0, true);
  // A whole number of 4 KiB pages; the space after the cells is one free cell.
  const std::size_t used = b.bytes.size();
  std::string bin = b.bytes + std::string((used + 4095) / 4096 * 4096 - used, '\0');
  bin.replace(0, 4, "hbin");
  regf::Put(bin, 0x08, bin.size());
  if (bin.size() > used) regf::Put(bin, used, bin.size() - used);

  std::string base(4096, '\0');
  base.replace(0, 4, "regf");
  // Equal sequence numbers (closed cleanly), version 1.3, primary file,
  // direct memory load, the root cell, the bins' size, clustering 1.
  const std::pair<std::size_t, std::size_t> fields[] = {
      {0x04, 1}, {0x08, 1}, {0x14, 1}, {0x18, 3}, {0x20, 1}, {0x24, rootCell}, {0x28, bin.size()}, {0x2C, 1}};
  for (const auto& [at, v] : fields) regf::Put(base, at, v);
  std::uint32_t sum = 0;
  for (std::size_t at = 0; at < 0x1FC; at += 4)
    for (int i = 0; i < 4; ++i)
      sum ^= static_cast<std::uint32_t>(static_cast<unsigned char>(base[at + i])) << (8 * i);
  regf::Put(base, 0x1FC, sum);
  return base + bin;
}

}  // namespace orva::testing
