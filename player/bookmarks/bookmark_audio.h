#pragma once
// Where a recalled bookmark's audio file is. A bookmark stores only the audio
// file's name, so the recall looks for it where books keep their audio:
//   1. beside the page;
//   2. in the program's "Libro" folder;
//   3. on the mounted volumes, which stand for the drive letters C to Z that
//      books made on Windows name (see common/platform/volumes.h): first the
//      volume the page's own audio names, then every volume in order; on each
//      the page's sub-folder (ROOT\CAP01\audio for a page CAP01\PAG1.HTM),
//      then ROOT\Libro\audio.
// Paths are the core's ("\" separators); existence is asked of the file
// system the window reads books through, so letter case does not matter.

#include <optional>
#include <string>
#include <string_view>

#include "common/platform/file_system.h"
#include "common/platform/volumes.h"

namespace orva {

struct BookmarkAudioQuery {
  // The page's folder, ending in "\" (the page address up to its last "\").
  std::string pageFolder;
  std::string programFolder;
  // The page's section key (CAP01\PAG1.HTM).
  std::string section;
  // The content of the page's ZUVPLAYER_AUDIO element, which may name a
  // drive ("E:\LIBRO\uno.mp3") or an absolute folder ("\media\cd\...").
  std::string pageAudio;
  // The bookmark's audio file name.
  std::string audio;
};

// The first place that holds the audio, or nothing.
std::optional<std::string> FindBookmarkAudio(const FileSystem& fs, const Volumes* volumes,
                                             const BookmarkAudioQuery& query);

}  // namespace orva
