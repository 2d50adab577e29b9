#include "backends/qt/browser/qt_web_browser.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTimer>
#include <QWebChannel>
#include <QWebEngineProfile>
#include <QWebEngineScript>
#include <QWebEngineScriptCollection>
#include <QWebEngineSettings>
#include <QWebEngineView>
#include <chrono>
#include <iostream>
#include <thread>

#include "backends/qt/browser/book_request_interceptor.h"
#include "common/automation/trace.h"
#include "common/automation/trace_events.h"
#include "common/platform/host_paths.h"
#include "common/runtime/vb_error.h"

namespace orva {

namespace {

// How long a question to the page may take before it counts as failed.
constexpr int kAnswerTimeoutMs = 2000;

// The title of the old control's page for an address it could not load;
// the main window goes back to the index when it sees it.
constexpr char kLoadFailedTitle[] = "Impossibile trovare il server";

// The engine's code for a load that a later one replaced: nothing failed.
constexpr int kLoadAborted = -3;

QUrl Bare(const QUrl& url) { return url.adjusted(QUrl::RemoveFragment); }

// Waits until `done`, or until the answer counts as failed. The engine hands
// its answers over as posted events, and a wait nested in the handling of
// another posted event (a page completed within the start-up's wait for the
// blank document) is not always given them by the event loop: they are sent
// from here. User input waits.
void AwaitAnswer(const bool& done) {
  QElapsedTimer waited;
  waited.start();
  while (!done && waited.elapsed() < kAnswerTimeoutMs) {
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    if (!done) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
}

// Catches link clicks before the page sees them. It runs in an isolated
// world, so the book's own scripts can neither see nor disturb it; the DOM
// events are the same in both worlds.
const char* const kLinkClickScript = R"JS(
(function () {
  var links = null;
  new QWebChannel(qt.webChannelTransport, function (channel) { links = channel.objects.orvaLinks; });
  function linkOf(node) {
    while (node && node.nodeType === 1) {
      if ((node.tagName === 'A' || node.tagName === 'AREA') && node.hasAttribute('href')) return node;
      node = node.parentNode;
    }
    return null;
  }
  document.addEventListener('click', function (event) {
    if (!links || event.button !== 0) return;
    var a = linkOf(event.target);
    if (!a) return;
    var target = (a.getAttribute('target') || '').toLowerCase();
    if (target && target !== '_self' && target !== '_top' && target !== '_parent') return;
    event.preventDefault();
    event.stopImmediatePropagation();
    links.linkClicked(a.href);
  }, true);
})();
)JS";

// Everything the player reads of a page, taken once after it has loaded.
const char* const kSnapshotScript = R"JS(
(function () {
  var out = { href: location.href, title: document.title, sheets: document.styleSheets.length, elements: [] };
  var all = document.querySelectorAll('[name],[id]');
  for (var i = 0; i < all.length; i++) {
    var e = all[i];
    out.elements.push({
      tag: e.tagName,
      name: e.getAttribute('name') || '',
      id: e.id || '',
      content: e.getAttribute('content') || '',
      href: typeof e.href === 'string' ? e.href : '',
      value: typeof e.value === 'string' ? e.value : ''
    });
  }
  return JSON.stringify(out);
})()
)JS";

QString JsString(const std::string& text) {
  const QByteArray json =
      QJsonDocument(QJsonArray{QString::fromStdString(text)}).toJson(QJsonDocument::Compact);
  return QString::fromUtf8(json.mid(1, json.size() - 2));
}

std::string ToStd(const QString& s) { return s.toStdString(); }

}  // namespace

// --- The document on view.

class QtElement : public HtmlElement {
 public:
  QtElement(QtWebBrowser& browser, QJsonObject e) : browser_(browser), e_(std::move(e)) {}
  std::string tagName() const override { return ToStd(e_.value("tag").toString()); }
  std::string content() const override { return ToStd(e_.value("content").toString()); }
  std::string href() const override { return ToStd(e_.value("href").toString()); }
  std::string value() const override {
    const std::string key = ToStd(e_.value("name").toString()).empty() ? ToStd(e_.value("id").toString())
                                                                       : ToStd(e_.value("name").toString());
    const QVariant v = browser_.RunSync(
        "(function(n){var e=document.getElementsByName(n)[0]||document.getElementById(n);"
        "return e&&typeof e.value==='string'?e.value:'';})(" +
        JsString(key) + ")");
    return ToStd(v.toString());
  }
  std::string name() const { return ToStd(e_.value("name").toString()); }
  std::string id() const { return ToStd(e_.value("id").toString()); }

 private:
  QtWebBrowser& browser_;
  QJsonObject e_;
};

class QtDocument : public HtmlDocument {
 public:
  QtDocument(QtWebBrowser& browser, const QJsonObject& snapshot) : browser_(browser) {
    const QString href = snapshot.value("href").toString();
    // The blank document (also with the splash written into it) holds
    // nothing the player reads; it is not asked, and the engine does not
    // always answer questions about it.
    blank_ =
        href.isEmpty() || href == QStringLiteral("about:blank") || href.startsWith(QStringLiteral("data:"));
    title_ = ToStd(snapshot.value("title").toString());
    sheets_ = snapshot.value("sheets").toInt();
    for (const QJsonValue& e : snapshot.value("elements").toArray())
      elements_.push_back(std::make_unique<QtElement>(browser, e.toObject()));
  }

  const HtmlElement* All(std::string_view nameOrId) const override {
    for (const auto& e : elements_)
      if (e->name() == nameOrId || e->id() == nameOrId) return e.get();
    return nullptr;
  }
  std::string title() const override { return title_; }
  std::int32_t styleSheetCount() const override { return sheets_; }

  void createStyleSheet(const std::string& address, std::int32_t index) override {
    const std::string href = NormaliseFileAddress(address);
    added_.push_back(href);
    ++sheets_;
    // The blank document may not load local files; its sheets go with the
    // body written into it.
    if (blank_) return;
    browser_.RunAsync(
        "(function(h,n){var l=document.createElement('link');l.rel='stylesheet';l.href=h;"
        "var s=document.styleSheets;"
        "if(n<s.length&&s[n].ownerNode&&s[n].ownerNode.parentNode){"
        "s[n].ownerNode.parentNode.insertBefore(l,s[n].ownerNode);}"
        "else{(document.head||document.documentElement).appendChild(l);}})(" +
        JsString(href) + "," + QString::number(index) + ")");
  }

  std::string bodyInnerHTML() const override {
    if (blank_) return written_;
    return ToStd(browser_.RunSync("document.body?document.body.innerHTML:''").toString());
  }
  void setBodyInnerHTML(const std::string& html) override {
    written_ = html;
    browser_.WriteBody(html, added_);
  }

  void FocusBodyElement(std::int32_t index) override {
    if (blank_) RaiseVbError(vberr::kSubscriptOutOfRange);
    const QVariant done = browser_.RunSync(
        "(function(i){var b=document.body;var e=b?b.getElementsByTagName('*')[i]:null;"
        "if(!e)return false;if(e.focus)e.focus();return true;})(" +
        QString::number(index) + ")");
    if (!done.toBool()) RaiseVbError(vberr::kSubscriptOutOfRange);
  }

 private:
  QtWebBrowser& browser_;
  std::string title_;
  std::int32_t sheets_ = 0;
  std::vector<std::unique_ptr<QtElement>> elements_;
  std::vector<std::string> added_;
  bool blank_ = false;
  std::string written_;
};

// --- Bridge and page.

void LinkBridge::linkClicked(const QString& href) { browser_.LinkClicked(href); }

BookPage::BookPage(QWebEngineProfile* profile, QtWebBrowser& browser)
    : QWebEnginePage(profile), browser_(browser) {}

bool BookPage::acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame) {
  return browser_.AcceptNavigation(url, type, isMainFrame);
}

void BookPage::javaScriptConsoleMessage(JavaScriptConsoleMessageLevel level, const QString& message, int line,
                                        const QString& source) {
  if (level == ErrorMessageLevel)
    TraceEvent("page_script_error", {{"message", ToStd(message)}, {"line", line}, {"source", ToStd(source)}});
}

// --- The browser.

QtWebBrowser::QtWebBrowser(QWebEngineView* view, std::string bookFolder, QObject* parent)
    : QObject(parent), view_(view), bookFolder_(std::move(bookFolder)) {
  // A profile of its own, kept in memory: the reader's books leave no cache
  // behind.
  profile_ = new QWebEngineProfile(this);
  interceptor_ = new BookRequestInterceptor(bookFolder_, this);
  profile_->setUrlRequestInterceptor(interceptor_);
  page_ = new BookPage(profile_, *this);
  // Book pages may read the files of their book; the interceptor refuses
  // every file outside it. Remote requests are let through to the
  // interceptor too, which refuses those of book pages and says so in the
  // trace: the engine's own refusal would leave no trace at all.
  page_->settings()->setAttribute(QWebEngineSettings::LocalContentCanAccessFileUrls, true);
  page_->settings()->setAttribute(QWebEngineSettings::LocalContentCanAccessRemoteUrls, true);

  channel_ = new QWebChannel(this);
  bridge_ = new LinkBridge(*this);
  bridge_->setParent(this);
  channel_->registerObject(QStringLiteral("orvaLinks"), bridge_);
  page_->setWebChannel(channel_, QWebEngineScript::ApplicationWorld);

  QFile channelJs(QStringLiteral(":/qtwebchannel/qwebchannel.js"));
  QString source;
  if (channelJs.open(QIODevice::ReadOnly)) source = QString::fromUtf8(channelJs.readAll());
  QWebEngineScript clicks;
  clicks.setName(QStringLiteral("orva-link-clicks"));
  clicks.setInjectionPoint(QWebEngineScript::DocumentCreation);
  clicks.setWorldId(QWebEngineScript::ApplicationWorld);
  clicks.setRunsOnSubFrames(false);
  clicks.setSourceCode(source + QString::fromUtf8(kLinkClickScript));
  page_->scripts().insert(clicks);

  connect(page_, &QWebEnginePage::loadingChanged, this,
          [this](const QWebEngineLoadingInfo& info) { OnLoadingChanged(info); });
  connect(page_, &QWebEnginePage::urlChanged, this, [this](const QUrl& url) { OnUrlChanged(url); });
  connect(page_, &QWebEnginePage::titleChanged, this, [this](const QString& title) {
    if (internalLoad_ || !Events()) return;
    Events()->OnTitleChange(ToStd(title));
  });
  connect(page_, &QWebEnginePage::windowCloseRequested, this, [this] {
    bool cancel = false;
    if (Events()) Events()->OnWindowClosing(false, cancel);
  });
  view_->setPage(page_);
}

QtWebBrowser::~QtWebBrowser() {
  *alive_ = false;
  SetEvents(nullptr);
  view_->setPage(nullptr);
  delete page_;  // before its profile
  page_ = nullptr;
}

namespace {

// Addresses reach the core as the old control gave them: a blank as "%20",
// letters outside ASCII as themselves. The core makes paths and section
// keys of them by turning "%20" into a blank only, so an accented folder
// ("Capè 1") left percent-encoded would name no folder on disk.
std::string WithLettersDecoded(const std::string& encoded) {
  std::string text;
  text.reserve(encoded.size());
  for (std::size_t i = 0; i < encoded.size(); ++i) {
    if (encoded[i] == '%' && i + 2 < encoded.size()) {
      const QByteArray byte = QByteArray::fromHex(QByteArray(encoded.data() + i + 1, 2));
      if (byte.size() == 1 && static_cast<unsigned char>(byte[0]) >= 0x80) {
        text += byte[0];
        i += 2;
        continue;
      }
    }
    text += encoded[i];
  }
  return text;
}

}  // namespace

std::string QtWebBrowser::AddressText(const QUrl& url) {
  std::string text = WithLettersDecoded(ToStd(url.toString(QUrl::FullyEncoded)));
  // The extra "#" of a command link must stay as the page wrote it.
  const std::size_t hash = text.find('#');
  if (hash == std::string::npos) return text;
  std::string out = text.substr(0, hash + 1);
  for (std::size_t i = hash + 1; i < text.size(); ++i) {
    if (text.compare(i, 3, "%23") == 0) {
      out += '#';
      i += 2;
    } else {
      out += text[i];
    }
  }
  return out;
}

QUrl QtWebBrowser::UrlFor(const std::string& address) {
  if (std::optional<std::string> core = AddressAsCorePath(address)) {
    // A path in the core's form: the part after its first "#" is the
    // fragment, as the old control read a path with one.
    const std::size_t hash = core->find('#');
    const std::string path = HostPathFromCore(core->substr(0, hash), [](const std::string& folder) {
      return QDir(QString::fromStdString(folder)).exists();
    });
    QString text =
        QUrl::fromLocalFile(QDir::cleanPath(QString::fromStdString(path))).toString(QUrl::FullyEncoded);
    if (hash != std::string::npos) text += QString::fromStdString(core->substr(hash));
    return QUrl(text, QUrl::TolerantMode);
  }
  return QUrl(QString::fromStdString(NormaliseFileAddress(address)), QUrl::TolerantMode);
}

std::string QtWebBrowser::LocationName() const {
  if (document_ && !document_->title().empty()) return document_->title();
  // No title: the file name, as it stands in the address.
  const std::string bare = location_.substr(0, location_.find_first_of("?#"));
  return bare.substr(bare.rfind('/') + 1);
}

HtmlDocument* QtWebBrowser::Document() { return document_.get(); }

void QtWebBrowser::Navigate2(const std::string& address) {
  bool cancel = false;
  if (Events()) Events()->OnBeforeNavigate2(address, cancel);
  if (cancel) return;
  Load(UrlFor(address));
}

void QtWebBrowser::LinkClicked(const QString& href) {
  const std::string address = ToStd(href);
  bool cancel = false;
  if (Events()) Events()->OnBeforeNavigate2(address, cancel);
  if (cancel) return;
  if (href.startsWith(QStringLiteral("javascript:"), Qt::CaseInsensitive)) {
    page_->runJavaScript(QUrl::fromPercentEncoding(href.mid(11).toUtf8()));
    return;
  }
  Load(QUrl(href, QUrl::TolerantMode));
}

void QtWebBrowser::Load(const QUrl& url) {
  approved_ = true;
  approvedUrl_ = url;
  ++loadSerial_;
  // A jump to a fragment of the document on view loads nothing: there is no
  // end to wait for.
  const bool jump = url.hasFragment() && document_ && !loading_ && !internalLoad_ && target_.isEmpty() &&
                    Bare(url) == Bare(documentUrl_);
  if (!target_.isEmpty()) replaced_.append(Bare(target_));
  if (internalLoad_) replaced_.append(BodyBase());
  internalLoad_ = false;
  target_ = jump ? QUrl() : url;
  readyState_ = readystate::kLoading;
  page_->load(url);
}

bool QtWebBrowser::AcceptNavigation(const QUrl& url, QWebEnginePage::NavigationType type, bool isMainFrame) {
  if (!isMainFrame) return true;
  if (internalLoad_) return true;
  // A request the book-file interceptor rewrote comes back as a redirect:
  // the reader asked once.
  if (type == QWebEnginePage::NavigationTypeRedirect) return true;
  if (approved_ && url.adjusted(QUrl::RemoveFragment) == approvedUrl_.adjusted(QUrl::RemoveFragment)) {
    approved_ = false;
    return true;
  }
  approved_ = false;
  bool cancel = false;
  if (Events()) Events()->OnBeforeNavigate2(AddressText(url), cancel);
  return !cancel;
}

void QtWebBrowser::OnLoadingChanged(const QWebEngineLoadingInfo& info) {
  if (info.status() == QWebEngineLoadingInfo::LoadStartedStatus) {
    loading_ = true;
    readyState_ = readystate::kLoading;
    return;
  }
  loading_ = false;
  approved_ = false;
  if (!target_.isEmpty()) {
    const QUrl ended = Bare(info.url());
    if (ended != Bare(target_) && replaced_.contains(ended)) {
      // An earlier load ended after the one asked for last had started; the
      // engine may have dropped that one, and may not report its end.
      replaced_.removeAll(ended);
      TraceEvent("navigate_again", {{"url", AddressText(target_)}, {"ended", AddressText(info.url())}});
      approved_ = true;
      approvedUrl_ = target_;
      readyState_ = readystate::kLoading;
      page_->load(target_);
      return;
    }
    target_ = QUrl();
    replaced_.clear();
  }
  if (info.status() == QWebEngineLoadingInfo::LoadFailedStatus && !internalLoad_ &&
      info.errorCode() != kLoadAborted) {
    TraceEvent("load_failed", {{"url", AddressText(info.url())}, {"error", ToStd(info.errorString())}});
    TakeSnapshot(false);
    std::weak_ptr<bool> alive = alive_;
    QTimer::singleShot(0, this, [this, alive, serial = loadSerial_] {
      if (alive.expired() || serial != loadSerial_) return;
      if (Events()) Events()->OnTitleChange(kLoadFailedTitle);
    });
    return;
  }
  TakeSnapshot(!internalLoad_);
}

void QtWebBrowser::OnUrlChanged(const QUrl& url) {
  // A jump within the page on view loads nothing; the old control still
  // reported the document complete at its new address.
  if (loading_ || internalLoad_ || !document_) return;
  if (Bare(url) != Bare(documentUrl_)) return;
  if (url == documentUrl_) return;
  if (!target_.isEmpty() && Bare(target_) != Bare(url)) return;
  target_ = QUrl();
  replaced_.clear();
  approved_ = false;
  TakeSnapshot(true);
}

void QtWebBrowser::TakeSnapshot(bool raiseComplete) {
  const bool internal = internalLoad_;
  std::weak_ptr<bool> alive = alive_;
  // An answer that comes after another load was asked for is about a
  // document on its way out.
  page_->runJavaScript(QString::fromUtf8(kSnapshotScript), QWebEngineScript::ApplicationWorld,
                       [this, alive, raiseComplete, internal, serial = loadSerial_](const QVariant& result) {
                         if (alive.expired() || serial != loadSerial_) return;
                         const QJsonObject snapshot =
                             QJsonDocument::fromJson(result.toString().toUtf8()).object();
                         document_ = std::make_unique<QtDocument>(*this, snapshot);
                         documentUrl_ = page_->url();
                         const std::string href = ToStd(snapshot.value("href").toString());
                         blankDocument_ = internal || href == "about:blank" || href.empty();
                         // The body written into the blank document keeps
                         // the blank document's address.
                         location_ = internal ? std::string("about:blank") : WithLettersDecoded(href);
                         internalLoad_ = false;
                         // A page is complete when its completion is
                         // raised, so a wait for the ready state sees the
                         // page handled, as the old control's did.
                         if (!raiseComplete) readyState_ = readystate::kComplete;
                         // Raised from the event loop, not from inside this
                         // answer: the engine hands over no further answers
                         // while one is being handled, and the handlers ask.
                         if (raiseComplete)
                           QTimer::singleShot(0, this, [this, alive, serial, url = location_] {
                             if (alive.expired() || serial != loadSerial_) return;
                             readyState_ = readystate::kComplete;
                             if (Events()) Events()->OnDocumentComplete(url);
                           });
                       });
}

void QtWebBrowser::WriteBody(const std::string& html, const std::vector<std::string>& styleSheets) {
  // The program writes only its own page (the splash) into the blank
  // document. Once a page has been asked for, it wins: the splash came too
  // late and must neither replace its load nor cover it.
  if (!blankDocument_ || (!target_.isEmpty() && target_ != QUrl(QStringLiteral("about:blank")))) {
    TraceNotice("the body is not written: a page is on view or on its way");
    return;
  }
  QString page = QStringLiteral("<!DOCTYPE html><html><head><meta charset='utf-8'>");
  for (const std::string& sheet : styleSheets)
    page += "<link rel='stylesheet' href='" + QString::fromStdString(sheet).toHtmlEscaped() + "'>";
  page += "</head>" + QString::fromStdString(html) + "</html>";
  internalLoad_ = true;
  target_ = QUrl();
  replaced_.clear();
  ++loadSerial_;
  readyState_ = readystate::kLoading;
  page_->setHtml(page, BodyBase());
}

QUrl QtWebBrowser::BodyBase() const {
  QString base = QString::fromStdString(bookFolder_);
  if (!base.endsWith('/')) base += '/';
  return QUrl::fromLocalFile(base);
}

bool QtWebBrowser::ClickLink(const std::string& textOrHref) {
  // Run in the page's own world, as a book's script would click.
  bool found = false;
  bool done = false;
  auto guard = std::make_shared<bool>(true);
  page_->runJavaScript(
      "(function(t){var a=document.getElementsByTagName('a');for(var i=0;i<a.length;i++){"
      "if(a[i].textContent.trim()===t||a[i].getAttribute('href')===t){a[i].click();return true;}}return "
      "false;})(" +
          JsString(textOrHref) + ")",
      QWebEngineScript::MainWorld, [&, guard](const QVariant& v) {
        if (!*guard) return;
        found = v.toBool();
        done = true;
      });
  AwaitAnswer(done);
  *guard = false;
  return found;
}

QVariant QtWebBrowser::RunSync(const QString& js) {
  // A document being replaced answers nothing: the question would only wait
  // for its time-out.
  if (loading_ || internalLoad_ || !target_.isEmpty())
    throw VbError(vberr::kObjectNotSet, "il documento si sta caricando");
  QVariant answer;
  bool done = false;
  auto guard = std::make_shared<bool>(true);
  page_->runJavaScript(js, QWebEngineScript::ApplicationWorld, [&, guard](const QVariant& v) {
    if (!*guard) return;
    answer = v;
    done = true;
  });
  AwaitAnswer(done);
  *guard = false;
  if (!done) {
    TraceEvent("page_no_answer", {{"script", ToStd(js.left(80))}});
    throw VbError(vberr::kInternalError, "la pagina non risponde");
  }
  return answer;
}

void QtWebBrowser::RunAsync(const QString& js) {
  page_->runJavaScript(js, QWebEngineScript::ApplicationWorld);
}

}  // namespace orva
