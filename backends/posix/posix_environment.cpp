#include "backends/posix/posix_environment.h"

#include <cstdlib>

namespace orva {

std::optional<std::string> PosixEnvironment::Get(const std::string& name) const {
  if (const char* value = std::getenv(name.c_str())) return std::string(value);
  return std::nullopt;
}

}  // namespace orva
