#pragma once
// Where the main window puts its controls at any size. Every position is in
// twips (1440 to the inch), the unit the window's geometry was drawn in; the
// view converts to pixels at the screen's resolution when it applies them.
//
//   FormLayout layout;                       // every control as designed
//   auto done = layout.Form_Resize(PixelsToTwips(w, dpi), PixelsToTwips(h, dpi), minimised);
//   if (done.laidOut) {
//     for (each control c) widget(c)->setGeometry(ToPixels(layout[c], dpi));  // relative to ContainerOf(c)
//     if (done.osdHidden) hide the display strip;
//     if (!done.clamped.empty()) trace them;
//   }

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace orva {

// The controls the layout places. Each lies inside its container (see
// ContainerOf) and its Left and Top are relative to it. The window's own
// children are listed back to front: raised in this order, the display
// strip lies above every panel, so a panel shown over the middle of the
// window never covers the message that says so.
enum class FormControl : unsigned char {
  frmBrowser,  // the window itself; its rectangle is the size last laid out
  objwb,
  fraMarcatori,
  ListMarkers,
  cmdImpExp1,
  cmdImpExp0,
  cmdImpExp4,
  frmImpExp,
  Dir,
  Drive,
  File,
  lblNomeFile,
  TextFileName,
  cmdImpExp2,
  cmdImpExp3,
  frmconfigurazione,
  fraDebug,
  cmdFileAudio,
  TextAudio,
  Label2,
  TextURL,
  cmdGO,
  cmdDebug1,
  cmdDebug0,
  TxtDebFilename,
  Text1,
  Command1,
  frmOSD,
  lblOSD,
};
inline constexpr std::size_t kFormControlCount = static_cast<std::size_t>(FormControl::lblOSD) + 1;

// The control's name as the views know it; an indexed control carries its
// index ("cmdImpExp2", "cmdDebug0").
std::string_view ControlName(FormControl control);
// The frame or window the control lies in; the window is its own container.
FormControl ContainerOf(FormControl control);

struct TwipRect {
  double Left = 0;
  double Top = 0;
  double Width = 0;
  double Height = 0;
  bool operator==(const TwipRect&) const = default;
};

struct PixelRect {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  bool operator==(const PixelRect&) const = default;
};

inline constexpr double kTwipsPerInch = 1440;
// Conversions at the screen's resolution in dots per inch. A resolution that
// is not a positive number counts as 96, the usual one, so that a screen
// reporting none cannot send every control to infinity.
int TwipsToPixels(double twips, double dpi);
double PixelsToTwips(int pixels, double dpi);
PixelRect ToPixels(const TwipRect& rect, double dpi);

class FormLayout {
 public:
  // What one resize did.
  struct Resized {
    // False when the window was minimised: nothing moved.
    bool laidOut = false;
    // Every layout hides the display strip, a message on view included.
    bool osdHidden = false;
    // The sizes that came out negative and were set to zero instead, as
    // "Control.Width" or "Control.Height", in the order the rules met them.
    std::vector<std::string> clamped;
  };

  // Every control at its design geometry.
  FormLayout();

  // The window's resize. `width` and `height` are W and H of the rules: they
  // were drawn for the outer size, borders and title bar included, which
  // is why the browser's margins on the right and at the bottom are wider
  // than on the left; a platform that does not report the frame passes the
  // inside size. A minimised window keeps every control where the last
  // layout put it. A window too small for a control gives it a width or
  // height of zero rather than refusing the layout: a resize is dragged
  // through many sizes, and a report at each one would stand in the
  // reader's way.
  Resized Form_Resize(double width, double height, bool minimised);

  const TwipRect& operator[](FormControl control) const { return rects_[static_cast<std::size_t>(control)]; }

 private:
  TwipRect rects_[kFormControlCount];
};

}  // namespace orva
