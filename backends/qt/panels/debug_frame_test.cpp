// The debug frame on the offscreen platform, over the main window's core.
#include "backends/qt/panels/debug_frame.h"

#include <gtest/gtest.h>

#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>

#include "backends/qt/panels/testing/panels_test_world.h"
#include "player/panels/form_layout.h"

namespace orva::testing {
namespace {

void Mouse(QWidget* widget, QEvent::Type type, QPoint at) {
  QMouseEvent event(type, at, widget->mapToGlobal(at), Qt::LeftButton,
                    type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(widget, &event);
}

TEST(DebugFrameTest, FollowsItsVisibleRunsItsButtonsAndIsDraggedInTwips) {
  MainWindowWorld world;
  world.Start();
  auto* frame = new DebugFrame(world.form, &world.window);
  EXPECT_TRUE(frame->isHidden());

  world.form.fraDebug.Visible = true;
  EXPECT_TRUE(frame->isVisible());
  EXPECT_EQ(QApplication::focusWidget(), frame->Button("Audio ?"));
  // "refresh" with nothing loaded empties the field; "play" is the other one.
  world.form.fraDebug.TxtDebFilename.SetText("vecchio.mp3");
  EXPECT_EQ(frame->Field("TxtDebFilename")->text(), "vecchio.mp3");
  frame->Press("refresh");
  EXPECT_EQ(frame->Field("TxtDebFilename")->text(), "");
  EXPECT_EQ(frame->Button("cmdDebug1")->text(), "play");

  // Taken by its frame and moved: the model hears the new corner in twips,
  // and the frame goes there.
  const double dpi = frame->logicalDpiX();
  Mouse(frame, QEvent::MouseButtonPress, {4, 4});
  Mouse(frame, QEvent::MouseMove, QPoint(104, 54) - frame->pos());
  Mouse(frame, QEvent::MouseButtonRelease, QPoint(104, 54) - frame->pos());
  EXPECT_FLOAT_EQ(world.form.fraDebug.Left(), static_cast<float>(PixelsToTwips(100, dpi)));
  EXPECT_FLOAT_EQ(world.form.fraDebug.Top(), static_cast<float>(PixelsToTwips(50, dpi)));
  EXPECT_EQ(frame->pos(), QPoint(100, 50));

  world.form.fraDebug.Visible = false;
  EXPECT_TRUE(frame->isHidden());
  EXPECT_FALSE(frame->isAncestorOf(QApplication::focusWidget()));
}

}  // namespace
}  // namespace orva::testing
