#pragma once
// The fakes the main window runs on in its tests and benchmarks: the
// virtual event loop, scripted dialogs and the error report, a file system
// and a settings store in memory, the fake browser and the fake media
// library, and the window itself over them. Each test adds the book's files
// and pages it needs, then makes or starts the window.

#include <functional>
#include <memory>
#include <string>

#include "common/platform/host_paths.h"
#include "common/runtime/locale_settings.h"
#include "common/settings/memory_registry.h"
#include "common/settings/settings.h"
#include "fakes/memory_file_system.h"
#include "fakes/scripted_dialogs.h"
#include "fakes/virtual_event_loop.h"
#include "player/browser/fake_web_browser.h"
#include "player/browser/frmBrowser.h"
#include "player/playback/testing/fake_media_engine.h"

namespace orva::testing {

struct FrmBrowserWorldOptions {
  // The book's program folder on the host; by default with a blank in its
  // name, as readers' folders often have.
  std::string hostFolder = "/books/Storia Antica";
  // The reader's number format; by default an Italian system's decimal comma.
  NumberFormat numberFormat{',', '.'};
};

// How the window makes its player.
using PlayerMaker = std::function<std::unique_ptr<oMoxPlayer>()>;

struct FrmBrowserWorld {
  explicit FrmBrowserWorld(FrmBrowserWorldOptions options = {});

  const std::string hostFolder;
  ScopedNumberFormat format;
  fakes::VirtualEventLoop loop;
  fakes::ScriptedDialogs dialogs;
  MdlMain report{dialogs, nullptr};
  fakes::MemoryFileSystem disk;
  HostPathFileSystem files{disk};
  MemoryRegistry registry;
  Settings settings{registry};
  FakeWebBrowser browser{loop};
  fakes::FakeMediaLibrary media{loop};
  std::unique_ptr<FrmBrowser> form;

  // A player over these engines, as the window makes one.
  std::unique_ptr<oMoxPlayer> NewPlayer(MediaEngineFactory engines);

  // The window made anew over the fakes (the old one goes first), not yet
  // initialised. Its players come from `newPlayer`, by default players over
  // the media library.
  FrmBrowser& MakeWindow(PlayerMaker newPlayer = {});

  // The window made and initialised, with the splash timer switched off so
  // that it never opens the index behind a test's back, and the events of
  // the start run.
  FrmBrowser& StartWithoutSplash(PlayerMaker newPlayer = {});

  // The player's settings in the store.
  std::string Stored(const char* key, const char* def = "<missing>");
  void Store(const char* key, const std::string& value);
};

}  // namespace orva::testing
