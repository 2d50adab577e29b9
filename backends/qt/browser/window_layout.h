#pragma once
// The main window's layout rules (FormLayout) applied to its Qt widgets.
// Every control is looked for under the window by its name (ControlName)
// inside its frame. The window places its own children, the browser, the
// panels' frames and the display strip with its label, in pixels at the
// resolution its font gives twips (TwipDpi). Each panel arranges what lies
// inside its frame itself: by the same rules where a rule moves a control,
// and to the captions' own size where the rules only keep a drawn size. A
// control that is not (yet) built is skipped: the panels are made by their
// own code, some after the window.

#include <QApplication>
#include <QFont>
#include <QPointer>
#include <QSize>
#include <QWidget>

#include "player/panels/form_layout.h"

namespace orva {

// The resolution at which twips become pixels for `widget`. The rules were
// drawn around captions of 8 points; with the same twips at the screen's
// own resolution, a larger font no longer fits the controls. So the
// resolution grows with the application's font, as it did on the platform
// the rules were drawn on when the reader chose large fonts: the screen's
// logical resolution times the font's points over 8. A font given in
// pixels counts by its height at the screen's resolution.
inline double TwipDpi(const QWidget& widget) {
  const double screen = widget.logicalDpiY();
  const QFont font = QApplication::font();
  double points = font.pointSizeF();
  if (points <= 0 && font.pixelSize() > 0) points = font.pixelSize() * 72.0 / screen;
  return points > 0 ? widget.logicalDpiX() * points / 8 : widget.logicalDpiX();
}

class WindowLayout {
 public:
  explicit WindowLayout(QWidget& window) : window_(window) {}

  // Runs the rules for a window of `size` pixels at `dpi` and places the
  // window's own controls; a minimised window moves nothing. Hides the
  // display strip, as every layout does.
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
  // Puts every control of the window's own where the last layout placed it.
  void Place();
  void Place(FormControl control, QWidget* widget);

  QWidget& window_;
  FormLayout rules_;
  double dpi_ = 0;
  bool laidOut_ = false;
  bool restacking_ = false;
  // The debug frame has no rule: it is put at its drawn place once, and
  // then stays where the developer drags it, at the size its font needs.
  QPointer<QWidget> debugPlaced_;
};

}  // namespace orva
