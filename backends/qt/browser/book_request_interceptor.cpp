#include "backends/qt/browser/book_request_interceptor.h"

#include <QDir>
#include <QFileInfo>
#include <QUrl>

#include "common/automation/trace.h"

namespace orva {

namespace {

// Schemes whose requests leave the machine.
bool IsNetwork(const QUrl& url) {
  const QString scheme = url.scheme().toLower();
  return scheme == QLatin1String("http") || scheme == QLatin1String("https") ||
         scheme == QLatin1String("ws") || scheme == QLatin1String("wss") || scheme == QLatin1String("ftp");
}

bool IsUnder(const std::string& path, const std::string& folder) {
  if (folder == "/") return !path.empty() && path.front() == '/';
  return path.compare(0, folder.size(), folder) == 0 &&
         (path.size() == folder.size() || path[folder.size()] == '/');
}

}  // namespace

BookRequestInterceptor::BookRequestInterceptor(std::string bookFolder, QObject* parent)
    : QWebEngineUrlRequestInterceptor(parent),
      bookFolder_(QDir::cleanPath(QString::fromStdString(bookFolder)).toStdString()) {
  const QString real = QFileInfo(QString::fromStdString(bookFolder_)).canonicalFilePath();
  realBookFolder_ = real.isEmpty() ? bookFolder_ : real.toStdString();
}

bool BookRequestInterceptor::Inside(const std::string& path) const {
  if (!IsUnder(path, bookFolder_)) return false;
  // A link in the book's folders may point anywhere.
  const QString real = QFileInfo(QString::fromStdString(path)).canonicalFilePath();
  return real.isEmpty() || IsUnder(real.toStdString(), realBookFolder_);
}

BookRequestInterceptor::Decision BookRequestInterceptor::Decide(const QUrl& url, const QUrl& firstParty,
                                                                bool mainFrame) {
  if (url.isLocalFile()) {
    const std::string path = QDir::cleanPath(url.toLocalFile()).toStdString();
    if (!Inside(path)) return {Decision::kBlock, {}, "outside the book"};
    if (QFileInfo::exists(QString::fromStdString(path))) return {};
    std::optional<std::string> found = paths_.Resolve(path);
    if (!found || *found == path) return {};
    if (!Inside(*found)) return {Decision::kBlock, {}, "outside the book"};
    return {Decision::kRedirect, *found, {}};
  }
  // A page the reader reached on the web is no page of the book.
  if (!mainFrame && IsNetwork(url) && !IsNetwork(firstParty)) return {Decision::kBlock, {}, "remote"};
  return {};
}

void BookRequestInterceptor::interceptRequest(QWebEngineUrlRequestInfo& info) {
  const QUrl url = info.requestUrl();
  const Decision decision = Decide(url, info.firstPartyUrl(),
                                   info.resourceType() == QWebEngineUrlRequestInfo::ResourceTypeMainFrame);
  if (decision.kind == Decision::kBlock) {
    TraceEvent("blocked",
               {{"url", url.toString(QUrl::FullyEncoded).toStdString()}, {"reason", decision.reason}});
    info.block(true);
    return;
  }
  if (decision.kind != Decision::kRedirect) return;
  QUrl redirected = QUrl::fromLocalFile(QString::fromStdString(decision.redirectTo));
  if (url.hasQuery()) redirected.setQuery(url.query(QUrl::FullyEncoded), QUrl::StrictMode);
  if (url.hasFragment()) redirected.setFragment(url.fragment(QUrl::FullyEncoded), QUrl::StrictMode);
  ++redirects_;
  TraceEvent("book_file_redirect", {{"from", url.toLocalFile().toStdString()}, {"to", decision.redirectTo}});
  info.redirect(redirected);
}

}  // namespace orva
