#include <gtest/gtest.h>

#include <QApplication>
#include <QEventLoop>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <functional>
#include <sstream>

#include "backends/qt/platform/offscreen_application.h"
#include "backends/qt/platform/qt_dialogs.h"
#include "backends/qt/platform/qt_event_loop.h"
#include "backends/qt/platform/qt_frmErrore.h"
#include "backends/qt/platform/window_tracer.h"
#include "common/automation/trace.h"

namespace orva {
namespace {

QApplication& App() { return testing::OffscreenApplication(); }

// Once a modal window is up, hands it to `act` (which must close it).
void WhenModalShown(std::function<void(QWidget*)> act) {
  auto* poll = new QTimer(&App());
  QObject::connect(poll, &QTimer::timeout, poll, [poll, act = std::move(act)] {
    if (QWidget* modal = QApplication::activeModalWidget()) {
      poll->stop();
      poll->deleteLater();
      act(modal);
    }
  });
  poll->start(5);
}

QPushButton* ButtonNamed(QWidget* window, const QString& accessibleName) {
  for (QPushButton* b : window->findChildren<QPushButton*>())
    if (b->accessibleName() == accessibleName && b->isVisible()) return b;
  return nullptr;
}

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
  loop.StopTimer(stopped);  // twice is harmless
  const std::int64_t start = loop.NowMs();
  QTimer::singleShot(5000, &wait, &QEventLoop::quit);  // a bound, should the loop be broken
  wait.exec();
  EXPECT_EQ(fired, (std::vector<std::string>{"10a", "10b", "nested", "40"}));
  EXPECT_GE(loop.NowMs() - start, 40);
  EXPECT_EQ(loop.PendingTimers(), 0u);
}

TEST(QtEventLoop, DoEventsRunsDueTimers) {
  App();
  QtEventLoop loop;
  bool fired = false;
  loop.StartTimer(0, [&] { fired = true; });
  for (int i = 0; i < 100 && !fired; ++i) loop.DoEvents();
  EXPECT_TRUE(fired);
}

struct MsgBoxCase {
  MsgBoxButtons buttons;
  const char* click;
  MsgBoxResult expected;
};

TEST(QtDialogs, MessageBoxReturnsTheButtonPressed) {
  App();
  QtDialogs dialogs;
  const MsgBoxCase cases[] = {
      {MsgBoxButtons::kOkOnly, "OK", MsgBoxResult::kOk},
      {MsgBoxButtons::kOkCancel, "Annulla", MsgBoxResult::kCancel},
      {MsgBoxButtons::kYesNo, "Sì", MsgBoxResult::kYes},
      {MsgBoxButtons::kYesNo, "No", MsgBoxResult::kNo},
      {MsgBoxButtons::kYesNoCancel, "Annulla", MsgBoxResult::kCancel},
  };
  for (const MsgBoxCase& c : cases) {
    SCOPED_TRACE(c.click);
    QString title;
    QString text;
    int buttons = 0;
    WhenModalShown([&](QWidget* box) {
      title = box->accessibleName();
      text = box->accessibleDescription();
      buttons = static_cast<int>(box->findChildren<QPushButton*>().size());
      QPushButton* b = ButtonNamed(box, QString::fromUtf8(c.click));
      if (b)
        b->click();
      else
        box->close();
    });
    EXPECT_EQ(dialogs.MsgBox("Uscire?", c.buttons, MsgBoxIcon::kQuestion, "ORVA Player"), c.expected);
    EXPECT_EQ(title, "ORVA Player");
    EXPECT_EQ(text, "Uscire?");
    EXPECT_GE(buttons, 1);
  }
}

TEST(QtDialogs, InputBoxGivesTypedTextOrEmptyOnCancel) {
  App();
  QtDialogs dialogs;
  for (const bool cancel : {false, true}) {
    SCOPED_TRACE(cancel);
    QString promptName;
    WhenModalShown([&](QWidget* dialog) {
      auto* edit = dialog->findChild<QLineEdit*>();
      promptName = edit ? edit->accessibleName() : QString();
      if (edit) edit->setText("Capitolo 2");
      QPushButton* b = ButtonNamed(dialog, cancel ? "Annulla" : "OK");
      if (b)
        b->click();
      else
        dialog->close();
    });
    EXPECT_EQ(dialogs.InputBox("Nome del segnalibro", "Segnalibri", "pagina 1"), cancel ? "" : "Capitolo 2");
    EXPECT_EQ(promptName, "Nome del segnalibro");
  }
}

TEST(QtDialogs, ErrorReportShowsEveryPartWithAccessibleNames) {
  App();
  QtDialogs dialogs;
  const ErrorReportView view{"ORVA Player - Segnalazioni",
                             "Prg:",
                             "Playaudio - apertura file",
                             "Errore!",
                             "Impossibile trovare il file\r\nCodice: 53",
                             "OK"};
  std::map<QString, QString> texts;
  QString caption;
  bool wraps = false;
  bool allNamed = true;
  WhenModalShown([&](QWidget* window) {
    caption = window->windowTitle();
    for (QLabel* l : window->findChildren<QLabel*>()) texts[l->objectName()] = l->text();
    for (QWidget* w : window->findChildren<QWidget*>())
      if (!w->objectName().isEmpty() && w->accessibleName().isEmpty()) allNamed = false;
    auto* err = window->findChild<QLabel*>("lblErrore");
    wraps = err && err->wordWrap();
    if (QPushButton* ok = window->findChild<QPushButton*>("OKButton"))
      ok->click();
    else
      window->close();
  });
  dialogs.ShowErrorReport(view);
  EXPECT_EQ(caption, "ORVA Player - Segnalazioni");
  EXPECT_EQ(texts["Label2"], "Prg:");
  EXPECT_EQ(texts["lblFunzione"], "Playaudio - apertura file");
  EXPECT_EQ(texts["Label1"], "Errore!");
  EXPECT_EQ(texts["lblErrore"], "Impossibile trovare il file\nCodice: 53");
  EXPECT_TRUE(texts.count("Image1"));
  EXPECT_TRUE(wraps);
  EXPECT_TRUE(allNamed);
}

TEST(WindowTracer, TracesShownAndHidden) {
  App();
  std::ostringstream out;
  InstallTrace(MakeStreamTraceSink(out), nullptr);
  {
    QWidget window;
    window.setWindowTitle("ORVA Player");
    TraceWindowEvents(&window, "frmBrowser");
    window.show();
    window.hide();
  }
  InstallTrace(nullptr, nullptr);
  EXPECT_EQ(out.str(),
            "{\"t\":0,\"ev\":\"window\",\"window\":\"frmBrowser\",\"state\":\"shown\",\"caption\":\"ORVA "
            "Player\"}\n"
            "{\"t\":0,\"ev\":\"window\",\"window\":\"frmBrowser\",\"state\":\"hidden\"}\n");
}

}  // namespace
}  // namespace orva
