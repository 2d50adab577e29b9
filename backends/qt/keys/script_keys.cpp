#include "backends/qt/keys/script_keys.h"

#include <QtTest/qtestspontaneevent.h>
#include <QApplication>
#include <QKeyEvent>
#include <QWidget>
#include <QWindow>
#include <stdexcept>

namespace orva {

namespace {

// The Qt key and text an X keyboard gives for a keysym.
int QtKeyOf(std::uint32_t keysym) {
  if (keysym >= 0x20 && keysym <= 0x7e) {
    const char c = static_cast<char>(keysym);
    return (c >= 'a' && c <= 'z') ? c - 'a' + 'A' : c;  // Qt names printable keys by their upper case
  }
  if (keysym >= 0xffb0 && keysym <= 0xffb9) return Qt::Key_0 + static_cast<int>(keysym - 0xffb0);
  if (keysym >= 0xffbe && keysym <= 0xffc9) return Qt::Key_F1 + static_cast<int>(keysym - 0xffbe);
  switch (keysym) {
    case 0xff1b: return Qt::Key_Escape;
    case 0xff0d: return Qt::Key_Return;
    case 0xff8d: return Qt::Key_Enter;
    case 0xffff: return Qt::Key_Delete;
    case 0xff09: return Qt::Key_Tab;
    case 0xff08: return Qt::Key_Backspace;
    case 0xffab: return Qt::Key_Plus;
    case 0xffad: return Qt::Key_Minus;
    default: return Qt::Key_unknown;
  }
}

QString TextOf(const x11keys::ScriptKey& key) {
  // Ctrl and Alt combinations type nothing.
  if ((key.shift & 6) != 0) return {};
  if (key.keysym >= 0x20 && key.keysym <= 0x7e) return QString(QChar(static_cast<char16_t>(key.keysym)));
  if (key.keysym >= 0xffb0 && key.keysym <= 0xffb9) return QString(QChar(u'0' + (key.keysym - 0xffb0)));
  return {};
}

}  // namespace

void PressScriptKey(QWidget& topLevel, const x11keys::ScriptKey& key) {
  QWindow* window = topLevel.windowHandle();
  if (window == nullptr) throw std::runtime_error("the window is not shown yet");
  Qt::KeyboardModifiers modifiers;
  if (key.shift & 1) modifiers |= Qt::ShiftModifier;
  if (key.shift & 2) modifiers |= Qt::ControlModifier;
  if (key.shift & 4) modifiers |= Qt::AltModifier;
  if (key.keypad) modifiers |= Qt::KeypadModifier;
  const int qtKey = QtKeyOf(key.keysym);
  const QString text = TextOf(key);
  for (QEvent::Type type : {QEvent::KeyPress, QEvent::KeyRelease}) {
    QKeyEvent event(type, qtKey, modifiers, key.keycode, key.keysym, x11keys::X11State(key.shift), text);
    // As the platform delivers it: spontaneous, to the window first.
    QSpontaneKeyEvent::setSpontaneous(&event);
    QApplication::instance()->notify(window, &event);
  }
}

}  // namespace orva
