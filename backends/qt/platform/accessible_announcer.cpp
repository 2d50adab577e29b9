#include "backends/qt/platform/accessible_announcer.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QLabel>

namespace orva {
namespace {

// The label's dynamic property that asks for the notification's
// accessibility.
constexpr char kAnnouncesProperty[] = "orvaAnnounces";

// A label that presents itself as a notification named by its text: screen
// readers speak a notification when it becomes showing, whether or not it
// has the focus.
class NotificationLabelAccessible : public QAccessibleWidget {
 public:
  explicit NotificationLabelAccessible(QLabel* label) : QAccessibleWidget(label, QAccessible::Notification) {}

  QString text(QAccessible::Text t) const override {
    if (t == QAccessible::Name) {
      if (auto* label = qobject_cast<QLabel*>(widget())) return label->text();
    }
    return QAccessibleWidget::text(t);
  }
};

QAccessibleInterface* NotificationLabelFactory(const QString&, QObject* object) {
  auto* label = qobject_cast<QLabel*>(object);
  if (label && label->property(kAnnouncesProperty).toBool()) return new NotificationLabelAccessible(label);
  return nullptr;
}

}  // namespace

AccessibleAnnouncer::AccessibleAnnouncer(QLabel* label) : label_(label) {
  static const bool installed = [] {
    QAccessible::installFactory(NotificationLabelFactory);
    return true;
  }();
  (void)installed;
  label_->setProperty(kAnnouncesProperty, true);
  // An interface made for the label before it asked for ours is dropped, so
  // the next query makes the notification's.
  QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(label_);
  if (iface && !dynamic_cast<NotificationLabelAccessible*>(iface)) {
    QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(iface));
    QAccessible::queryAccessibleInterface(label_);
  }
}

void AccessibleAnnouncer::Announce(bool wasShowing) {
  if (!label_->isVisible()) return;
  QAccessibleEvent name(label_, QAccessible::NameChanged);
  QAccessible::updateAccessibility(&name);
  if (wasShowing) {
    QAccessibleEvent show(label_, QAccessible::ObjectShow);
    QAccessible::updateAccessibility(&show);
  }
}

}  // namespace orva
