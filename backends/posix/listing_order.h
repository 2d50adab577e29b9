#pragma once
// The order in which the books' file system lists a folder: names upper-cased
// and compared by their UTF-16 code units. Books number their chapters and
// pages in names, and the reading order the reader hears follows this order,
// not the order a Linux file system happens to keep.

#include <string>
#include <vector>

namespace orva {

// Sorts UTF-8 names in place. Names equal once upper-cased (possible on Linux
// only) keep a fixed order by their bytes.
void SortLikeBookFileSystem(std::vector<std::string>& names);

// The key the order compares: the upper-cased name as UTF-16 code units.
std::u16string ListingKey(const std::string& name);

}  // namespace orva
