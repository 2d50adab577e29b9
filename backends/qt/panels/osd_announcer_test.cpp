// How the on-screen display's label presents itself to assistive
// technology, on the offscreen platform. What actually reaches a screen
// reader is checked on a real accessibility bus by osd_atspi_test.
#include "backends/qt/panels/osd_announcer.h"

#include <gtest/gtest.h>

#include <QAccessible>
#include <QLabel>
#include <string>

#include "backends/qt/panels/panels_test_world.h"
#include "common/automation/test_support.h"

namespace orva::testing {
namespace {

struct OsdAnnouncerTest : ::testing::Test, MainWindowWorld {
  QLabel* label = nullptr;

  OsdAnnouncerTest() {
    // The display as the main window has it: a label it fills and shows.
    label = new QLabel(&window);
    label->setObjectName("lblOSD");
    label->hide();
    form.OsdChanged = [this](bool visible, const std::string& text) {
      label->setText(QString::fromStdString(text));
      label->setVisible(visible);
    };
    Start();
  }
  QAccessibleInterface* Accessible() const { return QAccessible::queryAccessibleInterface(label); }
};

TEST_F(OsdAnnouncerTest, TheLabelIsANotificationNamedByTheMessageOnIt) {
  ASSERT_TRUE(AnnounceOsdMessages(form, &window));
  CapturedTrace trace;
  for (const char* message : {"PAUSA 00:10 premere ctrl+3", "PLAY 00:10"}) {
    SCOPED_TRACE(message);
    form.OSD(message, false);
    EXPECT_TRUE(label->isVisible());
    ASSERT_NE(Accessible(), nullptr);
    EXPECT_EQ(Accessible()->role(), QAccessible::Notification);
    EXPECT_EQ(Accessible()->text(QAccessible::Name).toStdString(), message);
    EXPECT_NE(trace.Text().find(std::string(R"("ev":"osd","text":")") + message + '"'), std::string::npos);
  }
  loop.Advance(1500);
  EXPECT_FALSE(label->isVisible());
  EXPECT_TRUE(Accessible()->state().invisible);
}

TEST_F(OsdAnnouncerTest, ALabelWhoseInterfaceWasMadeEarlierBecomesANotification) {
  ASSERT_NE(Accessible(), nullptr);
  EXPECT_EQ(Accessible()->role(), QAccessible::StaticText);
  ASSERT_TRUE(AnnounceOsdMessages(form, &window));
  EXPECT_EQ(Accessible()->role(), QAccessible::Notification);
}

TEST_F(OsdAnnouncerTest, AWindowWithoutTheLabelIsRefused) {
  QWidget other;
  EXPECT_FALSE(AnnounceOsdMessages(form, &other));
  EXPECT_FALSE(AnnounceOsdMessages(form, nullptr));
}

}  // namespace
}  // namespace orva::testing
