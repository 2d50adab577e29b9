#pragma once
// The screen reader's side of the accessibility bus, for tests run through
// run_with_atspi.sh: what a screen reader is told when something becomes
// "showing", and what it asks the object before speaking. A test program
// lists this header among its sources (its class needs moc) and hands its
// main to RunOnAccessibilityBus.

#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusReply>
#include <QDBusVariant>
#include <QElapsedTimer>
#include <QObject>
#include <QStringList>
#include <cstdio>
#include <vector>

namespace orva::testing {

inline void RunEventsFor(int ms) {
  QElapsedTimer timer;
  timer.start();
  while (timer.elapsed() < ms) QApplication::processEvents(QEventLoop::AllEvents, 20);
}

template <class Done>
bool RunEventsUntil(Done done, int ms = 5000) {
  QElapsedTimer timer;
  timer.start();
  while (!done() && timer.elapsed() < ms) QApplication::processEvents(QEventLoop::AllEvents, 20);
  return done();
}

inline QString AccessibilityBusAddress() {
  QDBusMessage call =
      QDBusMessage::createMethodCall(QStringLiteral("org.a11y.Bus"), QStringLiteral("/org/a11y/bus"),
                                     QStringLiteral("org.a11y.Bus"), QStringLiteral("GetAddress"));
  const QDBusReply<QString> reply = QDBusConnection::sessionBus().call(call);
  return reply.isValid() ? reply.value() : QString();
}

class AtSpiListener : public QObject {
  Q_OBJECT
 public:
  struct Showing {
    QString sender;
    QString path;
  };

  explicit AtSpiListener(const QString& address = AccessibilityBusAddress())
      : bus_(QDBusConnection::connectToBus(address, QStringLiteral("orva-screen-reader"))) {}
  ~AtSpiListener() override { QDBusConnection::disconnectFromBus(QStringLiteral("orva-screen-reader")); }

  // As a screen reader does: tells the registry (and through it every
  // program) which events it wants, then takes them. The program under test
  // learns of the new listener from the registry, so this runs its events
  // for a moment before returning.
  bool Listen() {
    if (!bus_.isConnected()) return false;
    for (const char* event : {"Object:StateChanged:Showing", "Object:StateChanged:Focused",
                              "Object:PropertyChange:AccessibleName"}) {
      QDBusMessage call = QDBusMessage::createMethodCall(
          QStringLiteral("org.a11y.atspi.Registry"), QStringLiteral("/org/a11y/atspi/registry"),
          QStringLiteral("org.a11y.atspi.Registry"), QStringLiteral("RegisterEvent"));
      call << QString::fromLatin1(event) << QStringList() << QString();
      if (bus_.call(call).type() == QDBusMessage::ErrorMessage) return false;
    }
    if (!bus_.connect(QString(), QString(), QStringLiteral("org.a11y.atspi.Event.Object"),
                      QStringLiteral("StateChanged"), this, SLOT(OnStateChanged(QDBusMessage))))
      return false;
    RunEventsFor(500);
    return true;
  }

  // Every object that became showing since the last clear, in order.
  std::vector<Showing> shown;
  // Every object that took the keyboard (a control, or a line of a list).
  std::vector<Showing> focused;

  // Asks the object over the bus, as a screen reader does before speaking.
  // The program answers from its own event loop, which runs meanwhile.
  QString Ask(const Showing& s, const QString& member, const QVariantList& args = {}) {
    QDBusMessage call =
        QDBusMessage::createMethodCall(s.sender, s.path, QStringLiteral("org.a11y.atspi.Accessible"), member);
    call.setArguments(args);
    const QDBusMessage reply = bus_.call(call, QDBus::BlockWithGui, 5000);
    return reply.arguments().isEmpty() ? QStringLiteral("<no answer: %1>").arg(reply.errorMessage())
                                       : reply.arguments().first().toString();
  }
  QString Role(const Showing& s) { return Ask(s, QStringLiteral("GetRoleName")); }
  QString Name(const Showing& s) {
    QDBusMessage call = QDBusMessage::createMethodCall(
        s.sender, s.path, QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Get"));
    call << QStringLiteral("org.a11y.atspi.Accessible") << QStringLiteral("Name");
    const QDBusMessage reply = bus_.call(call, QDBus::BlockWithGui, 5000);
    if (reply.arguments().isEmpty()) return QStringLiteral("<no answer: %1>").arg(reply.errorMessage());
    return reply.arguments().first().value<QDBusVariant>().variant().toString();
  }

 private slots:
  void OnStateChanged(const QDBusMessage& message) {
    const QVariantList args = message.arguments();
    if (args.size() < 2 || args[1].toInt() != 1) return;
    if (args[0].toString() == QLatin1String("showing")) shown.push_back({message.service(), message.path()});
    if (args[0].toString() == QLatin1String("focused"))
      focused.push_back({message.service(), message.path()});
  }

 private:
  QDBusConnection bus_;
};

// The test program's main: a run that is not on an accessibility bus fails
// rather than passing for nothing. The application lives on its stack: a
// static one would be torn down after the bus connections it uses.
inline int RunOnAccessibilityBus(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  if (qgetenv("QT_QPA_PLATFORM") != "xcb" || qgetenv("DBUS_SESSION_BUS_ADDRESS").isEmpty()) {
    std::fprintf(stderr, "no accessibility bus: run this test through run_with_atspi.sh\n");
    return 1;
  }
  QApplication app(argc, argv);
  // The bridge comes up once the program has asked for it and the bus has
  // answered.
  (void)QAccessible::isActive();
  if (!RunEventsUntil([] { return QAccessible::isActive(); })) {
    std::fprintf(stderr, "the accessibility bridge did not come up on the bus\n");
    return 1;
  }
  return RUN_ALL_TESTS();
}

}  // namespace orva::testing
