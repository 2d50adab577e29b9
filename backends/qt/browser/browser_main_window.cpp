#include "backends/qt/browser/browser_main_window.h"

#include <QChildEvent>
#include <QCloseEvent>
#include <QFrame>
#include <QImage>
#include <QLabel>
#include <QPixmap>
#include <QPointer>
#include <QTimer>
#include <QWebEngineView>
#include <exception>
#include <stdexcept>
#include <string>

#include "common/automation/script.h"
#include "common/automation/trace.h"
#include "common/automation/trace_events.h"
#include "player/browser/frmBrowser.h"
#include "player/panels/handler_guard.h"

namespace orva {

BrowserMainWindow::BrowserMainWindow(QWidget* parent) : QMainWindow(parent) {
  setWindowTitle(QString::fromUtf8(kMainCaption.data(), static_cast<int>(kMainCaption.size())));
  resize(1024, 768);
  // The controls are children of the window itself, not of a central
  // widget's layout: the window's rules place them.
  view_ = new QWebEngineView(this);
  view_->setObjectName(QStringLiteral("objwb"));
  strip_ = new QFrame(this);
  strip_->setObjectName(QStringLiteral("frmOSD"));
  strip_->setStyleSheet(QStringLiteral("#frmOSD{background:#000080;}"));
  osd_ = new QLabel(strip_);
  osd_->setObjectName(QStringLiteral("lblOSD"));
  osd_->setAlignment(Qt::AlignCenter);
  osd_->setWordWrap(true);
  QFont font(QStringLiteral("Arial"));
  font.setPointSize(20);
  font.setBold(true);
  osd_->setFont(font);
  osd_->setStyleSheet(QStringLiteral("background:transparent;color:#ffffff;"));
  strip_->hide();
}

void BrowserMainWindow::Attach(FrmBrowser& form) {
  form_ = &form;
  // A page without a title (the splash) keeps the program's name on the
  // window: a screen reader announces an empty title as a bare "frame".
  form.CaptionChanged = [this](const std::string& caption) {
    setWindowTitle(QString::fromStdString(caption.empty() ? std::string(kMainCaption) : caption));
  };
  form.OsdChanged = [this](bool visible, const std::string& text) {
    osd_->setText(QString::fromStdString(text));
    osd_->setAccessibleName(QString::fromStdString(text));
    strip_->setVisible(visible);
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
  Form_Resize();
}

void BrowserMainWindow::changeEvent(QEvent* event) {
  QMainWindow::changeEvent(event);
  // A new font changes the size of a twip, and every panel with it.
  if (event->type() == QEvent::FontChange) Form_Resize();
}

void BrowserMainWindow::Form_Resize() {
  // The rules were drawn for the outer size, frame and title bar included.
  // The inside size is given instead: the frame a window manager draws
  // differs from one desktop to another, and with the outer size a tall
  // title bar would push the browser's bottom edge, and its scroll bar,
  // out of the window. The browser keeps a wider margin at the bottom and
  // on the right than the rules' drawing showed, and the strip and the
  // configuration panel are centred in what the reader sees.
  const auto body = [this] {
    const double dpi = TwipDpi(*this);
    const FormLayout::Resized done = layout_.Resize(size(), dpi, isMinimized());
    if (!done.laidOut) return;
    // Sizes too small for a control were set to zero: the trace tells, the
    // reader dragging the window is not stopped by a report at each step.
    TraceEvent("layout", {{"width", width()}, {"height", height()}, {"dpi", dpi}, {"clamped", done.clamped}});
  };
  if (form_) {
    Guarded(form_->report(), "Form_Resize", body);
    return;
  }
  try {
    body();
  } catch (const std::exception& e) {
    TraceNotice(std::string("Form_Resize: ") + e.what());
  }
}

void BrowserMainWindow::childEvent(QChildEvent* event) {
  QMainWindow::childEvent(event);
  // The panels come from other code, some after the window: each is
  // watched as it arrives, before it has a name.
  if (event->added() && event->child()->isWidgetType()) event->child()->installEventFilter(this);
}

bool BrowserMainWindow::eventFilter(QObject* watched, QEvent* event) {
  if (watched->parent() == this) {
    if (event->type() == QEvent::Show) {
      // A panel just shown goes where the rules put it, under the strip.
      layout_.Place(static_cast<QWidget*>(watched));
      layout_.Restack();
    } else if (event->type() == QEvent::ZOrderChange && !layout_.Restacking()) {
      // A panel that raised itself goes back under the strip.
      layout_.Restack();
    }
  }
  return QMainWindow::eventFilter(watched, event);
}

// --- Script actions.

namespace {

bool IsPositive(const std::string& text) {
  return !text.empty() && text.size() <= 5 && text.find_first_not_of("0123456789") == std::string::npos &&
         std::stoi(text) > 0;
}

}  // namespace

void AddMainWindowScriptActions(ScriptActions& actions) {
  actions.Add({"window-size", "window-size W H  (resize the window to W by H pixels inside its frame)", 2, 2,
               [](const ScriptArgs& a) {
                 return IsPositive(a[0]) && IsPositive(a[1])
                            ? std::string()
                            : "expected two sizes in pixels, such as 600 400";
               },
               nullptr});
  actions.Add({"screenshot", "screenshot FILE  (save a picture of the window as a PNG file)", 1, 1, nullptr,
               nullptr});
}

void BindMainWindowScriptActions(ScriptActions& actions, BrowserMainWindow& window) {
  QPointer<BrowserMainWindow> w(&window);
  actions.Bind("window-size", [w](const ScriptArgs& a) {
    if (!w) throw std::runtime_error("the main window is gone");
    w->resize(std::stoi(a[0]), std::stoi(a[1]));
  });
  actions.Bind("screenshot", [w](const ScriptArgs& a) {
    if (!w) throw std::runtime_error("the main window is gone");
    // A palette of 256 colours keeps a picture of flat controls small and
    // sharp.
    const QImage picture = w->grab().toImage().convertToFormat(QImage::Format_Indexed8, Qt::ThresholdDither);
    if (!picture.save(QString::fromStdString(a[0]), "PNG"))
      throw std::runtime_error("cannot write the picture to " + a[0]);
  });
}

}  // namespace orva
