#pragma once
// The debug frame on screen: "fraDebug", a developer's tool over the main
// window, shown and hidden with its Visible (Shift+Ctrl+Alt with a key). It is
// a view over the frame's model (FrmBrowser::fraDebug) and the window's
// handlers:
//   - the buttons run cmdFileAudio_Click, cmdGO_Click, cmdDebug_Click(1)
//     ("play"), cmdDebug_Click(0) ("refresh") and Command1_Click;
//   - the three fields follow their models both ways; the fixed note sits in
//     a read-only field;
//   - dragged by its frame with the mouse, it reports every step to
//     fraDebug_DragOver with its new top left corner in twips, and goes where
//     the model's Left and Top say; letting go runs fraDebug_DragDrop;
//   - shown, it takes the keyboard on its first button; hidden, it gives it
//     back.

#include <QGroupBox>
#include <QPointer>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace orva {

class FrmBrowser;
class ScriptActions;
class TextBox;

class DebugFrame : public QGroupBox {
  Q_OBJECT
 public:
  // The accessible names of the fields that have no label of their own.
  static constexpr std::string_view kTextAudioName = "File audio";
  static constexpr std::string_view kTxtDebFilenameName = "File del lettore";
  static constexpr std::string_view kText1Name = "Promemoria dei tasti";

  DebugFrame(FrmBrowser& form, QWidget* parent);
  ~DebugFrame() override;

  // A button by its name ("cmdGO", "cmdDebug1") or caption ("GO", "play");
  // nullptr when there is none.
  QPushButton* Button(const std::string& nameOrCaption) const;
  QLineEdit* Field(const std::string& name) const;

  // What a reader does, for scripts; each throws std::runtime_error when the
  // reader could not do it (the frame hidden, no such button).
  void Press(const std::string& nameOrCaption);
  // Replaces the address field's text as one edit.
  void TypeUrl(const std::string& text);

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  void FollowVisible(bool visible);
  void FollowMoved();
  void SyncText(QLineEdit* edit, const TextBox& model);
  // Where the frame's top left corner goes for the mouse at `event`, in twips.
  QPointF DropPoint(const QMouseEvent& event) const;

  FrmBrowser& form_;
  std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
  QPointer<QWidget> focusBefore_;
  QPushButton* cmdFileAudio_;
  QLineEdit* TextAudio_;
  QLineEdit* TextURL_;
  QPushButton* cmdGO_;
  QPushButton* cmdDebug1_;
  QPushButton* cmdDebug0_;
  QLineEdit* TxtDebFilename_;
  QPlainTextEdit* Text1_;
  QPushButton* Command1_;
  // Where in the frame the mouse took hold of it, while it is dragged.
  std::optional<QPoint> grip_;
};

// The frame's script actions, added before the script is read:
//   debug-button NAME|CAPTION   press a button of the debug frame
//   debug-url TEXT              type an address in its "Url" field
void AddDebugScriptActions(ScriptActions& actions);
// Binds them to the frame once it exists.
void BindDebugScriptActions(ScriptActions& actions, DebugFrame& frame);

}  // namespace orva
