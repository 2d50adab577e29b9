#pragma once
// Makes a label speak to a reader who cannot see the screen, whether or not
// it has the keyboard focus. The label presents itself to assistive
// technology as a notification named by its text, and each announcement
// raises the events a screen reader acts on for one: the label's new name
// and its "showing" state, even when the label was already on screen with
// an earlier text.
//
// Not an alert event: the Linux accessibility bridge drops those, and screen
// readers there ignore name changes of labels without the focus; a
// notification that becomes showing is spoken.

class QLabel;

namespace orva {

class AccessibleAnnouncer {
 public:
  // Takes over how `label` presents itself to assistive technology.
  explicit AccessibleAnnouncer(QLabel* label);
  AccessibleAnnouncer(const AccessibleAnnouncer&) = delete;
  AccessibleAnnouncer& operator=(const AccessibleAnnouncer&) = delete;

  // Raises the events for the text now on the label, if it is on screen.
  // `wasShowing`: the label was already on screen before it received this
  // text (Qt tells assistive technology itself when a hidden label
  // appears, so a second "showing" would make it spoken twice).
  void Announce(bool wasShowing);

 private:
  QLabel* label_;
};

}  // namespace orva
