// What a screen reader receives from the on-screen display, on a real
// accessibility bus (run through run_with_atspi.sh). A screen reader speaks
// a notification when the bus says it has become "showing"; so for every
// message there must be exactly one such event, from an object whose role
// is "notification" and whose name is the message.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusReply>
#include <QDBusVariant>
#include <QElapsedTimer>
#include <QLabel>
#include <QObject>
#include <string>
#include <vector>

#include "backends/qt/panels/osd_announcer.h"
#include "backends/qt/panels/panels_test_world.h"

namespace orva::testing {

// The screen reader's side: listens on the accessibility bus.
class AtSpiListener : public QObject {
  Q_OBJECT
 public:
  struct Showing {
    QString sender;
    QString path;
  };

  explicit AtSpiListener(const QString& address)
      : bus_(QDBusConnection::connectToBus(address, QStringLiteral("orva-screen-reader"))) {}
  ~AtSpiListener() override { QDBusConnection::disconnectFromBus(QStringLiteral("orva-screen-reader")); }

  bool Listen() {
    if (!bus_.isConnected()) return false;
    // As a screen reader does: tell the registry (and through it every
    // program) which events it wants, then take them.
    for (const char* event : {"Object:StateChanged:Showing", "Object:PropertyChange:AccessibleName"}) {
      QDBusMessage call = QDBusMessage::createMethodCall(
          QStringLiteral("org.a11y.atspi.Registry"), QStringLiteral("/org/a11y/atspi/registry"),
          QStringLiteral("org.a11y.atspi.Registry"), QStringLiteral("RegisterEvent"));
      call << QString::fromLatin1(event) << QStringList() << QString();
      if (bus_.call(call).type() == QDBusMessage::ErrorMessage) return false;
    }
    return bus_.connect(QString(), QString(), QStringLiteral("org.a11y.atspi.Event.Object"),
                        QStringLiteral("StateChanged"), this, SLOT(OnStateChanged(QDBusMessage)));
  }

  std::vector<Showing> shown;

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
    if (args.size() >= 2 && args[0].toString() == QLatin1String("showing") && args[1].toInt() == 1)
      shown.push_back({message.service(), message.path()});
  }

 private:
  QDBusConnection bus_;
};

namespace {

void RunEventsFor(int ms) {
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

QString AccessibilityBusAddress() {
  QDBusMessage call =
      QDBusMessage::createMethodCall(QStringLiteral("org.a11y.Bus"), QStringLiteral("/org/a11y/bus"),
                                     QStringLiteral("org.a11y.Bus"), QStringLiteral("GetAddress"));
  const QDBusReply<QString> reply = QDBusConnection::sessionBus().call(call);
  return reply.isValid() ? reply.value() : QString();
}

// The application, when the run has an X display and a session bus.
QApplication* application = nullptr;

class OsdOnTheAccessibilityBus : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!application || !QAccessible::isActive())
      GTEST_SKIP() << "no accessibility bus: run through run_with_atspi.sh";
  }
};

TEST_F(OsdOnTheAccessibilityBus, EveryMessageReachesTheScreenReaderAsANotificationWithItsText) {
  MainWindowWorld world;
  auto* label = new QLabel(&world.window);
  label->setObjectName("lblOSD");
  label->hide();
  world.form.OsdChanged = [label](bool visible, const std::string& text) {
    label->setText(QString::fromStdString(text));
    label->setAccessibleName(label->text());
    label->setVisible(visible);
  };
  world.Start();
  ASSERT_TRUE(AnnounceOsdMessages(world.form, &world.window));

  AtSpiListener reader(AccessibilityBusAddress());
  ASSERT_TRUE(reader.Listen());
  // The program learns of the new listener from the registry.
  RunEventsFor(500);

  struct Step {
    const char* message;
    bool keep;
    int thenMs;  // virtual time after it
  };
  const Step steps[] = {
      {"PAUSA 00:10 premere ctrl+3", true, 0},
      {"PLAY 00:10", false, 1500},  // shown over the first, then hidden by its timer
      {"Volume 40", false, 0},
  };
  for (const Step& step : steps) {
    SCOPED_TRACE(step.message);
    reader.shown.clear();
    world.form.OSD(step.message, step.keep);
    ASSERT_TRUE(RunEventsUntil([&] { return !reader.shown.empty(); })) << "no showing event";
    RunEventsFor(200);  // a second one would have come by now
    ASSERT_EQ(reader.shown.size(), 1u);
    EXPECT_EQ(reader.Ask(reader.shown[0], QStringLiteral("GetRoleName")).toStdString(), "notification");
    EXPECT_EQ(reader.Name(reader.shown[0]).toStdString(), step.message);
    world.loop.Advance(step.thenMs);
  }
}

}  // namespace
}  // namespace orva::testing

// The application lives on main's stack: a static one would be torn down
// after the bus connections it uses.
int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  if (qgetenv("QT_QPA_PLATFORM") != "xcb" || qgetenv("DBUS_SESSION_BUS_ADDRESS").isEmpty())
    return RUN_ALL_TESTS();
  QApplication app(argc, argv);
  orva::testing::application = &app;
  // The bridge comes up once the program has asked for it and the bus has
  // answered.
  (void)QAccessible::isActive();
  orva::testing::RunEventsUntil([] { return QAccessible::isActive(); });
  return RUN_ALL_TESTS();
}

#include "osd_atspi_test.moc"
