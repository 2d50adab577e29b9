// orvabook: the book makers' tool, on the real file system, the libxml2 HTML
// reader and the player's media engine (started only when a command decodes
// audio, without a screen or a sound device).
#include <unistd.h>

#include <QApplication>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "backends/libxml_html/libxml_html_reader.h"
#include "backends/mpv/mpv_media_engine.h"
#include "backends/posix/posix_file_system.h"
#include "backends/qt/platform/qt_event_loop.h"
#include "tools/orvabook/engine_decoder.h"
#include "tools/orvabook/orvabook.h"

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  orva::PosixFileSystem files;
  orva::orvabook::LibxmlHtmlReader html;
  orva::orvabook::LibxmlDocumentReader documents;
  std::unique_ptr<QApplication> app;
  std::unique_ptr<orva::QtEventLoop> loop;
  orva::orvabook::OrvabookServices services{files, html, nullptr, isatty(STDERR_FILENO) == 1, &documents};
  services.decoder = [&]() -> std::unique_ptr<orva::orvabook::AudioDecoder> {
    // The engine's events come through Qt's event loop; it shows nothing,
    // and what Qt has to say about the desktop is no business of the check.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& message) {
      if (type == QtCriticalMsg || type == QtFatalMsg) std::cerr << message.toStdString() << "\n";
    });
    app = std::make_unique<QApplication>(argc, argv);
    loop = std::make_unique<orva::QtEventLoop>();
    return std::make_unique<orva::orvabook::EngineDecoder>(
        orva::mpvbackend::MakeMpvEngineFactory(orva::mpvbackend::MpvEngineOptions::Headless(true)), *loop);
  };
  return orva::orvabook::RunOrvabook(args, services, std::cout, std::cerr);
}
