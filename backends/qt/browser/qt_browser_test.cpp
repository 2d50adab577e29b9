#include <gtest/gtest.h>
#include <unistd.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QWebEngineView>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "backends/qt/browser/book_request_interceptor.h"
#include "backends/qt/browser/qt_web_browser.h"
#include "backends/qt/platform/testing/offscreen_application.h"

namespace orva {
namespace {

namespace fs = std::filesystem;

QApplication& App() { return testing::OffscreenApplication(/*embedsBrowser=*/true); }

// Records the pages loaded and the page's requests to close.
struct Recorder : WebBrowserEvents {
  std::vector<std::string> complete;
  int closing = 0;
  std::function<void()> onComplete;
  void OnBeforeNavigate2(const std::string&, bool&) override {}
  void OnDocumentComplete(const std::string& url) override {
    complete.push_back(url);
    if (onComplete) onComplete();
  }
  void OnTitleChange(const std::string&) override {}
  void OnWindowClosing(bool, bool& cancel) override { cancel = ++closing > 0; }
};

// A small book whose links and names use other letter cases than its
// files, in a folder whose name has a blank.
struct LiveBrowser : ::testing::Test {
  fs::path root = fs::temp_directory_path() / ("orva browser " + std::to_string(getpid()));
  std::string book = (root / "Storia Antica").string();
  Recorder events;
  std::unique_ptr<QWebEngineView> view;
  std::unique_ptr<QtWebBrowser> browser;

  void Write(const std::string& name, const std::string& text) {
    fs::create_directories((fs::path(book) / name).parent_path());
    std::ofstream(fs::path(book) / name) << text;
  }

  void SetUp() override {
    App();
    fs::remove_all(root);
    Write(
        "Index.htm",
        "<html><head><title>Indice</title><meta name='ZUVPLAYER_AUDIO' content='cap01'>"
        "<link rel='stylesheet' href='include/Book.CSS'></head><body>"
        "<a id='next' href='Cap02.htm'>Avanti</a><input id='VideoNomeFile' value='film.avi'></body></html>");
    Write("cap02.htm", "<html><head></head><body><p>Senza titolo</p></body></html>");
    Write("include/book.css", "body{color:black}");
    view = std::make_unique<QWebEngineView>();
    browser = std::make_unique<QtWebBrowser>(view.get(), book);
    browser->SetEvents(&events);
  }
  void TearDown() override { fs::remove_all(root); }

  bool WaitFor(const std::function<bool()>& done, int ms = 15000) {
    QElapsedTimer t;
    t.start();
    while (!done() && t.elapsed() < ms) QApplication::processEvents(QEventLoop::AllEvents, 20);
    return done();
  }
  std::string Url(const std::string& name) const {
    return QtWebBrowser::AddressText(QUrl::fromLocalFile(QString::fromStdString(book + "/" + name)));
  }
  void OpenIndex() {
    browser->Navigate2(Url("Index.htm"));
    ASSERT_TRUE(WaitFor([&] { return !events.complete.empty(); }));
  }
};

TEST(QtWebBrowserText, AddressesKeepTheTextThePageGave) {
  EXPECT_EQ(QtWebBrowser::AddressText(QUrl("file:///a/Storia%20Antica/x.htm#ZUVP_KEYCMD##KEYCTRL#77")),
            "file:///a/Storia%20Antica/x.htm#ZUVP_KEYCMD##KEYCTRL#77");
  EXPECT_EQ(QtWebBrowser::AddressText(QUrl::fromLocalFile(QString::fromUtf8("/a/Capè 1/perché.htm"))),
            "file:///a/Capè%201/perché.htm");
  EXPECT_EQ(QtWebBrowser::UrlFor("file:////tmp/a/INCLUDE/Style1.CSS").toString().toStdString(),
            "file:///tmp/a/INCLUDE/Style1.CSS");
}

TEST_F(LiveBrowser, TheInterceptorKeepsRequestsInsideTheBook) {
  Write("../outside.htm", "x");
  fs::create_directory_symlink("/etc", fs::path(book) / "include" / "sys");
  auto file = [](const std::string& path) { return QUrl::fromLocalFile(QString::fromStdString(path)); };
  const QUrl page = file(book + "/Index.htm"), web("https://example.org/a.htm");
  struct Row {
    const char* name;
    QUrl url, firstParty;
    bool mainFrame;
    std::string expected;  // "" loads as asked, "-> FILE" redirected, else the reason it is blocked
  } rows[] = {
      {"missing file", file(book + "/missing.htm"), page, true, ""},
      {"file beside the book", file((root / "OUTSIDE.htm").string()), page, true, "outside the book"},
      {"way out by ..", file(book + "/../outside.htm"), page, false, "outside the book"},
      {"book folder linked outside", file(book + "/include/sys/PASSWD"), page, false, "outside the book"},
      {"picture of a web page", QUrl("https://example.org/logo.png"), web, false, ""},
  };
  BookRequestInterceptor interceptor(book);
  for (const Row& row : rows) {
    const BookRequestInterceptor::Decision d = interceptor.Decide(row.url, row.firstParty, row.mainFrame);
    EXPECT_EQ(d.kind == d.kRedirect ? "-> " + d.redirectTo : d.reason, row.expected) << row.name;
  }
}

// Command links and the letter case of a page's own links are checked by the
// end-to-end run of the test book; what the page tells the player, here.
TEST_F(LiveBrowser, APageIsReadThroughItsDocument) {
  // Asked from inside its own completion, the document answers at once.
  qint64 took = -1;
  events.onComplete = [&] {
    QElapsedTimer t;
    t.start();
    browser->Document()->FocusBodyElement(1);
    took = t.elapsed();
    events.onComplete = nullptr;
  };
  OpenIndex();
  EXPECT_TRUE(took >= 0 && took < 1000) << took;
  EXPECT_EQ(browser->LocationURL(), Url("Index.htm"));
  EXPECT_EQ(browser->LocationName(), "Indice");
  HtmlDocument* doc = browser->Document();
  EXPECT_EQ(doc->title(), "Indice");
  ASSERT_NE(doc->All("ZUVPLAYER_AUDIO"), nullptr);
  EXPECT_EQ(doc->All("VideoNomeFile")->value(), "film.avi");
  EXPECT_EQ(doc->All("nothing"), nullptr);
  // The style sheet linked as Book.CSS was found as book.css. Others go in
  // at the position asked, or last when it is past the end.
  EXPECT_EQ(doc->styleSheetCount(), 1);
  const std::string sheet = "file:///" + book.substr(1) + "/INCLUDE/Style2.CSS";
  doc->createStyleSheet(sheet, 1);
  doc->createStyleSheet(sheet, 0);
  EXPECT_EQ(
      browser->RunSync("[...document.querySelectorAll('link')].map(l => l.getAttribute('href')).join('|')")
          .toString()
          .toStdString(),
      sheet + "|include/Book.CSS|" + sheet);

  // A page without a title is named by its file, as it is really called.
  const std::size_t loaded = events.complete.size();
  ASSERT_TRUE(browser->ClickLink("Avanti"));
  ASSERT_TRUE(WaitFor([&] { return events.complete.size() > loaded; }));
  EXPECT_EQ(browser->LocationURL(), Url("cap02.htm"));
  EXPECT_EQ(browser->LocationName(), "cap02.htm");
  EXPECT_EQ(browser->Document()->title(), "");
}

}  // namespace
}  // namespace orva
