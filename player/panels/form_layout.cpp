#include "player/panels/form_layout.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <stdexcept>

namespace orva {
namespace {

using C = FormControl;

struct Design {
  C control;
  std::string_view name;
  C container;
  TwipRect rect;
};

// The design geometry, in the enumeration's order. The browser, the bookmark
// panel, its list and the chooser get every value from the rules, so they
// start empty; the first layout runs when the window is first shown. The
// debug frame has no rule: it stays where it was drawn until the developer
// drags it.
constexpr Design kDesign[] = {
    {C::frmBrowser, "frmBrowser", C::frmBrowser, {}},
    {C::objwb, "objwb", C::frmBrowser, {}},
    {C::fraMarcatori, "fraMarcatori", C::frmBrowser, {}},
    {C::ListMarkers, "ListMarkers", C::fraMarcatori, {}},
    {C::cmdImpExp1, "cmdImpExp1", C::fraMarcatori, {2640, 240, 1455, 375}},
    {C::cmdImpExp0, "cmdImpExp0", C::fraMarcatori, {4080, 240, 1455, 375}},
    {C::cmdImpExp4, "cmdImpExp4", C::fraMarcatori, {5520, 240, 1455, 375}},
    {C::frmImpExp, "frmImpExp", C::fraMarcatori, {}},
    {C::Dir, "Dir", C::frmImpExp, {120, 480, 3015, 765}},
    {C::Drive, "Drive", C::frmImpExp, {120, 1800, 3015, 315}},
    {C::File, "File", C::frmImpExp, {3240, 1080, 2055, 675}},
    {C::lblNomeFile, "lblNomeFile", C::frmImpExp, {3240, 240, 1815, 255}},
    {C::TextFileName, "TextFileName", C::frmImpExp, {3240, 480, 855, 375}},
    {C::cmdImpExp2, "cmdImpExp2", C::frmImpExp, {5520, 480, 1455, 495}},
    {C::cmdImpExp3, "cmdImpExp3", C::frmImpExp, {5520, 1080, 1455, 495}},
    {C::frmconfigurazione, "frmconfigurazione", C::frmBrowser, {360, 1680, 4935, 2535}},
    {C::fraDebug, "fraDebug", C::frmBrowser, {240, 240, 6615, 4815}},
    {C::cmdFileAudio, "cmdFileAudio", C::fraDebug, {120, 240, 1095, 375}},
    {C::TextAudio, "TextAudio", C::fraDebug, {1320, 240, 5175, 375}},
    {C::Label2, "Label2", C::fraDebug, {120, 780, 1095, 255}},
    {C::TextURL, "TextURL", C::fraDebug, {1320, 720, 4335, 375}},
    {C::cmdGO, "cmdGO", C::fraDebug, {5760, 720, 735, 375}},
    {C::cmdDebug1, "cmdDebug1", C::fraDebug, {120, 1200, 1095, 375}},
    {C::cmdDebug0, "cmdDebug0", C::fraDebug, {1320, 1200, 1095, 375}},
    {C::TxtDebFilename, "TxtDebFilename", C::fraDebug, {2520, 1200, 3975, 375}},
    // Eleven lines of the fixed note.
    {C::Text1, "Text1", C::fraDebug, {120, 1680, 6375, 2535}},
    {C::Command1, "Command1", C::fraDebug, {120, 4320, 1455, 375}},
    {C::frmOSD, "frmOSD", C::frmBrowser, {6480, 5400, 9135, 1095}},
    {C::lblOSD, "lblOSD", C::frmOSD, {0, 120, 8535, 1095}},
};
static_assert(std::size(kDesign) == kFormControlCount);
constexpr bool InEnumerationOrder() {
  for (std::size_t i = 0; i < kFormControlCount; ++i)
    if (static_cast<std::size_t>(kDesign[i].control) != i) return false;
  return true;
}
static_assert(InEnumerationOrder());

enum class Prop : unsigned char { Left, Top, Width, Height };

// One value a rule reads: the window's width or height, or a control's
// property as it stands when the rule runs (after the rules before it).
struct Operand {
  enum Kind : unsigned char { kNone, kWindowWidth, kWindowHeight, kControl } kind = kNone;
  C control = C::frmBrowser;
  Prop prop = Prop::Left;
};

// A rule's right-hand side: (constant + the signed operands) / divisor,
// cut to its whole part (rounded down) where the rule says so.
struct Expr {
  constexpr Expr() = default;
  constexpr Expr(double c) : constant(c) {}  // NOLINT: rules are written with bare numbers
  constexpr Expr(Operand o) { terms[0] = {1, o}; }

  struct Term {
    double sign = 0;
    Operand of;
  };
  double constant = 0;
  Term terms[3] = {};
  double divisor = 1;
  bool wholePart = false;
};

constexpr Expr Combine(Expr a, const Expr& b, double sign) {
  if (a.divisor != 1 || b.divisor != 1 || a.wholePart || b.wholePart)
    throw std::logic_error("divide only a whole sum");
  a.constant += sign * b.constant;
  for (const auto& t : b.terms) {
    if (t.sign == 0) continue;
    auto* slot =
        std::find_if(std::begin(a.terms), std::end(a.terms), [](const auto& s) { return s.sign == 0; });
    if (slot == std::end(a.terms)) throw std::logic_error("too many operands");
    *slot = {sign * t.sign, t.of};
  }
  return a;
}
constexpr Expr operator+(const Expr& a, const Expr& b) { return Combine(a, b, 1); }
constexpr Expr operator-(const Expr& a, const Expr& b) { return Combine(a, b, -1); }
constexpr Expr operator/(Expr a, double divisor) {
  a.divisor = divisor;
  return a;
}
constexpr Expr WholePart(Expr a) {
  a.wholePart = true;
  return a;
}

constexpr Expr W{Operand{Operand::kWindowWidth}};
constexpr Expr H{Operand{Operand::kWindowHeight}};
constexpr Expr Left(C c) { return Operand{Operand::kControl, c, Prop::Left}; }
constexpr Expr Top(C c) { return Operand{Operand::kControl, c, Prop::Top}; }
constexpr Expr Width(C c) { return Operand{Operand::kControl, c, Prop::Width}; }
constexpr Expr Height(C c) { return Operand{Operand::kControl, c, Prop::Height}; }

struct Rule {
  C target;
  Prop prop;
  Expr value;
};

// The window's layout, rule by rule in the order it runs: a rule reads the
// values the rules before it have set.
constexpr Rule kFormResize[] = {
    // The browser fills the window within a margin.
    {C::objwb, Prop::Top, 100},
    {C::objwb, Prop::Left, 100},
    {C::objwb, Prop::Width, W - 300},
    {C::objwb, Prop::Height, H - 600},
    // The configuration panel is centred, on whole twips.
    {C::frmconfigurazione, Prop::Top, WholePart((H - Height(C::frmconfigurazione)) / 2)},
    {C::frmconfigurazione, Prop::Left, WholePart((W - Width(C::frmconfigurazione)) / 2)},
    // The display strip runs across the middle of the window (and is hidden).
    {C::frmOSD, Prop::Left, 0},
    {C::frmOSD, Prop::Width, W},
    {C::frmOSD, Prop::Top, (H - Height(C::frmOSD)) / 2},
    {C::lblOSD, Prop::Width, Width(C::frmOSD)},
    // The bookmark panel lies exactly over the browser.
    {C::fraMarcatori, Prop::Left, Left(C::objwb)},
    {C::fraMarcatori, Prop::Top, Top(C::objwb)},
    {C::fraMarcatori, Prop::Width, Width(C::objwb)},
    {C::fraMarcatori, Prop::Height, Height(C::objwb)},
    // Its list runs from under the row of buttons to near the bottom.
    {C::ListMarkers, Prop::Left, 100},
    {C::ListMarkers, Prop::Top, Top(C::cmdImpExp1) + Height(C::cmdImpExp1) + 150},
    {C::ListMarkers, Prop::Width, Width(C::fraMarcatori) - 200},
    {C::ListMarkers, Prop::Height, Height(C::fraMarcatori) - 800},
    // The chooser covers the list exactly.
    {C::frmImpExp, Prop::Top, Top(C::ListMarkers)},
    {C::frmImpExp, Prop::Left, Left(C::ListMarkers)},
    {C::frmImpExp, Prop::Height, Height(C::ListMarkers)},
    {C::frmImpExp, Prop::Width, Width(C::ListMarkers)},
    // OK and Annulla stay 100 from the chooser's right edge.
    {C::cmdImpExp2, Prop::Left, Width(C::frmImpExp) - (Width(C::cmdImpExp2) + 100)},
    {C::cmdImpExp3, Prop::Left, Width(C::frmImpExp) - (Width(C::cmdImpExp3) + 100)},
    // The drive list at the bottom of the left column, the folder list above it.
    {C::Drive, Prop::Left, 100},
    {C::Drive, Prop::Top, Height(C::frmImpExp) - (Height(C::Drive) + 100)},
    {C::Drive, Prop::Width, (Width(C::frmImpExp) - (Width(C::cmdImpExp2) + 400)) / 2},
    {C::Dir, Prop::Left, 100},
    {C::Dir, Prop::Width, Width(C::Drive)},
    {C::Dir, Prop::Height, Height(C::frmImpExp) - (Height(C::Drive) + 200 + Top(C::Dir))},
    // The middle column: the file list from the level of Annulla down.
    {C::File, Prop::Top, Top(C::cmdImpExp3)},
    {C::File, Prop::Left, Left(C::Dir) + Width(C::Dir) + 200},
    {C::File, Prop::Height, Height(C::frmImpExp) - (Top(C::File) + 200)},
    {C::File, Prop::Width, Left(C::cmdImpExp2) - (Width(C::Dir) + 400)},
    // The name field level with OK, under its label.
    {C::TextFileName, Prop::Top, Top(C::cmdImpExp2)},
    {C::TextFileName, Prop::Left, Left(C::File)},
    {C::TextFileName, Prop::Width, Width(C::File)},
    {C::lblNomeFile, Prop::Left, Left(C::TextFileName)},
};

double& Field(TwipRect& r, Prop p) {
  switch (p) {
    case Prop::Left: return r.Left;
    case Prop::Top: return r.Top;
    case Prop::Width: return r.Width;
    case Prop::Height: break;
  }
  return r.Height;
}

double SaneDpi(double dpi) { return std::isfinite(dpi) && dpi > 0 ? dpi : 96; }

}  // namespace

std::string_view ControlName(FormControl control) { return kDesign[static_cast<std::size_t>(control)].name; }

FormControl ContainerOf(FormControl control) { return kDesign[static_cast<std::size_t>(control)].container; }

int TwipsToPixels(double twips, double dpi) {
  return static_cast<int>(std::lround(twips * SaneDpi(dpi) / kTwipsPerInch));
}

double PixelsToTwips(int pixels, double dpi) { return pixels * kTwipsPerInch / SaneDpi(dpi); }

PixelRect ToPixels(const TwipRect& rect, double dpi) {
  return {TwipsToPixels(rect.Left, dpi), TwipsToPixels(rect.Top, dpi), TwipsToPixels(rect.Width, dpi),
          TwipsToPixels(rect.Height, dpi)};
}

FormLayout::FormLayout() {
  for (const Design& d : kDesign) rects_[static_cast<std::size_t>(d.control)] = d.rect;
}

FormLayout::Resized FormLayout::Form_Resize(double width, double height, bool minimised) {
  Resized done;
  if (minimised) return done;
  rects_[static_cast<std::size_t>(C::frmBrowser)] = {0, 0, width, height};
  for (const Rule& rule : kFormResize) {
    double sum = rule.value.constant;
    for (const auto& term : rule.value.terms) {
      switch (term.of.kind) {
        case Operand::kNone: break;
        case Operand::kWindowWidth: sum += term.sign * width; break;
        case Operand::kWindowHeight: sum += term.sign * height; break;
        case Operand::kControl:
          sum += term.sign * Field(rects_[static_cast<std::size_t>(term.of.control)], term.of.prop);
          break;
      }
    }
    double value = sum / rule.value.divisor;
    if (rule.value.wholePart) value = std::floor(value);
    const bool isSize = rule.prop == Prop::Width || rule.prop == Prop::Height;
    if (isSize && value < 0) {
      value = 0;
      done.clamped.push_back(std::string(ControlName(rule.target)) +
                             (rule.prop == Prop::Width ? ".Width" : ".Height"));
    }
    Field(rects_[static_cast<std::size_t>(rule.target)], rule.prop) = value;
  }
  done.laidOut = true;
  done.osdHidden = true;
  return done;
}

}  // namespace orva
