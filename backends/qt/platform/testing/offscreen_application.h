#pragma once
// For tests and benchmarks: the one QApplication of the process, made on
// first use on the offscreen platform. It is never destroyed: input devices
// and other globals Qt tears down at exit must still find it.

#include <unistd.h>
#include <QApplication>
#include <QByteArray>
#include <cstdlib>

namespace orva::testing {

// With `embedsBrowser`, the web engine is also set up as the player sets it
// up: no sandbox as root, no GPU, shared OpenGL contexts.
inline QApplication& OffscreenApplication(bool embedsBrowser = false) {
  if (auto* existing = qobject_cast<QApplication*>(QCoreApplication::instance())) return *existing;
  qputenv("QT_QPA_PLATFORM", "offscreen");
  if (embedsBrowser) {
    if (geteuid() == 0) setenv("QTWEBENGINE_DISABLE_SANDBOX", "1", 1);
    setenv("QTWEBENGINE_CHROMIUM_FLAGS", "--disable-gpu", 0);
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
  }
  static int argc = 1;
  static char name[] = "orva-test";
  static char* argv[] = {name, nullptr};
  return *new QApplication(argc, argv);
}

}  // namespace orva::testing
