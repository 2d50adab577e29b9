#include "tools/orvabook/engine_decoder.h"

namespace orva::orvabook {

namespace {

// Time to open a file; after that the decoding may take as long as the file
// plays, far more than it takes a decoder that is not stuck.
constexpr std::int64_t kOpenMs = 20000;

std::string Describe(const MediaError& error) {
  const std::string what =
      error.kind == MediaError::Kind::kUnrecognisedFormat ? "formato sconosciuto" : "il file non si apre";
  return error.detail.empty() ? what : what + " (" + error.detail + ")";
}

}  // namespace

DecodeResult EngineDecoder::Decode(const std::string& hostPath) {
  MediaEngine& engine = *engine_;
  bool opened = false;
  bool ended = false;
  DecodeResult result;
  engine.events.OpenStateChange = [&](std::int32_t state) {
    opened = opened || state == openstate::kMediaOpen;
  };
  engine.events.PlayStateChange = [&](std::int32_t state) {
    ended = ended || state == playstate::kMediaEnded;
  };
  engine.events.Error = [&](const MediaError& error) {
    if (error.kind != MediaError::Kind::kNoAudioOutput) result.error = Describe(error);
  };
  // The events of this file only: what the engine still has queued for it
  // when it is done must not reach the handlers above.
  struct Detach {
    MediaEngine& engine;
    ~Detach() { engine.events = {}; }
  } detach{engine};
  engine.SetSettingsAutoStart(true);
  engine.SetURL(hostPath);
  const std::int64_t start = loop_.NowMs();
  double seconds = 0;
  while (!ended && result.error.empty()) {
    loop_.DoEvents();
    if (opened) seconds = engine.currentMediaDuration();
    if (loop_.NowMs() - start > kOpenMs + static_cast<std::int64_t>(seconds * 1000)) {
      result.error = opened ? "la decodifica non arriva alla fine" : "il file non si apre";
      break;
    }
    if (!ended && result.error.empty()) loop_.Sleep(1);
  }
  if (result.error.empty()) result.seconds = seconds;
  try {
    engine.controlsStop();
  } catch (const std::exception&) {
    // The next file replaces this one all the same.
  }
  return result;
}

}  // namespace orva::orvabook
