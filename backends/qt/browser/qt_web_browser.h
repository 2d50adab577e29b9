#pragma once
// The real embedded browser, on Qt WebEngine.
//
// Link clicks: a link to a fragment of the same page ("#ZUVP_STOP#") never
// reaches acceptNavigationRequest, the jump just happens. So a script in an
// isolated world catches every link click in the capture phase (mouse, Enter
// on a focused link, clicks made by scripts), prevents it, and hands the
// link's absolute address to C++ over a web channel; C++ raises
// BeforeNavigate2 and navigates unless it was cancelled.
// acceptNavigationRequest stays as the safety net for every other
// navigation (typed addresses, form posts, links clicked before the channel
// is up); a redirect made by the book-file interceptor passes unasked.
//
// Addresses keep the text the page gave them: the extra "#" of a command
// link stays "#" (QUrl would write %23), blanks stay "%20".
//
// Reading the document: one snapshot after each load (elements with a name
// or id, the title, the style sheet count); live values such as a form
// field's are asked on demand and awaited on a nested event loop that
// excludes user input, as the old control's calls blocked.
//
// No navigation asked for is lost: the last one asked for wins, whatever
// the engine is doing. On a cold start the engine may report the end of an
// earlier load (the blank document) after a later one was asked for, and
// then never report the later one's end; such a late end asks for the later
// address again. The program's own body (the splash) goes only into the
// blank document, never over a page that a later navigation has brought.
//
// A main-frame load that fails (no such file, a site that cannot be
// reached, a file outside the book) raises the title of the old control's
// page for a server it could not find, which takes the reader back to the
// book.

#include <QList>
#include <QObject>
#include <QUrl>
#include <QVariant>
#include <QWebEngineLoadingInfo>
#include <QWebEnginePage>
#include <memory>
#include <string>
#include <vector>

#include "player/browser/web_browser.h"

class QWebEngineView;
class QWebEngineProfile;
class QWebChannel;

namespace orva {

class BookRequestInterceptor;
class QtWebBrowser;
class QtDocument;

// Receives the links the click script hands over.
class LinkBridge : public QObject {
  Q_OBJECT
 public:
  explicit LinkBridge(QtWebBrowser& browser) : browser_(browser) {}
  Q_INVOKABLE void linkClicked(const QString& href);

 private:
  QtWebBrowser& browser_;
};

class BookPage : public QWebEnginePage {
  Q_OBJECT
 public:
  BookPage(QWebEngineProfile* profile, QtWebBrowser& browser);

 protected:
  bool acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame) override;
  void javaScriptConsoleMessage(JavaScriptConsoleMessageLevel level, const QString& message, int line,
                                const QString& source) override;

 private:
  QtWebBrowser& browser_;
};

class QtWebBrowser : public QObject, public WebBrowser {
  Q_OBJECT
 public:
  // `view` shows the pages; `bookFolder` is the host folder of the book
  // (base of the splash page, and the only place whose file names are
  // resolved without regard to letter case).
  QtWebBrowser(QWebEngineView* view, std::string bookFolder, QObject* parent = nullptr);
  ~QtWebBrowser() override;

  void Navigate2(const std::string& address) override;
  std::string LocationURL() const override { return location_; }
  std::string LocationName() const override;
  std::int32_t ReadyState() const override { return readyState_; }
  HtmlDocument* Document() override;

  // For scripts: clicks, as a script in the page would, the first link
  // whose text or written address is `textOrHref`. False when there is none.
  bool ClickLink(const std::string& textOrHref);

  // --- For the page, the bridge and the document.
  void LinkClicked(const QString& href);
  bool AcceptNavigation(const QUrl& url, QWebEnginePage::NavigationType type, bool isMainFrame);
  // Runs `js` in the isolated world and waits for its answer; VbError when
  // none comes in time.
  QVariant RunSync(const QString& js);
  void RunAsync(const QString& js);
  // Writes the body of the document on view. The blank document cannot
  // show a local picture, so it is replaced by the HTML with the book
  // folder as its base.
  void WriteBody(const std::string& html, const std::vector<std::string>& styleSheets);
  BookPage* page() const { return page_; }
  BookRequestInterceptor& interceptor() const { return *interceptor_; }

  // The text of an address as the page has it.
  static std::string AddressText(const QUrl& url);
  // The URL a core address stands for.
  static QUrl UrlFor(const std::string& address);

 private:
  void Load(const QUrl& url);
  void OnLoadingChanged(const QWebEngineLoadingInfo& info);
  void OnUrlChanged(const QUrl& url);
  void TakeSnapshot(bool raiseComplete);
  // The address of a body written into the blank document (the book
  // folder): its load ends there.
  QUrl BodyBase() const;

  QWebEngineView* view_;
  std::string bookFolder_;
  QWebEngineProfile* profile_;
  BookRequestInterceptor* interceptor_;
  BookPage* page_;
  QWebChannel* channel_;
  LinkBridge* bridge_;
  std::unique_ptr<QtDocument> document_;
  std::string location_;
  std::int32_t readyState_ = readystate::kUninitialized;
  bool loading_ = false;
  // The next main-frame navigation was started here and already passed
  // BeforeNavigate2.
  bool approved_ = false;
  QUrl approvedUrl_;
  // The load under way writes the splash (or another body) into the blank
  // document: it is no navigation of the reader's.
  bool internalLoad_ = false;
  bool blankDocument_ = false;
  // The address of the navigation last asked for, until its load has
  // ended; empty when none is under way.
  QUrl target_;
  // Addresses (without fragment) of loads that a later one replaced.
  QList<QUrl> replaced_;
  // Counts the loads asked for: an answer about an earlier document is
  // dropped.
  quint64 loadSerial_ = 0;
  QUrl documentUrl_;
  std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

}  // namespace orva
