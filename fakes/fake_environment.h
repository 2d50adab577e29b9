#pragma once
#include <map>
#include <string>

#include "common/platform/environment.h"

namespace orva::fakes {

class FakeEnvironment : public Environment {
 public:
  explicit FakeEnvironment(std::map<std::string, std::string> vars) : vars_(std::move(vars)) {}
  std::optional<std::string> Get(const std::string& name) const override {
    const auto it = vars_.find(name);
    return it == vars_.end() ? std::nullopt : std::optional(it->second);
  }

 private:
  std::map<std::string, std::string> vars_;
};

}  // namespace orva::fakes
