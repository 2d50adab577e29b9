#pragma once
#include "common/platform/environment.h"

namespace orva {

// The process environment.
class PosixEnvironment : public Environment {
 public:
  std::optional<std::string> Get(const std::string& name) const override;
};

}  // namespace orva
