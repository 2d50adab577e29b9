#pragma once
#include <optional>
#include <string>

namespace orva {

class Environment {
 public:
  virtual ~Environment() = default;
  virtual std::optional<std::string> Get(const std::string& name) const = 0;
};

}  // namespace orva
