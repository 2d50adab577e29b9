#pragma once
// The walk over a book's pages that gives each page its running number on
// the index page: every file of every sub-folder of the program folder
// except "INCLUDE", in the order the file system lists them (names sorted
// without regard to case), numbered from 1. Every file counts, pages or not.
//
// The index page's bookmark list tags each line with that number, and the
// recall from the index page finds the line's page by walking again, so
// both must walk through this one function: a listing and a recall made
// with different walks would send the reader to the wrong page.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "common/platform/file_system.h"

namespace orva {

inline constexpr std::string_view kIncludeFolderName = "INCLUDE";

struct BookFile {
  std::string folder;  // sub-folder name as listed
  std::string file;    // file name as listed
  std::int16_t number = 0;

  // The section the file's bookmarks are stored under: the key the page
  // itself computes when it is on view (capitals, ".HTML" folded to ".HTM"),
  // so the index page lists and recalls the bookmarks the page stored.
  std::string Section() const;
  // The file as the core writes paths, for opening the page.
  std::string Path(std::string_view programFolder) const;
};

// What the walk does after a visit.
enum class WalkNext {
  kNextFile,    // go on; the next file gets the next number
  kNextFolder,  // leave this folder; the next folder's first file gets this same number
  kStop,        // end the walk
};

// Visits the book's files in order. A folder or file listing that fails
// raises its VbError (76 for a missing folder) to the caller; a book of more
// than 32767 files raises VbError 6, as the 16-bit running number would.
void WalkBook(const FileSystem& fs, std::string_view programFolder,
              const std::function<WalkNext(const BookFile&)>& visit);

// A line of the index page's list traced back to its page by the same walk
// that numbered it: the page whose tag "-N-" the line holds, and the line
// with that tag removed. No page when no tag matches.
struct IndexLine {
  std::optional<BookFile> page;
  std::string line;
};
IndexLine ReduceIndexLine(const FileSystem& fs, std::string_view programFolder, std::string line);

}  // namespace orva
