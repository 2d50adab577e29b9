#pragma once
// The main window on screen: the web view with the book's pages ("objwb"),
// under the window's caption, the panels that other code adds ("fraMarcatori",
// "frmconfigurazione", "fraDebug"), and the one-line on-screen display, the
// strip "frmOSD" with its label "lblOSD", across its middle. The pages reach
// screen readers through the web engine's own accessibility tree; nothing
// here stands in its way. Closing the window in any way asks the main
// window's exit question.
//
// The window lays out its controls itself at every resize and whenever its
// font changes (WindowLayout, at the resolution the font gives twips), and
// keeps them stacked in the rules' order, the display strip above every
// panel, whichever panel raised itself last.

#include <QMainWindow>

#include "backends/qt/browser/window_layout.h"

class QFrame;
class QLabel;
class QWebEngineView;

namespace orva {

class FrmBrowser;
class ScriptActions;

class BrowserMainWindow : public QMainWindow {
  Q_OBJECT
 public:
  explicit BrowserMainWindow(QWidget* parent = nullptr);

  QWebEngineView* view() const { return view_; }
  // The on-screen display's label; the strip it lies in stays above every
  // panel.
  QLabel* osd() const { return osd_; }
  const WindowLayout& Layout() const { return layout_; }
  // Follows the window's caption and on-screen display; its exit question
  // decides whether a close goes ahead, and its error report takes a
  // layout's failure.
  void Attach(FrmBrowser& form);

 protected:
  void closeEvent(QCloseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void changeEvent(QEvent* event) override;
  void childEvent(QChildEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Form_Resize();

  QWebEngineView* view_;
  QFrame* strip_;
  QLabel* osd_;
  FrmBrowser* form_ = nullptr;
  WindowLayout layout_{*this};
};

// The window's script actions, added before the script is read:
//   window-size W H   resize the window to W by H pixels inside its frame,
//                     as the reader's drag does
//   screenshot FILE   save a picture of the window as a PNG file
void AddMainWindowScriptActions(ScriptActions& actions);
// Binds them to the window once it exists.
void BindMainWindowScriptActions(ScriptActions& actions, BrowserMainWindow& window);

}  // namespace orva
