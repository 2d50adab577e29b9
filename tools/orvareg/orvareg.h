#pragma once
// orvareg, the registry editor of this system's settings store: import and
// export of registry text files, hive restore, and reading, setting and
// deleting single keys and values. Keys are written with their root name,
// as in the text files ("HKEY_CURRENT_USER\Software\...", or "HKCU\...").
//
// Exit codes: 0 success, 1 partly applied (some lines or blocks skipped),
// 2 refused (bad arguments, unreadable or rejected file, missing key).

#include <ostream>
#include <string>
#include <vector>

namespace orva {

class Registry;
class FileSystem;
class HiveReader;

inline constexpr int kOrvaregOk = 0;
inline constexpr int kOrvaregPartly = 1;
inline constexpr int kOrvaregRefused = 2;

// Runs one command (args without the program name) and commits what it
// wrote. `hives` may be null (restore is then refused).
int RunOrvareg(const std::vector<std::string>& args, Registry& registry, FileSystem& fs, HiveReader* hives,
               std::ostream& out, std::ostream& err);

// The --help text.
std::string OrvaregUsage();

}  // namespace orva
