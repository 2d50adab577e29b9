// The key preview filter on the offscreen platform: the window's handler
// sees each key first, once, and the key still reaches the focused control.

#include "backends/qt/keys/key_preview_filter.h"
#include "backends/qt/platform/testing/offscreen_application.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPointer>
#include <QWidget>
#include <memory>
#include <utility>
#include <vector>

#include "backends/qt/keys/script_keys.h"

namespace orva {
namespace {

QApplication& App() { return testing::OffscreenApplication(); }

// The code and mask of a key the handler saw.
using Pressed = std::pair<int, int>;

// A window with a text field that has the focus, the filter installed on the
// application.
struct Window : ::testing::Test {
  QApplication& app = App();
  std::unique_ptr<QWidget> top = std::make_unique<QWidget>();
  QLineEdit* field = new QLineEdit(top.get());
  std::vector<Pressed> pressed;
  std::unique_ptr<KeyPreviewFilter> filter;

  Window() {
    top->show();
    field->setFocus();
    QApplication::processEvents();
    filter = std::make_unique<KeyPreviewFilter>(top.get(), [this](std::int16_t code, std::int16_t shift) {
      pressed.emplace_back(code, shift);
      // The handler sees the key before the field does.
      EXPECT_EQ(field->text(), typedBefore);
    });
    App().installEventFilter(filter.get());
  }
  ~Window() override { App().removeEventFilter(filter.get()); }

  void Press(const char* keys) {
    typedBefore = field->text();
    const auto key = x11keys::ParseScriptKey(keys);
    ASSERT_TRUE(key.has_value()) << keys;
    PressScriptKey(*top, *key);
    QApplication::processEvents();
  }

  QString typedBefore;
};

TEST_F(Window, TheHandlerSeesEachKeyOnceBeforeTheField) {
  for (const char* key : {"a", "Shift+b", "Ctrl+2", "Ctrl+Shift+1", "Alt+plus", "KP1"}) Press(key);
  // The modifier keys on their own are no commands.
  for (const x11keys::ScriptKey& modifier : {x11keys::ScriptKey{.keycode = 50, .keysym = 0xffe1, .shift = 1},
                                             x11keys::ScriptKey{.keycode = 64, .keysym = 0xffe9, .shift = 4}})
    PressScriptKey(*top, modifier);
  // Keys typed into a modal dialog belong to the dialog.
  QDialog dialog(top.get());
  dialog.setModal(true);
  dialog.show();
  QApplication::processEvents();
  Press("Ctrl+2");
  EXPECT_EQ(pressed, (std::vector<Pressed>{{65, 0}, {66, 1}, {50, 2}, {49, 3}, {187, 4}, {97, 0}}));
  EXPECT_EQ(field->text(), "aB1");
}

// Qt's accessibility bridge while a screen reader listens for keys: it keeps
// each key the platform delivers to a window and, once the reader lets it
// pass, sends the window a copy that is not spontaneous and has no time stamp.
struct ListeningBridge : QObject {
  std::vector<std::pair<QPointer<QObject>, std::unique_ptr<QKeyEvent>>> kept;
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (!event->spontaneous() || (event->type() != QEvent::KeyPress && event->type() != QEvent::KeyRelease))
      return false;
    const auto& k = *static_cast<QKeyEvent*>(event);
    kept.emplace_back(watched, std::make_unique<QKeyEvent>(
                                   k.type(), k.key(), k.modifiers(), k.nativeScanCode(), k.nativeVirtualKey(),
                                   k.nativeModifiers(), k.text(), k.isAutoRepeat(), k.count()));
    return true;
  }
  void PassOn() {
    for (auto& [to, copy] : kept) QApplication::sendEvent(to, copy.get());
    kept.clear();
  }
};

TEST_F(Window, EachPressRunsOnceWithOrWithoutAScreenReader) {
  enum Bridge { kNone, kSeesKeysFirst, kSeesKeysAfterTheFilter };
  // Steps: p presses Ctrl+3, c lets the bridge pass its copies on, w sends a
  // Ctrl+3 press again as the web view sends an unused key to its parent.
  const struct {
    const char* name;
    Bridge bridge;
    const char* steps;
    std::size_t runs;
  } cases[] = {
      {"OriginalOnly", kNone, "p", 1},
      {"CopyOnly", kSeesKeysFirst, "pc", 1},
      {"OriginalThenCopy", kSeesKeysAfterTheFilter, "pc", 1},
      {"WebViewResendNotTaken", kNone, "pw", 1},
      {"WebViewResendOfACopyNotTaken", kSeesKeysFirst, "pcw", 1},
      {"TwoPressesOfTheSameKey", kSeesKeysAfterTheFilter, "ppc", 2},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    pressed.clear();
    ListeningBridge bridge;
    if (c.bridge == kSeesKeysAfterTheFilter) App().removeEventFilter(filter.get());
    if (c.bridge != kNone) App().installEventFilter(&bridge);
    // The filter installed last runs first.
    if (c.bridge == kSeesKeysAfterTheFilter) App().installEventFilter(filter.get());
    for (const char* step = c.steps; *step != 0; ++step) {
      if (*step == 'p') Press("Ctrl+3");
      if (*step == 'c') bridge.PassOn();
      if (*step == 'w') {
        QKeyEvent again(QEvent::KeyPress, Qt::Key_3, Qt::ControlModifier, 12, '3', 4, QString());
        QApplication::sendEvent(top.get(), &again);
      }
    }
    App().removeEventFilter(&bridge);
    EXPECT_EQ(pressed, std::vector<Pressed>(c.runs, Pressed(51, 2)));
  }
}

}  // namespace
}  // namespace orva
