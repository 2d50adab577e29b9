#pragma once
// Makes the on-screen display speak. A reader who cannot see the screen
// hears each message the display shows: the display's label is announced
// (AccessibleAnnouncer) for every message, even when it was already on
// screen with an earlier one.

class QWidget;

namespace orva {

class FrmBrowser;

// Chains the main window's on-screen display callback so that every message,
// once the window has put it on its label ("lblOSD" inside `window`), is
// announced. Returns false when the window has no such label.
bool AnnounceOsdMessages(FrmBrowser& form, QWidget* window);

}  // namespace orva
