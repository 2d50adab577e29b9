#pragma once
// The texts of the bookmark list. On an ordinary page a line reads
//   01:23 <TAB> " - " name
// and is keyed by the bare name. On the book's index page, which lists the
// bookmarks of every page, the page's running number N tags both:
//   "-N-" 01:23 <TAB> "-" name      keyed "-N-" name
// so that two pages may hold bookmarks of the same name, and the recall can
// tell from the line which page it belongs to.

#include <cstdint>
#include <string>
#include <string_view>

namespace orva {

inline constexpr std::string_view kListTagPattern = "-%NUMERO%-";

// "-N-" for the page numbered N on the index page.
std::string ListTag(std::int32_t number);
// The key of a bookmark in the in-memory lists; `number` 0 for an ordinary
// page.
std::string ListKey(std::string_view name, std::int16_t number);
// The list line of a bookmark at `seconds` (whole seconds).
std::string ListLine(std::int32_t seconds, std::string_view name, std::int16_t number);
// The line of a stored position: the position rounded half to even to
// whole seconds. A position beyond the 32-bit range raises VbError 6.
std::string ListLine(double position, std::string_view name, std::int16_t number);

}  // namespace orva
