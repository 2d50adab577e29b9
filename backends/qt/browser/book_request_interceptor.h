#pragma once
// Book files named without regard to letter case, for the web engine's own
// loads. Books are made on Windows: a page links "Cap02.htm" for the file
// cap02.htm, a style sheet is named "Style1.CSS" for style1.css. Every file
// request of the profile passes here on the UI thread (pages typed or
// clicked, frames, style sheets, scripts, pictures, CSS url()); a request
// for a missing file inside the book is redirected to the file that differs
// only in letter case. The redirected request comes back once: it names an
// existing file, so it is left alone.

#include <QWebEngineUrlRequestInterceptor>
#include <string>

#include "common/platform/path_resolver.h"

namespace orva {

class BookRequestInterceptor : public QWebEngineUrlRequestInterceptor {
  Q_OBJECT
 public:
  // `bookFolder`: the host folder of the book; nothing outside it is
  // rewritten.
  BookRequestInterceptor(std::string bookFolder, QObject* parent = nullptr);

  void interceptRequest(QWebEngineUrlRequestInfo& info) override;

  // The file a request for `path` should load instead, or the empty text
  // when it loads as asked.
  std::string RedirectFor(const std::string& path);
  int Redirects() const { return redirects_; }

 private:
  std::string bookFolder_;
  CaseInsensitivePaths paths_;
  int redirects_ = 0;
};

}  // namespace orva
