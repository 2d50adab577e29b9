#pragma once
// Makes the on-screen display speak. A reader who cannot see the screen
// hears each message the display shows: the display's label presents
// itself to assistive technology as a notification, and every message
// raises the events a screen reader acts on for one, the label's new name
// and its "showing" state, even when the label was already on screen with
// an earlier message.

#include <memory>

class QLabel;
class QWidget;

namespace orva {

class FrmBrowser;

class OsdAnnouncer {
 public:
  // Takes over how `label` presents itself to assistive technology.
  explicit OsdAnnouncer(QLabel* label);
  OsdAnnouncer(const OsdAnnouncer&) = delete;
  OsdAnnouncer& operator=(const OsdAnnouncer&) = delete;

  // Raises the events for the message now on the label. `wasShowing`: the
  // label was already on screen before it received this message (Qt tells
  // assistive technology itself when a hidden label appears).
  void Announce(bool wasShowing);

 private:
  QLabel* label_;
};

// Chains the main window's on-screen display callback so that every message,
// once the window has put it on its label ("lblOSD" inside `window`), is
// announced. Returns false when the window has no such label.
bool AnnounceOsdMessages(FrmBrowser& form, QWidget* window);

}  // namespace orva
