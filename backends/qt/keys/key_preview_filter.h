#pragma once
// The main window sees every key before the focused control, the web view
// included, and the key then goes on to that control: an application-wide
// event filter that acts only on spontaneous key presses arriving at the
// top-level window. Qt delivers a key to the window first and the window
// hands it to its focus widget, so the filter sees it there first; it never
// consumes it.
//
// What it leaves alone:
//   - non-spontaneous key events: the web engine sends the keys a page did
//     not use once more that way, and they must not run twice;
//   - keys while a modal dialog is up (they belong to the dialog);
//   - the modifier keys pressed on their own, and keys the map has no code
//     for.
// Key shortcuts (QAction) are not used for the map: they would take keys away
// from the page and from this filter.
//
// With a message widget to watch, each key that changes the message is
// traced as "key_message" with the time from the key press to the handler's
// end (handled_us) and to the message being painted (shown_us).

#include <QObject>
#include <QPointer>
#include <chrono>
#include <cstdint>
#include <functional>
#include <string>

class QKeyEvent;
class QLabel;
class QWidget;

namespace orva {

class KeyPreviewFilter : public QObject {
  Q_OBJECT
 public:
  using Handler = std::function<void(std::int16_t keyCode, std::int16_t shift)>;

  // Install with QCoreApplication::installEventFilter.
  KeyPreviewFilter(QWidget* topLevel, Handler handler, QObject* parent = nullptr);

  void WatchMessage(QLabel* message);

  // The key map's code and mask of a key event; code 0 for a key without one.
  static std::int16_t VirtualKeyOf(const QKeyEvent& event);
  static std::int16_t MaskOf(const QKeyEvent& event);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Handle(const QKeyEvent& event);

  QPointer<QWidget> topLevel_;
  Handler handler_;
  QPointer<QLabel> message_;
  // A key whose message waits to be painted.
  struct Pending {
    std::int16_t code = 0;
    std::int16_t shift = 0;
    std::string text;
    std::chrono::steady_clock::time_point pressed;
    long long handledUs = 0;
  };
  bool pending_ = false;
  Pending waiting_;
};

}  // namespace orva
