#pragma once
// The main window's layout rules (FormLayout) applied to its Qt widgets.
// Every control is looked for under the window by its name (ControlName)
// inside its frame, and placed relative to that frame in pixels at the
// screen's resolution. A control that is not (yet) built is skipped: the
// panels are made by their own code, some after the window.
//
// The rules own the geometry of the controls they name: a control that a
// panel had put into a Qt layout is taken out of it, or the two would move
// it in turn.

#include <QPointer>
#include <QSize>

#include "player/panels/form_layout.h"

class QWidget;

namespace orva {

class WindowLayout {
 public:
  explicit WindowLayout(QWidget& window) : window_(window) {}

  // Runs the rules for a window of `size` pixels at `dpi` and places every
  // control; a minimised window moves nothing. Hides the display strip, as
  // every layout does.
  FormLayout::Resized Resize(QSize size, double dpi, bool minimised);
  // The same for one of the window's own children (a panel), when it has
  // just been shown: a panel that placed itself as it was shown goes where
  // the rules put it.
  void Place(QWidget* shown);
  // Raises the controls in the rules' order, back to front: the display
  // strip lies above every panel, the chooser above the list it covers.
  void Restack();
  // True while Restack raises the controls (each raise is reported to the
  // control as a change of its stacking order).
  bool Restacking() const { return restacking_; }

  const FormLayout& Rules() const { return rules_; }
  // The control's widget under the window, or nullptr.
  QWidget* Find(FormControl control) const;

 private:
  // Puts every control where the last layout placed it.
  void Place();
  void Place(FormControl control, QWidget* widget);

  QWidget& window_;
  FormLayout rules_;
  double dpi_ = 0;
  bool laidOut_ = false;
  bool restacking_ = false;
  // The debug frame has no rule: it is put at its drawn place once, and
  // then stays where the developer drags it.
  QPointer<QWidget> debugPlaced_;
};

}  // namespace orva
