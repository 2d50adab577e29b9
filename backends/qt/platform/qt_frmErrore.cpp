#include "backends/qt/platform/qt_frmErrore.h"

#include <QApplication>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>

namespace orva {
namespace {

QLabel* MakeLabel(const QString& objectName, const QString& text, const QString& accessibleName,
                  QWidget* parent) {
  auto* label = new QLabel(text, parent);
  label->setObjectName(objectName);
  label->setAccessibleName(accessibleName);
  label->setTextFormat(Qt::PlainText);
  return label;
}

}  // namespace

QtFrmErrore::QtFrmErrore(const ErrorReportView& view, QWidget* parent) : QDialog(parent) {
  setObjectName("frmErrore");
  setWindowTitle(QString::fromStdString(view.caption));
  setAccessibleName(QString::fromStdString(view.caption));
  setModal(true);

  const QString procedureTitle = QString::fromStdString(view.procedureTitle);
  const QString errorTitle = QString::fromStdString(view.errorTitle);
  // The error text arrives with the old CR LF line break.
  QString errorText = QString::fromStdString(view.errorText);
  errorText.replace("\r\n", "\n");

  auto* image = new QLabel(this);
  image->setObjectName("Image1");
  image->setAccessibleName(errorTitle);
  const int size = style()->pixelMetric(QStyle::PM_MessageBoxIconSize, nullptr, this);
  image->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxCritical, nullptr, this).pixmap(size, size));

  QLabel* label2 = MakeLabel("Label2", procedureTitle, procedureTitle, this);
  lblFunzione_ = MakeLabel("lblFunzione", QString::fromStdString(view.procedure),
                           procedureTitle + " " + QString::fromStdString(view.procedure), this);
  QLabel* label1 = MakeLabel("Label1", errorTitle, errorTitle, this);
  lblErrore_ = MakeLabel("lblErrore", errorText, errorTitle + " " + errorText, this);
  // A long procedure name or error text wraps; nothing is cut from the text.
  lblFunzione_->setWordWrap(true);
  lblErrore_->setWordWrap(true);
  for (QLabel* l : {lblFunzione_, lblErrore_})
    l->setTextInteractionFlags(Qt::TextSelectableByKeyboard | Qt::TextSelectableByMouse);

  okButton_ = new QPushButton(QString::fromStdString(view.okCaption), this);
  okButton_->setObjectName("OKButton");
  okButton_->setAccessibleName(QString::fromStdString(view.okCaption));
  okButton_->setDefault(true);
  okButton_->setAutoDefault(true);
  connect(okButton_, &QPushButton::clicked, this, &QDialog::accept);

  auto* grid = new QGridLayout(this);
  grid->addWidget(image, 0, 0, 2, 1, Qt::AlignTop);
  grid->addWidget(label2, 0, 1, Qt::AlignTop);
  grid->addWidget(lblFunzione_, 0, 2);
  grid->addWidget(label1, 1, 1, Qt::AlignTop);
  grid->addWidget(lblErrore_, 1, 2);
  grid->addWidget(okButton_, 2, 0, 1, 3, Qt::AlignHCenter);
  grid->setColumnStretch(2, 1);
  setMinimumWidth(360);
  okButton_->setFocus();
}

}  // namespace orva
