#include "player/bookmarks/bookmark_audio.h"

#include <vector>

#include "common/platform/host_paths.h"
#include "common/runtime/text.h"

namespace orva {

namespace {

bool IsDriveLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

// The volume the page's audio names: a drive letter (C the first volume, D
// the second, ...) or, for an absolute path, the volume holding it (the
// longest root that starts the path). -1 when it names none.
int NamedVolume(std::string_view pageAudio, const std::vector<std::string>& roots) {
  const std::string content = Trim(pageAudio);
  if (content.size() > 3 && content[1] == ':' && content[2] == '\\' && IsDriveLetter(content[0])) {
    const int index = AsciiUpper(content.substr(0, 1))[0] - 'C';
    return index >= 0 && index < static_cast<int>(roots.size()) ? index : -1;
  }
  if (content.empty() || content[0] != '\\') return -1;
  int best = -1;
  std::size_t bestLength = 0;
  for (std::size_t i = 0; i < roots.size(); ++i) {
    const std::string& root = roots[i];
    const bool holds = content.compare(0, root.size(), root) == 0 &&
                       (content.size() == root.size() || root.back() == '\\' || content[root.size()] == '\\');
    if (holds && root.size() >= bestLength) {
      best = static_cast<int>(i);
      bestLength = root.size();
    }
  }
  return best;
}

}  // namespace

std::optional<std::string> FindBookmarkAudio(const FileSystem& fs, const Volumes* volumes,
                                             const BookmarkAudioQuery& query) {
  const std::string beside = query.pageFolder + query.audio;
  if (fs.FileExists(beside)) return beside;
  const std::string inLibro = JoinCorePath(query.programFolder, "Libro\\" + query.audio);
  if (fs.FileExists(inLibro)) return inLibro;
  if (!volumes) return std::nullopt;

  std::vector<std::string> roots;
  for (const std::string& root : volumes->MountedRoots()) roots.push_back(CoreFolderFromHost(root));
  const int lastSlash = InStrRev(query.section, "\\");
  const std::string sub = lastSlash > 0 ? Left(query.section, lastSlash - 1) : query.section;
  auto onVolume = [&](const std::string& root) -> std::optional<std::string> {
    for (const std::string& path :
         {JoinCorePath(root, sub + "\\" + query.audio), JoinCorePath(root, "Libro\\" + query.audio)})
      if (fs.FileExists(path)) return path;
    return std::nullopt;
  };
  if (const int named = NamedVolume(query.pageAudio, roots); named >= 0)
    if (auto found = onVolume(roots[static_cast<std::size_t>(named)])) return found;
  for (const std::string& root : roots)
    if (auto found = onVolume(root)) return found;
  return std::nullopt;
}

}  // namespace orva
