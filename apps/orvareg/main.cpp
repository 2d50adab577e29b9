// orvareg: the registry editor of the settings store, on the real store.
#include <iostream>
#include <string>
#include <vector>

#include "backends/hivex/hivex_hive_reader.h"
#include "backends/posix/posix_file_system.h"
#include "backends/sqlite_registry/sqlite_registry.h"
#include "tools/orvareg/orvareg.h"

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  try {
    orva::SqliteRegistry registry(orva::RegistryPathsFromEnvironment(), [](const orva::RegistryFailure& f) {
      std::cerr << "orvareg: errore " << f.number << " (" << f.description << "): " << f.detail << "\n";
    });
    orva::PosixFileSystem fs;
    orva::HivexHiveReader hives;
    int code = orva::RunOrvareg(args, registry, fs, &hives, std::cout, std::cerr);
    // Writes that could not reach the disk were reported above; the command
    // did not take effect.
    if (registry.HasPendingWrites()) code = orva::kOrvaregRefused;
    return code;
  } catch (const std::exception& e) {
    std::cerr << "orvareg: " << e.what() << "\n";
    return orva::kOrvaregRefused;
  }
}
