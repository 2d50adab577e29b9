#pragma once
// The embedded web browser as the main window sees it: navigation, the
// loaded document's elements, title and style sheets, and four events. The
// real browser sits in backends/qt/browser; FakeWebBrowser takes documents
// built in code.
//
// Addresses cross this interface as text, exactly as the page or the core
// wrote them: a book's command links keep their extra "#" characters and
// blanks stay "%20". An address without a scheme is a path in the core's
// form ("\" separators), which the browser maps to a file address.

#include <cstdint>
#include <string>
#include <string_view>

namespace orva {

// ReadyState values, numbered as the old control numbered them.
namespace readystate {
inline constexpr std::int32_t kUninitialized = 0;
inline constexpr std::int32_t kLoading = 1;
inline constexpr std::int32_t kLoaded = 2;
inline constexpr std::int32_t kInteractive = 3;
inline constexpr std::int32_t kComplete = 4;
}  // namespace readystate

// An element of the loaded document found by name or id. Reading an
// attribute it does not carry gives the empty text.
class HtmlElement {
 public:
  virtual ~HtmlElement() = default;
  virtual std::string tagName() const = 0;
  // META content.
  virtual std::string content() const = 0;
  // An anchor's absolute address.
  virtual std::string href() const = 0;
  // A form field's current value, read live.
  virtual std::string value() const = 0;
};

class HtmlDocument {
 public:
  virtual ~HtmlDocument() = default;
  // document.all(nameOrId): the first element whose name or id is exactly
  // this; nullptr when there is none.
  virtual const HtmlElement* All(std::string_view nameOrId) const = 0;
  virtual std::string title() const = 0;
  // document.styleSheets.length
  virtual std::int32_t styleSheetCount() const = 0;
  // Inserts <link rel=stylesheet href=address> before the owner of sheet
  // `index`, or at the end when index is past the last sheet.
  virtual void createStyleSheet(const std::string& address, std::int32_t index) = 0;
  virtual std::string bodyInnerHTML() const = 0;
  virtual void setBodyInnerHTML(const std::string& html) = 0;
  // body.all(index).SetFocus; VbError 9 when the body has no such element.
  virtual void FocusBodyElement(std::int32_t index) = 0;
};

// The browser's events. A handler may navigate again.
class WebBrowserEvents {
 public:
  virtual ~WebBrowserEvents() = default;
  // Before every navigation: links, Navigate2, redirects, form posts.
  // Setting cancel keeps the current page.
  virtual void OnBeforeNavigate2(const std::string& url, bool& cancel) = 0;
  // A document (the top frame) has finished loading.
  virtual void OnDocumentComplete(const std::string& url) = 0;
  virtual void OnTitleChange(const std::string& text) = 0;
  // The page asked to close its window (window.close()).
  virtual void OnWindowClosing(bool isChildWindow, bool& cancel) = 0;
};

class WebBrowser {
 public:
  virtual ~WebBrowser() = default;

  // One receiver; nullptr disconnects.
  void SetEvents(WebBrowserEvents* events) { events_ = events; }
  WebBrowserEvents* Events() const { return events_; }

  // Raises BeforeNavigate2 first; when it is not cancelled, starts loading.
  virtual void Navigate2(const std::string& address) = 0;
  // The address of the document on view, as the page has it.
  virtual std::string LocationURL() const = 0;
  // The document's title, or its file name when it has no title.
  virtual std::string LocationName() const = 0;
  virtual std::int32_t ReadyState() const = 0;
  // The document on view; nullptr before the first document has loaded.
  virtual HtmlDocument* Document() = 0;

 private:
  WebBrowserEvents* events_ = nullptr;
};

}  // namespace orva
