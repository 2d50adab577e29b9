// The real main window with the real panels, on the offscreen platform.
#include "backends/qt/browser/browser_main_window.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QWebEngineView>

#include "backends/qt/panels/configurazione_panel.h"
#include "backends/qt/panels/debug_frame.h"
#include "backends/qt/panels/marcatori_panel.h"
#include "backends/qt/platform/testing/offscreen_application.h"
#include "player/browser/testing/frm_browser_world.h"

namespace orva {
namespace {

using C = FormControl;

TEST(BrowserMainWindowTest, PlacesEveryPanelByTheRulesUnderTheDisplayStrip) {
  testing::OffscreenApplication(/*embedsBrowser=*/true);
  testing::FrmBrowserWorld core;
  FrmBrowser& form = core.MakeWindow();
  BrowserMainWindow window;
  window.Attach(form);
  new MarcatoriPanel(form, window.view(), &window);
  new ConfigurazionePanel(form, form.frmconfigurazioneVisible, &window);
  new DebugFrame(form, &window);
  window.show();
  // At the default font and at a large one: twips grow with the font.
  const QFont original = QApplication::font();
  for (const int points : {original.pointSize(), 14}) {
    SCOPED_TRACE(points);
    QApplication::setFont(QFont(original.family(), points));
    const double dpi = TwipDpi(window);
    const struct {
      const char* name;
      double width, height;
      bool clamps;
    } sizes[] = {{"as drawn", 9000, 6000, false},
                 {"narrower than the list's margins", 450, 3000, true},
                 {"large", 30000, 18000, false}};
    for (const auto& size : sizes) {
      SCOPED_TRACE(size.name);
      window.resize(TwipsToPixels(size.width, dpi), TwipsToPixels(size.height, dpi));
      QApplication::processEvents();
      FormLayout rules;
      EXPECT_EQ(
          !rules.Form_Resize(PixelsToTwips(window.width(), dpi), PixelsToTwips(window.height(), dpi), false)
               .clamped.empty(),
          size.clamps);
      // As the command keys do: the message first, then the panel, which
      // raises itself. The chooser opens over the bookmark list.
      for (FrameVisible* panel : {&form.fraMarcatoriVisible, &form.frmImpExp.Visible,
                                  &form.frmconfigurazioneVisible, &form.fraDebug.Visible}) {
        form.OSD("Pannello configurazione", true);
        *panel = true;
        for (std::size_t i = 1; i < kFormControlCount; ++i) {
          const auto control = static_cast<FormControl>(i);
          // The controls no rule moves are sized to their text by their
          // panels; the debug frame stays where it was first put.
          QWidget* widget = window.Layout().Find(control);
          if (!widget || ContainerOf(control) == C::fraDebug || control == C::fraDebug ||
              control == C::cmdImpExp1 || control == C::cmdImpExp0 || control == C::cmdImpExp4 ||
              control == C::lblNomeFile)
            continue;
          const PixelRect r = ToPixels(rules[control], dpi);
          EXPECT_EQ(widget->geometry(), QRect(r.left, r.top, r.width, r.height)) << ControlName(control);
        }
        // Nothing in a panel is cut: each control lies within its frame, as
        // large as its text needs, over no other.
        for (const QGroupBox* frame : window.findChildren<QGroupBox*>()) {
          const QList<QWidget*> controls = frame->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
          for (const QWidget* c : controls) {
            if (!c->isVisible() || size.clamps) continue;
            EXPECT_TRUE(frame->rect().contains(c->geometry()) &&
                        c->size().expandedTo(c->minimumSizeHint()) == c->size())
                << c->accessibleName().toStdString();
            for (const QWidget* other : controls)
              EXPECT_FALSE(other != c && other->isVisible() && other->geometry().intersects(c->geometry()))
                  << c->accessibleName().toStdString() << " under " << other->accessibleName().toStdString();
          }
        }
        // What the window paints where the strip lies is the strip, its
        // message in it.
        QWidget* strip = window.osd()->parentWidget();
        ASSERT_TRUE(strip->isVisible());
        const QImage own = strip->grab().toImage().convertToFormat(QImage::Format_RGB32);
        EXPECT_TRUE(window.grab(strip->geometry()).toImage().convertToFormat(QImage::Format_RGB32) == own)
            << "a panel paints over the strip";
        int white = 0;
        for (int y = 0; y < own.height(); ++y)
          for (int x = 0; x < own.width(); ++x) white += own.pixel(x, y) == qRgb(255, 255, 255);
        EXPECT_GT(white, 0) << "the message's letters";
        // The bookmark list stays, under the chooser that comes next.
        *panel = panel == &form.fraMarcatoriVisible;
      }
    }
  }
  QApplication::setFont(original);
  EXPECT_TRUE(core.dialogs.Shown().empty()) << "a size too small is no error";
}

}  // namespace
}  // namespace orva
