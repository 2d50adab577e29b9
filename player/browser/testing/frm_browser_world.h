#pragma once
// The one world the main window's tests and benchmarks run in: the virtual
// event loop, scripted dialogs and the error report, a file system and a
// settings store in memory, the fake browser with pages built in code, the
// fake media library, and the window over them. Each test adds the book's
// files and pages it needs, then starts the window, opens pages, presses
// keys and plays on; it checks what a reader would see: the display, the
// pages asked for, the files played, the store, the reports and the trace.

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "common/automation/testing/captured_trace.h"
#include "common/platform/host_paths.h"
#include "common/runtime/locale_settings.h"
#include "common/runtime/text.h"
#include "common/settings/memory_registry.h"
#include "common/settings/settings.h"
#include "fakes/fake_environment.h"
#include "fakes/memory_file_system.h"
#include "fakes/recording_dialogs.h"
#include "fakes/recording_speech.h"
#include "fakes/virtual_event_loop.h"
#include "player/browser/frmBrowser.h"
#include "player/browser/testing/fake_web_browser.h"
#include "player/playback/testing/fake_media_engine.h"

namespace orva::testing {

struct FrmBrowserWorldOptions {
  // The book's program folder on the host; by default with a blank in its
  // name, as readers' folders often have.
  std::string hostFolder = "/books/Storia Antica";
  // The reader's number format; by default an Italian system's decimal comma.
  NumberFormat numberFormat{',', '.'};
};

// The window's inside, for what no event reaches: the state its parts
// share, the player facade, its timers and the debug panel.
struct FrmBrowserInside {
  static BrowserWindowState& State(FrmBrowser& f) { return f.state; }
  static std::unique_ptr<oMoxPlayer>& Player(FrmBrowser& f) { return f.oPlayer; }
  static TimerControl& SplashTimer(FrmBrowser& f) { return f.TimerSpalsh; }
  static bool DebugFrameVisible(FrmBrowser& f) { return f.fraDebug.Visible; }
  static std::string TextURL(FrmBrowser& f) { return f.fraDebug.TextURL.Text(); }
  static std::string TxtDebFilename(FrmBrowser& f) { return f.fraDebug.TxtDebFilename.Text(); }
};
using In = FrmBrowserInside;

// How the window makes its player.
using PlayerMaker = std::function<std::unique_ptr<oMoxPlayer>()>;

// A META element of a page.
inline FakeElement Meta(std::string name, std::string content) {
  return FakeElement{.name = std::move(name), .content = std::move(content)};
}
// An anchor of the page's position index.
inline FakeElement Anchor(int n, const std::string& href) {
  return FakeElement{.tagName = "A", .id = "OrvaIndex_" + std::to_string(n), .href = href};
}

// Mounted volumes a test names, in the order it gives.
struct ListedVolumes : Volumes {
  std::vector<std::string> roots;
  std::vector<std::string> MountedRoots() const override { return roots; }
};

// Hive files a test names, by the path the import asks for; any other is
// refused as damaged.
struct ListedHives : HiveReader {
  std::map<std::string, HiveKey> hives;
  bool ReadHive(const std::string& path, HiveKey* root, std::string* error) override {
    const auto it = hives.find(path);
    if (it == hives.end()) {
      *error = "file hive danneggiato";
      return false;
    }
    *root = it->second;
    return true;
  }
};

struct FrmBrowserWorld {
  explicit FrmBrowserWorld(FrmBrowserWorldOptions options = {});

  const std::string hostFolder;
  ScopedNumberFormat format;
  fakes::VirtualEventLoop loop;
  fakes::RecordingDialogs dialogs;
  MdlMain report{dialogs, nullptr};
  fakes::MemoryFileSystem disk;
  HostPathFileSystem files{disk};
  MemoryRegistry registry;
  Settings settings{registry};
  FakeWebBrowser browser{loop};
  fakes::FakeMediaLibrary media{loop};
  ListedVolumes volumes;
  ListedHives hives;
  fakes::RecordingSpeech speech;
  fakes::SwitchedScreenReader screenReader;
  // The reader's home folder (on the host), which is not on the disk until
  // a test adds it, and the folders the window gets from it.
  static constexpr const char* kHome = "/home/lettore";
  ReaderFolders folders =
      ReaderFoldersFrom(fakes::FakeEnvironment(std::map<std::string, std::string>{{"HOME", kHome}}));
  std::unique_ptr<CapturedTrace> trace;
  std::unique_ptr<FrmBrowser> form;

  // --- The book.
  // The program folder as the core writes it.
  std::string ProgramFolder() const { return CoreFolderFromHost(hostFolder); }
  // A file of the book as the core finds it from the program folder.
  std::string FromProgram(const std::string& inBook) const {
    return ProgramFolder() + "\\" + Replace(inBook, "/", "\\");
  }
  // ... and from a page's address, which loses the root's "\".
  std::string FromPage(const std::string& inBook) const { return FromProgram(inBook).substr(1); }
  // The address of a book file, from its path inside the book ("cap01/a.htm").
  std::string Url(const std::string& inBook) const {
    return Replace("file://" + hostFolder + "/" + inBook, " ", "%20");
  }
  // A page on disk and in the browser.
  void AddPage(const std::string& inBook, FakePage page) {
    disk.AddFile(hostFolder + "/" + inBook);
    browser.AddPage(Url(inBook), std::move(page));
  }
  // A media file on disk (a host path, relative to the book unless it starts
  // with "/"), playable under each name the core may give it.
  void AddMedia(const std::string& path, double seconds, std::vector<std::string> coreNames = {},
                fakes::FakeMedia shape = {});

  // The reading page "cap01/Pag1.htm" as books are made: audio 0 "uno.mp3"
  // beside the page (180 s), audio 1 "due.mp3" in "Libro" (30 s, from 5 s),
  // then "Pag2.htm"; previous page "Pag0.htm"; index anchors at these
  // positions (nullopt: an anchor without the position marker); the style
  // sheets Style1.CSS to Style3.CSS and the help page.
  static constexpr const char* kPage = "cap01/Pag1.htm";
  void AddReadingPage(const std::vector<std::optional<int>>& anchors = {0, 60, 120},
                      const std::string& title = "Pag1.htm");
  std::string AnchorAddress(int seconds) const {
    return Url(kPage) + "#ZUVPLAYER_AUDIO_POS=" + std::to_string(seconds);
  }
  void AddStyleSheets(const std::vector<std::string>& names = {"Style1.CSS", "Style2.CSS", "Style3.CSS"}) {
    for (const std::string& name : names) disk.AddFile(hostFolder + "/INCLUDE/" + name);
    disk.AddFile(hostFolder + "/INCLUDE/help.htm");
  }

  // --- The window.
  // Made anew over the fakes (the old one goes first), not yet initialised.
  // Its players come from `newPlayer`, by default over the media library.
  FrmBrowser& MakeWindow(PlayerMaker newPlayer = {});
  std::unique_ptr<oMoxPlayer> NewPlayer(MediaEngineFactory engines) {
    return std::make_unique<oMoxPlayer>(loop, report, std::move(engines));
  }
  // Made and initialised, with the splash timer switched off so that it
  // never opens the index behind a test's back, the start's events run, and
  // the dialogs and engine calls of the start forgotten.
  FrmBrowser& Start(PlayerMaker newPlayer = {});
  // Started with the reading page open and playing from 0.
  FrmBrowser& StartReading(const std::vector<std::optional<int>>& anchors = {0, 60, 120});
  // Opens a book page the way a link does, and lets it load.
  void Open(const std::string& inBook) {
    browser.Navigate2(Url(inBook));
    loop.DoEvents();
  }

  // --- Keys.
  void Press(std::int16_t code, std::int16_t shift);
  void Ctrl(std::int16_t code) { Press(code, 2); }
  void Alt(std::int16_t code) { Press(code, 4); }
  // A field of the last key the dispatcher traced, as written.
  std::string LastKey(const std::string& field);

  // --- What the reader gets.
  // The message on the display, or empty when it is hidden.
  std::string Shown() const { return form->OsdVisible() ? form->OsdText() : std::string(); }
  fakes::FakeMediaEngine& Engine() {
    if (media.Current() == nullptr) throw std::logic_error("no engine");
    return *media.Current();
  }
  // The files handed to the engine, in order.
  std::vector<std::string> Played();
  bool Playing() { return Engine().playState() == playstate::kPlaying; }
  double Position() { return Engine().controlsCurrentPosition(); }
  void PlayFrom(double seconds) {
    Engine().SetControlsCurrentPosition(seconds);
    loop.DoEvents();
  }
  // Plays on this long (audios end, pages follow).
  void PlayOn(std::int64_t ms) { loop.Advance(ms); }
  // "procedure / number" of every error report shown.
  std::vector<std::string> Reports() const { return dialogs.ErrorReportCodes(); }

  // --- The player's settings in the store.
  std::string Stored(const char* key, const char* def = "<missing>") {
    return settings.GetSetting("ZUV MediaPlayer", "Player", key, def);
  }
  void Store(const char* key, const std::string& value) {
    settings.SaveSetting("ZUV MediaPlayer", "Player", key, value);
  }
};

}  // namespace orva::testing
