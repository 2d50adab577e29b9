#include "backends/qt/panels/debug_frame.h"

#include <QApplication>
#include <QFontDatabase>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <stdexcept>

#include "backends/qt/browser/window_layout.h"
#include "backends/qt/panels/panel_views.h"
#include "common/automation/script.h"
#include "player/browser/frmBrowser.h"

namespace orva {

using panelview::Chain;
using panelview::Named;
using panelview::Q;
using C = FormControl;

namespace {

// Where the drag event reports the mouse: over the frame, as it moves.
constexpr std::int16_t kDragOver = 2;

}  // namespace

DebugFrame::DebugFrame(FrmBrowser& form, QWidget* parent)
    : QGroupBox(Q(FraDebug::kCaption), parent), form_(form) {
  setObjectName(Q(FraDebug::kName));
  setAccessibleName(Q(FraDebug::kCaption));
  setAutoFillBackground(true);
  FraDebug& model = form_.fraDebug;

  cmdFileAudio_ = Named(new QPushButton(Q(FraDebug::kFileAudioCaption), this), C::cmdFileAudio,
                        FraDebug::kFileAudioCaption);
  TextAudio_ = Named(new QLineEdit(this), C::TextAudio, kTextAudioName);
  auto* label2 = Named(new QLabel(Q(FraDebug::kUrlCaption), this), C::Label2, FraDebug::kUrlCaption);
  TextURL_ = Named(new QLineEdit(this), C::TextURL, FraDebug::kUrlCaption);
  label2->setBuddy(TextURL_);
  cmdGO_ = Named(new QPushButton(Q(FraDebug::kGoCaption), this), C::cmdGO, FraDebug::kGoCaption);
  cmdDebug1_ = Named(new QPushButton(Q(FraDebug::kPlayCaption), this), C::cmdDebug1, FraDebug::kPlayCaption);
  cmdDebug0_ =
      Named(new QPushButton(Q(FraDebug::kRefreshCaption), this), C::cmdDebug0, FraDebug::kRefreshCaption);
  TxtDebFilename_ = Named(new QLineEdit(this), C::TxtDebFilename, kTxtDebFilenameName);
  Text1_ = Named(new QPlainTextEdit(Q(FraDebug::kNote), this), C::Text1, kText1Name);
  Text1_->setReadOnly(true);
  Text1_->setTabChangesFocus(true);
  Text1_->setLineWrapMode(QPlainTextEdit::NoWrap);
  // The note lines its keys up in columns, in letters as large as the
  // reader's: only the family is set, the size follows the window's font.
  QFont fixed;
  fixed.setFamilies(QFontDatabase::systemFont(QFontDatabase::FixedFont).families());
  fixed.setStyleHint(QFont::TypeWriter);
  Text1_->setFont(fixed);
  Command1_ =
      Named(new QPushButton(Q(FraDebug::kCommand1Caption), this), C::Command1, FraDebug::kCommand1Caption);

  // The rows as they were drawn, each control as wide as its caption needs
  // at the reader's font; the note takes the room left. The frame keeps its
  // drawn size in twips, which grows with the font (TwipDpi).
  auto* grid = new QGridLayout(this);
  grid->setContentsMargins(4, 0, 4, 4);
  grid->setSpacing(4);
  grid->addWidget(cmdFileAudio_, 0, 0);
  grid->addWidget(TextAudio_, 0, 1, 1, 3);
  grid->addWidget(label2, 1, 0);
  grid->addWidget(TextURL_, 1, 1, 1, 2);
  grid->addWidget(cmdGO_, 1, 3);
  grid->addWidget(cmdDebug1_, 2, 0);
  grid->addWidget(cmdDebug0_, 2, 1);
  grid->addWidget(TxtDebFilename_, 2, 2, 1, 2);
  grid->addWidget(Text1_, 3, 0, 1, 4);
  grid->addWidget(Command1_, 4, 0, 1, 2, Qt::AlignLeft);
  grid->setColumnStretch(2, 1);
  grid->setRowStretch(3, 1);
  const TwipRect drawn = FormLayout()[C::fraDebug];
  const double dpi = TwipDpi(*this);
  resize(TwipsToPixels(drawn.Width, dpi), TwipsToPixels(drawn.Height, dpi));
  FollowMoved();

  // Top to bottom, left to right, as the frame reads.
  QWidget* order[] = {cmdFileAudio_, TextAudio_,      TextURL_, cmdGO_,   cmdDebug1_,
                      cmdDebug0_,    TxtDebFilename_, Text1_,   Command1_};
  for (std::size_t i = 1; i < std::size(order); ++i) setTabOrder(order[i - 1], order[i]);
  for (QPushButton* button : {cmdFileAudio_, cmdGO_, cmdDebug1_, cmdDebug0_, Command1_})
    button->setAutoDefault(true);

  connect(cmdFileAudio_, &QPushButton::clicked, this, [this] { form_.cmdFileAudio_Click(); });
  connect(cmdGO_, &QPushButton::clicked, this, [this] { form_.cmdGO_Click(); });
  connect(cmdDebug1_, &QPushButton::clicked, this, [this] { form_.cmdDebug_Click(1); });
  connect(cmdDebug0_, &QPushButton::clicked, this, [this] { form_.cmdDebug_Click(0); });
  connect(Command1_, &QPushButton::clicked, this, [this] { form_.Command1_Click(); });
  const auto bindText = [this](QLineEdit* edit, TextBox& text) {
    connect(edit, &QLineEdit::textEdited, this,
            [&text](const QString& typed) { text.SetText(typed.toStdString()); });
    Chain<>(text.Change, alive_, [this, edit, &text] { SyncText(edit, text); });
    SyncText(edit, text);
  };
  bindText(TextAudio_, model.TextAudio);
  bindText(TextURL_, model.TextURL);
  bindText(TxtDebFilename_, model.TxtDebFilename);
  Chain<>(model.Moved, alive_, [this] { FollowMoved(); });
  Chain<bool>(model.Visible.Changed, alive_, [this](bool visible) { FollowVisible(visible); });
  setVisible(model.Visible);
}

DebugFrame::~DebugFrame() { *alive_ = false; }

void DebugFrame::SyncText(QLineEdit* edit, const TextBox& model) {
  const QString text = QString::fromStdString(model.Text());
  // setText raises no textEdited: the model is not told back.
  if (edit->text() != text) edit->setText(text);
}

void DebugFrame::FollowMoved() {
  const double dpi = panelview::DpiOf(*this);
  move(TwipsToPixels(form_.fraDebug.Left(), dpi), TwipsToPixels(form_.fraDebug.Top(), dpi));
}

void DebugFrame::FollowVisible(bool visible) {
  if (visible == isVisible()) return;
  if (visible) {
    focusBefore_ = QApplication::focusWidget();
    show();
    cmdFileAudio_->setFocus(Qt::OtherFocusReason);
    return;
  }
  const bool hadFocus = isAncestorOf(QApplication::focusWidget());
  hide();
  if (!hadFocus) return;
  if (focusBefore_ && !isAncestorOf(focusBefore_) && focusBefore_->isVisible())
    focusBefore_->setFocus(Qt::OtherFocusReason);
  else if (parentWidget())
    parentWidget()->setFocus(Qt::OtherFocusReason);
}

QPointF DebugFrame::DropPoint(const QMouseEvent& event) const {
  const QPoint topLeft = mapToParent(event.position().toPoint()) - *grip_;
  const double dpi = panelview::DpiOf(*this);
  return {PixelsToTwips(topLeft.x(), dpi), PixelsToTwips(topLeft.y(), dpi)};
}

void DebugFrame::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return QGroupBox::mousePressEvent(event);
  grip_ = event->position().toPoint();
  event->accept();
}

void DebugFrame::mouseMoveEvent(QMouseEvent* event) {
  if (!grip_) return QGroupBox::mouseMoveEvent(event);
  const QPointF at = DropPoint(*event);
  form_.fraDebug_DragOver(FraDebug::kName, static_cast<float>(at.x()), static_cast<float>(at.y()), kDragOver);
  event->accept();
}

void DebugFrame::mouseReleaseEvent(QMouseEvent* event) {
  if (!grip_ || event->button() != Qt::LeftButton) return QGroupBox::mouseReleaseEvent(event);
  const QPointF at = DropPoint(*event);
  grip_.reset();
  form_.fraDebug_DragDrop(FraDebug::kName, static_cast<float>(at.x()), static_cast<float>(at.y()));
  event->accept();
}

// --- What a reader does, for scripts.

QPushButton* DebugFrame::Button(const std::string& nameOrCaption) const {
  for (QPushButton* button : {cmdFileAudio_, cmdGO_, cmdDebug1_, cmdDebug0_, Command1_})
    if (button->objectName().toStdString() == nameOrCaption || button->text().toStdString() == nameOrCaption)
      return button;
  return nullptr;
}

QLineEdit* DebugFrame::Field(const std::string& name) const {
  for (QLineEdit* field : {TextAudio_, TextURL_, TxtDebFilename_})
    if (field->objectName().toStdString() == name) return field;
  return nullptr;
}

void DebugFrame::Press(const std::string& nameOrCaption) {
  if (!isVisible()) throw std::runtime_error("the debug frame is hidden");
  QPushButton* button = Button(nameOrCaption);
  if (!button) throw std::runtime_error("no button \"" + nameOrCaption + "\" in the debug frame");
  button->setFocus(Qt::OtherFocusReason);
  button->click();
}

void DebugFrame::TypeUrl(const std::string& text) {
  if (!isVisible()) throw std::runtime_error("the debug frame is hidden");
  TextURL_->setFocus(Qt::OtherFocusReason);
  TextURL_->selectAll();
  TextURL_->insert(QString::fromStdString(text));
}

// --- Script actions.

void AddDebugScriptActions(ScriptActions& actions) {
  actions.Add(
      {"debug-button",
       "debug-button NAME|CAPTION  (press a button of the debug frame: \"Audio ?\", GO, play, refresh, "
       "Command1)",
       1, 1, nullptr, nullptr});
  actions.Add({"debug-url", "debug-url TEXT  (type an address in the debug frame's Url field)", 1, 1, nullptr,
               nullptr});
}

void BindDebugScriptActions(ScriptActions& actions, DebugFrame& frame) {
  QPointer<DebugFrame> f(&frame);
  const auto live = [f]() -> DebugFrame& {
    if (!f) throw std::runtime_error("the debug frame is gone");
    return *f;
  };
  actions.Bind("debug-button", [live](const ScriptArgs& a) { live().Press(a[0]); });
  actions.Bind("debug-url", [live](const ScriptArgs& a) { live().TypeUrl(a[0]); });
}

}  // namespace orva
