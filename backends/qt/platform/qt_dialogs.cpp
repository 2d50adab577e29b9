#include "backends/qt/platform/qt_dialogs.h"

#include <QAbstractButton>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>

#include "backends/qt/platform/qt_frmErrore.h"

namespace orva {
namespace {

struct ButtonMap {
  MsgBoxResult result;
  QMessageBox::StandardButton standard;
  const char* caption;  // the Italian caption a reader of this program hears
};

constexpr ButtonMap kButtons[] = {
    {MsgBoxResult::kOk, QMessageBox::Ok, "OK"},
    {MsgBoxResult::kYes, QMessageBox::Yes, "Sì"},
    {MsgBoxResult::kNo, QMessageBox::No, "No"},
    {MsgBoxResult::kCancel, QMessageBox::Cancel, "Annulla"},
};

std::vector<MsgBoxResult> ButtonsOf(MsgBoxButtons buttons) {
  switch (buttons) {
    case MsgBoxButtons::kOkOnly: return {MsgBoxResult::kOk};
    case MsgBoxButtons::kOkCancel: return {MsgBoxResult::kOk, MsgBoxResult::kCancel};
    case MsgBoxButtons::kYesNoCancel: return {MsgBoxResult::kYes, MsgBoxResult::kNo, MsgBoxResult::kCancel};
    case MsgBoxButtons::kYesNo: return {MsgBoxResult::kYes, MsgBoxResult::kNo};
  }
  return {MsgBoxResult::kOk};
}

QMessageBox::Icon IconOf(MsgBoxIcon icon) {
  switch (icon) {
    case MsgBoxIcon::kNone: return QMessageBox::NoIcon;
    case MsgBoxIcon::kCritical: return QMessageBox::Critical;
    case MsgBoxIcon::kQuestion: return QMessageBox::Question;
    case MsgBoxIcon::kExclamation: return QMessageBox::Warning;
    case MsgBoxIcon::kInformation: return QMessageBox::Information;
  }
  return QMessageBox::NoIcon;
}

bool HasCancel(MsgBoxButtons buttons) {
  return buttons == MsgBoxButtons::kOkCancel || buttons == MsgBoxButtons::kYesNoCancel;
}

const ButtonMap& MapOf(MsgBoxResult r) {
  for (const ButtonMap& b : kButtons)
    if (b.result == r) return b;
  return kButtons[0];
}

}  // namespace

MsgBoxResult QtDialogs::MsgBox(const std::string& prompt, MsgBoxButtons buttons, MsgBoxIcon icon,
                               const std::string& title) {
  QMessageBox box(parent_);
  box.setObjectName("MsgBox");
  box.setWindowTitle(QString::fromStdString(title));
  box.setText(QString::fromStdString(prompt));
  box.setTextFormat(Qt::PlainText);
  box.setIcon(IconOf(icon));
  box.setAccessibleName(QString::fromStdString(title));
  // The text is read from its label; a description as well made screen
  // readers say it twice.
  if (auto* label = box.findChild<QLabel*>(QStringLiteral("qt_msgbox_label")))
    label->setAccessibleName(QString::fromStdString(prompt));
  const std::vector<MsgBoxResult> shown = ButtonsOf(buttons);
  std::vector<QPushButton*> pushButtons;
  for (MsgBoxResult r : shown) {
    QPushButton* b = box.addButton(MapOf(r).standard);
    b->setText(QString::fromUtf8(MapOf(r).caption));
    b->setAccessibleName(QString::fromUtf8(MapOf(r).caption));
    pushButtons.push_back(b);
  }
  box.setDefaultButton(pushButtons.front());
  // Escape means Cancel where there is one, and OK on a box with only OK,
  // as the old message box did (Qt lets it mean No on a Yes/No box).
  if (HasCancel(buttons) || buttons == MsgBoxButtons::kOkOnly) box.setEscapeButton(pushButtons.back());
  box.exec();
  QAbstractButton* clicked = box.clickedButton();
  for (std::size_t i = 0; i < shown.size(); ++i)
    if (clicked && clicked == pushButtons[i]) return shown[i];
  // Closed without a button (only possible where Escape is allowed).
  return HasCancel(buttons) ? MsgBoxResult::kCancel : shown.front();
}

std::string QtDialogs::InputBox(const std::string& prompt, const std::string& title,
                                const std::string& defaultText) {
  QInputDialog dialog(parent_);
  dialog.setObjectName("InputBox");
  dialog.setInputMode(QInputDialog::TextInput);
  dialog.setWindowTitle(QString::fromStdString(title));
  dialog.setLabelText(QString::fromStdString(prompt));
  dialog.setTextValue(QString::fromStdString(defaultText));
  dialog.setOkButtonText("OK");
  dialog.setCancelButtonText("Annulla");
  dialog.setAccessibleName(QString::fromStdString(title));
  if (auto* edit = dialog.findChild<QLineEdit*>()) {
    edit->setAccessibleName(QString::fromStdString(prompt));
  }
  for (QPushButton* b : dialog.findChildren<QPushButton*>()) b->setAccessibleName(b->text());
  if (dialog.exec() != QDialog::Accepted) return {};
  return dialog.textValue().toStdString();
}

void QtDialogs::ShowErrorReport(const ErrorReportView& view) {
  QtFrmErrore form(view, parent_);
  form.exec();
}

}  // namespace orva
