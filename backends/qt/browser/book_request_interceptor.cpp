#include "backends/qt/browser/book_request_interceptor.h"

#include <QFileInfo>
#include <QUrl>

#include "common/automation/trace.h"

namespace orva {

BookRequestInterceptor::BookRequestInterceptor(std::string bookFolder, QObject* parent)
    : QWebEngineUrlRequestInterceptor(parent), bookFolder_(std::move(bookFolder)) {
  while (bookFolder_.size() > 1 && bookFolder_.back() == '/') bookFolder_.pop_back();
}

std::string BookRequestInterceptor::RedirectFor(const std::string& path) {
  const bool inside = path.size() > bookFolder_.size() &&
                      path.compare(0, bookFolder_.size(), bookFolder_) == 0 &&
                      (bookFolder_ == "/" || path[bookFolder_.size()] == '/');
  if (!inside) return {};
  if (QFileInfo::exists(QString::fromStdString(path))) return {};
  std::optional<std::string> found = paths_.Resolve(path);
  if (!found || *found == path) return {};
  return *found;
}

void BookRequestInterceptor::interceptRequest(QWebEngineUrlRequestInfo& info) {
  const QUrl url = info.requestUrl();
  if (!url.isLocalFile()) return;
  const std::string path = url.toLocalFile().toStdString();
  const std::string target = RedirectFor(path);
  if (target.empty()) return;
  QUrl redirected = QUrl::fromLocalFile(QString::fromStdString(target));
  if (url.hasQuery()) redirected.setQuery(url.query(QUrl::FullyEncoded), QUrl::StrictMode);
  if (url.hasFragment()) redirected.setFragment(url.fragment(QUrl::FullyEncoded), QUrl::StrictMode);
  ++redirects_;
  TraceEvent("book_file_redirect", {{"from", path}, {"to", target}});
  info.redirect(redirected);
}

}  // namespace orva
