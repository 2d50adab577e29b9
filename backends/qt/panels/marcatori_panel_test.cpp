// The bookmark panel on the offscreen platform, over the main window's core.
#include "backends/qt/panels/marcatori_panel.h"

#include <gtest/gtest.h>

#include <QListWidget>

#include "backends/qt/panels/testing/panels_test_world.h"

namespace orva::testing {
namespace {

TEST(MarcatoriPanelTest, TakesTheBrowsersPlaceAndFollowsTheListBothWaysWithoutEcho) {
  MainWindowWorld world;
  auto* browser = new QWidget(&world.window);
  browser->setGeometry(10, 10, 600, 400);
  world.Start();
  ListBox& model = world.form.Bookmarks().ListMarkers;
  int clicks = 0;
  model.Click = [&] {
    ++clicks;
    model.ToolTipText = model.Text();
  };
  for (const char* line : {"00:05\t - Primo", "01:10\t - Secondo", "02:00\t - Terzo"}) model.AddItem(line);
  auto* panel = new MarcatoriPanel(world.form, browser, &world.window);
  QListWidget* list = panel->List();
  EXPECT_TRUE(panel->isHidden());

  world.form.fraMarcatoriVisible = true;
  EXPECT_TRUE(browser->isHidden());
  EXPECT_EQ(panel->geometry(), browser->geometry());
  EXPECT_EQ(QApplication::focusWidget(), list);
  EXPECT_EQ(model.ListIndex(), 0);
  EXPECT_EQ(list->currentRow(), 0);
  EXPECT_EQ(list->item(1)->data(Qt::AccessibleTextRole).toString(), "01:10 - Secondo");
  EXPECT_EQ(list->toolTip(), "00:05\t - Primo");

  // The reader moves; then the program selects and removes lines.
  list->setCurrentRow(2);
  EXPECT_EQ(model.ListIndex(), 2);
  model.SetListIndex(1);
  model.RemoveItem(0);
  QApplication::processEvents();
  EXPECT_EQ(list->count(), 2);
  EXPECT_EQ(list->currentRow(), 0);
  EXPECT_EQ(list->accessibleDescription(), "01:10\t - Secondo");
  EXPECT_EQ(clicks, 3) << "one Click for each selection, none echoed back";

  world.form.fraMarcatoriVisible = false;
  EXPECT_TRUE(panel->isHidden());
  EXPECT_FALSE(browser->isHidden());
  EXPECT_FALSE(panel->isAncestorOf(QApplication::focusWidget()));
}

}  // namespace
}  // namespace orva::testing
