#include "backends/speechd/speechd_speech.h"

#include <libspeechd.h>
#include <signal.h>

#include <cstdlib>
#include <ctime>

#include "common/automation/trace_events.h"

namespace orva {
namespace {

// libspeechd writes to its socket with write(): a server that has gone away
// would raise SIGPIPE, which ends the program. For the length of one call
// the signal is held back on this thread and then dropped.
class QuietPipe {
 public:
  QuietPipe() {
    sigemptyset(&pipe_);
    sigaddset(&pipe_, SIGPIPE);
    sigset_t pending;
    sigpending(&pending);
    wasPending_ = sigismember(&pending, SIGPIPE) == 1;
    pthread_sigmask(SIG_BLOCK, &pipe_, &previous_);
  }
  ~QuietPipe() {
    if (!wasPending_) {
      const timespec now{0, 0};
      while (sigtimedwait(&pipe_, nullptr, &now) == SIGPIPE) {
      }
    }
    pthread_sigmask(SIG_SETMASK, &previous_, nullptr);
  }
  QuietPipe(const QuietPipe&) = delete;
  QuietPipe& operator=(const QuietPipe&) = delete;

 private:
  sigset_t pipe_;
  sigset_t previous_;
  bool wasPending_ = false;
};

SPDPriority PriorityOf(SpeechPriority priority) {
  return priority == SpeechPriority::kImportant ? SPD_IMPORTANT : SPD_MESSAGE;
}

}  // namespace

struct SpeechdSpeech::Connection {
  explicit Connection(SPDConnection* c) : spd(c) {}
  ~Connection() {
    QuietPipe quiet;
    spd_close(spd);
  }
  Connection(const Connection&) = delete;
  Connection& operator=(const Connection&) = delete;
  SPDConnection* spd;
};

SpeechdSpeech::SpeechdSpeech(std::string socketPath) : socketPath_(std::move(socketPath)) {}

SpeechdSpeech::~SpeechdSpeech() = default;

bool SpeechdSpeech::Open() {
  if (connection_) return true;
  if (off_) return false;
  QuietPipe quiet;
  char* error = nullptr;
  SPDConnection* spd = nullptr;
  if (socketPath_.empty()) {
    spd = spd_open2("orvaplayer", "voce", nullptr, SPD_MODE_SINGLE, nullptr, /*autospawn=*/1, &error);
  } else {
    SPDConnectionAddress address{};
    address.method = SPD_METHOD_UNIX_SOCKET;
    address.unix_socket_name = socketPath_.data();
    spd = spd_open2("orvaplayer", "voce", nullptr, SPD_MODE_SINGLE, &address, /*autospawn=*/0, &error);
  }
  if (!spd) {
    off_ = true;
    TraceNotice(std::string("the program's voice is off: speech-dispatcher cannot be reached") +
                (error ? std::string(": ") + error : std::string()));
    std::free(error);
    return false;
  }
  std::free(error);
  connection_ = std::make_unique<Connection>(spd);
  // Without an Italian voice the synthesizer keeps its own.
  spd_set_language(spd, "it");
  return true;
}

void SpeechdSpeech::Speak(const std::string& text, SpeechPriority priority) {
  if (text.empty()) return;
  for (int attempt = 0; attempt < 2 && Open(); ++attempt) {
    {
      QuietPipe quiet;
      if (spd_say(connection_->spd, PriorityOf(priority), text.c_str()) >= 0) return;
    }
    // The server went away: one new connection (which may start it again).
    TraceNotice("the program's voice lost speech-dispatcher; connecting again");
    connection_.reset();
  }
}

void SpeechdSpeech::Cancel() {
  if (!connection_) return;
  QuietPipe quiet;
  spd_cancel(connection_->spd);
}

}  // namespace orva
