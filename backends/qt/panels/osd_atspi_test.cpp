// What a screen reader receives from the on-screen display, on a real
// accessibility bus (run through run_with_atspi.sh). A screen reader speaks
// a notification when the bus says it has become "showing"; so for every
// message there must be exactly one such event, from an object whose role
// is "notification" and whose name is the message.
#include <gtest/gtest.h>

#include <QLabel>
#include <string>

#include "backends/qt/panels/osd_announcer.h"
#include "backends/qt/panels/testing/atspi_listener.h"
#include "backends/qt/panels/testing/panels_test_world.h"

namespace orva::testing {
namespace {

TEST(OsdOnTheAccessibilityBus, EveryMessageReachesTheScreenReaderAsANotificationWithItsText) {
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

  AtSpiListener reader;
  ASSERT_TRUE(reader.Listen());

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
    EXPECT_EQ(reader.Role(reader.shown[0]).toStdString(), "notification");
    EXPECT_EQ(reader.Name(reader.shown[0]).toStdString(), step.message);
    world.loop.Advance(step.thenMs);
  }
}

}  // namespace
}  // namespace orva::testing

int main(int argc, char** argv) { return orva::testing::RunOnAccessibilityBus(argc, argv); }
