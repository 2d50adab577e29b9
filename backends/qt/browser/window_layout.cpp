#include "backends/qt/browser/window_layout.h"

#include <QLayout>
#include <QWidget>

namespace orva {
namespace {

// Takes `widget` out of `layout` or any layout nested in it.
bool TakeOut(QLayout& layout, QWidget* widget) {
  for (int i = 0; QLayoutItem* item = layout.itemAt(i); ++i) {
    if (item->widget() == widget) {
      delete layout.takeAt(i);
      return true;
    }
    if (QLayout* inner = item->layout(); inner && TakeOut(*inner, widget)) return true;
  }
  return false;
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
  // Innermost first: a frame comes after its controls, so that a panel that
  // places its own controls as it is resized (by these rules, and as its
  // state wants) has the last word.
  for (std::size_t i = kFormControlCount; i-- > 1;) {
    const auto control = static_cast<FormControl>(i);
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
  if (control == FormControl::fraDebug) {
    if (debugPlaced_ == widget) return;
    debugPlaced_ = widget;
  }
  QWidget* parent = widget->parentWidget();
  if (QLayout* own = parent->layout(); own && parent != &window_) TakeOut(*own, widget);
  const PixelRect r = ToPixels(rules_[control], dpi_);
  QPoint topLeft(r.left, r.top);
  // A control wrapped in a widget of its panel's own is still placed
  // relative to its frame.
  if (QWidget* container = Find(ContainerOf(control)); container != parent)
    topLeft = parent->mapFrom(container, topLeft);
  widget->setGeometry(QRect(topLeft, QSize(r.width, r.height)));
}

void WindowLayout::Restack() {
  restacking_ = true;
  for (std::size_t i = 0; i < kFormControlCount; ++i)
    if (QWidget* widget = Find(static_cast<FormControl>(i)); widget && widget != &window_) widget->raise();
  restacking_ = false;
}

}  // namespace orva
