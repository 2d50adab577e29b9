#include "player/bookmarks/book_walk.h"

#include <limits>

#include "common/platform/host_paths.h"
#include "common/runtime/text.h"
#include "common/runtime/vb_error.h"
#include "player/bookmarks/list_line.h"
#include "player/browser/addresses.h"

namespace orva {

namespace {

std::string Join(std::string_view folder, std::string_view name) {
  std::string path(folder);
  if (!path.empty() && path.back() != '/' && path.back() != '\\') path += '/';
  path += name;
  return path;
}

}  // namespace

std::string BookFile::Section() const { return SectionKey(folder + "\\" + file, {}); }

std::string BookFile::Path(std::string_view programFolder) const {
  return JoinCorePath(programFolder, folder + "\\" + file);
}

IndexLine ReduceIndexLine(const FileSystem& fs, std::string_view programFolder, std::string line) {
  IndexLine out;
  WalkBook(fs, programFolder, [&](const BookFile& page) {
    const std::string tag = ListTag(page.number);
    if (InStr(line, tag) == 0) return WalkNext::kNextFile;
    line = Replace(line, tag, "");
    if (!out.page) out.page = page;
    return WalkNext::kNextFolder;
  });
  out.line = std::move(line);
  return out;
}

void WalkBook(const FileSystem& fs, std::string_view programFolder,
              const std::function<WalkNext(const BookFile&)>& visit) {
  std::int32_t number = 1;
  BookFile page;
  for (const std::string& folder : fs.SubFolders(std::string(programFolder))) {
    if (UCase(folder) == kIncludeFolderName) continue;
    page.folder = folder;
    for (const std::string& file : fs.Files(Join(programFolder, folder))) {
      if (number > std::numeric_limits<std::int16_t>::max()) RaiseVbError(vberr::kOverflow);
      page.file = file;
      page.number = static_cast<std::int16_t>(number);
      const WalkNext next = visit(page);
      if (next == WalkNext::kStop) return;
      if (next == WalkNext::kNextFolder) break;
      ++number;
    }
  }
}

}  // namespace orva
