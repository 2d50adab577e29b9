#include "backends/qt/panels/configurazione_panel.h"

#include <QApplication>
#include <QBoxLayout>
#include <QButtonGroup>
#include <QCheckBox>
#include <QEvent>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <stdexcept>
#include <type_traits>

#include "common/automation/script.h"
#include "player/browser/frmBrowser.h"

namespace orva {
namespace {

QString Q(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

Qt::CheckState StateOf(const CheckBox& box) {
  switch (box.Value()) {
    case 1: return Qt::Checked;
    case 2: return Qt::PartiallyChecked;
    default: return Qt::Unchecked;
  }
}

// Runs `after` once the model's own handler has run, for as long as the
// panel lives.
template <class... Args>
void Chain(std::function<void(Args...)>& handler, const std::shared_ptr<bool>& alive,
           std::function<void()> after) {
  handler = [previous = std::move(handler), weak = std::weak_ptr<bool>(alive),
             after = std::move(after)](Args... args) {
    if (previous) previous(args...);
    if (auto live = weak.lock(); live && *live) after();
  };
}

template <class Widget>
Widget* Named(Widget* widget, std::string_view objectName, std::string_view accessibleName) {
  widget->setObjectName(Q(objectName));
  widget->setAccessibleName(Q(accessibleName));
  // Outside a dialog a push button answers only Space; readers press Enter.
  if constexpr (std::is_base_of_v<QPushButton, Widget>) widget->setAutoDefault(true);
  return widget;
}

QLabel* FieldLabel(std::string_view text, QWidget* buddy, QWidget* parent) {
  auto* label = new QLabel(Q(text), parent);
  label->setTextFormat(Qt::PlainText);
  label->setAccessibleName(Q(text));
  if (buddy) label->setBuddy(buddy);
  return label;
}

}  // namespace

ConfigurazionePanel::ConfigurazionePanel(FrmBrowser& form, FrameVisible& visible, QWidget* parent)
    : QGroupBox(Q(Frmconfigurazione::kCaption), parent), form_(form), panel_(visible) {
  setObjectName(Q(Frmconfigurazione::kName));
  setAccessibleName(Q(Frmconfigurazione::kCaption));
  setAutoFillBackground(true);

  chkSavePos_ =
      Named(new QCheckBox(Q(form.chkSavePos.Caption()), this), "chkSavePos", form.chkSavePos.Caption());
  chkAudioOff_ =
      Named(new QCheckBox(Q(form.chkAudioOff.Caption()), this), "chkAudioOff", form.chkAudioOff.Caption());
  CheckVideoFull_ = Named(new QCheckBox(Q(panel_.CheckVideoFull.Caption()), this), "CheckVideoFull",
                          panel_.CheckVideoFull.Caption());
  chkVoce_ =
      Named(new QCheckBox(Q(form.voice.chkVoce.Caption()), this), "chkVoce", form.voice.chkVoce.Caption());
  optPlayer_ = new QButtonGroup(this);
  for (const auto& [index, caption] : form.optPlayer.Options()) {
    auto* button = Named(new QRadioButton(Q(caption), this), "optPlayer" + std::to_string(index), caption);
    optPlayer_->addButton(button, index);
    (index == 1 ? optPlayer1_ : optPlayer0_) = button;
  }
  TextAvantiIndietro_ =
      Named(new QLineEdit(this), "TextAvantiIndietro", Frmconfigurazione::kAvantiIndietroLabel);
  TextAvantiIndietro_->setAccessibleDescription(Q(Frmconfigurazione::kAvantiIndietroUnit));
  TextVolume_ = Named(new QLineEdit(this), "TextVolume", Frmconfigurazione::kVolumeLabel);
  TextRate_ = Named(new QLineEdit(this), "TextRate", Frmconfigurazione::kRateLabel);
  cmdSetupClose_ = Named(new QPushButton(Q(Frmconfigurazione::kCloseCaption), this), "cmdSetupClose",
                         Frmconfigurazione::kCloseCaption);

  // Two columns, to fit the frame the window's rules give the panel: the
  // boxes and the engine on the left, the fields beside their labels on the
  // right with the unit under its field, and "Chiudi" at the bottom. The
  // margins and spaces are tight, as on the frame the rules were drawn for.
  // A label too long for the room left beside its field goes above it.
  auto* left = new QVBoxLayout;
  left->setSpacing(2);
  for (QWidget* box : {chkSavePos_, chkAudioOff_, CheckVideoFull_, chkVoce_}) left->addWidget(box);
  auto* options = new QHBoxLayout;
  options->setSpacing(4);
  options->addWidget(optPlayer1_);
  options->addWidget(optPlayer0_);
  options->addStretch();
  left->addLayout(options);
  left->addStretch();
  auto* fields = new QFormLayout;
  fields->setRowWrapPolicy(QFormLayout::WrapLongRows);
  fields->setHorizontalSpacing(4);
  fields->setVerticalSpacing(2);
  fields->addRow(FieldLabel(Frmconfigurazione::kAvantiIndietroLabel, TextAvantiIndietro_, this),
                 TextAvantiIndietro_);
  fields->setWidget(1, QFormLayout::FieldRole,
                    FieldLabel(Frmconfigurazione::kAvantiIndietroUnit, nullptr, this));
  fields->addRow(FieldLabel(Frmconfigurazione::kVolumeLabel, TextVolume_, this), TextVolume_);
  fields->addRow(FieldLabel(Frmconfigurazione::kRateLabel, TextRate_, this), TextRate_);
  auto* right = new QVBoxLayout;
  right->setSpacing(2);
  right->addLayout(fields);
  right->addStretch();
  right->addWidget(cmdSetupClose_, 0, Qt::AlignRight);
  auto* columns = new QHBoxLayout(this);
  columns->setContentsMargins(2, 0, 2, 2);
  columns->setSpacing(6);
  columns->addLayout(left);
  columns->addLayout(right, 1);

  // Top to bottom, as the frame reads.
  QWidget* order[] = {chkSavePos_, chkAudioOff_,        CheckVideoFull_, chkVoce_,  optPlayer1_,
                      optPlayer0_, TextAvantiIndietro_, TextVolume_,     TextRate_, cmdSetupClose_};
  for (std::size_t i = 1; i < std::size(order); ++i) setTabOrder(order[i - 1], order[i]);

  BindModels();
  SyncAll();
  if (parent) parent->installEventFilter(this);
  setVisible(panel_.Visible);
  if (panel_.Visible) Place();
}

ConfigurazionePanel::~ConfigurazionePanel() {
  // The models may outlive the panel (or go before it); the handlers chained
  // onto them check this first.
  *alive_ = false;
}

void ConfigurazionePanel::BindModels() {
  // The reader's actions go through the models; the models' handlers run,
  // and whatever they changed shows again.
  connect(chkSavePos_, &QCheckBox::clicked, this, [this](bool on) {
    form_.chkSavePos.SetValue(on ? 1 : 0);
    SyncChecks();
  });
  connect(chkAudioOff_, &QCheckBox::clicked, this, [this](bool on) {
    form_.chkAudioOff.SetValue(on ? 1 : 0);
    SyncChecks();
  });
  connect(CheckVideoFull_, &QCheckBox::clicked, this, [this](bool on) {
    panel_.CheckVideoFull.SetValue(on ? 1 : 0);
    SyncChecks();
  });
  connect(chkVoce_, &QCheckBox::clicked, this, [this](bool on) {
    form_.voice.chkVoce.SetValue(on ? 1 : 0);
    SyncChecks();
  });
  connect(optPlayer_, &QButtonGroup::idClicked, this, [this](int index) {
    form_.optPlayer.SetValue(index, true);
    SyncOptions();
  });
  const auto bindText = [this](QLineEdit* edit, TextBox& model) {
    connect(edit, &QLineEdit::textEdited, this, [this, edit, &model](const QString& text) {
      editing_ = edit;
      model.SetText(text.toStdString());
      editing_ = nullptr;
      // A handler that put another text back (a seek step that is not a
      // number) shows it once the field has finished this edit: changing
      // its text in the middle of it would leave the field announcing the
      // text it replaced.
      if (edit->text() != QString::fromStdString(model.Text()))
        QTimer::singleShot(0, this, [this, edit, &model] { SyncText(edit, model); });
    });
    Chain(model.Change, alive_, [this, edit, &model] { SyncText(edit, model); });
  };
  bindText(TextAvantiIndietro_, form_.TextAvantiIndietro);
  bindText(TextVolume_, form_.TextVolume);
  bindText(TextRate_, form_.TextRate);
  connect(cmdSetupClose_, &QPushButton::clicked, this, [this] { panel_.cmdSetupClose_Click(); });

  // What the program sets shows in the controls.
  Chain(form_.chkSavePos.Click, alive_, [this] { SyncChecks(); });
  Chain(form_.chkAudioOff.Click, alive_, [this] { SyncChecks(); });
  Chain(form_.voice.chkVoce.Click, alive_, [this] { SyncChecks(); });
  Chain(form_.optPlayer.Click, alive_, [this] { SyncOptions(); });
  Chain(panel_.Visible.Changed, alive_, [this] { FollowVisible(panel_.Visible); });
}

void ConfigurazionePanel::SyncAll() {
  SyncChecks();
  SyncOptions();
  SyncText(TextAvantiIndietro_, form_.TextAvantiIndietro);
  SyncText(TextVolume_, form_.TextVolume);
  SyncText(TextRate_, form_.TextRate);
}

void ConfigurazionePanel::SyncChecks() {
  // setCheckState raises no click: the handlers do not run again.
  chkSavePos_->setCheckState(StateOf(form_.chkSavePos));
  chkAudioOff_->setCheckState(StateOf(form_.chkAudioOff));
  CheckVideoFull_->setCheckState(StateOf(panel_.CheckVideoFull));
  chkVoce_->setCheckState(StateOf(form_.voice.chkVoce));
}

void ConfigurazionePanel::SyncOptions() {
  const int chosen = form_.optPlayer.Chosen();
  if (QAbstractButton* button = optPlayer_->button(chosen)) {
    button->setChecked(true);
    return;
  }
  // Neither chosen: an exclusive group cannot show that.
  optPlayer_->setExclusive(false);
  for (QAbstractButton* button : optPlayer_->buttons()) button->setChecked(false);
  optPlayer_->setExclusive(true);
}

void ConfigurazionePanel::SyncText(QLineEdit* edit, const TextBox& model) {
  if (edit == editing_) return;
  const QString text = QString::fromStdString(model.Text());
  // setText raises no textEdited: the handler does not run again.
  if (edit->text() != text) edit->setText(text);
}

void ConfigurazionePanel::FollowVisible(bool visible) {
  if (visible == isVisible()) return;
  if (visible) {
    SyncAll();
    focusBefore_ = QApplication::focusWidget();
    Place();
    show();
    raise();
    chkSavePos_->setFocus(Qt::OtherFocusReason);
    return;
  }
  const bool hadFocus = isAncestorOf(QApplication::focusWidget());
  hide();
  if (!hadFocus) return;
  if (focusBefore_ && !isAncestorOf(focusBefore_))
    focusBefore_->setFocus(Qt::OtherFocusReason);
  else if (parentWidget())
    parentWidget()->setFocus(Qt::OtherFocusReason);
}

void ConfigurazionePanel::Place() {
  adjustSize();
  if (QWidget* parent = parentWidget())
    move((parent->width() - width()) / 2, (parent->height() - height()) / 2);
}

bool ConfigurazionePanel::eventFilter(QObject* watched, QEvent* event) {
  if (watched == parentWidget() && event->type() == QEvent::Resize && isVisible()) Place();
  return QGroupBox::eventFilter(watched, event);
}

// --- What a reader does, for scripts.

void ConfigurazionePanel::RequireShown() const {
  if (!isVisible()) throw std::runtime_error("the configuration panel is hidden");
}

QLineEdit* ConfigurazionePanel::FieldNamed(const std::string& name) const {
  const std::pair<QLineEdit*, std::string_view> fields[] = {
      {TextAvantiIndietro_, Frmconfigurazione::kAvantiIndietroLabel},
      {TextVolume_, Frmconfigurazione::kVolumeLabel},
      {TextRate_, Frmconfigurazione::kRateLabel}};
  for (const auto& [edit, label] : fields)
    if (edit->objectName().toStdString() == name || label == name) return edit;
  throw std::runtime_error("no field \"" + name + "\" in the configuration panel");
}

QCheckBox* ConfigurazionePanel::BoxNamed(const std::string& name) const {
  for (QCheckBox* box : {chkSavePos_, chkAudioOff_, CheckVideoFull_, chkVoce_})
    if (box->objectName().toStdString() == name || box->text().toStdString() == name) return box;
  throw std::runtime_error("no check box \"" + name + "\" in the configuration panel");
}

void ConfigurazionePanel::TypeInField(const std::string& field, const std::string& text) {
  RequireShown();
  QLineEdit* edit = FieldNamed(field);
  edit->setFocus(Qt::OtherFocusReason);
  edit->selectAll();
  // One edit of the reader's: raises textEdited, unlike setText.
  edit->insert(QString::fromStdString(text));
}

void ConfigurazionePanel::SetCheck(const std::string& box, int value) {
  RequireShown();
  QCheckBox* check = BoxNamed(box);
  check->setFocus(Qt::OtherFocusReason);
  if (check->isChecked() != (value != 0)) check->click();
}

void ConfigurazionePanel::ChooseOption(int index) {
  RequireShown();
  QAbstractButton* button = optPlayer_->button(index);
  if (!button) throw std::runtime_error("no option " + std::to_string(index) + " in the configuration panel");
  button->setFocus(Qt::OtherFocusReason);
  button->click();
}

void ConfigurazionePanel::PressClose() {
  RequireShown();
  cmdSetupClose_->setFocus(Qt::OtherFocusReason);
  cmdSetupClose_->click();
}

// --- Script actions.

void AddConfigurazioneScriptActions(ScriptActions& actions) {
  actions.Add({"panel", "panel show|hide  (show the configuration panel, or close it with its Chiudi button)",
               1, 1,
               [](const ScriptArgs& a) {
                 return a[0] == "show" || a[0] == "hide" ? std::string() : "expected show or hide";
               },
               nullptr});
  actions.Add(
      {"field",
       "field NAME TEXT  (replace the text of a panel field: TextAvantiIndietro, TextVolume, TextRate)", 2, 2,
       nullptr, nullptr});
  actions.Add(
      {"check",
       "check NAME 0|1  (clear or tick a panel check box: chkSavePos, chkAudioOff, CheckVideoFull, chkVoce)",
       2, 2,
       [](const ScriptArgs& a) { return a[1] == "0" || a[1] == "1" ? std::string() : "expected 0 or 1"; },
       nullptr});
  actions.Add(
      {"option", "option 1|0  (choose the engine in the panel: 1 Versione 9, 0 Altre)", 1, 1,
       [](const ScriptArgs& a) { return a[0] == "0" || a[0] == "1" ? std::string() : "expected 1 or 0"; },
       nullptr});
}

void BindConfigurazioneScriptActions(ScriptActions& actions, ConfigurazionePanel& panel) {
  QPointer<ConfigurazionePanel> p(&panel);
  const auto live = [p]() -> ConfigurazionePanel& {
    if (!p) throw std::runtime_error("the configuration panel is gone");
    return *p;
  };
  actions.Bind("panel", [live](const ScriptArgs& a) {
    if (a[0] == "show")
      live().Model().Visible = true;
    else
      live().PressClose();
  });
  actions.Bind("field", [live](const ScriptArgs& a) { live().TypeInField(a[0], a[1]); });
  actions.Bind("check", [live](const ScriptArgs& a) { live().SetCheck(a[0], a[1] == "1" ? 1 : 0); });
  actions.Bind("option", [live](const ScriptArgs& a) { live().ChooseOption(a[0] == "1" ? 1 : 0); });
}

}  // namespace orva
