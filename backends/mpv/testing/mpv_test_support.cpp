#include "backends/mpv/testing/mpv_test_support.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <stdexcept>

#include "backends/mpv/mpv_media_engine.h"

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

double SecondsPlayedFrom(const std::string& file, double start) {
  const std::string out = std::string(ORVA_TEST_MEDIA_DIR) + "/landing.f32";
  std::filesystem::remove(out);
  MpvEngineOptions options;
  options.embedVideo = false;
  // Raw mono 32-bit samples at 48 kHz, written as fast as the engine decodes.
  options.extra = {{"vo", "null"},
                   {"ao", "pcm"},
                   {"ao-pcm-file", out},
                   {"ao-pcm-waveheader", "no"},
                   {"untimed", "yes"},
                   {"audio-channels", "mono"},
                   {"audio-samplerate", "48000"}};
  {
    MpvMediaEngine engine(options);
    bool ended = false;
    engine.events.PlayStateChange = [&](std::int32_t s) { ended = ended || s == playstate::kMediaEnded; };
    engine.SetURL(file);
    engine.SetControlsCurrentPosition(start);
    if (!WaitFor([&] { return ended; }, 10'000)) return -1;
  }  // the engine closes the file
  return static_cast<double>(std::filesystem::file_size(out)) / (4.0 * 48000);
}

}  // namespace orva::mpvbackend::testing
