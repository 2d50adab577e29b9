#pragma once
// The audio of a book decoded by the player's own media engine, headless:
// each file is played to its end as fast as the engine decodes it, and
// nobody hears it. A file the engine cannot open or play through fails here
// as it would fail in the player.

#include <memory>
#include <stdexcept>

#include "common/platform/event_loop.h"
#include "player/playback/media_engine.h"
#include "tools/orvabook/book_check.h"

namespace orva::orvabook {

class EngineDecoder final : public AudioDecoder {
 public:
  // `engine` plays without sound or picture; `loop` delivers its events.
  // Throws what the factory throws when the engine cannot start.
  EngineDecoder(const MediaEngineFactory& factory, EventLoop& loop) : loop_(loop), engine_(factory()) {
    if (!engine_) throw std::runtime_error("nessun motore multimediale");
  }
  DecodeResult Decode(const std::string& hostPath) override;

 private:
  EventLoop& loop_;
  std::unique_ptr<MediaEngine> engine_;
};

}  // namespace orva::orvabook
