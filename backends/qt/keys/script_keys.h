#pragma once
// Keys pressed by the automation script ("key Ctrl+2"). They take the path
// of a key from the keyboard: a spontaneous press and release, with the
// keycode and keysym an X keyboard gives, delivered to the top-level window,
// which hands them to its focus widget; the key preview filter sees them
// there first, exactly as it sees the reader's keys.

#include "backends/qt/keys/x11_virtual_keys.h"

class QWidget;

namespace orva {

// Throws std::runtime_error when the window has no native window yet.
void PressScriptKey(QWidget& topLevel, const x11keys::ScriptKey& key);

}  // namespace orva
