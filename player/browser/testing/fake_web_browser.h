#pragma once
// A browser whose pages are built in code, for fast and exact tests of
// everything that reads pages. Navigate2 and link clicks raise
// BeforeNavigate2 at once; a navigation that goes ahead completes on the
// event loop at the next DoEvents (TitleChange, then DocumentComplete), as a real load arrives
// later.

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "common/platform/event_loop.h"
#include "player/browser/web_browser.h"

namespace orva {

struct FakeElement {
  std::string tagName = "META";
  std::string name = {};
  std::string id = {};
  std::string content = {};
  std::string href = {};
  std::string value = {};
};

struct FakePage {
  std::string title = {};
  std::vector<FakeElement> elements = {};
  std::int32_t styleSheets = 0;
  std::string body = {};
};

// A style sheet a page was given through createStyleSheet.
struct AddedStyleSheet {
  std::string address;
  std::int32_t index = 0;
};

class FakeDocument : public HtmlDocument {
 public:
  explicit FakeDocument(FakePage page);
  ~FakeDocument() override;
  const HtmlElement* All(std::string_view nameOrId) const override;
  std::string title() const override { return page_.title; }
  std::int32_t styleSheetCount() const override { return page_.styleSheets; }
  void createStyleSheet(const std::string& address, std::int32_t index) override;
  std::string bodyInnerHTML() const override { return page_.body; }
  void setBodyInnerHTML(const std::string& html) override { page_.body = html; }
  void FocusBodyElement(std::int32_t index) override;

  const std::vector<AddedStyleSheet>& AddedStyleSheets() const { return added_; }
  std::int32_t FocusedBodyElement() const { return focused_; }
  // Changes a form field's value, as the reader typing into it.
  void SetValue(std::string_view nameOrId, std::string value);

 private:
  class Element;
  FakePage page_;
  std::vector<std::unique_ptr<Element>> elements_;
  std::vector<AddedStyleSheet> added_;
  std::int32_t focused_ = -1;
};

class FakeWebBrowser : public WebBrowser {
 public:
  explicit FakeWebBrowser(EventLoop& loop) : loop_(loop) {}
  ~FakeWebBrowser() override;

  // A page at an address as LocationURL reports it ("file:///…"), without
  // fragment. An address no page was added for loads as an empty document
  // titled by the file name, as a browser shows a missing file's error page.
  void AddPage(const std::string& address, FakePage page);

  void Navigate2(const std::string& address) override;
  std::string LocationURL() const override { return location_; }
  std::string LocationName() const override;
  std::int32_t ReadyState() const override { return readyState_; }
  HtmlDocument* Document() override { return document_.get(); }
  FakeDocument* FakeDocumentOnView() { return document_.get(); }

  // The reader follows a link (an absolute address, as the page resolves it).
  void ClickLink(const std::string& address);
  // While held, loads never finish (ReadyState stays loading).
  void HoldLoads(bool hold) { holdLoads_ = hold; }

  // The address each navigation asked for, cancelled or not.
  const std::vector<std::string>& Requested() const { return requested_; }
  // The addresses of the documents that completed, in order.
  const std::vector<std::string>& Completed() const { return completed_; }

 private:
  // The address LocationURL reports for what Navigate2 was given: a core
  // path ("\" separators) becomes a file address with "%20" for blanks.
  static std::string AddressFor(const std::string& requested);
  void Load(const std::string& address);
  void Finish(const std::string& address);

  EventLoop& loop_;
  std::map<std::string, FakePage> pages_;
  std::unique_ptr<FakeDocument> document_;
  std::string location_;
  std::int32_t readyState_ = readystate::kUninitialized;
  bool holdLoads_ = false;
  TimerId pending_ = kNoTimer;
  std::vector<std::string> requested_;
  std::vector<std::string> completed_;
};

}  // namespace orva
