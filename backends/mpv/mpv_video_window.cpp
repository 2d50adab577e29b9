#include "backends/mpv/mpv_video_window.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QScreen>

namespace orva::mpvbackend {

MpvVideoWindow::MpvVideoWindow() {
  // mpv draws into this window's own native surface; a black background
  // shows until the first picture arrives.
  setAttribute(Qt::WA_NativeWindow);
  setAttribute(Qt::WA_DontCreateNativeAncestors);
  setAttribute(Qt::WA_OpaquePaintEvent);
  setAutoFillBackground(true);
  QPalette pal = palette();
  pal.setColor(QPalette::Window, Qt::black);
  setPalette(pal);
  setFocusPolicy(Qt::StrongFocus);
}

void MpvVideoWindow::SetCaption(const std::string& caption) {
  const QString text = QString::fromStdString(caption);
  setWindowTitle(text);
  setAccessibleName(text);
}

bool MpvVideoWindow::Visible() const { return isVisible(); }

void MpvVideoWindow::SetVisible(bool visible) {
  if (!visible) {
    hide();
    return;
  }
  if (state_ == WindowState::kMaximized)
    showFullScreen();
  else
    showNormal();
  // Bring it before the main window; a platform without a screen has no
  // stacking to change.
  if (QGuiApplication::platformName() != QLatin1String("offscreen")) {
    raise();
    activateWindow();
  }
}

WindowState MpvVideoWindow::State() const { return state_; }

void MpvVideoWindow::SetState(WindowState state) {
  state_ = state;
  switch (state) {
    case WindowState::kMaximized: setWindowState(Qt::WindowFullScreen); break;
    case WindowState::kMinimized: setWindowState(Qt::WindowMinimized); break;
    case WindowState::kNormal: setWindowState(Qt::WindowNoState); break;
  }
}

void MpvVideoWindow::SetGeometry(int left, int top, int width, int height) {
  setGeometry(left, top, width, height);
}

int MpvVideoWindow::ScreenWidth() const {
  const QScreen* s = screen() ? screen() : QGuiApplication::primaryScreen();
  return s ? s->geometry().width() : 0;
}

int MpvVideoWindow::ScreenHeight() const {
  const QScreen* s = screen() ? screen() : QGuiApplication::primaryScreen();
  return s ? s->geometry().height() : 0;
}

std::int16_t MpvVideoWindow::VirtualKeyOf(int qtKey) {
  if ((qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) || (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9))
    return static_cast<std::int16_t>(qtKey);  // the same codes
  if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F12)
    return static_cast<std::int16_t>(0x70 + (qtKey - Qt::Key_F1));
  switch (qtKey) {
    case Qt::Key_Escape: return 27;
    case Qt::Key_Return:
    case Qt::Key_Enter: return 13;
    case Qt::Key_Space: return 32;
    case Qt::Key_Tab: return 9;
    case Qt::Key_Backspace: return 8;
    case Qt::Key_PageUp: return 33;
    case Qt::Key_PageDown: return 34;
    case Qt::Key_End: return 35;
    case Qt::Key_Home: return 36;
    case Qt::Key_Left: return 37;
    case Qt::Key_Up: return 38;
    case Qt::Key_Right: return 39;
    case Qt::Key_Down: return 40;
    default: return 0;
  }
}

std::int16_t MpvVideoWindow::ShiftMaskOf(Qt::KeyboardModifiers modifiers) {
  std::int16_t mask = 0;
  if (modifiers & Qt::ShiftModifier) mask |= 1;
  if (modifiers & Qt::ControlModifier) mask |= 2;
  if (modifiers & Qt::AltModifier) mask |= 4;
  return mask;
}

void MpvVideoWindow::keyPressEvent(QKeyEvent* event) {
  const std::int16_t code = VirtualKeyOf(event->key());
  if (code == 0 || !KeyDown) {
    QWidget::keyPressEvent(event);
    return;
  }
  event->accept();
  KeyDown(code, ShiftMaskOf(event->modifiers()));
}

}  // namespace orva::mpvbackend
