#pragma once
// The handler every key press of the main window reaches before the focused
// control, and that a book's key-command links call: it looks the key up in
// the key map and runs the command. FrmBrowser::Form_KeyDown forwards here.
//
// The handler never consumes the key; the platform delivers it to the
// focused control afterwards. Each key is traced ("key": code, mask, the
// command chosen, the message shown, and the player's state after it).

#include <cstdint>

#include "player/keys/key_window.h"

namespace orva {

namespace keys {

class KeyDispatcher {
 public:
  explicit KeyDispatcher(KeyWindow& form) : form_(form) {}

  void Form_KeyDown(std::int16_t KeyCode, std::int16_t Shift);

 private:
  // Stage 2 runs only while the player holds a file.
  bool FileLoaded();

  KeyWindow& form_;
};

}  // namespace keys
}  // namespace orva
