#pragma once
// The main window sees every key before the focused control, the web view
// included, and the key then goes on to that control: an application-wide
// event filter that never consumes a key.
//
// A key press is taken when the top-level window hands it on: Qt delivers a
// key to the window first, and the window passes that same event on to its
// focus widget, where the filter sees it before the widget does. That makes
// each physical key count exactly once, with or without a screen reader:
//   - while a screen reader listens for keys, Qt's accessibility bridge keeps
//     the platform's press at the window and, once the reader has let it
//     pass, sends the window a copy that is not spontaneous and has no time
//     stamp. Depending on whether the bridge's filter runs before or after
//     this one, the window is seen receiving the copy alone or the original
//     and then the copy, but only the copy is handed on;
//   - the web engine sends the keys a page did not use once more, as new
//     events straight to the web view's parent widget; they never pass the
//     window, so they do not run twice.
//
// What it also leaves alone:
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
  // The key press the top-level window received last, until it is handed on
  // or another key reaches a window. Only compared, never dereferenced: a
  // press the accessibility bridge kept is gone without being handed on.
  const QEvent* arrived_ = nullptr;
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
