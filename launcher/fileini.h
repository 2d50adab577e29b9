#pragma once
// The launcher's INI reader: one value of smart.ini or orvaplayer.ini.

#include <string>
#include <string_view>

#include "common/platform/file_system.h"

namespace orva::smart {

// The value of `key` in `section` of the INI file at `path`: letter case
// ignored in both names, the value trimmed and cut to 255 characters. The
// empty text when the file, the section or the key is missing, and for a key
// present with no value.
std::string LeggiIni(const FileSystem& fs, std::string_view section, std::string_view key,
                     const std::string& path);

}  // namespace orva::smart
