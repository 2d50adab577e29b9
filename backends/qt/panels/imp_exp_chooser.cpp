#include "backends/qt/panels/imp_exp_chooser.h"

#include <QComboBox>
#include <QEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>
#include <algorithm>
#include <stdexcept>

#include "backends/qt/keys/key_preview_filter.h"
#include "backends/qt/panels/panel_views.h"
#include "player/browser/frmBrowser.h"
#include "player/panels/handler_guard.h"

namespace orva {

using panelview::Chain;
using panelview::Named;
using panelview::Q;
using C = FormControl;

namespace {

constexpr std::int16_t kEnter = 13;

std::vector<std::string> LinesOf(const QComboBox& box) {
  std::vector<std::string> lines;
  for (int i = 0; i < box.count(); ++i) lines.push_back(box.itemText(i).toStdString());
  return lines;
}

}  // namespace

ImpExpChooser::ImpExpChooser(FrmBrowser& form, QWidget* parent)
    : QGroupBox(parent), form_(form), model_(form.frmImpExp) {
  setObjectName(Q(FrmImpExp::kName));
  setAutoFillBackground(true);
  drive_ = Named(new QComboBox(this), C::Drive, FrmImpExp::kDriveToolTip);
  dir_ = Named(new QListWidget(this), C::Dir, FrmImpExp::kDirToolTip);
  file_ = Named(new QListWidget(this), C::File, FrmImpExp::kFileListName);
  lblNomeFile_ =
      Named(new QLabel(Q(FrmImpExp::kNomeFileCaption), this), C::lblNomeFile, FrmImpExp::kNomeFileCaption);
  name_ = Named(new QLineEdit(this), C::TextFileName, FrmImpExp::kFileNameToolTip);
  lblNomeFile_->setBuddy(name_);
  ok_ = Named(new QPushButton(Q(FrmImpExp::kButtonCaptions[2]), this), C::cmdImpExp2,
              FrmImpExp::kButtonCaptions[2]);
  cancel_ = Named(new QPushButton(Q(FrmImpExp::kButtonCaptions[3]), this), C::cmdImpExp3,
                  FrmImpExp::kButtonCaptions[3]);
  drive_->setToolTip(Q(FrmImpExp::kDriveToolTip));
  dir_->setToolTip(Q(FrmImpExp::kDirToolTip));
  name_->setToolTip(Q(FrmImpExp::kFileNameToolTip));
  for (QListWidget* list : {dir_, file_}) list->setSelectionMode(QAbstractItemView::SingleSelection);
  // Enter on a button presses it, as on the platform the books came from.
  for (QPushButton* button : {ok_, cancel_}) button->setAutoDefault(true);
  // The left column, the middle one, then the buttons on the right.
  QWidget* order[] = {dir_, drive_, file_, name_, ok_, cancel_};
  for (std::size_t i = 1; i < std::size(order); ++i) setTabOrder(order[i - 1], order[i]);

  connect(drive_, &QComboBox::currentIndexChanged, this, [this](int index) {
    if (!following_ && index >= 0) Acting([&] { model_.Drive.SetListIndex(index); });
  });
  connect(dir_, &QListWidget::currentRowChanged, this, [this](int row) {
    if (!following_ && row >= 0) Acting([&] { model_.Dir.SetListIndex(row); });
  });
  connect(dir_, &QListWidget::itemDoubleClicked, this, [this] { Acting([&] { model_.Dir_DblClick(); }); });
  connect(file_, &QListWidget::currentRowChanged, this, [this](int row) {
    if (!following_ && row >= 0) Acting([&] { model_.File.SetListIndex(row); });
  });
  // A click on the line already current copies its name again, as every
  // click did on the old list.
  connect(file_, &QListWidget::itemClicked, this, [this] {
    if (file_->currentRow() == model_.File.ListIndex()) Acting([&] { model_.File_Click(); });
  });
  connect(file_, &QListWidget::itemDoubleClicked, this, [this] { Acting([&] { model_.File_DblClick(); }); });
  connect(name_, &QLineEdit::textEdited, this,
          [this](const QString& text) { Acting([&] { model_.TextFileName.SetText(text.toStdString()); }); });
  connect(ok_, &QPushButton::clicked, this, [this] { Acting([&] { form_.cmdImpExp_Click(2); }); });
  connect(cancel_, &QPushButton::clicked, this, [this] { Acting([&] { form_.cmdImpExp_Click(3); }); });
  for (QWidget* keys :
       {static_cast<QWidget*>(dir_), static_cast<QWidget*>(file_), static_cast<QWidget*>(name_)})
    keys->installEventFilter(this);

  for (ListBox* list : {&model_.Drive, &model_.Dir, &model_.File})
    Chain<>(list->Changed, alive_, [this] { QueueSync(); });
  Chain<>(model_.TextFileName.Change, alive_, [this] { QueueSync(); });

  Sync();
  setVisible(model_.Visible);
}

ImpExpChooser::~ImpExpChooser() { *alive_ = false; }

template <class Action>
void ImpExpChooser::Acting(Action&& action) {
  QPointer<ImpExpChooser> self(this);
  // A line the model no longer has (the view was a step behind) is not the
  // reader's to choose: the view catches up instead.
  IgnoringErrors(std::forward<Action>(action));
  if (!self) return;
  // A folder opened while the reader is in the folder list: its first line
  // becomes current, so the list does not go silent under the keyboard.
  if (dir_->hasFocus() && model_.Dir.ListIndex() < 0 && model_.Dir.ListCount() > 0)
    IgnoringErrors([&] { model_.Dir.SetListIndex(0); });
  Sync();
}

void ImpExpChooser::QueueSync() {
  // The model changes line by line while a folder is read: the view
  // catches up once, when the event loop is free.
  if (syncQueued_) return;
  syncQueued_ = true;
  QTimer::singleShot(0, this, [this] {
    if (syncQueued_) Sync();
  });
}

void ImpExpChooser::Sync() {
  syncQueued_ = false;
  following_ = true;
  SyncDrives();
  SyncList(dir_, model_.Dir, dirsShown_);
  SyncList(file_, model_.File, filesShown_);
  const QString text = QString::fromStdString(model_.TextFileName.Text());
  if (name_->text() != text) name_->setText(text);
  following_ = false;
}

void ImpExpChooser::SyncDrives() {
  const std::vector<std::string>& lines = model_.Drive.Items();
  if (lines != LinesOf(*drive_)) {
    drive_->clear();
    for (const std::string& line : lines) drive_->addItem(QString::fromStdString(line));
  }
  if (drive_->currentIndex() != model_.Drive.ListIndex()) drive_->setCurrentIndex(model_.Drive.ListIndex());
}

void ImpExpChooser::SyncList(QListWidget* view, const ListBox& model, std::vector<std::string>& shown) {
  if (model.Items() != shown) {
    view->clear();
    for (const std::string& line : model.Items()) view->addItem(QString::fromStdString(line));
    shown = model.Items();
  }
  const int index = model.ListIndex();
  if (view->currentRow() == index) return;
  if (index < 0) {
    view->setCurrentRow(-1);
    view->clearSelection();
  } else {
    view->setCurrentRow(index);
  }
}

void ImpExpChooser::FollowVisible(bool visible) {
  if (!visible) {
    hide();
    return;
  }
  setTitle(Q(model_.Caption));
  setAccessibleName(panelview::SpokenCaption(model_.Caption));
  lblNomeFile_->setVisible(model_.TextFileNameVisible);
  name_->setVisible(model_.TextFileNameVisible);
  PositionFileList();
  Sync();
  show();
  raise();
}

void ImpExpChooser::FocusStart() {
  Sync();
  QWidget* start = model_.Exporting()   ? static_cast<QWidget*>(name_)
                   : file_->count() > 0 ? static_cast<QWidget*>(file_)
                                        : static_cast<QWidget*>(dir_);
  start->setFocus(Qt::OtherFocusReason);
}

void ImpExpChooser::PlaceControls(const FormLayout& layout, double dpi) {
  layout_ = layout;
  dpi_ = dpi;
  const std::pair<QWidget*, C> controls[] = {
      {dir_, C::Dir},           {drive_, C::Drive},   {lblNomeFile_, C::lblNomeFile},
      {name_, C::TextFileName}, {ok_, C::cmdImpExp2}, {cancel_, C::cmdImpExp3}};
  for (const auto& [widget, control] : controls) panelview::PlaceAt(widget, layout[control], dpi);
  // The label was drawn reaching a little over its field: it ends where the
  // field begins.
  lblNomeFile_->resize(lblNomeFile_->width(),
                       std::clamp(name_->y() - lblNomeFile_->y(), 0, lblNomeFile_->height()));
  PositionFileList();
}

void ImpExpChooser::PositionFileList() {
  const FileListPlace place = ::orva::PlaceFileList(model_.Exporting(), layout_[C::cmdImpExp3].Top,
                                                    layout_[C::Dir].Top, layout_[C::frmImpExp].Height);
  TwipRect rect = layout_[C::File];
  rect.Top = place.top;
  rect.Height = place.height;
  panelview::PlaceAt(file_, rect, dpi_);
}

bool ImpExpChooser::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress) {
    // The window's key filter has already run the key map; the control's
    // own handler comes next, and the control then does as usual.
    const auto& key = *static_cast<QKeyEvent*>(event);
    const std::int16_t code = KeyPreviewFilter::VirtualKeyOf(key);
    const std::int16_t shift = KeyPreviewFilter::MaskOf(key);
    if (code != 0 && watched == dir_)
      Acting([&] { model_.Dir_KeyDown(code, shift); });
    else if (code != 0 && watched == file_)
      Acting([&] { model_.File_KeyDown(code, shift); });
    else if (code != 0 && watched == name_)
      Acting([&] { model_.TextFileName_KeyDown(code, shift); });
  }
  return QGroupBox::eventFilter(watched, event);
}

// --- What a reader does, for scripts.

void ImpExpChooser::RequireShown() const {
  if (!isVisible()) throw std::runtime_error("the file chooser is hidden");
}

int ImpExpChooser::RowOf(QListWidget* view, const std::string& line) const {
  for (int row = 0; row < view->count(); ++row)
    if (view->item(row)->text().toStdString() == line) return row;
  return -1;
}

void ImpExpChooser::OpenFolder(const std::string& line) {
  RequireShown();
  Sync();
  const int row = RowOf(dir_, line);
  if (row < 0) throw std::runtime_error("the folder list has no line \"" + line + "\"");
  dir_->setFocus(Qt::OtherFocusReason);
  dir_->setCurrentRow(row);
  Acting([&] { model_.Dir_KeyDown(kEnter, 0); });
}

void ImpExpChooser::ChooseFile(const std::string& name, bool doubleClick) {
  RequireShown();
  Sync();
  const int row = RowOf(file_, name);
  if (row < 0) throw std::runtime_error("the file list has no file \"" + name + "\"");
  file_->setFocus(Qt::OtherFocusReason);
  if (file_->currentRow() == row)
    Acting([&] { model_.File_Click(); });
  else
    file_->setCurrentRow(row);
  if (doubleClick) Acting([&] { model_.File_DblClick(); });
}

void ImpExpChooser::TypeName(const std::string& text) {
  RequireShown();
  if (!name_->isVisible()) throw std::runtime_error("the name field is shown for an export only");
  name_->setFocus(Qt::OtherFocusReason);
  name_->selectAll();
  // One edit of the reader's: raises textEdited, unlike setText.
  name_->insert(QString::fromStdString(text));
}

}  // namespace orva
