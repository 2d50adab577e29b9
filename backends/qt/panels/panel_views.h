#pragma once
// What the panel views share: texts between the core and Qt, handlers
// chained onto the core's models for as long as a view lives, accessible
// names from captions, and controls put where the window's layout rules say.

#include <QPushButton>
#include <QString>
#include <QWidget>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <type_traits>

#include "player/panels/form_layout.h"

namespace orva::panelview {

inline QString Q(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// A caption as a screen reader should say it: without the "&" that marks
// the access letter (a doubled "&&" is a real one) and without the blanks
// around it.
inline QString SpokenCaption(std::string_view caption) {
  QString text;
  const QString from = Q(caption);
  for (qsizetype i = 0; i < from.size(); ++i) {
    if (from[i] == QLatin1Char('&') && i + 1 < from.size()) ++i;
    text += from[i];
  }
  return text.trimmed();
}

// Runs `after` once the model's own handler has run, while `alive` holds
// true (the view clears it as it goes; the models may outlive it).
template <class... Args>
void Chain(std::function<void(Args...)>& handler, const std::shared_ptr<bool>& alive,
           std::type_identity_t<std::function<void(Args...)>> after) {
  handler = [previous = std::move(handler), weak = std::weak_ptr<bool>(alive),
             after = std::move(after)](Args... args) {
    if (previous) previous(args...);
    if (auto live = weak.lock(); live && *live) after(args...);
  };
}

// Names a widget as the window's layout knows it and as screen readers say it.
template <class Widget>
Widget* Named(Widget* widget, FormControl control, std::string_view accessibleName) {
  widget->setObjectName(Q(ControlName(control)));
  widget->setAccessibleName(SpokenCaption(accessibleName));
  // Outside a dialog a push button answers only Space; readers press Enter.
  if constexpr (std::is_base_of_v<QPushButton, Widget>) widget->setAutoDefault(true);
  return widget;
}

// The screen's resolution for twips, as the widget sees it.
inline double DpiOf(const QWidget& widget) { return widget.logicalDpiX(); }

// Puts `widget` where `rect` (twips, relative to its container) says.
inline void PlaceAt(QWidget* widget, const TwipRect& rect, double dpi) {
  const PixelRect px = ToPixels(rect, dpi);
  widget->setGeometry(px.left, px.top, px.width, px.height);
}

}  // namespace orva::panelview
