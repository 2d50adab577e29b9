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
//     then the list handles the key as usual.

#include <QGroupBox>
#include <QPointer>
#include <memory>
#include <string>
#include <vector>

class QListWidget;

namespace orva {

class FrmBrowser;
class ScriptActions;

class MarcatoriPanel : public QGroupBox {
  Q_OBJECT
 public:
  // `browserArea` is the widget whose place the panel takes while shown (the
  // web view); `parent` holds both.
  MarcatoriPanel(FrmBrowser& form, QWidget* browserArea, QWidget* parent);
  ~MarcatoriPanel() override;

  QListWidget* List() const { return list_; }

  // What a reader does, for scripts; each throws std::runtime_error when the
  // reader could not do it (the panel hidden, no such line).
  // Makes line `number` (from 1) the current one, with the keyboard in the
  // list.
  void SelectLine(int number);
  // The same for the first line that contains `text`.
  void SelectLineContaining(const std::string& text);

  // A list line as screen readers read it.
  static QString SpokenLine(const std::string& line);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

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
  void MakeCurrent(int row);
  void ReaderMadeCurrent(int row);

  FrmBrowser& form_;
  QPointer<QWidget> browserArea_;
  QListWidget* list_;
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
void AddMarcatoriScriptActions(ScriptActions& actions);
// Binds them to the panel once it exists.
void BindMarcatoriScriptActions(ScriptActions& actions, MarcatoriPanel& panel);

}  // namespace orva
