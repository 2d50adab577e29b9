#include "backends/posix/listing_order.h"

#include <algorithm>
#include <cwctype>

#include <locale.h>
#include <wctype.h>

#include "common/runtime/utf8.h"

namespace orva {
namespace {

// Upper-casing must not depend on the reader's locale: a book sorts the same
// everywhere. The C.UTF-8 locale holds the Unicode simple case mappings.
locale_t CaseLocale() {
  static const locale_t locale = newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(nullptr));
  return locale;
}

char32_t Upper(char32_t c) {
  if (c < 0x80) return (c >= 'a' && c <= 'z') ? c - 0x20 : c;
  const locale_t locale = CaseLocale();
  if (!locale) return c;
  return static_cast<char32_t>(towupper_l(static_cast<wint_t>(c), locale));
}

}  // namespace

std::u16string ListingKey(const std::string& name) {
  std::u16string key;
  key.reserve(name.size());
  for (std::size_t pos = 0; pos < name.size();) {
    const char32_t c = Upper(DecodeUtf8Char(name, pos));
    if (c < 0x10000) {
      key += static_cast<char16_t>(c);
    } else {
      key += static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10));
      key += static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
    }
  }
  return key;
}

void SortLikeBookFileSystem(std::vector<std::string>& names) {
  std::vector<std::pair<std::u16string, std::string>> keyed;
  keyed.reserve(names.size());
  for (std::string& n : names) keyed.emplace_back(ListingKey(n), std::move(n));
  std::sort(keyed.begin(), keyed.end());
  for (std::size_t i = 0; i < names.size(); ++i) names[i] = std::move(keyed[i].second);
}

}  // namespace orva
