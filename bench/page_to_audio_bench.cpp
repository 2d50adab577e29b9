// From a loaded page to its audio playing, with the real engines: the main
// window on Qt WebEngine and libmpv (sound to the null output, in real time),
// on the sample book. Measured from the trace: the time from the line that
// says the page has loaded ("page") to the line that says the engine plays
// (a "media" state 3). Counters: handed_ms, from the page to its "audio" line
// (the player has the file); pages, the pages measured.
// Target: 100 ms for a page whose audio is an MP3.
//
//   PageToAudio/Mp3FoundBesideThePage   Cap01/Pagina1_1.htm: "pagina1_1",
//                                       completed to .mp3 beside the page
//   PageToAudio/Mp3InLibro              Cap02/Pagina2_1.htm: "../Libro/..."
//
// Runs without a display (QT_QPA_PLATFORM=offscreen unless set).

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <QApplication>
#include <QElapsedTimer>
#include <chrono>
#include <cstdlib>
#include <functional>
#include <iostream>
#include <memory>
#include <optional>
#include <string>

#include "backends/mpv/mpv_media_engine.h"
#include "backends/posix/posix_file_system.h"
#include "backends/qt/browser/browser_main_window.h"
#include "backends/qt/browser/qt_web_browser.h"
#include "backends/qt/platform/qt_event_loop.h"
#include "common/automation/trace.h"
#include "common/platform/host_paths.h"
#include "common/platform/path_resolver.h"
#include "common/settings/memory_registry.h"
#include "common/settings/settings.h"
#include "fakes/recording_dialogs.h"
#include "player/browser/frmBrowser.h"
#include "player/browser/testing/frm_browser_world.h"
#include "player/panels/mdlMain.h"
#include "player/playback/host_path_media_engine.h"
#include "player/playback/oMoxPlayer.h"

namespace orva {
namespace {

using Clock = std::chrono::steady_clock;

// Stamps the lines that matter as they are written.
class StampingSink : public TraceSink {
 public:
  void WriteLine(const std::string& line) override {
    const Clock::time_point now = Clock::now();
    if (line.find("\"ev\":\"page\"") != std::string::npos && line.find(page_) != std::string::npos) {
      pageAt_ = now;
      handedAt_.reset();
      playingAt_.reset();
    } else if (pageAt_ && !handedAt_ && line.find("\"ev\":\"audio\"") != std::string::npos) {
      handedAt_ = now;
    } else if (handedAt_ && !playingAt_ && line.find("\"ev\":\"media\"") != std::string::npos &&
               line.find("\"op\":\"state\",\"state\":3") != std::string::npos) {
      playingAt_ = now;
    }
  }
  void Expect(const std::string& page) {
    page_ = page;
    pageAt_.reset();
    handedAt_.reset();
    playingAt_.reset();
  }
  bool Done() const { return playingAt_.has_value(); }
  double HandedMs() const { return Ms(*handedAt_ - *pageAt_); }
  double PlayingSeconds() const { return std::chrono::duration<double>(*playingAt_ - *pageAt_).count(); }

 private:
  static double Ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }
  std::string page_;
  std::optional<Clock::time_point> pageAt_, handedAt_, playingAt_;
};

QApplication& Application() {
  static std::unique_ptr<QApplication> app = [] {
    setenv("QT_QPA_PLATFORM", std::getenv("QT_QPA_PLATFORM") ? std::getenv("QT_QPA_PLATFORM") : "offscreen",
           1);
    if (geteuid() == 0) setenv("QTWEBENGINE_DISABLE_SANDBOX", "1", 1);
    setenv("QTWEBENGINE_CHROMIUM_FLAGS", "--disable-gpu --no-sandbox", 0);
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    static int argc = 1;
    static char name[] = "page_to_audio_bench";
    static char* argv[] = {name, nullptr};
    return std::make_unique<QApplication>(argc, argv);
  }();
  return *app;
}

// The player's main window over the real platform, as OrvaPlayer builds it,
// with a store in memory.
struct Player {
  std::string book = ORVA_SAMPLE_BOOK;
  QtEventLoop loop;
  fakes::RecordingDialogs dialogs;
  MdlMain report{dialogs, &std::cerr};
  PosixFileSystem posix;
  CaseInsensitiveFileSystem caseless{posix};
  HostPathFileSystem files{caseless};
  MemoryRegistry registry;
  Settings settings{registry};
  BrowserMainWindow window;
  QtWebBrowser browser{window.view(), book};
  MediaEngineFactory engines =
      WithHostPaths(mpvbackend::MakeMpvEngineFactory(mpvbackend::MpvEngineOptions::Headless(false)));
  FrmBrowser form{
      FrmBrowserServices{.loop = loop,
                         .dialogs = dialogs,
                         .fileSystem = files,
                         .settings = settings,
                         .report = report,
                         .objwb = browser,
                         .programFolder = CoreFolderFromHost(book),
                         .newPlayer = [this] { return std::make_unique<oMoxPlayer>(loop, report, engines); },
                         .publisher = {}}};

  Player() {
    window.Attach(form);
    form.Form_Initialize();
    testing::In::SplashTimer(form).SetEnabled(false);  // the pages are opened here
  }

  bool Wait(const std::function<bool()>& done, int timeoutMs) {
    QElapsedTimer clock;
    clock.start();
    while (!done() && clock.elapsed() < timeoutMs) QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    return done();
  }
};

void PageToAudio(benchmark::State& state, const char* page, const char* other) {
  Application();
  auto* sink = new StampingSink;
  InstallTrace(std::unique_ptr<TraceSink>(sink), nullptr);
  {
    Player player;
    const std::string target = player.book + "/" + page;
    const std::string away = player.book + "/" + other;
    double handed = 0;
    int pages = 0;
    for (auto _ : state) {
      // Another page first, so that every measured load is a new page.
      sink->Expect(other);
      player.browser.Navigate2(away);
      if (!player.Wait([&] { return sink->Done(); }, 10'000)) {
        state.SkipWithError("the other page never played");
        break;
      }
      sink->Expect(page);
      player.browser.Navigate2(target);
      if (!player.Wait([&] { return sink->Done(); }, 10'000)) {
        state.SkipWithError("the page never played");
        break;
      }
      state.SetIterationTime(sink->PlayingSeconds());
      handed += sink->HandedMs();
      ++pages;
    }
    if (pages > 0) state.counters["handed_ms"] = handed / pages;
    state.counters["pages"] = pages;
  }
  InstallTrace(nullptr, nullptr);
}

BENCHMARK_CAPTURE(PageToAudio, Mp3FoundBesideThePage, "Cap01/Pagina1_1.htm", "Cap02/Pagina2_1.htm")
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(20);
BENCHMARK_CAPTURE(PageToAudio, Mp3InLibro, "Cap02/Pagina2_1.htm", "Cap01/Pagina1_1.htm")
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(20);

}  // namespace
}  // namespace orva
