// The command key map: every key press of the window and every key command
// of a book's links arrives here. The map and its commands live in
// player/keys.

#include "player/browser/frmBrowser.h"
#include "player/keys/key_dispatcher.h"

namespace orva {

void FrmBrowser::Form_KeyDown(std::int16_t KeyCode, std::int16_t Shift) {
  // A key that arrives after the window was unloaded has nothing to act on.
  if (unloaded_) return;
  keys::KeyDispatcher(*this).Form_KeyDown(KeyCode, Shift);
}

}  // namespace orva
