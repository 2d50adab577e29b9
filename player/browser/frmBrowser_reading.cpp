// Reading a page: what happens before each navigation, when a page has
// loaded, and when the player reports. For now a command link is only
// recognised and kept from loading, and a loaded page only gives the window
// its caption; the page audio binding, the bookmark lists and the command
// actions build on these handlers.

#include "common/automation/trace_events.h"
#include "player/browser/book_format.h"
#include "player/browser/frmBrowser.h"
#include "player/panels/handler_guard.h"

namespace orva {

void FrmBrowser::objWB_BeforeNavigate2(const std::string& URL, bool& Cancel) {
  Guarded(report_, "objWB_BeforeNavigate2", [&] {
    if (!state.KeepPending)
      state.PendingFragment.clear();
    else
      state.KeepPending = false;
    const book::CommandLink link = book::ClassifyCommandLink(URL);
    if (link != book::CommandLink::kNone) {
      Cancel = true;
      TraceNotice(std::string("command link not carried out yet: ") + book::ToString(link));
    }
  });
}

void FrmBrowser::objWB_DocumentComplete(const std::string& /*URL*/) {
  IgnoringErrors([&] {
    HtmlDocument* document = objwb.Document();
    if (!document) return;
    SetCaption(document->title());
  });
}

void FrmBrowser::oPlayer_PlayStateChange(std::int32_t /*NewMode*/) {}

void FrmBrowser::oPlayer_PlayFileChange(const std::string& /*NewFile*/) {}

}  // namespace orva
