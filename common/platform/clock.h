#pragma once
#include <cstdint>

namespace orva {

// Time as the program sees it. The real clock is monotonic; tests use a
// virtual clock that only moves when the test says so.
class Clock {
 public:
  virtual ~Clock() = default;
  // Milliseconds since an arbitrary fixed point; never goes back.
  virtual std::int64_t NowMs() const = 0;
};

}  // namespace orva
