#include "backends/qt/launcher/qt_launcher_windows.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QFont>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>
#include <QWidget>
#include <memory>

#include "backends/qt/platform/accessible_announcer.h"
#include "launcher/announcing_windows.h"
#include "launcher/scelta.h"

namespace orva {
namespace {

QString Text(const std::string& text) {
  // Announcements carry the old CR LF line break.
  return QString::fromStdString(text).replace("\r\n", "\n");
}

QFont LauncherFont() {
  // Verdana when installed; otherwise the font matcher picks the nearest
  // sans-serif face.
  QFont font("Verdana", 10);
  font.setStyleHint(QFont::SansSerif);
  return font;
}

// A top-level window that tells its core window when the reader closes it.
class LauncherWidget : public QWidget {
 public:
  std::function<void()> closedByReader;
  bool closingFromCode = false;

 protected:
  void closeEvent(QCloseEvent* event) override {
    event->accept();
    if (!closingFromCode && closedByReader) closedByReader();
  }
};

// What both kinds of view share: the window with its caption and label.
class LauncherViewBase : public smart::WindowView {
 public:
  LauncherViewBase(smart::LauncherWindow& core, std::function<void()> afterEvent)
      : core_(core), afterEvent_(std::move(afterEvent)), widget_(new LauncherWidget) {
    widget_->setObjectName(QString::fromStdString(core.Name()));
    widget_->setWindowTitle(QString::fromStdString(core.Caption()));
    widget_->setAccessibleName(QString::fromStdString(core.Caption()));
    widget_->setAccessibleDescription(Text(core.Label1()));
    widget_->setFont(LauncherFont());
    widget_->setAttribute(Qt::WA_DeleteOnClose, false);
    widget_->closedByReader = [this] { Handle([this] { core_.CloseRequested(); }); };

    label_ = new QLabel(Text(core.Label1()), widget_);
    label_->setObjectName("Label1");
    label_->setAccessibleName(Text(core.Label1()));
    label_->setTextFormat(Qt::PlainText);
    label_->setWordWrap(true);
    // Focusable, so the reader can come back to it from the keyboard.
    label_->setFocusPolicy(Qt::StrongFocus);
    announcer_ = std::make_unique<AccessibleAnnouncer>(label_);
  }
  ~LauncherViewBase() override {
    if (widget_) {
      widget_->closingFromCode = true;
      delete widget_.data();
    }
  }

  void Show() override {
    const bool wasShowing = label_->isVisible();
    widget_->show();
    widget_->raise();
    widget_->activateWindow();
    FocusFirst();
    // Spoken when it appears, even where the window manager keeps the
    // keyboard with another program.
    announcer_->Announce(wasShowing);
  }
  void Close() override {
    if (!widget_) return;
    widget_->closingFromCode = true;
    widget_->close();
  }

 protected:
  virtual void FocusFirst() { label_->setFocus(); }
  // Runs a handler started by the reader, then what follows every event.
  void Handle(const std::function<void()>& handler) {
    handler();
    if (afterEvent_) afterEvent_();
  }

  smart::LauncherWindow& core_;
  std::function<void()> afterEvent_;
  QPointer<LauncherWidget> widget_;
  QLabel* label_ = nullptr;
  std::unique_ptr<AccessibleAnnouncer> announcer_;
};

class AnnouncingView : public LauncherViewBase {
 public:
  AnnouncingView(smart::AnnouncingWindow& core, std::function<void()> afterEvent)
      : LauncherViewBase(core, std::move(afterEvent)) {
    auto* layout = new QVBoxLayout(widget_);
    layout->addWidget(label_);
    widget_->setMinimumWidth(420);
  }
  void Refresh() override {}
};

class SceltaView : public LauncherViewBase {
 public:
  SceltaView(smart::Scelta& core, std::function<void()> afterEvent)
      : LauncherViewBase(core, std::move(afterEvent)), scelta_(core) {
    avvia_ = Button("avvia", smart::Scelta::kAvviaCaption, [this] { scelta_.avvia_Click(); });
    installa_ = Button("installa", smart::Scelta::kInstallaCaption, [this] { scelta_.installa_Click(); });
    command1_ = Button("Command1", smart::Scelta::kCommand1Caption, [this] { scelta_.Command1_Click(); });

    check1_ = new QCheckBox(QString::fromStdString(core.Check1.Caption()), widget_);
    check1_->setObjectName("Check1");
    check1_->setAccessibleName(check1_->text());
    QObject::connect(check1_, &QCheckBox::clicked,
                     [this](bool ticked) { Handle([&] { scelta_.Check1.SetValue(ticked ? 1 : 0); }); });

    text1_ = new QLineEdit(widget_);
    text1_->setObjectName("Text1");
    text1_->setAccessibleName("Secondi all'avvio automatico dal CD");
    text1_->setValidator(new QIntValidator(smart::Scelta::kMinSeconds, smart::Scelta::kMaxSeconds, text1_));
    text1_->setMaxLength(3);
    QObject::connect(text1_, &QLineEdit::textEdited, [this](const QString& text) {
      Handle([&] { scelta_.Text1.SetText(text.toStdString()); });
    });

    auto* buttons = new QHBoxLayout;
    for (QPushButton* b : {avvia_, installa_, command1_}) buttons->addWidget(b);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(check1_);
    bottom->addStretch(1);
    bottom->addWidget(text1_);
    auto* layout = new QVBoxLayout(widget_);
    layout->addWidget(label_);
    layout->addLayout(buttons);
    layout->addLayout(bottom);
    QWidget::setTabOrder(avvia_, installa_);
    QWidget::setTabOrder(installa_, command1_);
    QWidget::setTabOrder(command1_, check1_);
    QWidget::setTabOrder(check1_, text1_);
    avvia_->setDefault(true);
    Refresh();
  }

  void Refresh() override {
    const QString text = QString::fromStdString(scelta_.Text1.Text());
    // The reader's half-typed text stays until the countdown writes over it.
    if (text1_->text() != text) text1_->setText(text);
    check1_->setChecked(scelta_.Check1.Value() == 1);
  }

 protected:
  void FocusFirst() override { avvia_->setFocus(); }

 private:
  QPushButton* Button(const char* name, const char* caption, std::function<void()> click) {
    auto* button = new QPushButton(QString::fromUtf8(caption), widget_);
    button->setObjectName(name);
    button->setAccessibleName(button->text());
    QObject::connect(button, &QPushButton::clicked, [this, click = std::move(click)] { Handle(click); });
    return button;
  }

  smart::Scelta& scelta_;
  QPushButton* avvia_ = nullptr;
  QPushButton* installa_ = nullptr;
  QPushButton* command1_ = nullptr;
  QCheckBox* check1_ = nullptr;
  QLineEdit* text1_ = nullptr;
};

}  // namespace

std::unique_ptr<smart::WindowView> QtLauncherViews::Create(smart::AnnouncingWindow& window) {
  return std::make_unique<AnnouncingView>(window, afterEvent_);
}

std::unique_ptr<smart::WindowView> QtLauncherViews::Create(smart::Scelta& window) {
  return std::make_unique<SceltaView>(window, afterEvent_);
}

}  // namespace orva
