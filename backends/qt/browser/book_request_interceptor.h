#pragma once
// Every request of the profile passes here on the UI thread (pages typed or
// clicked, frames, style sheets, scripts, pictures, CSS url(), XHR and
// fetch). Two things are decided:
//
// Book pages stay inside the book. A file outside the book folder is never
// loaded, whoever asks for it: a page's script could otherwise read any file
// the reader can read. A page of the book, or the program's own splash,
// loads nothing from the network either; only a page the reader reached by
// following a link to a web address loads what it needs from there. Every
// refusal is traced.
//
// Book files are named without regard to letter case. Books are made on
// Windows: a page links "Cap02.htm" for the file cap02.htm, a style sheet is
// named "Style1.CSS" for style1.css. A request for a missing file inside the
// book is redirected to the file that differs only in letter case. The
// redirected request comes back once: it names an existing file, so it is
// left alone.

#include <QWebEngineUrlRequestInterceptor>
#include <string>

#include "common/platform/path_resolver.h"

namespace orva {

class BookRequestInterceptor : public QWebEngineUrlRequestInterceptor {
  Q_OBJECT
 public:
  // `bookFolder`: the host folder of the book.
  BookRequestInterceptor(std::string bookFolder, QObject* parent = nullptr);

  struct Decision {
    enum Kind { kLoad, kRedirect, kBlock } kind = kLoad;
    std::string redirectTo;  // kRedirect: the file to load instead
    std::string reason;      // kBlock: why, as the trace says it
  };
  // What becomes of a request for `url` made by the document at
  // `firstParty`; `mainFrame` for the page itself rather than one of its
  // parts.
  Decision Decide(const QUrl& url, const QUrl& firstParty, bool mainFrame);

  void interceptRequest(QWebEngineUrlRequestInfo& info) override;
  int Redirects() const { return redirects_; }

 private:
  bool Inside(const std::string& path) const;

  std::string bookFolder_;
  // The book folder with its symbolic links followed.
  std::string realBookFolder_;
  CaseInsensitivePaths paths_;
  int redirects_ = 0;
};

}  // namespace orva
