#pragma once
// The player host's window on Qt: a top-level native window into which mpv
// draws the picture. It is hidden for audio; for video the host shows it
// full screen or at a given place and size. Keys pressed in it go to the
// host (Escape stops playback).

#include <QWidget>

#include "player/playback/host_window.h"

namespace orva::mpvbackend {

class MpvVideoWindow final : public QWidget, public HostWindow {
  Q_OBJECT

 public:
  MpvVideoWindow();

  void SetCaption(const std::string& caption) override;
  bool Visible() const override;
  void SetVisible(bool visible) override;
  WindowState State() const override;
  void SetState(WindowState state) override;
  void SetGeometry(int left, int top, int width, int height) override;
  int ScreenWidth() const override;
  int ScreenHeight() const override;

  // The old virtual-key code of a Qt key (0 when it has none) and the
  // modifier mask (1 Shift, 2 Ctrl, 4 Alt).
  static std::int16_t VirtualKeyOf(int qtKey);
  static std::int16_t ShiftMaskOf(Qt::KeyboardModifiers modifiers);

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  WindowState state_ = WindowState::kNormal;
};

}  // namespace orva::mpvbackend
