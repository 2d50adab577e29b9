// The browser's events as they arrive: each is put on the trace and handed to
// the window's handler; and the two events that need no page content. A
// window that has been unloaded takes none: its player is gone, and a page
// finishing its load after the reader left must not act on it.

#include "common/automation/trace.h"
#include "common/automation/trace_events.h"
#include "common/runtime/text.h"
#include "player/browser/book_format.h"
#include "player/browser/frmBrowser.h"
#include "player/panels/handler_guard.h"

namespace orva {

void FrmBrowser::OnBeforeNavigate2(const std::string& url, bool& cancel) {
  if (unloaded_) return;
  TraceEvent("navigate", {{"url", url}});
  objWB_BeforeNavigate2(url, cancel);
  if (cancel) TraceEvent("navigate_cancelled", {{"url", url}});
}

void FrmBrowser::OnDocumentComplete(const std::string& url) {
  if (unloaded_) return;
  if (TraceEnabled()) {
    std::string title;
    IgnoringErrors([&] {
      if (HtmlDocument* document = objwb.Document()) title = document->title();
    });
    TraceEvent("page", {{"url", url}, {"title", title}});
  }
  objWB_DocumentComplete(url);
}

void FrmBrowser::OnTitleChange(const std::string& text) {
  if (!unloaded_) objWB_TitleChange(text);
}

void FrmBrowser::OnWindowClosing(bool isChildWindow, bool& cancel) {
  if (!unloaded_) objWB_WindowClosing(isChildWindow, cancel);
}

void FrmBrowser::objWB_TitleChange(const std::string& Text) {
  Guarded(report_, "objWB_TitleChange", [&] {
    // The browser's own page for a server it cannot reach leads back to the
    // book, unless going back is what failed (a book without its index
    // page): asking again would fail again, many times a second, for as
    // long as the program runs.
    if (LCase(Text) != "impossibile trovare il server") {
      returningToIndex_ = false;
      return;
    }
    if (returningToIndex_) {
      TraceNotice("the book's index page cannot be opened");
      return;
    }
    returningToIndex_ = true;
    objwb.Navigate2(Replace(programFolder_ + "\\" + std::string(book::kIndexPage), "\\\\", "\\"));
  });
}

void FrmBrowser::objWB_WindowClosing(bool /*IsChildWindow*/, bool& Cancel) {
  Guarded(report_, "objWB_WindowClosing", [&] {
    // The browser never closes itself: the window asks the exit question.
    Unload(UnloadMode::kFormCode);
    Cancel = true;
  });
}

}  // namespace orva
