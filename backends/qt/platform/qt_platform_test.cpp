#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QEventLoop>
#include <QLineEdit>
#include <QTimer>
#include <functional>
#include <utility>

#include "backends/qt/platform/qt_dialogs.h"
#include "backends/qt/platform/qt_event_loop.h"
#include "backends/qt/platform/store_session.h"
#include "backends/qt/platform/testing/offscreen_application.h"
#include "common/settings/memory_registry.h"

namespace orva {
namespace {

QApplication& App() { return testing::OffscreenApplication(); }

TEST(QtEventLoop, FiresTimersInDueOrderAndNotStoppedOnes) {
  App();
  QtEventLoop loop;
  std::vector<std::string> fired;
  QEventLoop wait;
  loop.StartTimer(40, [&] {
    fired.push_back("40");
    wait.quit();
  });
  loop.StartTimer(10, [&] {
    fired.push_back("10a");
    loop.StartTimer(0, [&] { fired.push_back("nested"); });
  });
  loop.StartTimer(10, [&] { fired.push_back("10b"); });
  const TimerId stopped = loop.StartTimer(5, [&] { fired.push_back("stopped"); });
  loop.StopTimer(stopped);
  loop.StopTimer(stopped);                             // twice is harmless
  QTimer::singleShot(5000, &wait, &QEventLoop::quit);  // a bound, should the loop be broken
  wait.exec();
  EXPECT_EQ(fired, (std::vector<std::string>{"10a", "10b", "nested", "40"}));
  EXPECT_EQ(loop.PendingTimers(), 0u);
}

std::string Answer(MsgBoxResult r) { return std::to_string(static_cast<int>(r)); }

// Each dialog as a screen reader meets it: the window named by its title,
// the prompt or the error among what is spoken, every button and field
// named; and the answer is that of the button pressed by its spoken name.
TEST(QtDialogs, AnswerTheButtonPressedAndSpeakEveryPart) {
  App();
  const auto box = [](MsgBoxButtons buttons) {
    return [buttons](QtDialogs& d) {
      return Answer(d.MsgBox("Uscire?", buttons, MsgBoxIcon::kQuestion, "ORVA Player"));
    };
  };
  const auto input = [](QtDialogs& d) { return d.InputBox("Segnalibro?", "ORVA Player", "pagina 1"); };
  const auto report = [](QtDialogs& d) {
    d.ShowErrorReport({"ORVA Player", "Prg:", "Playaudio", "Errore!", "Non trovato\r\nCodice: 53", "OK"});
    return std::string("closed");
  };
  struct Case {
    const char* name;
    std::function<std::string(QtDialogs&)> open;
    const char* press;
    std::string answer;
    QStringList spoken;
  };
  using B = MsgBoxButtons;
  using R = MsgBoxResult;
  const Case cases[] = {
      {"OK alone", box(B::kOkOnly), "OK", Answer(R::kOk), {"Uscire?"}},
      {"OK or Annulla", box(B::kOkCancel), "Annulla", Answer(R::kCancel), {"Uscire?"}},
      {"No of Sì or No", box(B::kYesNo), "No", Answer(R::kNo), {"Uscire?"}},
      {"input taken", input, "OK", "Capitolo 2", {"Segnalibro?"}},
      {"input cancelled", input, "Annulla", "", {"Segnalibro?"}},
      {"error report", report, "OK", "closed", {"Prg: Playaudio", "Errore! Non trovato\nCodice: 53"}},
  };
  QtDialogs dialogs;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    QStringList spoken;
    int unnamed = 0;
    bool pressed = false;
    // Once the dialog is up, read it as a screen reader would and answer.
    auto* poll = new QTimer(&App());
    QObject::connect(poll, &QTimer::timeout, poll, [&, poll] {
      QWidget* window = QApplication::activeModalWidget();
      if (!window) return;
      poll->deleteLater();
      poll->stop();
      spoken << window->accessibleName() << window->accessibleDescription();
      QAbstractButton* press = nullptr;
      for (QWidget* w : window->findChildren<QWidget*>()) {
        spoken << w->accessibleName();
        auto* button = qobject_cast<QAbstractButton*>(w);
        if ((button || qobject_cast<QLineEdit*>(w)) && w->isVisible() && w->accessibleName().isEmpty())
          ++unnamed;
        if (button && button->isVisible() && button->accessibleName() == QString::fromUtf8(c.press))
          press = button;
      }
      if (auto* edit = window->findChild<QLineEdit*>()) edit->setText("Capitolo 2");
      pressed = press != nullptr;
      press ? press->click() : (void)window->close();
    });
    poll->start(5);
    EXPECT_EQ(c.open(dialogs), c.answer);
    EXPECT_TRUE(pressed);
    EXPECT_EQ(spoken.value(0), "ORVA Player");
    for (const QString& s : c.spoken) EXPECT_TRUE(spoken.contains(s)) << s.toStdString();
    EXPECT_EQ(unnamed, 0);
  }
}

// A store whose next commit fails, as when the disk fills; it tells whether
// the failure is being reported from inside the commit.
struct FillingStore : MemoryRegistry {
  explicit FillingStore(RegistryErrorHandler report) : onFailure(std::move(report)) {}
  void Commit() override {
    if (!std::exchange(diskFills, false)) return;
    committing = true;
    onFailure({61, "Disco pieno", "salvataggio impostazioni", "no space left"});
    committing = false;
  }
  RegistryErrorHandler onFailure;
  static inline bool diskFills = false, committing = false;
};

TEST(StoreSession, ACommitFailingAfterAnEventReachesTheReportOnceOutsideTheCommit) {
  App();
  std::vector<std::string> said;
  StoreSession session([](RegistryErrorHandler h) { return std::make_unique<FillingStore>(std::move(h)); },
                       [&](const std::string& line) { said.push_back("unreported: " + line); });
  QEventLoop wait;
  QTimer::singleShot(5000, &wait, &QEventLoop::quit);  // a bound, should nothing be reported
  session.ReportFailuresTo([&](const RegistryFailure& f) {
    said.push_back(FillingStore::committing ? "inside the commit" : f.step);
    QTimer::singleShot(50, &wait, &QEventLoop::quit);  // time for a second report, were there one
  });
  QTimer::singleShot(0, [] { FillingStore::diskFills = true; });
  wait.exec();
  EXPECT_EQ(said, std::vector<std::string>{"salvataggio impostazioni"});
}

}  // namespace
}  // namespace orva
