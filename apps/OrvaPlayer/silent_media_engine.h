#pragma once
// A media engine that plays nothing, for a build of the player without its
// real engine. It keeps what it is told, so the player's own logic runs as
// it would, and says once on standard error that nothing will be heard.

#include <iosfwd>

#include "player/playback/media_engine.h"

namespace orva {

// Each call makes a new engine; the first one says it is silent.
MediaEngineFactory SilentMediaEngines(std::ostream& diagnostics);

}  // namespace orva
