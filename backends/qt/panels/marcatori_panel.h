#pragma once
// The bookmark panel on screen: the frame "fraMarcatori" with the list of the
// page's bookmarks, shown in the browser's place. It is a view over the list
// box of the main window (FrmBrowser::Bookmarks().ListMarkers) and follows
// the panel's Visible property (FrmBrowser::fraMarcatoriVisible):
//   - shown, it takes the browser's place (the browser hidden, the panel over
//     its area) and gives the list the keyboard on its first line, selected
//     through the model so that the list's Click handler runs; hidden, it
//     gives the browser and the keyboard back;
//   - each line is read by screen readers under its own text, the tab after
//     the time read as a blank, so moving through the list reads each line;
//     the list's tooltip and accessible description follow ToolTipText;
//   - a line the reader makes current goes to the model; what the program
//     changes in the model shows in the list without coming back to it;
//   - a double click runs ListMarkers_DblClick; every key press the list gets
//     runs ListMarkers_KeyDown (after the window's key filter has seen it) and
//     then the list handles the key as usual;
//   - above the list, the buttons "&Importa Marcatori", "&Esporta Marcatori"
//     and "&Chiudi" (cmdImpExp 1, 0 and 4) run FrmBrowser::cmdImpExp_Click;
//     the first two open the file chooser (imp_exp_chooser.h) over the list,
//     and the list and the three buttons give way to it while it is shown.
//     The keyboard goes into the chooser as it opens and back to the button
//     that opened it as it closes.
// Until the window lays its panels out by their names, the panel puts its
// controls where the window's layout rules would, for its own size.

#include <QGroupBox>
#include <QPointer>
#include <array>
#include <memory>
#include <string>
#include <vector>

class QListWidget;
class QPushButton;

namespace orva {

class FrmBrowser;
class ImpExpChooser;
class ScriptActions;

class MarcatoriPanel : public QGroupBox {
  Q_OBJECT
 public:
  // `browserArea` is the widget whose place the panel takes while shown (the
  // web view); `parent` holds both.
  MarcatoriPanel(FrmBrowser& form, QWidget* browserArea, QWidget* parent);
  ~MarcatoriPanel() override;

  QListWidget* List() const { return list_; }
  ImpExpChooser* Chooser() const { return chooser_; }
  // cmdImpExp(index), 0 to 4; 2 and 3 are the chooser's.
  QPushButton* Button(int index) const;

  // What a reader does, for scripts; each throws std::runtime_error when the
  // reader could not do it (the panel hidden, no such line).
  // Makes line `number` (from 1) the current one, with the keyboard in the
  // list.
  void SelectLine(int number);
  // The same for the first line that contains `text`.
  void SelectLineContaining(const std::string& text);
  // Presses cmdImpExp(index), or the button whose caption is `caption`
  // (with or without its "&"), as the reader does.
  void PressButton(const std::string& indexOrCaption);

  // A list line as screen readers read it.
  static QString SpokenLine(const std::string& line);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  // The model tells of every change, and a page load changes it line by
  // line: the view catches up once the event loop is free, or at once where
  // the reader is about to see it.
  void QueueSync();
  void Sync();
  void SyncLines();
  void SyncTabStops();
  void FollowVisible(bool visible);
  void Place();
  // Puts the list, the buttons and the chooser where the window's layout
  // rules put them for the panel's size.
  void PlaceControls();
  void FollowChooser(bool visible);
  void MakeCurrent(int row);
  void ReaderMadeCurrent(int row);

  FrmBrowser& form_;
  QPointer<QWidget> browserArea_;
  QListWidget* list_;
  // cmdImpExp 0, 1 and 4.
  std::array<QPushButton*, 3> buttons_{};
  ImpExpChooser* chooser_;
  // The button that opened the chooser, which has the keyboard after it.
  QPointer<QPushButton> opener_;
  class TabStopDelegate* delegate_;
  // Cleared when the panel goes, for the handlers it chained onto the models.
  std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
  QPointer<QWidget> focusBefore_;
  // The lines the list shows.
  std::vector<std::string> shown_;
  bool syncQueued_ = false;
  // Set while the view follows the model, so that it does not tell the model
  // back what it was told.
  bool following_ = false;
};

// The panel's script actions, added before the script is read:
//   bookmark-select N      make line N (from 1) of the bookmark list current
//   bookmark-select TEXT   the same for the first line that contains TEXT
//   bookmark-button N|CAPTION  press cmdImpExp(N) (0 to 4), or the button
//                          with that caption
//   chooser-folder LINE    open a folder of the chooser's folder list
//   chooser-file NAME [double]  click (or double-click) a file of its list
//   chooser-name TEXT      type the name of the file to export
void AddMarcatoriScriptActions(ScriptActions& actions);
// Binds them to the panel once it exists.
void BindMarcatoriScriptActions(ScriptActions& actions, MarcatoriPanel& panel);

}  // namespace orva
