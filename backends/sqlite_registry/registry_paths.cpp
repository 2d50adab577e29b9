#include "backends/sqlite_registry/registry_paths.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <optional>

#include "common/platform/environment.h"

namespace orva {
namespace {

std::string Get(const Environment* env, const char* name) {
  if (env) return env->Get(name).value_or(std::string());
  const char* value = std::getenv(name);
  return value ? value : "";
}

std::string HomeFolder(const Environment* env) {
  std::string home = Get(env, "HOME");
  if (!home.empty()) return home;
  if (const passwd* pw = getpwuid(getuid()); pw && pw->pw_dir) return pw->pw_dir;
  return "/tmp";
}

}  // namespace

RegistryPaths RegistryPathsFromEnvironment(const Environment* env) {
  RegistryPaths paths;
  std::string folder = Get(env, "ORVA_REGISTRY_DIR");
  if (folder.empty()) {
    std::string config = Get(env, "XDG_CONFIG_HOME");
    if (config.empty() || config.front() != '/') config = HomeFolder(env) + "/.config";
    folder = config + "/orvaplayer";
  }
  paths.userFile = folder + "/registry.sqlite";
  paths.machineFile = Get(env, "ORVA_MACHINE_REGISTRY");
  if (paths.machineFile.empty()) paths.machineFile = "/var/lib/orvaplayer/machine-registry.sqlite";
  return paths;
}

}  // namespace orva
