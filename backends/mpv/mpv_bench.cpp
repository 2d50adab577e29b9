// Playback through the real engine, as the main window drives it.
//
// Handoff/*: from giving a file to the host (FileName) until the engine
// reports playing. Target: 50 ms.
// SeekLanding/*: where playback really starts when the position is set right
// after the file is given, as the main window sets it, measured on the sound
// written by ao=pcm: the output of a start at x is shorter than the output
// of a start at 0 by exactly x when the seek lands. Counters: landing_ms_*,
// the worst and mean distance from x, and the spread of (landing - x) over
// the targets, which is 0 when every seek lands the same way. Target: 50 ms.
// PositionReadback/*: a seek while playing, read back 300 ms later against
// the time that passed (error_ms_*: mean and worst distance, mean signed
// difference, which includes the output's restart latency).

#include <benchmark/benchmark.h>

#include <QElapsedTimer>
#include <algorithm>
#include <cmath>
#include <vector>

#include "backends/mpv/mpv_media_engine.h"
#include "backends/mpv/testing/mpv_test_support.h"
#include "backends/qt/platform/qt_event_loop.h"
#include "backends/qt/platform/testing/offscreen_application.h"
#include "fakes/recording_dialogs.h"
#include "player/panels/mdlMain.h"
#include "player/playback/oMoxPlayer.h"

namespace orva::mpvbackend::testing {
namespace {

struct Rig {
  QtEventLoop loop;
  fakes::RecordingDialogs dialogs;
  MdlMain report{dialogs, nullptr};
  oMoxPlayer player{loop, report, MakeMpvEngineFactory(MpvEngineOptions::Headless(false))};
  bool playing = false;

  Rig() {
    player.SetVersione(1);
    MediaEngine& engine = player.CurrentPlayer()->WMP();
    auto host = engine.events.PlayStateChange;
    engine.events.PlayStateChange = [this, host](std::int32_t state) {
      if (state == playstate::kPlaying) playing = true;
      host(state);
    };
  }
};

void Handoff(benchmark::State& state, const char* file) {
  orva::testing::OffscreenApplication();
  Rig rig;
  const std::string path = TestMedia(file);
  for (auto _ : state) {
    rig.playing = false;
    QElapsedTimer clock;
    clock.start();
    rig.player.SetFileName(path);
    rig.player.Play_Player();
    if (!WaitFor([&] { return rig.playing; }, 5'000)) state.SkipWithError("never played");
    state.SetIterationTime(static_cast<double>(clock.nsecsElapsed()) / 1e9);
    rig.player.Stop_Player();
  }
  if (!rig.dialogs.ErrorReports().empty()) state.SkipWithError("error reported");
}

void SeekLanding(benchmark::State& state, const char* file) {
  orva::testing::OffscreenApplication();
  const std::string path = TestMedia(file);
  const double whole = SecondsPlayedFrom(path, 0);
  std::vector<double> offsets;
  double target = 0.3;
  for (auto _ : state) {
    target = std::fmod(target + 1.37, 7.0) + 0.25;
    const double played = SecondsPlayedFrom(path, target);
    if (played < 0) state.SkipWithError("never ended");
    offsets.push_back((whole - played) - target);
  }
  double worst = 0, sum = 0;
  for (double o : offsets) {
    worst = std::max(worst, std::abs(o));
    sum += std::abs(o);
  }
  const auto [lo, hi] = std::minmax_element(offsets.begin(), offsets.end());
  state.counters["landing_ms_max"] = 1000 * worst;
  state.counters["landing_ms_mean"] = offsets.empty() ? 0 : 1000 * sum / static_cast<double>(offsets.size());
  state.counters["landing_ms_spread"] = offsets.empty() ? 0 : 1000 * (*hi - *lo);
}

// Seeks while the file plays, as the seek keys do: the position read back
// 300 ms later should be the target plus the time that passed.
void PositionReadback(benchmark::State& state, const char* file) {
  orva::testing::OffscreenApplication();
  Rig rig;
  rig.player.SetFileName(TestMedia(file));
  rig.player.Play_Player();
  WaitFor([&] { return rig.playing; }, 5'000);
  const double duration = rig.player.Duration();
  double target = 1.0;
  double sum = 0, worst = 0, bias = 0;
  int n = 0;
  for (auto _ : state) {
    target = std::fmod(target + 2.37, duration - 2.5) + 0.5;
    QElapsedTimer clock;
    clock.start();
    rig.player.SetCurrentPosition(target);
    WaitFor([] { return false; }, 300);
    const double position = rig.player.CurrentPosition();
    const double error = position - (target + static_cast<double>(clock.nsecsElapsed()) / 1e9);
    sum += std::abs(error);
    bias += error;
    worst = std::max(worst, std::abs(error));
    ++n;
  }
  state.counters["error_ms_mean"] = n ? 1000 * sum / n : 0;
  state.counters["error_ms_bias"] = n ? 1000 * bias / n : 0;
  state.counters["error_ms_max"] = 1000 * worst;
}

BENCHMARK_CAPTURE(Handoff, MP3, "parlato.mp3")
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(40);
BENCHMARK_CAPTURE(Handoff, WAV, "parlato.wav")
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(40);
BENCHMARK_CAPTURE(Handoff, WMA, "parlato.wma")
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(40);
BENCHMARK_CAPTURE(SeekLanding, MP3, "parlato.mp3")->Unit(benchmark::kMillisecond)->Iterations(12);
BENCHMARK_CAPTURE(SeekLanding, WMA, "parlato.wma")->Unit(benchmark::kMillisecond)->Iterations(12);
BENCHMARK_CAPTURE(PositionReadback, MP3, "lungo.mp3")->Unit(benchmark::kMillisecond)->Iterations(20);
BENCHMARK_CAPTURE(PositionReadback, WMA, "parlato.wma")->Unit(benchmark::kMillisecond)->Iterations(20);

}  // namespace
}  // namespace orva::mpvbackend::testing
