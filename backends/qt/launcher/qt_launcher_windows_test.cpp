// The Qt windows over the core windows, on the offscreen platform.
#include "backends/qt/launcher/qt_launcher_windows.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "launcher/launcher_test_support.h"
#include "launcher/scelta.h"

namespace orva {
namespace {

using smart::testing::FakeMachine;

class QtLauncherWindows : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "qt_launcher_test";
    static char* argv[] = {name, nullptr};
    static QApplication app(argc, argv);
  }
  QtLauncherWindows() {
    m.fs.AddFile("/cd/OrvaPlayer");
    launcher.SetLauncherFolder("/cd/");
    launcher.SetInstallerCommand("./setup.sh");
  }
  QWidget* Window(const char* name) {
    for (QWidget* w : QApplication::topLevelWidgets())
      if (w->objectName() == name && w->isVisible()) return w;
    return nullptr;
  }

  FakeMachine m;
  int events = 0;
  QtLauncherViews views{[this] { ++events; }};
  smart::Launcher launcher{m.Services(), &views};
};

TEST_F(QtLauncherWindows, AnnouncingWindowShowsCaptionAndAnnouncementThenCloses) {
  launcher.ShowAvvioHd();
  launcher.Form1Unloaded();
  QWidget* window = Window("avviohd");
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(window->windowTitle(), "Avvio da hd");
  EXPECT_EQ(window->accessibleName(), "Avvio da hd");
  auto* label = window->findChild<QLabel*>("Label1");
  ASSERT_NE(label, nullptr);
  EXPECT_EQ(label->text(), "Avvio OrvaPlayer da Hard Disk");
  EXPECT_EQ(label->accessibleName(), "Avvio OrvaPlayer da Hard Disk");
  EXPECT_EQ(label->font().family(), "Verdana");

  m.loop.Advance(1500);
  EXPECT_EQ(Window("avviohd"), nullptr);
  EXPECT_TRUE(launcher.Ended());
}

TEST_F(QtLauncherWindows, SceltaControlsDriveTheCoreWindow) {
  launcher.ShowScelta();
  launcher.Form1Unloaded();
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

  m.loop.Advance(3000);
  EXPECT_EQ(text1->text(), "57");

  window->findChild<QCheckBox*>("Check1")->click();
  EXPECT_EQ(dynamic_cast<smart::Scelta*>(launcher.Find("scelta"))->Check1.Value(), 1);
  window->findChild<QPushButton*>("Command1")->click();

  EXPECT_EQ(Window("scelta"), nullptr);
  EXPECT_EQ(m.settings.GetSetting("NOLinker", "Default", "sfogliacd"), "1");
  EXPECT_EQ(m.Started(), std::vector<std::string>{"xdg-open /cd/Libro"});
  EXPECT_EQ(events, 2);
  EXPECT_TRUE(launcher.Ended());
}

TEST_F(QtLauncherWindows, ClosingSceltaFromItsTitleBarEndsTheLauncher) {
  launcher.ShowScelta();
  launcher.Form1Unloaded();
  Window("scelta")->close();
  EXPECT_TRUE(launcher.Ended());
  m.loop.Advance(120 * 1000);
  EXPECT_TRUE(m.Started().empty());
}

TEST_F(QtLauncherWindows, TypedSecondsReachTheCountdown) {
  launcher.ShowScelta();
  launcher.Form1Unloaded();
  auto* text1 = Window("scelta")->findChild<QLineEdit*>("Text1");
  text1->selectAll();
  text1->insert("2");  // as typed: textEdited fires
  m.loop.Advance(2000);
  EXPECT_EQ(Window("scelta"), nullptr);
  EXPECT_NE(Window("avviocd"), nullptr);
}

}  // namespace
}  // namespace orva
