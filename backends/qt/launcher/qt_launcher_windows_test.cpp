// The Qt windows over the core windows, on the offscreen platform.
#include "backends/qt/launcher/qt_launcher_windows.h"
#include "backends/qt/platform/testing/offscreen_application.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>

#include "launcher/scelta.h"
#include "launcher/testing/launcher_test_support.h"

namespace orva {
namespace {

class QtLauncherWindows : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { testing::OffscreenApplication(); }
  QWidget* Window(const char* name) {
    for (QWidget* w : QApplication::topLevelWidgets())
      if (w->objectName() == name && w->isVisible()) return w;
    return nullptr;
  }

  int events = 0;
  QtLauncherViews views{[this] { ++events; }};
  smart::testing::LauncherOnCd cd{&views};
};

// Each window's caption, as its title and its accessible name (its
// announcement, as a screen reader gets it, is checked on a real
// accessibility bus by launcher_atspi_test).
TEST_F(QtLauncherWindows, EachWindowShowsItsCaption) {
  struct Case {
    const char* window;
    void (smart::Launcher::*show)();
    const char* caption;
  };
  const Case cases[] = {
      {"vecchia", &smart::Launcher::ShowVecchia, "Rilevamento versione OrvaPlayer"},
      {"avviocd", &smart::Launcher::ShowAvvioCd, "Avvio da cd"},
      {"scelta", &smart::Launcher::ShowScelta, "OrvaPlayer"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.window);
    smart::testing::LauncherOnCd own{&views};
    (own.launcher.*c.show)();
    own.launcher.Form1Unloaded();
    QWidget* window = Window(c.window);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->windowTitle(), QString::fromUtf8(c.caption));
    EXPECT_EQ(window->accessibleName(), QString::fromUtf8(c.caption));
  }
}

TEST_F(QtLauncherWindows, SceltaControlsDriveTheCoreWindow) {
  cd.launcher.ShowScelta();
  cd.launcher.Form1Unloaded();
  QWidget* window = Window("scelta");
  ASSERT_NE(window, nullptr);
  for (const char* name : {"avvia", "installa", "Command1", "Check1", "Text1", "Label1"}) {
    auto* control = window->findChild<QWidget*>(name);
    ASSERT_NE(control, nullptr) << name;
    EXPECT_FALSE(control->accessibleName().isEmpty()) << name;
  }
  EXPECT_EQ(window->findChild<QPushButton*>("avvia")->text(), "Avvia OrvaPlayer dal CD");
  EXPECT_EQ(window->findChild<QCheckBox*>("Check1")->text(), "Non ricordarmelo più");
  auto* text1 = window->findChild<QLineEdit*>("Text1");
  EXPECT_EQ(text1->text(), "60");

  cd.m.loop.Advance(3000);
  EXPECT_EQ(text1->text(), "57");
  text1->selectAll();
  text1->insert("2");  // as typed: textEdited fires
  auto* scelta = dynamic_cast<smart::Scelta*>(cd.launcher.Find("scelta"));
  EXPECT_EQ(scelta->Seconds(), 2);

  window->findChild<QCheckBox*>("Check1")->click();
  EXPECT_EQ(scelta->Check1.Value(), 1);
  window->findChild<QPushButton*>("Command1")->click();

  EXPECT_EQ(Window("scelta"), nullptr);  // the core took the click; what it does then, its tests check
  EXPECT_EQ(events, 3);                  // typed, ticked, clicked
}

}  // namespace
}  // namespace orva
