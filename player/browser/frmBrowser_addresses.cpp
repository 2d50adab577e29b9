// The page on view as a section key, and video links as file paths.

#include "player/browser/addresses.h"
#include "player/browser/frmBrowser.h"
#include "player/panels/handler_guard.h"

namespace orva {

std::string FrmBrowser::Section() {
  return Guarded(report_, "Section", std::string(),
                 [&] { return SectionKey(objwb.LocationURL(), programFolder_); });
}

std::string FrmBrowser::PulisciUrl(const std::string& url) {
  // A failure can only come from asking the browser, before any clean-up, so
  // the text as cleaned so far is the address as given.
  return Guarded(report_, "PulisciUrl", url, [&] {
    return CleanVideoAddress(url, objwb.LocationURL(), objwb.LocationName(), programFolder_);
  });
}

}  // namespace orva
