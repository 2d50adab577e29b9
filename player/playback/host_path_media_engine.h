#pragma once
// The player hands its engine the file names the core builds: "\"
// separators, a file address that lost its "file:///" (home\anna\libro\a.mp3
// for /home/anna/libro/a.mp3), names in whatever letter case the book wrote.
// The file system layer maps those at its boundary; this engine does the same
// for media: it gives the engine it wraps the host's path of the file as it
// is on disk, and reports back the name it was given, so the hosts and the
// main window keep comparing and showing names as the core wrote them.

#include <functional>
#include <memory>
#include <string>

#include "player/playback/media_engine.h"

namespace orva {

// A core file name to the host's path; the name itself when it is not a path
// (an address with a scheme).
using MediaPathMapper = std::function<std::string(const std::string& coreName)>;

// The host's path of a core file name: HostPathFromCore with the real root
// folders, then resolved without regard to letter case when it exists so.
std::string HostMediaPath(const std::string& coreName);

// Makes the engines of `inner`, each wrapped so that it opens `toHost` of the
// names it is given.
MediaEngineFactory WithHostPaths(MediaEngineFactory inner, MediaPathMapper toHost = HostMediaPath);

}  // namespace orva
