#pragma once
// Reading one value of an INI file, as the profile calls of Windows do:
// section and key names with letter case ignored, the value trimmed (and
// taken out of a pair of matching quotes), at most 255 characters, and the
// empty text when the file, the section or the key is missing.

#include <string>
#include <string_view>

namespace orva {

class FileSystem;

inline constexpr std::size_t kIniValueMaxChars = 255;

// From the file's text. The text is UTF-8, or Windows-1252 when it is not
// well-formed UTF-8; the value is returned as UTF-8.
std::string ReadIniValue(std::string_view text, std::string_view section, std::string_view key);

// From the file at `path`; a file that cannot be read counts as missing.
std::string ReadIniFileValue(const FileSystem& fs, std::string_view section, std::string_view key,
                             const std::string& path);

}  // namespace orva
