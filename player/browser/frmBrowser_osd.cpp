// The on-screen display: one line that briefly shows what a command did (and
// says it, while the program's own voice is on), and the timer that ends the
// quiet second after a bookmark recall.

#include "common/automation/trace.h"
#include "player/browser/frmBrowser.h"
#include "player/panels/handler_guard.h"

namespace orva {

void FrmBrowser::OSD(const std::string& text, bool keep) {
  Guarded(report_, "OSD", [&] {
    lblOSD = text;
    frmOSDVisible = true;
    TraceEvent("osd", {{"text", text}, {"keep", keep}});
    if (OsdChanged) OsdChanged(true, lblOSD);
    voice.Say(lblOSD, SpeechPriority::kMessage);
    // A kept message cancels a hide still pending from an earlier one.
    TimerOSD.SetEnabled(!keep);
  });
}

void FrmBrowser::TimerOSD_Timer() {
  Guarded(report_, "TimerOSD_Timer", [&] {
    TimerOSD.SetEnabled(false);
    frmOSDVisible = false;
    TraceEvent("osd_hidden");
    if (OsdChanged) OsdChanged(false, lblOSD);
  });
}

void FrmBrowser::TimerDisableState_Timer() {
  Guarded(report_, "TimerDisableState_Timer", [&] {
    TimerDisableState.SetEnabled(false);
    state.PlaySuppressed = false;
  });
}

}  // namespace orva
