#include "player/bookmarks/list_line.h"

#include "common/runtime/conversions.h"
#include "common/runtime/text.h"
#include "player/panels/strtempo.h"

namespace orva {

std::string ListTag(std::int32_t number) { return Replace(kListTagPattern, "%NUMERO%", CStr(number)); }

std::string ListKey(std::string_view name, std::int16_t number) {
  if (number <= 0) return std::string(name);
  return ListTag(number) + std::string(name);
}

std::string ListLine(std::int32_t seconds, std::string_view name, std::int16_t number) {
  std::string line;
  if (number > 0) line = ListTag(number);
  line += strtempo(seconds);
  line += number > 0 ? "\t-" : "\t - ";
  line += name;
  return line;
}

std::string ListLine(double position, std::string_view name, std::int16_t number) {
  return ListLine(CLng(position), name, number);
}

}  // namespace orva
