#pragma once
// A main window core over fakes, with a Qt parent for its panels, on the
// offscreen platform.

#include <QApplication>
#include <QWidget>
#include <string>

#include "player/browser/testing/frm_browser_world.h"

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
  FrmBrowserWorld core{{.hostFolder = kHostFolder}};
  fakes::VirtualEventLoop& loop = core.loop;
  fakes::ScriptedDialogs& dialogs = core.dialogs;
  FrmBrowser& form = core.MakeWindow();
  QWidget window;

  MainWindowWorld() {
    core.disk.AddFile(kHostFolder + "/Index.htm");
    core.browser.AddPage(kIndexUrl, {.title = "Indice"});
    window.resize(1024, 768);
  }
  void Start() {
    form.Form_Initialize();
    window.show();
    // The reader's window has the keyboard.
    QApplication::setActiveWindow(&window);
  }
  std::string Stored(const char* key) { return core.Stored(key); }
  void Store(const char* key, const std::string& value) { core.Store(key, value); }
};

}  // namespace orva::testing
