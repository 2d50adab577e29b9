#pragma once
// What the mpv integration tests and benchmarks share: the generated media,
// a Qt application without a screen, an event loop on it, waiting, and
// measuring sound with sox or as raw samples written to a file.

#include <QElapsedTimer>
#include <QObject>
#include <functional>
#include <map>
#include <string>

#include "backends/mpv/mpv_media_engine.h"
#include "common/platform/event_loop.h"

class QTimer;

namespace orva::mpvbackend::testing {

// The path of a generated media file (scripts/make-test-media.sh makes them
// into the build tree the first time). Throws when they cannot be made.
std::string TestMedia(const std::string& name);

// Creates the process's QApplication once, on the offscreen platform unless
// QT_QPA_PLATFORM says otherwise.
void EnsureApplication();

// Runs Qt's events until `done` is true or `timeoutMs` have passed; returns
// `done()`.
bool WaitFor(const std::function<bool()>& done, int timeoutMs);

// The main frequency of a WAV file and its length in seconds, as sox
// measures them; -1 when sox cannot read it.
struct SoundStats {
  double roughFrequency = -1;
  double lengthSeconds = -1;
};
SoundStats MeasureSound(const std::string& wavPath);

// Engine options that play as fast as the engine can, without a picture,
// writing the sound to `pcmFile` as raw mono 32-bit samples at 48 kHz.
MpvEngineOptions RawSoundToFile(const std::string& pcmFile);
inline constexpr double kRawSoundBytesPerSecond = 4.0 * 48000;

// The event loop of the player core on Qt's: one-shot QTimers.
class QtTestLoop final : public EventLoop {
 public:
  QtTestLoop() { clock_.start(); }
  std::int64_t NowMs() const override { return clock_.elapsed(); }
  TimerId StartTimer(int delayMs, std::function<void()> fire) override;
  void StopTimer(TimerId id) override;
  void DoEvents() override;
  void Sleep(int ms) override;

 private:
  QElapsedTimer clock_;
  QObject owner_;
  TimerId lastId_ = kNoTimer;
  std::map<TimerId, QTimer*> timers_;
};

}  // namespace orva::mpvbackend::testing
