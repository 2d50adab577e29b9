// The command key map: every key press of the window and every key command
// of a book's links arrives here. The map's commands are not in yet; a key
// reaches the entry point and does nothing.

#include "common/automation/trace.h"
#include "player/browser/frmBrowser.h"
#include "player/panels/handler_guard.h"

namespace orva {

void FrmBrowser::Form_KeyDown(std::int16_t KeyCode, std::int16_t Shift) {
  Guarded(report_, "Form_KeyDown - ", [&] {
    TraceEvent("key", {{"code", static_cast<int>(KeyCode)}, {"shift", static_cast<int>(Shift)}});
  });
}

}  // namespace orva
