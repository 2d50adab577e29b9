#include "backends/hivex/testing/regf_writer.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "common/runtime/utf8.h"
#include "common/settings/memory_registry.h"
#include "player/registry/utf16.h"

namespace orva {
namespace {

constexpr std::uint32_t kNone = 0xFFFFFFFF;
constexpr std::size_t kBinHeader = 0x20;
constexpr std::size_t kMaxInlineData = 16344;

class Builder {
 public:
  // Allocates a cell of `dataSize` bytes; returns its offset from the start
  // of the bins (where the cell's size field sits).
  std::uint32_t Alloc(std::size_t dataSize) {
    const auto offset = static_cast<std::uint32_t>(kBinHeader + cells_.size());
    const std::size_t size = (4 + dataSize + 7) & ~std::size_t{7};
    cells_.append(size, '\0');
    Put32(offset, static_cast<std::uint32_t>(-static_cast<std::int32_t>(size)));
    return offset;
  }
  // Field access inside a cell's data (after its size field).
  void Put16(std::uint32_t cell, std::size_t field, std::uint16_t v) {
    for (int i = 0; i < 2; ++i) At(cell + 4 + field + i) = static_cast<char>((v >> (8 * i)) & 0xFF);
  }
  void Put32(std::uint32_t cell, std::size_t field, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) At(cell + 4 + field + i) = static_cast<char>((v >> (8 * i)) & 0xFF);
  }
  void PutBytes(std::uint32_t cell, std::size_t field, std::string_view bytes) {
    std::copy(bytes.begin(), bytes.end(),
              cells_.begin() + static_cast<std::ptrdiff_t>(cell - kBinHeader + 4 + field));
  }
  const std::string& cells() const { return cells_; }

 private:
  void Put32(std::uint32_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) At(at + i) = static_cast<char>((v >> (8 * i)) & 0xFF);
  }
  char& At(std::size_t offset) { return cells_[offset - kBinHeader]; }
  std::string cells_;
};

// Names are stored in Latin-1 ("compressed") when they fit, else UTF-16LE.
bool ToLatin1(std::string_view utf8, std::string* out) {
  out->clear();
  for (std::size_t pos = 0; pos < utf8.size();) {
    const char32_t c = DecodeUtf8Char(utf8, pos);
    if (c > 0xFF) return false;
    *out += static_cast<char>(c);
  }
  return true;
}

std::uint32_t WriteKey(Builder& b, const HiveKey& key, std::uint32_t parent, bool isRoot) {
  std::string name;
  const bool compressed = ToLatin1(key.name, &name);
  if (!compressed) name = Utf8ToUtf16Le(key.name);
  const std::uint32_t nk = b.Alloc(0x4C + name.size());
  b.PutBytes(nk, 0, "nk");
  b.Put16(nk, 0x02, static_cast<std::uint16_t>((isRoot ? 0x0C : 0) | (compressed ? 0x20 : 0)));
  b.Put32(nk, 0x10, parent);
  b.Put32(nk, 0x2C, kNone);
  b.Put32(nk, 0x30, kNone);
  b.Put16(nk, 0x48, static_cast<std::uint16_t>(name.size()));
  b.PutBytes(nk, 0x4C, name);

  // Subkeys, sorted as the registry keeps them.
  std::vector<const HiveKey*> subkeys;
  for (const HiveKey& sub : key.subkeys) subkeys.push_back(&sub);
  std::sort(subkeys.begin(), subkeys.end(), [](const HiveKey* x, const HiveKey* y) {
    return FoldRegistryName(x->name) < FoldRegistryName(y->name);
  });
  std::vector<std::uint32_t> children;
  std::size_t longestSubkey = 0;
  for (const HiveKey* sub : subkeys) {
    children.push_back(WriteKey(b, *sub, nk, false));
    longestSubkey = std::max(longestSubkey, Utf8ToUtf16Le(sub->name).size());
  }
  b.Put32(nk, 0x14, static_cast<std::uint32_t>(children.size()));
  b.Put32(nk, 0x1C, kNone);
  b.Put32(nk, 0x20, kNone);
  if (!children.empty()) {
    const std::uint32_t li = b.Alloc(4 + 4 * children.size());
    b.PutBytes(li, 0, "li");
    b.Put16(li, 2, static_cast<std::uint16_t>(children.size()));
    for (std::size_t i = 0; i < children.size(); ++i) b.Put32(li, 4 + 4 * i, children[i]);
    b.Put32(nk, 0x1C, li);
  }

  std::vector<std::uint32_t> values;
  std::size_t longestName = 0, largestData = 0;
  for (const HiveValue& v : key.values) {
    if (v.data.size() > kMaxInlineData) throw std::invalid_argument("value too large for a fixture hive");
    std::string vname;
    const bool vcompressed = ToLatin1(v.name, &vname);
    if (!vcompressed) vname = Utf8ToUtf16Le(v.name);
    const std::uint32_t vk = b.Alloc(0x14 + vname.size());
    b.PutBytes(vk, 0, "vk");
    b.Put16(vk, 0x02, static_cast<std::uint16_t>(vname.size()));
    b.Put32(vk, 0x0C, v.type);
    b.Put16(vk, 0x10, vcompressed && !vname.empty() ? 1 : 0);
    b.PutBytes(vk, 0x14, vname);
    if (v.data.size() <= 4) {
      // Up to four bytes sit in the offset field itself.
      b.Put32(vk, 0x04, static_cast<std::uint32_t>(v.data.size()) | 0x80000000u);
      b.PutBytes(vk, 0x08, v.data);
    } else {
      const std::uint32_t data = b.Alloc(v.data.size());
      b.PutBytes(data, 0, v.data);
      b.Put32(vk, 0x04, static_cast<std::uint32_t>(v.data.size()));
      b.Put32(vk, 0x08, data);
    }
    values.push_back(vk);
    longestName = std::max(longestName, Utf8ToUtf16Le(v.name).size());
    largestData = std::max(largestData, v.data.size());
  }
  b.Put32(nk, 0x24, static_cast<std::uint32_t>(values.size()));
  b.Put32(nk, 0x28, kNone);
  if (!values.empty()) {
    const std::uint32_t list = b.Alloc(4 * values.size());
    for (std::size_t i = 0; i < values.size(); ++i) b.Put32(list, 4 * i, values[i]);
    b.Put32(nk, 0x28, list);
  }
  b.Put32(nk, 0x34, static_cast<std::uint32_t>(longestSubkey));
  b.Put32(nk, 0x3C, static_cast<std::uint32_t>(longestName));
  b.Put32(nk, 0x40, static_cast<std::uint32_t>(largestData));
  return nk;
}

void Put32At(std::string& s, std::size_t at, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) s[at + i] = static_cast<char>((v >> (8 * i)) & 0xFF);
}

std::uint32_t Get32At(const std::string& s, std::size_t at) {
  std::uint32_t v = 0;
  for (int i = 0; i < 4; ++i)
    v |= static_cast<std::uint32_t>(static_cast<unsigned char>(s[at + i])) << (8 * i);
  return v;
}

}  // namespace

std::string WriteRegfHive(const HiveKey& root) {
  Builder b;
  const std::uint32_t rootCell = WriteKey(b, root, 0, true);

  // One bin, a whole number of 4 KiB pages; the space after the cells is
  // one free cell.
  const std::size_t used = kBinHeader + b.cells().size();
  const std::size_t binSize = (used + 4095) / 4096 * 4096;
  std::string bin(binSize, '\0');
  std::copy(b.cells().begin(), b.cells().end(), bin.begin() + kBinHeader);
  bin.replace(0, 4, "hbin");
  Put32At(bin, 0x04, 0);
  Put32At(bin, 0x08, static_cast<std::uint32_t>(binSize));
  if (binSize > used) Put32At(bin, used, static_cast<std::uint32_t>(binSize - used));

  std::string base(4096, '\0');
  base.replace(0, 4, "regf");
  Put32At(base, 0x04, 1);  // sequence numbers equal: the hive was closed cleanly
  Put32At(base, 0x08, 1);
  Put32At(base, 0x14, 1);  // version 1.3
  Put32At(base, 0x18, 3);
  Put32At(base, 0x1C, 0);  // primary file
  Put32At(base, 0x20, 1);  // direct memory load
  Put32At(base, 0x24, rootCell);
  Put32At(base, 0x28, static_cast<std::uint32_t>(binSize));
  Put32At(base, 0x2C, 1);
  std::uint32_t sum = 0;
  for (std::size_t at = 0; at < 0x1FC; at += 4) sum ^= Get32At(base, at);
  if (sum == 0xFFFFFFFF) sum = 0xFFFFFFFE;
  if (sum == 0) sum = 1;
  Put32At(base, 0x1FC, sum);
  return base + bin;
}

}  // namespace orva
