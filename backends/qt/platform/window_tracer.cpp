#include "backends/qt/platform/window_tracer.h"

#include <QEvent>
#include <QWidget>

#include "common/automation/trace_events.h"

namespace orva {
namespace {

class WindowTracer : public QObject {
 public:
  WindowTracer(QWidget* window, std::string name)
      : QObject(window), window_(window), name_(std::move(name)) {}

  bool eventFilter(QObject* watched, QEvent* event) override {
    // Only the window's own, not its children's; spontaneous minimising
    // shows and hides are the window manager's, not the program's.
    if (watched == window_ && !event->spontaneous()) {
      if (event->type() == QEvent::Show) TraceWindowShown(name_, window_->windowTitle().toStdString());
      if (event->type() == QEvent::Hide) TraceWindowHidden(name_);
    }
    return false;
  }

 private:
  QWidget* window_;
  std::string name_;
};

}  // namespace

void TraceWindowEvents(QWidget* window, const std::string& name) {
  window->installEventFilter(new WindowTracer(window, name));
}

}  // namespace orva
