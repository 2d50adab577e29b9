#pragma once
// The player host's own window, in which the engine shows its picture. It is
// hidden while audio plays and shown for video, maximised or as a small
// window at a given place. Geometry is in screen pixels.

#include <cstdint>
#include <functional>
#include <string>

namespace orva {

enum class WindowState { kNormal = 0, kMinimized = 1, kMaximized = 2 };

class HostWindow {
 public:
  virtual ~HostWindow() = default;

  // A key pressed while the window had the focus: the key code and the
  // modifier mask (1 Shift, 2 Ctrl, 4 Alt). Set by the host.
  std::function<void(std::int16_t keyCode, std::int16_t shift)> KeyDown;

  virtual void SetCaption(const std::string& caption) = 0;
  virtual bool Visible() const = 0;
  virtual void SetVisible(bool visible) = 0;
  virtual WindowState State() const = 0;
  virtual void SetState(WindowState state) = 0;
  // The window's place and size when in the normal state.
  virtual void SetGeometry(int left, int top, int width, int height) = 0;
  virtual int ScreenWidth() const = 0;
  virtual int ScreenHeight() const = 0;
};

}  // namespace orva
