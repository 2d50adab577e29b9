#pragma once
// The error report window: the failing procedure and the error under fixed
// titles, an error picture and OK. Modal; a new instance for every report.
// Every control has an accessible name, so a screen reader speaks the report.

#include <QDialog>

#include "common/platform/dialogs.h"

class QLabel;
class QPushButton;

namespace orva {

class QtFrmErrore : public QDialog {
  Q_OBJECT

 public:
  explicit QtFrmErrore(const ErrorReportView& view, QWidget* parent = nullptr);

  QLabel* lblFunzione() const { return lblFunzione_; }
  QLabel* lblErrore() const { return lblErrore_; }
  QPushButton* OKButton() const { return okButton_; }

 private:
  QLabel* lblFunzione_;
  QLabel* lblErrore_;
  QPushButton* okButton_;
};

}  // namespace orva
