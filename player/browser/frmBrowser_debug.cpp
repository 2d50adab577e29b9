// The debug frame's handlers: what the player holds, playing it, opening a
// typed address, and dragging the frame about.

#include "common/runtime/vb_error.h"
#include "player/browser/frmBrowser.h"
#include "player/panels/handler_guard.h"

namespace orva {

namespace {

oMoxPlayer& Held(const std::unique_ptr<oMoxPlayer>& player) {
  if (!player) RaiseVbError(vberr::kObjectNotSet);
  return *player;
}

}  // namespace

void FrmBrowser::cmdDebug_Click(std::int16_t Index) {
  Guarded(report_, "cmdDebug_Click", [&] {
    if (Index == 1) Held(oPlayer).Play_Player();
    // Asked again: playing lets events run, which may replace the player.
    fraDebug.TxtDebFilename.SetText(Held(oPlayer).FileName());
  });
}

void FrmBrowser::cmdFileAudio_Click() {
  Guarded(report_, "cmdFileAudio_Click", [&] { fraDebug.TextAudio.SetText(Held(oPlayer).FileName()); });
}

void FrmBrowser::cmdGO_Click() {
  // The address loads like any other: command links and page completion
  // see it as they see a link.
  Guarded(report_, "cmdGO_Click", [&] { objwb.Navigate2(fraDebug.TextURL.Text()); });
}

void FrmBrowser::fraDebug_DragOver(std::string_view /*Source*/, float X, float Y, std::int16_t /*State*/) {
  Guarded(report_, "fraDebug_DragOver", [&] { fraDebug.Move(X, Y); });
}

}  // namespace orva
