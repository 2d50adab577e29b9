#pragma once
#include <cstdint>
#include <string>

namespace orva {

// The time text of on-screen messages and bookmark lines: whole seconds as
// MM:SS. Hours are dropped (3725 s reads 02:05), as readers of existing books
// are used to; negative times count as their absolute value.
std::string strtempo(std::int32_t seconds);

}  // namespace orva
