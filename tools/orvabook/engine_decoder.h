#pragma once
// The audio of a book decoded by the player's own media engine, headless:
// each file is played to its end as fast as the engine decodes it, and
// nobody hears it. A file the engine cannot open or play through fails here
// as it would fail in the player.

#include <memory>

#include "common/platform/event_loop.h"
#include "player/playback/media_engine.h"
#include "tools/orvabook/book_check.h"

namespace orva::orvabook {

class EngineDecoder final : public AudioDecoder {
 public:
  // `factory` makes an engine without sound or picture; `loop` delivers its
  // events.
  EngineDecoder(MediaEngineFactory factory, EventLoop& loop) : factory_(std::move(factory)), loop_(loop) {}
  DecodeResult Decode(const std::string& hostPath) override;

 private:
  MediaEngineFactory factory_;
  EventLoop& loop_;
  std::unique_ptr<MediaEngine> engine_;
};

}  // namespace orva::orvabook
