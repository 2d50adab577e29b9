// How the on-screen display's label becomes a notification for assistive
// technology, on the offscreen platform. What actually reaches a screen
// reader is checked on a real accessibility bus by osd_atspi_test.
#include "backends/qt/panels/osd_announcer.h"

#include <gtest/gtest.h>

#include <QAccessible>
#include <QLabel>

#include "backends/qt/panels/testing/panels_test_world.h"

namespace orva::testing {
namespace {

struct OsdAnnouncerTest : ::testing::Test, MainWindowWorld {
  QLabel* label = new QLabel(&window);
  OsdAnnouncerTest() { label->setObjectName("lblOSD"); }
  QAccessibleInterface* Accessible() const { return QAccessible::queryAccessibleInterface(label); }
};

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
