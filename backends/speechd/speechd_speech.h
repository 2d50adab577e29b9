#pragma once
// The program's own voice over speech-dispatcher (libspeechd), in Italian
// where the reader's synthesizer has an Italian voice. The connection opens
// at the first text, so a reader who never ticks the box never starts the
// speech server. When speech-dispatcher cannot be reached the voice is off
// for the rest of the run, said once in the trace; a connection that breaks
// later is opened again once.

#include <memory>
#include <string>

#include "common/platform/speech.h"

namespace orva {

class SpeechdSpeech : public Speech {
 public:
  // `socketPath`: the server's unix socket, which must be listening; empty:
  // the reader's own server (SPEECHD_ADDRESS, or the default socket),
  // started when it is not running.
  explicit SpeechdSpeech(std::string socketPath = {});
  ~SpeechdSpeech() override;
  SpeechdSpeech(const SpeechdSpeech&) = delete;
  SpeechdSpeech& operator=(const SpeechdSpeech&) = delete;

  // A message as speech-dispatcher's "message" priority, an important text
  // as "important".
  void Speak(const std::string& text, SpeechPriority priority) override;
  void Cancel() override;

 private:
  struct Connection;
  bool Open();

  std::string socketPath_;
  std::unique_ptr<Connection> connection_;
  bool off_ = false;
};

}  // namespace orva
