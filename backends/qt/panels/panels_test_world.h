#pragma once
// A main window core over fakes, with a Qt parent for its panels, on the
// offscreen platform.

#include <QApplication>
#include <QWidget>
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
#include "player/playback/fake_media_engine.h"

namespace orva::testing {

inline void EnsureOffscreenApplication() {
  static int argc = 1;
  static char name[] = "qt_panels_test";
  static char* argv[] = {name, nullptr};
  if (QApplication::instance()) return;
  qputenv("QT_QPA_PLATFORM", "offscreen");
  // Never destroyed: input devices Qt makes for simulated events are torn
  // down at exit, and must find the application still there.
  new QApplication(argc, argv);
}

struct MainWindowWorld {
  inline static const std::string kHostFolder = "/books/Libro";
  inline static const std::string kIndexUrl = "file:///books/Libro/Index.htm";

  // Before any widget.
  bool applicationReady = (EnsureOffscreenApplication(), true);
  // The reader's own locale: a decimal comma.
  ScopedNumberFormat format{NumberFormat{',', '.'}};
  fakes::VirtualEventLoop loop;
  fakes::ScriptedDialogs dialogs;
  MdlMain report{dialogs, nullptr};
  fakes::MemoryFileSystem disk;
  HostPathFileSystem files{disk};
  MemoryRegistry registry;
  Settings settings{registry};
  FakeWebBrowser browser{loop};
  fakes::FakeMediaLibrary media{loop};
  FrmBrowser form{FrmBrowserServices{
      .loop = loop,
      .dialogs = dialogs,
      .fileSystem = files,
      .settings = settings,
      .report = report,
      .objwb = browser,
      .programFolder = CoreFolderFromHost(kHostFolder),
      .newPlayer = [this] { return std::make_unique<oMoxPlayer>(loop, report, media.Factory()); },
      .publisher = {}}};
  QWidget window;

  MainWindowWorld() {
    disk.AddFile(kHostFolder + "/Index.htm");
    browser.AddPage(kIndexUrl, {.title = "Indice"});
    window.resize(1024, 768);
  }
  void Start() {
    form.Form_Initialize();
    window.show();
    // The reader's window has the keyboard.
    QApplication::setActiveWindow(&window);
  }
  std::string Stored(const char* key) {
    return settings.GetSetting("ZUV MediaPlayer", "Player", key, "<missing>");
  }
  void Store(const char* key, const std::string& value) {
    settings.SaveSetting("ZUV MediaPlayer", "Player", key, value);
  }
};

}  // namespace orva::testing
