// The key preview filter on the offscreen platform: the window's handler
// sees each key first, once, and the key still reaches the focused control.

#include "backends/qt/keys/key_preview_filter.h"
#include "backends/qt/platform/testing/offscreen_application.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>
#include <QWidget>
#include <QWindow>
#include <memory>
#include <vector>

#include "backends/qt/keys/script_keys.h"
#include "common/automation/testing/captured_trace.h"

namespace orva {
namespace {

QApplication& App() { return testing::OffscreenApplication(); }

struct Pressed {
  std::int16_t code;
  std::int16_t shift;
  friend bool operator==(const Pressed&, const Pressed&) = default;
};

void PrintTo(const Pressed& p, std::ostream* out) { *out << p.code << "/" << p.shift; }

// A window with a text field that has the focus, the filter installed on the
// application, and a message label the handler writes into.
struct Window : ::testing::Test {
  std::unique_ptr<QWidget> top;
  QLineEdit* field = nullptr;
  QLabel* message = nullptr;
  std::vector<Pressed> pressed;
  std::unique_ptr<KeyPreviewFilter> filter;

  Window() {
    App();
    top = std::make_unique<QWidget>();
    auto* layout = new QVBoxLayout(top.get());
    field = new QLineEdit(top.get());
    message = new QLabel(top.get());
    message->hide();
    layout->addWidget(field);
    layout->addWidget(message);
    top->show();
    field->setFocus();
    QApplication::processEvents();
    filter = std::make_unique<KeyPreviewFilter>(top.get(), [this](std::int16_t code, std::int16_t shift) {
      pressed.push_back({code, shift});
      // The handler sees the key before the field does.
      EXPECT_EQ(field->text(), typedBefore);
      message->setText(QString::number(code));
      message->show();
    });
    filter->WatchMessage(message);
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

TEST_F(Window, TheHandlerSeesEachKeyOnceAndTheFieldStillGetsIt) {
  Press("a");
  Press("Shift+b");
  Press("Ctrl+2");
  Press("Ctrl+Shift+1");
  Press("Alt+plus");
  Press("KP1");
  EXPECT_EQ(pressed, (std::vector<Pressed>{{65, 0}, {66, 1}, {50, 2}, {49, 3}, {187, 4}, {97, 0}}));
  EXPECT_EQ(field->text(), "aB1");
}

TEST_F(Window, KeysNotFromThePlatformAreLeftAlone) {
  // A key sent again by code (as the web engine sends back the keys a page
  // did not use), to the window or to the field.
  for (QObject* receiver : {static_cast<QObject*>(top->windowHandle()), static_cast<QObject*>(field)}) {
    QKeyEvent again(QEvent::KeyPress, Qt::Key_2, Qt::ControlModifier, 11, '2', 4, QString());
    QApplication::sendEvent(receiver, &again);
  }
  EXPECT_TRUE(pressed.empty());
}

TEST_F(Window, TheModifierKeysOnTheirOwnAreNotCommands) {
  PressScriptKey(*top, {.keycode = 50, .keysym = 0xffe1, .shift = 1});  // Shift
  PressScriptKey(*top, {.keycode = 37, .keysym = 0xffe3, .shift = 2});  // Ctrl
  PressScriptKey(*top, {.keycode = 64, .keysym = 0xffe9, .shift = 4});  // Alt
  EXPECT_TRUE(pressed.empty());
}

TEST_F(Window, KeysTypedIntoAModalDialogGoToTheDialog) {
  QDialog dialog(top.get());
  dialog.setModal(true);
  dialog.show();
  QApplication::processEvents();
  ASSERT_EQ(QApplication::activeModalWidget(), &dialog);
  Press("Ctrl+2");
  EXPECT_TRUE(pressed.empty());
  dialog.hide();
  QApplication::processEvents();
  Press("Ctrl+2");
  EXPECT_EQ(pressed.size(), 1u);
}

TEST_F(Window, AKeyThatPutsUpAMessageIsTracedUntilTheMessageIsPainted) {
  testing::CapturedTrace trace;
  Press("Ctrl+2");
  for (int i = 0; i < 20 && trace.Text().find("key_message") == std::string::npos; ++i)
    QApplication::processEvents(QEventLoop::AllEvents, 10);
  const std::string text = trace.Text();
  EXPECT_NE(text.find("\"ev\":\"key_message\",\"code\":50,\"shift\":2,\"text\":\"50\",\"handled_us\":"),
            std::string::npos)
      << text;
  EXPECT_NE(text.find("\"shown_us\":"), std::string::npos) << text;
}

TEST(KeyCodes, NativeCodesAreReadWhenThePlatformGivesThem) {
  App();
  QKeyEvent shifted(QEvent::KeyPress, Qt::Key_Exclam, Qt::ShiftModifier | Qt::ControlModifier, 10, '!', 5,
                    QString());
  EXPECT_EQ(KeyPreviewFilter::VirtualKeyOf(shifted), 49);
  EXPECT_EQ(KeyPreviewFilter::MaskOf(shifted), 3);
  // Without native codes, the Qt key.
  QKeyEvent bare(QEvent::KeyPress, Qt::Key_F1, Qt::AltModifier);
  EXPECT_EQ(KeyPreviewFilter::VirtualKeyOf(bare), 112);
  EXPECT_EQ(KeyPreviewFilter::MaskOf(bare), 4);
  QKeyEvent keypad(QEvent::KeyPress, Qt::Key_Plus, Qt::KeypadModifier);
  EXPECT_EQ(KeyPreviewFilter::VirtualKeyOf(keypad), 107);
}

}  // namespace
}  // namespace orva
