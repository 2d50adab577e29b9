#include <gtest/gtest.h>
#include <unistd.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QWebEngineView>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "backends/qt/browser/book_request_interceptor.h"
#include "backends/qt/browser/qt_web_browser.h"
#include "backends/qt/platform/testing/offscreen_application.h"

namespace orva {
namespace {

namespace fs = std::filesystem;

QApplication& App() { return testing::OffscreenApplication(/*embedsBrowser=*/true); }

// Records what the browser raises; cancels command links like the window.
struct Recorder : WebBrowserEvents {
  std::vector<std::string> before, complete, titles;
  int closing = 0;
  std::function<void()> onComplete;
  std::function<bool(const std::string&)> cancelIf = [](const std::string& url) {
    return url.find("#ZUVP_") != std::string::npos;
  };
  void OnBeforeNavigate2(const std::string& url, bool& cancel) override {
    before.push_back(url);
    cancel = cancelIf(url);
  }
  void OnDocumentComplete(const std::string& url) override {
    complete.push_back(url);
    if (onComplete) onComplete();
  }
  void OnTitleChange(const std::string& text) override { titles.push_back(text); }
  void OnWindowClosing(bool, bool& cancel) override {
    ++closing;
    cancel = true;
  }
};

// A small book whose links and names use other letter cases than its
// files, in a folder whose name has a blank.
struct LiveBrowser : ::testing::Test {
  fs::path root = fs::temp_directory_path() / ("orva browser " + std::to_string(getpid()));
  std::string book = (root / "Storia Antica").string();
  QWebEngineView* view = nullptr;
  QtWebBrowser* browser = nullptr;
  Recorder events;

  void Write(const std::string& name, const std::string& text) {
    fs::create_directories((fs::path(book) / name).parent_path());
    std::ofstream(fs::path(book) / name) << text;
  }

  void SetUp() override {
    App();
    fs::remove_all(root);
    Write("Index.htm",
          "<html><head><title>Indice</title><meta name='ZUVPLAYER_AUDIO' content='cap01'>"
          "<link rel='stylesheet' href='include/Book.CSS'></head><body>"
          "<a id='next' href='Cap02.htm'>Avanti</a> <a href='#ZUVP_STOP#'>Stop</a>"
          "<a href='#ZUVP_KEYCMD##KEYCTRL#77'>Comando</a> <a href='#par2'>Paragrafo</a>"
          "<input id='VideoNomeFile' value='film.avi'><p id='par2'>x</p></body></html>");
    Write("cap02.htm", "<html><head></head><body><p>Senza titolo</p></body></html>");
    Write("include/book.css", "body{color:black}");
    view = new QWebEngineView();
    browser = new QtWebBrowser(view, book);
    browser->SetEvents(&events);
  }
  void TearDown() override {
    delete browser;
    delete view;
    fs::remove_all(root);
  }

  bool WaitFor(const std::function<bool()>& done, int ms = 15000) {
    QElapsedTimer t;
    t.start();
    while (!done() && t.elapsed() < ms) QApplication::processEvents(QEventLoop::AllEvents, 20);
    return done();
  }
  std::string IndexUrl() const {
    return QUrl::fromLocalFile(QString::fromStdString(book + "/Index.htm"))
        .toString(QUrl::FullyEncoded)
        .toStdString();
  }
  void OpenIndex() {
    browser->Navigate2(
        QtWebBrowser::AddressText(QUrl::fromLocalFile(QString::fromStdString(book + "/Index.htm"))));
    ASSERT_TRUE(WaitFor([&] { return !events.complete.empty(); }));
  }
};

TEST(QtWebBrowserText, AddressesKeepTheTextThePageGave) {
  EXPECT_EQ(QtWebBrowser::AddressText(QUrl("file:///a/Storia%20Antica/x.htm#ZUVP_KEYCMD##KEYCTRL#77")),
            "file:///a/Storia%20Antica/x.htm#ZUVP_KEYCMD##KEYCTRL#77");
  EXPECT_EQ(
      QtWebBrowser::UrlFor("\\tmp\\Storia Antica\\Index.htm#x").toString(QUrl::FullyEncoded).toStdString(),
      "file:///tmp/Storia%20Antica/Index.htm#x");
  EXPECT_EQ(QtWebBrowser::UrlFor("file:////tmp/a/INCLUDE/Style1.CSS").toString().toStdString(),
            "file:///tmp/a/INCLUDE/Style1.CSS");
}

TEST_F(LiveBrowser, TheInterceptorKeepsRequestsInsideTheBookAndFindsItsFilesInAnyCase) {
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
      {"page in another case", file(book + "/Cap02.htm"), page, true, "-> " + book + "/cap02.htm"},
      {"file as asked", file(book + "/cap02.htm"), page, false, ""},
      {"missing file", file(book + "/missing.htm"), page, true, ""},
      {"file beside the book", file((root / "OUTSIDE.htm").string()), page, true, "outside the book"},
      {"way out by ..", file(book + "/../outside.htm"), page, false, "outside the book"},
      {"book folder linked outside", file(book + "/include/sys/PASSWD"), page, false, "outside the book"},
      {"remote picture of a page", QUrl("http://127.0.0.1:47/logo.png"), page, false, "remote"},
      {"link to the web", web, web, true, ""},
      {"picture of a web page", QUrl("https://example.org/logo.png"), web, false, ""},
  };
  BookRequestInterceptor interceptor(book);
  for (const Row& row : rows) {
    const BookRequestInterceptor::Decision d = interceptor.Decide(row.url, row.firstParty, row.mainFrame);
    EXPECT_EQ(d.kind == d.kRedirect ? "-> " + d.redirectTo : d.reason, row.expected) << row.name;
  }
}

TEST_F(LiveBrowser, APageLoadsIsReadOnceAndItsLinksPassBeforeNavigate2) {
  OpenIndex();
  // Navigate2 raised BeforeNavigate2 first, with the address as given.
  ASSERT_FALSE(events.before.empty());
  EXPECT_EQ(events.complete.back(), IndexUrl());
  EXPECT_EQ(browser->LocationURL(), IndexUrl());
  EXPECT_EQ(browser->LocationName(), "Indice");
  HtmlDocument* doc = browser->Document();
  ASSERT_NE(doc, nullptr);
  EXPECT_EQ(doc->title(), "Indice");
  ASSERT_NE(doc->All("ZUVPLAYER_AUDIO"), nullptr);
  EXPECT_EQ(doc->All("ZUVPLAYER_AUDIO")->content(), "cap01");
  EXPECT_EQ(doc->All("VideoNomeFile")->value(), "film.avi");
  EXPECT_EQ(doc->All("nothing"), nullptr);
  // The style sheet linked as Book.CSS was found as book.css.
  EXPECT_EQ(doc->styleSheetCount(), 1);
  EXPECT_GE(browser->interceptor().Redirects(), 1);

  // A command link to a fragment of the page: caught, handed over with its
  // extra "#" intact, cancelled, and the page stays.
  const std::size_t before = events.before.size();
  ASSERT_TRUE(browser->ClickLink("Comando"));
  ASSERT_TRUE(WaitFor([&] { return events.before.size() > before; }));
  EXPECT_EQ(events.before.back(), IndexUrl() + "#ZUVP_KEYCMD##KEYCTRL#77");
  QApplication::processEvents();
  EXPECT_EQ(browser->LocationURL(), IndexUrl());

  // An ordinary link, written in another letter case than its file.
  const std::size_t loaded = events.complete.size();
  ASSERT_TRUE(browser->ClickLink("Avanti"));
  ASSERT_TRUE(WaitFor([&] { return events.complete.size() > loaded; }));
  const std::string cap02 = QUrl::fromLocalFile(QString::fromStdString(book + "/cap02.htm"))
                                .toString(QUrl::FullyEncoded)
                                .toStdString();
  EXPECT_EQ(events.before.back().substr(events.before.back().rfind('/')), "/Cap02.htm");
  EXPECT_EQ(browser->LocationURL(), cap02);  // the file's real name
  // No title: the location name is the file name.
  EXPECT_EQ(browser->LocationName(), "cap02.htm");
  EXPECT_EQ(browser->Document()->title(), "");
}

TEST_F(LiveBrowser, TheDocumentCanBeAskedFromInsideItsCompletion) {
  qint64 took = -1;
  events.onComplete = [&] {
    QElapsedTimer t;
    t.start();
    browser->Document()->FocusBodyElement(1);
    took = t.elapsed();
  };
  OpenIndex();
  EXPECT_GE(took, 0);
  EXPECT_LT(took, 1000);
}

TEST_F(LiveBrowser, AJumpWithinThePageCompletesAtItsNewAddress) {
  OpenIndex();
  const std::size_t loaded = events.complete.size();
  ASSERT_TRUE(browser->ClickLink("Paragrafo"));
  ASSERT_TRUE(WaitFor([&] { return events.complete.size() > loaded; }));
  EXPECT_EQ(browser->LocationURL(), IndexUrl() + "#par2");
}

TEST_F(LiveBrowser, StyleSheetsAreInsertedAtTheirPosition) {
  OpenIndex();
  HtmlDocument* doc = browser->Document();
  Write("INCLUDE/Style2.CSS", "p{color:red}");
  const std::string sheet = "file:///" + book.substr(1) + "/INCLUDE/Style2.CSS";
  doc->createStyleSheet(sheet, 1);  // past the end of one sheet: appended
  doc->createStyleSheet(sheet, 0);  // before the page's own
  const QVariant order = browser->RunSync(
      "Array.prototype.map.call(document.querySelectorAll('link'),function(l){return "
      "l.getAttribute('href');}).join('|')");
  EXPECT_EQ(order.toString().toStdString(), sheet + "|include/Book.CSS|" + sheet);
  EXPECT_EQ(doc->styleSheetCount(), 3);
}

TEST_F(LiveBrowser, TheSplashIsWrittenIntoTheBlankDocumentWithTheBookAsBase) {
  Write("include/avvio.jpg", "not really a picture");
  browser->Navigate2("about:blank");
  ASSERT_TRUE(WaitFor([&] { return browser->ReadyState() == readystate::kComplete; }));
  // Questions to the blank document are answered at once.
  QElapsedTimer asked;
  asked.start();
  EXPECT_EQ(browser->RunSync("1+1").toInt(), 2);
  EXPECT_LT(asked.elapsed(), 1000);
  const std::size_t completes = events.complete.size();
  browser->Document()->setBodyInnerHTML(
      "<BODY><p><img src='include/AVVIO.jpg' alt='Logo'></p><h1>OrvaPlayer</h1></Body>");
  ASSERT_TRUE(WaitFor([&] { return browser->ReadyState() == readystate::kComplete; }));
  EXPECT_EQ(events.complete.size(), completes);  // writing a body is no navigation
  EXPECT_EQ(browser->LocationURL(), "about:blank");
  EXPECT_NE(browser->Document()->bodyInnerHTML().find("OrvaPlayer"), std::string::npos);
}

TEST_F(LiveBrowser, APageAskingToCloseRaisesWindowClosing) {
  OpenIndex();
  browser->page()->runJavaScript("window.close()");
  EXPECT_TRUE(WaitFor([&] { return events.closing > 0; }, 3000));
}

}  // namespace
}  // namespace orva
