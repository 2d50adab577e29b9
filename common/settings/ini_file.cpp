#include "common/settings/ini_file.h"

#include "common/platform/file_system.h"
#include "common/runtime/codepage.h"
#include "common/runtime/text.h"

namespace orva {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f'; }

std::string_view Trim(std::string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

bool IsUtf8(std::string_view s) {
  for (std::size_t i = 0; i < s.size();) {
    const auto c = static_cast<unsigned char>(s[i]);
    const std::size_t n = c < 0x80 ? 1 : (c >> 5) == 6 ? 2 : (c >> 4) == 14 ? 3 : (c >> 3) == 30 ? 4 : 0;
    if (n == 0 || i + n > s.size()) return false;
    for (std::size_t k = 1; k < n; ++k)
      if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) return false;
    i += n;
  }
  return true;
}

// The first `max` characters of UTF-8 text.
std::string_view CutChars(std::string_view s, std::size_t max) {
  std::size_t chars = 0;
  for (std::size_t i = 0; i < s.size(); ++i) {
    if ((static_cast<unsigned char>(s[i]) & 0xC0) == 0x80) continue;
    if (chars++ == max) return s.substr(0, i);
  }
  return s;
}

std::string Lookup(std::string_view text, std::string_view section, std::string_view key) {
  section = Trim(section);
  key = Trim(key);
  bool inSection = false;
  while (!text.empty()) {
    std::size_t end = text.find_first_of("\r\n");
    std::string_view line = Trim(text.substr(0, end));
    text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    if (line.empty() || line.front() == ';') continue;
    if (line.front() == '[') {
      const std::size_t close = line.find(']');
      const std::string_view name =
          Trim(line.substr(1, close == std::string_view::npos ? line.npos : close - 1));
      // Only the first section of a name counts.
      if (inSection) return {};
      inSection = AsciiEqualsNoCase(name, section);
      continue;
    }
    if (!inSection) continue;
    const std::size_t eq = line.find('=');
    if (eq == std::string_view::npos || !AsciiEqualsNoCase(Trim(line.substr(0, eq)), key)) continue;
    std::string_view value = Trim(line.substr(eq + 1));
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
      value = value.substr(1, value.size() - 2);
    return std::string(value);
  }
  return {};
}

}  // namespace

std::string ReadIniValue(std::string_view text, std::string_view section, std::string_view key) {
  if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
  std::string converted;
  if (!IsUtf8(text)) {
    converted = Cp1252ToUtf8(text);
    text = converted;
  }
  const std::string value = Lookup(text, section, key);
  return std::string(CutChars(value, kIniValueMaxChars));
}

std::string ReadIniFileValue(const FileSystem& fs, std::string_view section, std::string_view key,
                             const std::string& path) {
  std::string text;
  try {
    if (!fs.FileExists(path)) return {};
    text = fs.ReadText(path);
  } catch (...) {
    return {};
  }
  return ReadIniValue(text, section, key);
}

}  // namespace orva
