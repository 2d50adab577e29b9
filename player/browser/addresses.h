#pragma once
// Browser addresses turned into the names the rest of the player works with.
// Addresses and paths are handled as plain text, as the books were made for:
// "file:///" removed, "/" made "\", "%20" made a blank. The program folder is
// given as the core writes paths, with "\" separators (on Linux the folder
// /home/anna/Storia Antica reads \home\anna\Storia Antica); the file-system
// layer maps such paths to the host (common/platform/host_paths.h).

#include <string>
#include <string_view>

namespace orva {

// The section key of a page: its path inside the book in capitals, "\"
// separated, ".HTML" folded to ".HTM", without query or fragment. Stored
// data: the registry section of the page's bookmarks.
std::string SectionKey(std::string_view locationUrl, std::string_view programFolder);

// A video link's address as a file path: the page's own address removed, the
// part after "#" (then after "?") kept, joined to the page's folder unless it
// already names the program folder, separators made "\", "file:\" and every
// "@" removed, "%20" made a blank.
std::string CleanVideoAddress(std::string_view url, std::string_view locationUrl,
                              std::string_view locationName, std::string_view programFolder);

// A file address as a path: "file:///" removed, "/" made "\", "%20" made a
// blank.
std::string FileAddressToPath(std::string_view address);

// The file a saved page address stands for: as FileAddressToPath, then cut
// before its last "?", or else before its last "#".
std::string SavedPagePath(std::string_view address);

// The address of the folder of the page on view: the address with the
// location name removed (followed by ".html", then by ".htm", then alone),
// cut before its first "#". A folder only when the location name is the
// page's file name.
std::string PageFolderAddress(std::string_view locationUrl, std::string_view locationName);

}  // namespace orva
