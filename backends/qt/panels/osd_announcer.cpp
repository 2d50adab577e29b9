#include "backends/qt/panels/osd_announcer.h"

#include <QLabel>
#include <QPointer>
#include <memory>

#include "backends/qt/platform/accessible_announcer.h"
#include "player/browser/frmBrowser.h"

namespace orva {

bool AnnounceOsdMessages(FrmBrowser& form, QWidget* window) {
  auto* label = window ? window->findChild<QLabel*>(QStringLiteral("lblOSD")) : nullptr;
  if (!label) return false;
  auto announcer = std::make_shared<AccessibleAnnouncer>(label);
  QPointer<QLabel> alive(label);
  auto shown = std::move(form.OsdChanged);
  form.OsdChanged = [shown, announcer, alive](bool visible, const std::string& text) {
    const bool wasShowing = alive && alive->isVisible();
    if (shown) shown(visible, text);
    if (visible && alive) announcer->Announce(wasShowing);
  };
  return true;
}

}  // namespace orva
