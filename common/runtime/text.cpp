#include "common/runtime/text.h"

#include <algorithm>

#include "common/runtime/utf8.h"
#include "common/runtime/vb_error.h"

namespace orva {

namespace {

// Malformed bytes read as values past Unicode, one per byte, so they compare
// and copy as themselves.
constexpr char32_t kRawByteBase = 0x110000;

char32_t NextChar(std::string_view s, std::size_t& pos) {
  const unsigned char byte = static_cast<unsigned char>(s[pos]);
  if (byte < 0x80) {
    ++pos;
    return byte;
  }
  const std::size_t start = pos;
  const char32_t c = DecodeUtf8Char(s, pos);
  if (c == kReplacementChar && pos - start == 1) return kRawByteBase + byte;
  return c;
}

bool IsAscii(std::string_view s) {
  return std::all_of(s.begin(), s.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

// Byte offset of the character `index` characters after byte offset `from`,
// or s.size() when the text ends first; *walked (if given) gets the number of
// characters actually passed.
std::size_t AdvanceChars(std::string_view s, std::size_t from, std::size_t index,
                         std::size_t* walked = nullptr) {
  std::size_t pos = from;
  std::size_t count = 0;
  while (count < index && pos < s.size()) {
    NextChar(s, pos);
    ++count;
  }
  if (walked) *walked = count;
  return pos;
}

std::size_t CountChars(std::string_view s) {
  if (IsAscii(s)) return s.size();
  std::size_t count = 0;
  for (std::size_t pos = 0; pos < s.size(); ++count) NextChar(s, pos);
  return count;
}

char32_t UpperOf(char32_t c) {
  if (c >= 'a' && c <= 'z') return c - 0x20;
  if (c < 0xE0) return c;
  if (c <= 0xFE) return c == 0xF7 ? c : c - 0x20;
  switch (c) {
    case 0xFF: return 0x178;
    case 0x153: return 0x152;
    case 0x161: return 0x160;
    case 0x17E: return 0x17D;
    default: return c;
  }
}

char32_t LowerOf(char32_t c) {
  if (c >= 'A' && c <= 'Z') return c + 0x20;
  if (c < 0xC0) return c;
  if (c <= 0xDE) return c == 0xD7 ? c : c + 0x20;
  switch (c) {
    case 0x178: return 0xFF;
    case 0x152: return 0x153;
    case 0x160: return 0x161;
    case 0x17D: return 0x17E;
    default: return c;
  }
}

template <typename Map>
std::string MapCase(std::string_view s, Map map) {
  std::string out(s.size(), '\0');
  std::size_t pos = 0;
  // ASCII keeps its length, so it is mapped in place; the first other
  // character switches to appending.
  for (; pos < s.size() && static_cast<unsigned char>(s[pos]) < 0x80; ++pos) {
    out[pos] = static_cast<char>(map(static_cast<unsigned char>(s[pos])));
  }
  out.resize(pos);
  while (pos < s.size()) {
    const unsigned char byte = static_cast<unsigned char>(s[pos]);
    if (byte < 0x80) {
      out += static_cast<char>(map(byte));
      ++pos;
      continue;
    }
    const std::size_t start = pos;
    const char32_t c = NextChar(s, pos);
    const char32_t mapped = map(c);
    if (mapped == c) {
      out.append(s.substr(start, pos - start));
    } else {
      AppendUtf8(out, mapped);
    }
  }
  return out;
}

void RequireNonNegative(int value) {
  if (value < 0) RaiseVbError(vberr::kInvalidCall);
}

void RequirePositive(int value) {
  if (value < 1) RaiseVbError(vberr::kInvalidCall);
}

int ToInt(std::size_t n) { return static_cast<int>(n); }

}  // namespace

int Len(std::string_view s) { return ToInt(CountChars(s)); }

int InStr(int start, std::string_view s, std::string_view find) {
  RequirePositive(start);
  if (s.empty()) return 0;
  std::size_t walked = 0;
  const std::size_t from = AdvanceChars(s, 0, static_cast<std::size_t>(start - 1), &walked);
  if (walked < static_cast<std::size_t>(start - 1)) return 0;  // start beyond one past the end
  if (find.empty()) return start;
  const std::size_t found = s.find(find, from);
  if (found == std::string_view::npos) return 0;
  return start + ToInt(CountChars(s.substr(from, found - from)));
}

int InStrRev(std::string_view s, std::string_view find, int start) {
  if (start == 0 || start < -1) RaiseVbError(vberr::kInvalidCall);
  if (s.empty()) return 0;
  std::size_t walked = 0;
  std::size_t limit = s.size();
  if (start != -1) {
    limit = AdvanceChars(s, 0, static_cast<std::size_t>(start), &walked);
    if (walked < static_cast<std::size_t>(start)) return 0;
  } else {
    start = Len(s);
  }
  if (find.empty()) return start;
  if (find.size() > limit) return 0;
  const std::size_t found = s.substr(0, limit).rfind(find);
  if (found == std::string_view::npos) return 0;
  return 1 + ToInt(CountChars(s.substr(0, found)));
}

std::string Replace(std::string_view s, std::string_view find, std::string_view replacement, int start,
                    int count) {
  RequirePositive(start);
  if (count < -1) RaiseVbError(vberr::kInvalidCall);
  const std::string_view rest = s.substr(AdvanceChars(s, 0, static_cast<std::size_t>(start - 1)));
  if (find.empty() || count == 0) return std::string(rest);
  std::string out;
  out.reserve(rest.size());
  std::size_t pos = 0;
  int done = 0;
  while (count == -1 || done < count) {
    const std::size_t found = rest.find(find, pos);
    if (found == std::string_view::npos) break;
    out.append(rest.substr(pos, found - pos));
    out.append(replacement);
    pos = found + find.size();
    ++done;
  }
  out.append(rest.substr(pos));
  return out;
}

std::string Mid(std::string_view s, int start) {
  RequirePositive(start);
  return std::string(s.substr(AdvanceChars(s, 0, static_cast<std::size_t>(start - 1))));
}

std::string Mid(std::string_view s, int start, int length) {
  RequirePositive(start);
  RequireNonNegative(length);
  const std::size_t from = AdvanceChars(s, 0, static_cast<std::size_t>(start - 1));
  const std::size_t to = AdvanceChars(s, from, static_cast<std::size_t>(length));
  return std::string(s.substr(from, to - from));
}

std::string Left(std::string_view s, int length) {
  RequireNonNegative(length);
  return std::string(s.substr(0, AdvanceChars(s, 0, static_cast<std::size_t>(length))));
}

std::string Right(std::string_view s, int length) {
  RequireNonNegative(length);
  const std::size_t total = CountChars(s);
  if (static_cast<std::size_t>(length) >= total) return std::string(s);
  return std::string(s.substr(AdvanceChars(s, 0, total - static_cast<std::size_t>(length))));
}

std::string LTrim(std::string_view s) {
  const std::size_t first = s.find_first_not_of(' ');
  return first == std::string_view::npos ? std::string() : std::string(s.substr(first));
}

std::string RTrim(std::string_view s) {
  const std::size_t last = s.find_last_not_of(' ');
  return last == std::string_view::npos ? std::string() : std::string(s.substr(0, last + 1));
}

std::string Trim(std::string_view s) {
  const std::size_t first = s.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  const std::size_t last = s.find_last_not_of(' ');
  return std::string(s.substr(first, last - first + 1));
}

std::string UCase(std::string_view s) { return MapCase(s, UpperOf); }

std::string LCase(std::string_view s) { return MapCase(s, LowerOf); }

std::string AsciiUpper(std::string_view s) {
  std::string out(s);
  for (char& c : out) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return out;
}

bool AsciiEqualsNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    char x = a[i], y = b[i];
    if (x >= 'a' && x <= 'z') x = static_cast<char>(x - 'a' + 'A');
    if (y >= 'a' && y <= 'z') y = static_cast<char>(y - 'a' + 'A');
    if (x != y) return false;
  }
  return true;
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
  std::size_t i = 0;
  std::size_t j = 0;
  while (i < a.size() && j < b.size()) {
    if (UpperOf(NextChar(a, i)) != UpperOf(NextChar(b, j))) return false;
  }
  return i == a.size() && j == b.size();
}

}  // namespace orva
