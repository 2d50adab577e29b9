// From a command key to its message on screen, with the real player: OrvaPlayer
// runs offscreen on the sample book with the command-key script of the
// end-to-end test (audio in real time into no device, a fresh settings store
// each run), and the trace's "key_message" lines give, for every key that put
// up a message, the time from the key press to the handler's end (handled_us)
// and to the message being painted (shown_us).
// Target: every message painted within a frame (16 ms) of its key.
//
// Counters: messages (per run), shown_us_mean, shown_us_max, handled_us_max,
// over_a_frame (messages painted later than 16 ms). The iteration time is the
// slowest message of the run.

#include <benchmark/benchmark.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

namespace fs = std::filesystem;

// The number after "name": in a trace line; -1 when the line has none.
double Field(const std::string& line, const std::string& name) {
  const std::string key = "\"" + name + "\":";
  const std::size_t at = line.find(key);
  return at == std::string::npos ? -1 : std::atof(line.c_str() + at + key.size());
}

std::string Quoted(const std::string& text) { return "'" + text + "'"; }

void KeyToMessage(benchmark::State& state) {
  double shownSum = 0, shownMax = 0, handledMax = 0, messages = 0, late = 0;
  for (auto _ : state) {
    std::string dir = (fs::temp_directory_path() / "orva-keybench.XXXXXX").string();
    if (mkdtemp(dir.data()) == nullptr) {
      state.SkipWithError("no temporary folder");
      break;
    }
    fs::create_directories(dir + "/runtime");
    fs::permissions(dir + "/runtime", fs::perms::owner_all);
    const std::string trace = dir + "/trace.jsonl";
    const std::string command =
        "env QT_QPA_PLATFORM=offscreen LANG=it_IT.UTF-8 ORVA_REGISTRY_DIR=" + Quoted(dir) +
        " ORVA_MACHINE_REGISTRY=" + Quoted(dir + "/machine.sqlite") +
        " XDG_RUNTIME_DIR=" + Quoted(dir + "/runtime") + " timeout 60 " + Quoted(ORVA_PLAYER) + " --book " +
        Quoted(ORVA_SAMPLE_BOOK) + " --audio null --script " + Quoted(ORVA_KEY_SCRIPT) + " --trace " +
        Quoted(trace) + " >" + Quoted(dir + "/output") + " 2>&1 </dev/null";
    const int status = std::system(command.c_str());
    double runMax = 0;
    int runMessages = 0;
    std::ifstream in(trace);
    for (std::string line; std::getline(in, line);) {
      if (line.find("\"ev\":\"key_message\"") == std::string::npos) continue;
      const double shown = Field(line, "shown_us");
      ++runMessages;
      shownSum += shown;
      runMax = std::max(runMax, shown);
      handledMax = std::max(handledMax, Field(line, "handled_us"));
      if (shown > 16'000) ++late;
    }
    fs::remove_all(dir);
    if (status != 0 || runMessages == 0) {
      state.SkipWithError("the player failed or painted no key message");
      break;
    }
    messages += runMessages;
    shownMax = std::max(shownMax, runMax);
    state.SetIterationTime(runMax / 1e6);
  }
  if (messages > 0) {
    state.counters["messages"] = messages / static_cast<double>(state.iterations());
    state.counters["shown_us_mean"] = shownSum / messages;
  }
  state.counters["shown_us_max"] = shownMax;
  state.counters["handled_us_max"] = handledMax;
  state.counters["over_a_frame"] = late;
}

BENCHMARK(KeyToMessage)->UseManualTime()->Unit(benchmark::kMicrosecond)->Iterations(3);

}  // namespace
