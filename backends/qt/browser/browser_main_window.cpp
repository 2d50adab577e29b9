#include "backends/qt/browser/browser_main_window.h"

#include <QCloseEvent>
#include <QLabel>
#include <QTimer>
#include <QWebEngineView>

#include "player/browser/frmBrowser.h"

namespace orva {

BrowserMainWindow::BrowserMainWindow(QWidget* parent) : QMainWindow(parent) {
  setWindowTitle(QString::fromUtf8(kMainCaption.data(), static_cast<int>(kMainCaption.size())));
  resize(1024, 768);
  view_ = new QWebEngineView(this);
  setCentralWidget(view_);
  osd_ = new QLabel(this);
  osd_->setObjectName(QStringLiteral("lblOSD"));
  osd_->setAlignment(Qt::AlignCenter);
  osd_->setWordWrap(true);
  QFont font(QStringLiteral("Arial"));
  font.setPointSize(20);
  font.setBold(true);
  osd_->setFont(font);
  osd_->setStyleSheet(QStringLiteral("background:#000080;color:#ffffff;padding:8px;"));
  osd_->hide();
}

void BrowserMainWindow::Attach(FrmBrowser& form) {
  form_ = &form;
  form.CaptionChanged = [this](const std::string& caption) {
    setWindowTitle(QString::fromStdString(caption));
  };
  form.OsdChanged = [this](bool visible, const std::string& text) {
    osd_->setText(QString::fromStdString(text));
    osd_->setAccessibleName(QString::fromStdString(text));
    PlaceOsd();
    osd_->setVisible(visible);
    if (visible) osd_->raise();
  };
  // The window ends once the exit question has been answered Yes, whoever
  // asked it.
  form.Closed = [this] { QTimer::singleShot(0, this, &QWidget::close); };
}

void BrowserMainWindow::closeEvent(QCloseEvent* event) {
  if (form_ && !form_->Unloaded() && !form_->Unload(UnloadMode::kFormControlMenu)) {
    event->ignore();
    return;
  }
  event->accept();
}

void BrowserMainWindow::resizeEvent(QResizeEvent* event) {
  QMainWindow::resizeEvent(event);
  PlaceOsd();
}

void BrowserMainWindow::PlaceOsd() {
  const int height = 80;
  osd_->setGeometry(0, (this->height() - height) / 2, width(), height);
}

}  // namespace orva
