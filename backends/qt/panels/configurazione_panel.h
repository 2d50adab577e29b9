#pragma once
// The configuration panel on screen: a frame over the main window with the
// playback options. Every control is bound both ways to its model in the
// main window: what the reader does goes through the model, so the control's
// handler runs and writes its setting; what the program sets in a model
// shows in the control without running the handler a second time. Each
// control has an accessible name (its caption or label), the tab order
// follows the frame from top to bottom, and the frame takes the focus when it
// appears and gives it back when it goes.

#include <QGroupBox>
#include <QPointer>
#include <memory>
#include <string>

#include "player/panels/frmconfigurazione.h"

class QButtonGroup;
class QCheckBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace orva {

class FrmBrowser;
class ScriptActions;
class TextBox;

class ConfigurazionePanel : public QGroupBox {
  Q_OBJECT
 public:
  // `visible` is the panel's Visible property as the main window keeps it
  // (FrmBrowser::frmconfigurazioneVisible); the panel follows it. `parent` is
  // the main window.
  ConfigurazionePanel(FrmBrowser& form, FrameVisible& visible, QWidget* parent);
  ~ConfigurazionePanel() override;

  Frmconfigurazione& Model() { return panel_; }

  // What a reader does, for scripts; each throws std::runtime_error when the
  // reader could not do it (the panel hidden, no such control).
  // Replaces the text of a field ("TextAvantiIndietro", "TextVolume",
  // "TextRate", or its label) as one edit, as when pasting over it.
  void TypeInField(const std::string& field, const std::string& text);
  // Ticks (1) or clears (0) a check box (its name or caption).
  void SetCheck(const std::string& box, int value);
  // Chooses option button `index` of optPlayer.
  void ChooseOption(int index);
  // Presses "Chiudi".
  void PressClose();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void BindModels();
  // Shows every model's value in its control.
  void SyncAll();
  void SyncChecks();
  void SyncOptions();
  void SyncText(QLineEdit* edit, const TextBox& model);
  void FollowVisible(bool visible);
  void Place();
  QLineEdit* FieldNamed(const std::string& name) const;
  QCheckBox* BoxNamed(const std::string& name) const;
  void RequireShown() const;

  FrmBrowser& form_;
  Frmconfigurazione panel_;
  // Cleared when the panel goes, for the handlers it chained onto the models.
  std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
  QPointer<QWidget> focusBefore_;
  // The field the reader is editing while its model's handler runs.
  QLineEdit* editing_ = nullptr;

  QCheckBox* chkSavePos_;
  QCheckBox* chkAudioOff_;
  QCheckBox* CheckVideoFull_;
  QCheckBox* chkVoce_;
  QRadioButton* optPlayer1_ = nullptr;
  QRadioButton* optPlayer0_ = nullptr;
  QButtonGroup* optPlayer_;
  QLineEdit* TextAvantiIndietro_;
  QLineEdit* TextVolume_;
  QLineEdit* TextRate_;
  QPushButton* cmdSetupClose_;
};

// The panel's script actions, added before the script is read:
//   panel show|hide   show the panel (as its command key does) or press "Chiudi"
//   field NAME TEXT   replace the text of a field
//   check NAME 0|1    clear or tick a check box (chkVoce: the program's voice)
//   option 1|0        choose "Versione 9" (1) or "Altre" (0)
void AddConfigurazioneScriptActions(ScriptActions& actions);
// Binds them to the panel once it exists.
void BindConfigurazioneScriptActions(ScriptActions& actions, ConfigurazionePanel& panel);

}  // namespace orva
