#pragma once
// Where the settings store lives on this machine.

#include <string>

namespace orva {

class Environment;

struct RegistryPaths {
  // HKEY_CURRENT_USER and the other per-user roots.
  std::string userFile;
  // HKEY_LOCAL_MACHINE.
  std::string machineFile;
};

// The user's store is $ORVA_REGISTRY_DIR/registry.sqlite, else
// $XDG_CONFIG_HOME/orvaplayer/registry.sqlite (an unset or relative
// XDG_CONFIG_HOME means ~/.config). The machine's store is
// $ORVA_MACHINE_REGISTRY, else /var/lib/orvaplayer/machine-registry.sqlite.
// With no Environment the process environment is read.
RegistryPaths RegistryPathsFromEnvironment(const Environment* env = nullptr);

}  // namespace orva
