#pragma once
// For tests: the old runtime's error number that a call fails with, or 0
// when it does not fail.
#include <utility>

#include "common/runtime/vb_error.h"

namespace orva {

template <class Call>
int ErrorNumberOf(Call&& call) {
  try {
    std::forward<Call>(call)();
  } catch (const VbError& e) {
    return e.Number();
  }
  return 0;
}

}  // namespace orva
