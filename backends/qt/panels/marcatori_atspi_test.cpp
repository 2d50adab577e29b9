// What a screen reader is told as the reader opens the bookmark list and
// moves through it, on a real accessibility bus (run through
// run_with_atspi.sh): each time, the line that takes the keyboard, named by
// the line as it reads, the tab after the time read as a blank.
#include <gtest/gtest.h>

#include <QKeyEvent>
#include <QListWidget>
#include <functional>

#include "backends/qt/panels/marcatori_panel.h"
#include "backends/qt/panels/testing/atspi_listener.h"
#include "backends/qt/panels/testing/panels_test_world.h"

namespace orva::testing {
namespace {

TEST(BookmarkListOnTheAccessibilityBus, OpeningAndMovingReadTheLineThatHasTheKeyboard) {
  MainWindowWorld world;
  auto* browser = new QWidget(&world.window);
  world.Start();
  for (const char* line : {"00:05\t - Primo", "-3-01:10\t-Secondo"})
    world.form.Bookmarks().ListMarkers.AddItem(line);
  auto* panel = new MarcatoriPanel(world.form, browser, &world.window);
  AtSpiListener reader;
  ASSERT_TRUE(reader.Listen());

  const auto press = [panel](Qt::Key key) {
    QKeyEvent event(QEvent::KeyPress, key, Qt::NoModifier);
    QApplication::sendEvent(panel->List(), &event);
  };
  const struct {
    const char* step;
    std::function<void()> act;
    const char* spoken;
  } steps[] = {
      {"the list opens", [&] { world.form.fraMarcatoriVisible = true; }, "00:05 - Primo"},
      {"Down", [&] { press(Qt::Key_Down); }, "-3-01:10 -Secondo"},
      {"Up", [&] { press(Qt::Key_Up); }, "00:05 - Primo"},
  };
  for (const auto& s : steps) {
    SCOPED_TRACE(s.step);
    reader.focused.clear();
    s.act();
    ASSERT_TRUE(RunEventsUntil([&] { return !reader.focused.empty(); })) << "nothing took the keyboard";
    RunEventsFor(200);
    EXPECT_EQ(reader.Role(reader.focused.back()).toStdString(), "list item");
    EXPECT_EQ(reader.Name(reader.focused.back()).toStdString(), s.spoken);
  }
}

}  // namespace
}  // namespace orva::testing

int main(int argc, char** argv) { return orva::testing::RunOnAccessibilityBus(argc, argv); }
