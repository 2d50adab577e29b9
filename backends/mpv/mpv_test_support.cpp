#include "backends/mpv/mpv_test_support.h"
#include "backends/qt/platform/testing/offscreen_application.h"

#include <QApplication>
#include <QThread>
#include <QTimer>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <stdexcept>

namespace orva::mpvbackend::testing {

std::string TestMedia(const std::string& name) {
  static const bool made = [] {
    const std::string command =
        std::string("sh '") + ORVA_MAKE_TEST_MEDIA + "' '" + ORVA_TEST_MEDIA_DIR + "' >/dev/null 2>&1";
    return std::system(command.c_str()) == 0;
  }();
  if (!made) throw std::runtime_error("scripts/make-test-media.sh failed");
  return std::string(ORVA_TEST_MEDIA_DIR) + "/" + name;
}

void EnsureApplication() {
  if (QCoreApplication::instance() != nullptr) return;
  orva::testing::OffscreenApplication();
}

bool WaitFor(const std::function<bool()>& done, int timeoutMs) {
  QElapsedTimer clock;
  clock.start();
  while (!done()) {
    if (clock.elapsed() >= timeoutMs) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 5);
  }
  return true;
}

SoundStats MeasureSound(const std::string& wavPath) {
  SoundStats stats;
  const std::string command = "sox '" + wavPath + "' -n stat 2>&1";
  std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
  if (!pipe) return stats;
  std::array<char, 256> line{};
  while (std::fgets(line.data(), line.size(), pipe.get()) != nullptr) {
    const std::string text(line.data());
    const auto colon = text.find(':');
    if (colon == std::string::npos) continue;
    const double value = std::atof(text.c_str() + colon + 1);
    if (text.rfind("Rough   frequency", 0) == 0) stats.roughFrequency = value;
    if (text.rfind("Length (seconds)", 0) == 0) stats.lengthSeconds = value;
  }
  return stats;
}

MpvEngineOptions RawSoundToFile(const std::string& pcmFile) {
  MpvEngineOptions options;
  options.embedVideo = false;
  options.extra = {{"vo", "null"},
                   {"ao", "pcm"},
                   {"ao-pcm-file", pcmFile},
                   {"ao-pcm-waveheader", "no"},
                   {"untimed", "yes"},
                   {"audio-channels", "mono"},
                   {"audio-samplerate", "48000"}};
  return options;
}

TimerId QtTestLoop::StartTimer(int delayMs, std::function<void()> fire) {
  const TimerId id = ++lastId_;
  auto* timer = new QTimer(&owner_);
  timer->setSingleShot(true);
  timers_[id] = timer;
  QObject::connect(timer, &QTimer::timeout, &owner_, [this, id, fire = std::move(fire)] {
    auto it = timers_.find(id);
    if (it == timers_.end()) return;
    it->second->deleteLater();
    timers_.erase(it);
    fire();
  });
  timer->start(delayMs < 0 ? 0 : delayMs);
  return id;
}

void QtTestLoop::StopTimer(TimerId id) {
  auto it = timers_.find(id);
  if (it == timers_.end()) return;
  it->second->stop();
  it->second->deleteLater();
  timers_.erase(it);
}

void QtTestLoop::DoEvents() { QCoreApplication::processEvents(); }

void QtTestLoop::Sleep(int ms) { QThread::msleep(static_cast<unsigned long>(ms)); }

}  // namespace orva::mpvbackend::testing
