#pragma once
// The main window on screen: the web view with the book's pages, under the
// window's caption, and the one-line on-screen display across its middle.
// The pages reach screen readers through the web engine's own
// accessibility tree; nothing here stands in its way. Closing the window in
// any way asks the main window's exit question.

#include <QMainWindow>

class QLabel;
class QWebEngineView;

namespace orva {

class FrmBrowser;

class BrowserMainWindow : public QMainWindow {
  Q_OBJECT
 public:
  explicit BrowserMainWindow(QWidget* parent = nullptr);

  QWebEngineView* view() const { return view_; }
  // The on-screen display strip; panels that take the browser's place stay
  // under it.
  QLabel* osd() const { return osd_; }
  // Follows the window's caption and on-screen display; its exit question
  // decides whether a close goes ahead.
  void Attach(FrmBrowser& form);

 protected:
  void closeEvent(QCloseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  void PlaceOsd();

  QWebEngineView* view_;
  QLabel* osd_;
  FrmBrowser* form_ = nullptr;
};

}  // namespace orva
