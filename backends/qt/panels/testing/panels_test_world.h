#pragma once
// A main window core over fakes, with a Qt parent for its panels, on the
// offscreen platform.

#include <QApplication>
#include <QWidget>
#include <string>

#include "backends/qt/platform/testing/offscreen_application.h"
#include "player/browser/testing/frm_browser_world.h"

namespace orva::testing {

struct MainWindowWorld {
  inline static const std::string kHostFolder = "/books/Libro";
  inline static const std::string kIndexUrl = "file:///books/Libro/Index.htm";

  // Before any widget.
  bool applicationReady = (OffscreenApplication(), true);
  FrmBrowserWorld core{{.hostFolder = kHostFolder}};
  fakes::VirtualEventLoop& loop = core.loop;
  fakes::RecordingDialogs& dialogs = core.dialogs;
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
