#include "backends/qt/browser/window_layout.h"

namespace orva {
namespace {

// The controls the window places itself: its own children, and the label of
// the display strip it builds. What lies in a panel's frame is the panel's:
// a panel also sizes the controls whose drawn size the rules only keep to
// their captions, and two hands on one control would move it in turn.
bool WindowPlaces(FormControl control) {
  return control != FormControl::frmBrowser &&
         (ContainerOf(control) == FormControl::frmBrowser || control == FormControl::lblOSD);
}

}  // namespace

QWidget* WindowLayout::Find(FormControl control) const {
  if (control == FormControl::frmBrowser) return &window_;
  QWidget* container = Find(ContainerOf(control));
  if (!container) return nullptr;
  const std::string_view name = ControlName(control);
  return container->findChild<QWidget*>(
      QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size())));
}

FormLayout::Resized WindowLayout::Resize(QSize size, double dpi, bool minimised) {
  FormLayout::Resized done =
      rules_.Form_Resize(PixelsToTwips(size.width(), dpi), PixelsToTwips(size.height(), dpi), minimised);
  if (!done.laidOut) return done;
  dpi_ = dpi;
  laidOut_ = true;
  Place();
  if (QWidget* strip = Find(FormControl::frmOSD); strip && done.osdHidden) strip->hide();
  Restack();
  return done;
}

void WindowLayout::Place() {
  for (std::size_t i = 1; i < kFormControlCount; ++i) {
    const auto control = static_cast<FormControl>(i);
    if (!WindowPlaces(control)) continue;
    if (QWidget* widget = Find(control)) Place(control, widget);
  }
}

void WindowLayout::Place(QWidget* shown) {
  if (!laidOut_) return;
  for (std::size_t i = 1; i < kFormControlCount; ++i) {
    const auto control = static_cast<FormControl>(i);
    if (ContainerOf(control) == FormControl::frmBrowser && Find(control) == shown) Place(control, shown);
  }
}

void WindowLayout::Place(FormControl control, QWidget* widget) {
  const PixelRect r = ToPixels(rules_[control], dpi_);
  if (control == FormControl::fraDebug && debugPlaced_ == widget) {
    widget->resize(r.width, r.height);
    return;
  }
  if (control == FormControl::fraDebug) debugPlaced_ = widget;
  widget->setGeometry(r.left, r.top, r.width, r.height);
}

void WindowLayout::Restack() {
  restacking_ = true;
  for (std::size_t i = 0; i < kFormControlCount; ++i)
    if (QWidget* widget = Find(static_cast<FormControl>(i)); widget && widget != &window_) widget->raise();
  restacking_ = false;
}

}  // namespace orva
