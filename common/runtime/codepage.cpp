#include "common/runtime/codepage.h"

#include <array>

#include "common/runtime/utf8.h"

namespace orva {

namespace {

// 0x80..0x9F differ from Latin-1; the undefined bytes map to their own value.
constexpr std::array<char32_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 80-87
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,  // 88-8F
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90-97
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,  // 98-9F
};

bool IsUndefinedByte(char32_t c) { return c == 0x81 || c == 0x8D || c == 0x8F || c == 0x90 || c == 0x9D; }

}  // namespace

char32_t Cp1252CodePoint(unsigned char byte) {
  if (byte >= 0x80 && byte <= 0x9F) return kHighControls[byte - 0x80];
  return byte;
}

int Cp1252ByteOf(char32_t c) {
  if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return static_cast<int>(c);
  if (IsUndefinedByte(c)) return static_cast<int>(c);
  for (std::size_t i = 0; i < kHighControls.size(); ++i) {
    if (kHighControls[i] == c) return static_cast<int>(0x80 + i);
  }
  return -1;
}

std::string Utf8ToCp1252(std::string_view utf8, bool* lossy) {
  std::string out;
  out.reserve(utf8.size());
  std::size_t pos = 0;
  while (pos < utf8.size()) {
    // Runs of ASCII, the common case, are copied whole.
    std::size_t run = pos;
    while (run < utf8.size() && static_cast<unsigned char>(utf8[run]) < 0x80) ++run;
    if (run > pos) {
      out.append(utf8.substr(pos, run - pos));
      pos = run;
      continue;
    }
    // Malformed bytes decode to U+FFFD, which the code page lacks too.
    const int byte = Cp1252ByteOf(DecodeUtf8Char(utf8, pos));
    if (byte < 0) {
      out += '?';
      if (lossy) *lossy = true;
    } else {
      out += static_cast<char>(byte);
    }
  }
  return out;
}

std::string Cp1252ToUtf8(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size() + bytes.size() / 8);
  for (const char ch : bytes) {
    const unsigned char byte = static_cast<unsigned char>(ch);
    if (byte < 0x80) {
      out += ch;
    } else {
      AppendUtf8(out, Cp1252CodePoint(byte));
    }
  }
  return out;
}

bool FitsCp1252(std::string_view utf8) {
  std::size_t pos = 0;
  while (pos < utf8.size()) {
    if (static_cast<unsigned char>(utf8[pos]) < 0x80) {
      ++pos;
    } else if (Cp1252ByteOf(DecodeUtf8Char(utf8, pos)) < 0) {
      return false;
    }
  }
  return true;
}

}  // namespace orva
