#pragma once
// The bookmark panel's file chooser on screen: the frame "frmImpExp" with the
// drive list, the folder list, the file list, the name field under its label
// and the buttons "&OK" and "&Annulla". It is a view over the chooser's model
// (FrmBrowser::frmImpExp):
//   - the lists and the field show the model and follow its Changed and
//     Change; the line the reader makes current goes to the model's
//     SetListIndex, so a drive choice moves the folder list and a file
//     chosen in the file list puts its name in the field;
//   - Enter in the folder list, or a double click on a folder, opens it;
//     a double click on a file, or Enter in the name field, confirms, as
//     "&OK" does (FrmBrowser::cmdImpExp_Click(2)); "&Annulla" closes;
//   - each control's accessible name is its tooltip or caption.
// The bookmark panel shows and hides it with the model's Visible, since its
// own list and buttons give way to it.

#include <QGroupBox>
#include <QPointer>
#include <array>
#include <memory>
#include <string>
#include <vector>

#include "player/panels/form_layout.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace orva {

class FrmBrowser;
class FrmImpExp;
class ListBox;

class ImpExpChooser : public QGroupBox {
  Q_OBJECT
 public:
  ImpExpChooser(FrmBrowser& form, QWidget* parent);
  ~ImpExpChooser() override;

  // Shows the frame with the caption, name field and file list of the
  // export or import it was opened for, or hides it.
  void FollowVisible(bool visible);
  // Gives the keyboard to where the reader starts: the name field for an
  // export; for an import the file list, or the folder list while the file
  // list is empty.
  void FocusStart();
  // Puts the controls where `layout` (the window's, at the screen's `dpi`)
  // has them inside the frame, the file list as the chooser's use wants it.
  void PlaceControls(const FormLayout& layout, double dpi);
  // Shows the model as it is now.
  void Sync();

  QComboBox* Drive() const { return drive_; }
  QListWidget* Dir() const { return dir_; }
  QListWidget* File() const { return file_; }
  QLineEdit* TextFileName() const { return name_; }
  // cmdImpExp(2) or cmdImpExp(3).
  QPushButton* Button(int index) const { return index == 2 ? ok_ : index == 3 ? cancel_ : nullptr; }

  // What a reader does, for scripts; each throws std::runtime_error when the
  // reader could not do it (the chooser hidden, no such line).
  // Makes the folder list's line `line` ("..", or a folder's name) current
  // and presses Enter on it.
  void OpenFolder(const std::string& line);
  // Clicks the file `name` in the file list, or double-clicks it.
  void ChooseFile(const std::string& name, bool doubleClick);
  // Replaces the name field's text as one edit.
  void TypeName(const std::string& text);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void QueueSync();
  void SyncList(QListWidget* view, const ListBox& model, std::vector<std::string>& shown);
  void SyncDrives();
  void PositionFileList();
  // Runs a reader's action on the model, then shows what it changed.
  template <class Action>
  void Acting(Action&& action);
  int RowOf(QListWidget* view, const std::string& line) const;
  void RequireShown() const;

  FrmBrowser& form_;
  FrmImpExp& model_;
  std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
  QComboBox* drive_;
  QListWidget* dir_;
  QListWidget* file_;
  QLabel* lblNomeFile_;
  QLineEdit* name_;
  QPushButton* ok_;
  QPushButton* cancel_;
  std::vector<std::string> drivesShown_;
  std::vector<std::string> dirsShown_;
  std::vector<std::string> filesShown_;
  // The window's layout last applied, for the file list's place when the
  // chooser opens for the other use.
  FormLayout layout_;
  double dpi_ = 96;
  bool syncQueued_ = false;
  // Set while the view follows the model, so that it does not tell the
  // model back what it was told.
  bool following_ = false;
};

}  // namespace orva
