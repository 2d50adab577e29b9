#include "player/browser/addresses.h"

#include "common/runtime/text.h"

namespace orva {

namespace {

// Replace that leaves the text alone when there is nothing to find, so an
// empty program folder or page address removes nothing.
std::string Remove(std::string_view s, std::string_view find) {
  if (find.empty()) return std::string(s);
  return Replace(s, find, "");
}

std::string CutBefore(std::string s, int position) { return position > 0 ? Left(s, position - 1) : s; }

}  // namespace

std::string SectionKey(std::string_view locationUrl, std::string_view programFolder) {
  std::string s = UCase(Replace(locationUrl, "%20", " "));
  s = Replace(s, "/", "\\");
  s = Remove(s, UCase(programFolder));
  s = Remove(s, "FILE:\\\\");
  s = Remove(s, "HTTP:\\\\");
  while (!s.empty() && s.front() == '\\') s.erase(0, 1);
  if (Mid(s, 2, 2) == ":\\") s = Mid(s, 4);
  if (const int html = InStr(s, ".HTML"); html > 0) s = Left(s, html + 4);
  if (const int htm = InStr(s, ".HTM"); htm > 0) s = Left(s, htm + 3);
  s = CutBefore(s, InStr(s, "?"));
  s = CutBefore(s, InStr(s, "#"));
  return s;
}

std::string CleanVideoAddress(std::string_view url, std::string_view locationUrl,
                              std::string_view locationName, std::string_view programFolder) {
  std::string s = Remove(url, locationUrl);
  const bool namesProgramFolder = InStr(s, programFolder) > 0;
  if (const int hash = InStr(s, "#"); hash > 0) s = Mid(s, hash + 1);
  if (const int query = InStr(s, "?"); query > 0) s = Mid(s, query + 1);
  if (!namesProgramFolder) s = Remove(locationUrl, locationName) + s;
  s = Replace(s, "/", "\\");
  for (int pass = 0; pass < 3; ++pass) s = Replace(s, "\\\\", "\\");
  s = Remove(s, "file:\\");
  s = Replace(s, "%20", " ");
  return Remove(s, "@");
}

std::string FileAddressToPath(std::string_view address) {
  return Replace(Replace(Remove(address, "file:///"), "/", "\\"), "%20", " ");
}

std::string SavedPagePath(std::string_view address) {
  std::string path = FileAddressToPath(address);
  if (const int query = InStrRev(path, "?"); query > 0) return Left(path, query - 1);
  return CutBefore(path, InStrRev(path, "#"));
}

std::string PageFolderAddress(std::string_view locationUrl, std::string_view locationName) {
  std::string name(locationName);
  std::string s = Remove(locationUrl, name + ".html");
  s = Remove(s, name + ".htm");
  s = Remove(s, name);
  return CutBefore(s, InStr(s, "#"));
}

}  // namespace orva
