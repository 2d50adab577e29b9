// The bookmark panel on the offscreen platform, over the main window's core.
#include "backends/qt/panels/marcatori_panel.h"

#include <gtest/gtest.h>

#include <algorithm>

#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

#include "backends/qt/panels/imp_exp_chooser.h"
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

std::vector<std::string> Lines(const QListWidget& list) {
  std::vector<std::string> lines;
  for (int row = 0; row < list.count(); ++row) lines.push_back(list.item(row)->text().toStdString());
  return lines;
}

TEST(MarcatoriPanelTest, TheChooserTakesTheListsPlaceFollowsTheReaderAndGivesTheKeyboardBack) {
  MainWindowWorld world;
  world.core.disk.AddFile("/home/lettore/Libri/a.reg");
  world.core.disk.AddFile("/home/lettore/Libri/b.txt");
  auto* browser = new QWidget(&world.window);
  browser->setGeometry(10, 10, 600, 400);
  world.Start();
  world.form.Bookmarks().ListMarkers.AddItem("00:05\t - Primo");
  auto* panel = new MarcatoriPanel(world.form, browser, &world.window);
  ImpExpChooser& chooser = *panel->Chooser();
  world.form.fraMarcatoriVisible = true;

  panel->Button(0)->click();
  EXPECT_TRUE(chooser.isVisible());
  EXPECT_EQ(chooser.title(), "   Esportazione Marcatori   ");
  for (int index : {0, 1, 4}) EXPECT_FALSE(panel->Button(index)->isVisible()) << index;
  EXPECT_FALSE(panel->List()->isVisible());
  EXPECT_EQ(QApplication::focusWidget(), chooser.TextFileName());
  EXPECT_EQ(chooser.TextFileName()->accessibleName(), "Nome file da Importare - Esportare");
  EXPECT_EQ(chooser.File()->geometry().top(), chooser.Button(3)->geometry().top());

  // Enter on a folder opens it and the file list follows; a click copies a
  // file's name, which the reader can still edit.
  chooser.Dir()->setFocus();
  const std::vector<std::string>& folders = world.form.frmImpExp.Dir.Items();
  chooser.Dir()->setCurrentRow(
      static_cast<int>(std::find(folders.begin(), folders.end(), "Libri") - folders.begin()));
  QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
  QApplication::sendEvent(chooser.Dir(), &enter);
  EXPECT_EQ(world.form.frmImpExp.DirPath(), "\\home\\lettore\\Libri");
  EXPECT_EQ(Lines(*chooser.File()), (std::vector<std::string>{"a.reg"}));
  chooser.File()->setCurrentRow(0);
  EXPECT_EQ(chooser.TextFileName()->text(), "a.reg");
  chooser.TypeName("copia");
  EXPECT_EQ(world.form.frmImpExp.TextFileName.Text(), "copia");

  // Annulla: the list and the buttons come back, the keyboard on the opener.
  chooser.Button(3)->click();
  EXPECT_FALSE(chooser.isVisible());
  EXPECT_TRUE(panel->List()->isVisible());
  EXPECT_EQ(QApplication::focusWidget(), panel->Button(0));

  // For an import the name field goes and the file list rises to the top
  // of the folder list; a double click confirms.
  panel->Button(1)->click();
  EXPECT_FALSE(chooser.TextFileName()->isVisible());
  EXPECT_EQ(chooser.File()->geometry().top(), chooser.Dir()->geometry().top());
  world.dialogs.Clear();
  chooser.File()->setCurrentRow(0);
  emit chooser.File()->itemDoubleClicked(chooser.File()->item(0));
  ASSERT_FALSE(world.dialogs.Shown().empty());
  EXPECT_FALSE(chooser.isVisible());
}

}  // namespace
}  // namespace orva::testing
