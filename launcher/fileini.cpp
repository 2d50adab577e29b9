#include "launcher/fileini.h"

#include "common/settings/ini_file.h"

namespace orva::smart {

std::string LeggiIni(const FileSystem& fs, std::string_view section, std::string_view key,
                     const std::string& path) {
  return ReadIniFileValue(fs, section, key, path);
}

}  // namespace orva::smart
