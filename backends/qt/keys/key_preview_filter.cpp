#include "backends/qt/keys/key_preview_filter.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QWidget>
#include <QWindow>

#include "backends/qt/keys/x11_virtual_keys.h"
#include "common/automation/trace.h"

namespace orva {

namespace {

long long MicrosecondsSince(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - start)
      .count();
}

// Without native codes (a platform that gives none), the key as Qt names
// it. Shift then changes what a digit key is called, so only unshifted
// digits are found this way.
std::int16_t VirtualKeyOfQtKey(int key, bool keypad) {
  if (key >= Qt::Key_0 && key <= Qt::Key_9)
    return static_cast<std::int16_t>((keypad ? 96 : '0') + (key - Qt::Key_0));
  if (key >= Qt::Key_A && key <= Qt::Key_Z) return static_cast<std::int16_t>('A' + (key - Qt::Key_A));
  if (key >= Qt::Key_F1 && key <= Qt::Key_F12) return static_cast<std::int16_t>(112 + (key - Qt::Key_F1));
  switch (key) {
    case Qt::Key_Plus:
    case Qt::Key_Equal: return keypad ? 107 : 187;
    case Qt::Key_Minus:
    case Qt::Key_Underscore: return keypad ? 109 : 189;
    case Qt::Key_Escape: return 27;
    case Qt::Key_Return:
    case Qt::Key_Enter: return 13;
    case Qt::Key_Delete: return 46;
    case Qt::Key_Shift: return x11keys::kVkShift;
    case Qt::Key_Control: return x11keys::kVkControl;
    case Qt::Key_Alt: return x11keys::kVkMenu;
    default: return 0;
  }
}

bool IsModifierKey(std::int16_t code) {
  return code == x11keys::kVkShift || code == x11keys::kVkControl || code == x11keys::kVkMenu;
}

}  // namespace

KeyPreviewFilter::KeyPreviewFilter(QWidget* topLevel, Handler handler, QObject* parent)
    : QObject(parent), topLevel_(topLevel), handler_(std::move(handler)) {}

void KeyPreviewFilter::WatchMessage(QLabel* message) { message_ = message; }

std::int16_t KeyPreviewFilter::VirtualKeyOf(const QKeyEvent& event) {
#ifdef Q_OS_WIN
  return static_cast<std::int16_t>(event.nativeVirtualKey());
#else
  if (event.nativeScanCode() != 0 || event.nativeVirtualKey() != 0)
    return x11keys::VirtualKey(event.nativeScanCode(), event.nativeVirtualKey());
  return VirtualKeyOfQtKey(event.key(), event.modifiers().testFlag(Qt::KeypadModifier));
#endif
}

std::int16_t KeyPreviewFilter::MaskOf(const QKeyEvent& event) {
  const Qt::KeyboardModifiers m = event.modifiers();
  return x11keys::ModifierMask(m.testFlag(Qt::ShiftModifier), m.testFlag(Qt::ControlModifier),
                               m.testFlag(Qt::AltModifier));
}

bool KeyPreviewFilter::eventFilter(QObject* watched, QEvent* event) {
  const QEvent::Type type = event->type();
  if (type == QEvent::KeyPress || type == QEvent::KeyRelease) {
    if (watched->isWindowType()) {
      arrived_ =
          (type == QEvent::KeyPress && topLevel_ && watched == topLevel_->windowHandle()) ? event : nullptr;
    } else if (event == arrived_) {
      // The window hands the press on to its focus widget; a widget that
      // ignores it passes the same event up to its parents, so it is taken
      // at the first hand-over only.
      arrived_ = nullptr;
      if (QApplication::activeModalWidget() == nullptr) Handle(*static_cast<QKeyEvent*>(event));
    }
  } else if (event->type() == QEvent::Paint && pending_ && message_ && watched == message_.data()) {
    const long long shownUs = MicrosecondsSince(waiting_.pressed);
    TraceEvent("key_message", {{"code", static_cast<int>(waiting_.code)},
                               {"shift", static_cast<int>(waiting_.shift)},
                               {"text", waiting_.text},
                               {"handled_us", waiting_.handledUs},
                               {"shown_us", shownUs}});
    pending_ = false;
  }
  return false;  // the key goes on to the focused control
}

void KeyPreviewFilter::Handle(const QKeyEvent& event) {
  const std::int16_t code = VirtualKeyOf(event);
  if (code == 0 || IsModifierKey(code)) return;
  const std::int16_t shift = MaskOf(event);
  const bool watching = message_ && TraceEnabled();
  const std::string before = watching ? message_->text().toStdString() : std::string();
  const bool wasVisible = watching && message_->isVisible();
  const auto pressed = std::chrono::steady_clock::now();

  handler_(code, shift);

  if (!watching || !message_) return;
  const std::string after = message_->text().toStdString();
  // Only a key that put a message up waits for it to be painted; a later
  // key replaces a message still waiting. A paint that came while the
  // handler let events run is not counted: the message is asked to paint
  // once more, and the time runs to that paint.
  if (message_->isVisible() && (!wasVisible || after != before)) {
    pending_ = true;
    waiting_ = Pending{code, shift, after, pressed, MicrosecondsSince(pressed)};
    message_->update();
  }
}

}  // namespace orva
