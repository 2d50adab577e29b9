#include "backends/qt/panels/marcatori_panel.h"

#include <QApplication>
#include <QEvent>
#include <QKeyEvent>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QTextOption>
#include <QTimer>
#include <algorithm>
#include <stdexcept>
#include <type_traits>

#include "backends/qt/browser/window_layout.h"
#include "backends/qt/keys/key_preview_filter.h"
#include "backends/qt/panels/imp_exp_chooser.h"
#include "backends/qt/panels/panel_views.h"
#include "common/automation/script.h"
#include "player/browser/frmBrowser.h"
#include "player/panels/handler_guard.h"

namespace orva {
using panelview::Chain;
using panelview::Q;
using C = FormControl;

namespace {

// The buttons in the panel itself, as they stand from left to right.
constexpr std::array<std::pair<int, C>, 3> kPanelButtons = {
    {{1, C::cmdImpExp1}, {0, C::cmdImpExp0}, {4, C::cmdImpExp4}}};

bool IsLineNumber(const std::string& text) {
  return !text.empty() && text.size() <= 6 &&
         std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

}  // namespace

// Draws a line with the list box's tab stops, given in dialog units: a
// quarter of the font's average character width each, the average taken over
// the letters as the old dialogs measured it.
class TabStopDelegate : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;

  // True when the stops changed.
  bool SetStops(const std::vector<int>& stops) {
    if (stops == stops_) return false;
    stops_ = stops;
    return true;
  }

  void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    QStyleOptionViewItem opt = option;
    initStyleOption(&opt, index);
    if (stops_.empty() || !opt.text.contains(QLatin1Char('\t'))) {
      QStyledItemDelegate::paint(painter, option, index);
      return;
    }
    const QWidget* widget = opt.widget;
    QStyle* style = widget ? widget->style() : QApplication::style();
    const QRect textRect = style->subElementRect(QStyle::SE_ItemViewItemText, &opt, widget);
    const QString text = opt.text;
    opt.text.clear();
    style->drawControl(QStyle::CE_ItemViewItem, &opt, painter, widget);

    const qreal unit = opt.fontMetrics.horizontalAdvance(
                           QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz")) /
                       52.0 / 4.0;
    QTextOption layout(opt.displayAlignment);
    layout.setWrapMode(QTextOption::NoWrap);
    if (stops_.size() == 1) {
      layout.setTabStopDistance(std::max(1.0, stops_[0] * unit));
    } else {
      QList<QTextOption::Tab> tabs;
      for (int stop : stops_) tabs.append(QTextOption::Tab(stop * unit, QTextOption::LeftTab));
      layout.setTabs(tabs);
    }
    const QPalette::ColorGroup group = !(opt.state & QStyle::State_Enabled) ? QPalette::Disabled
                                       : (opt.state & QStyle::State_Active) ? QPalette::Active
                                                                            : QPalette::Inactive;
    painter->save();
    painter->setFont(opt.font);
    painter->setPen(opt.palette.color(
        group, (opt.state & QStyle::State_Selected) ? QPalette::HighlightedText : QPalette::Text));
    painter->drawText(QRectF(textRect), text, layout);
    painter->restore();
  }

 private:
  std::vector<int> stops_;
};

QString MarcatoriPanel::SpokenLine(const std::string& line) {
  // "01:23<TAB> - Nome" reads "01:23 - Nome"; "-3-01:23<TAB>-Nome" reads
  // "-3-01:23 -Nome".
  QString text = Q(line);
  text.replace(QStringLiteral("\t "), QStringLiteral(" "));
  text.replace(QLatin1Char('\t'), QLatin1Char(' '));
  return text;
}

MarcatoriPanel::MarcatoriPanel(FrmBrowser& form, QWidget* browserArea, QWidget* parent)
    : QGroupBox(Q(kMarcatoriCaption), parent), form_(form), browserArea_(browserArea) {
  setObjectName(Q(kMarcatoriName));
  setAccessibleName(Q(kMarcatoriCaption));
  setAutoFillBackground(true);

  list_ = panelview::Named(new QListWidget(this), C::ListMarkers, kMarcatoriCaption);
  list_->setSelectionMode(QAbstractItemView::SingleSelection);
  list_->setUniformItemSizes(true);
  delegate_ = new TabStopDelegate(list_);
  list_->setItemDelegate(delegate_);
  setFocusProxy(list_);
  QWidget* previous = list_;
  for (std::size_t i = 0; i < kPanelButtons.size(); ++i) {
    const auto [index, control] = kPanelButtons[i];
    const std::string_view caption = FrmImpExp::kButtonCaptions[static_cast<std::size_t>(index)];
    auto* button = panelview::Named(new QPushButton(Q(caption), this), control, caption);
    // Enter on a button presses it, as on the platform the books came from.
    button->setAutoDefault(true);
    connect(button, &QPushButton::clicked, this, [this, index] {
      if (index == 0 || index == 1) opener_ = Button(index);
      form_.cmdImpExp_Click(static_cast<std::int16_t>(index));
    });
    setTabOrder(previous, button);
    previous = button;
    buttons_[i] = button;
  }
  chooser_ = new ImpExpChooser(form_, this);

  connect(list_, &QListWidget::currentRowChanged, this, [this](int row) { ReaderMadeCurrent(row); });
  connect(list_, &QListWidget::itemDoubleClicked, this, [this] { form_.ListMarkers_DblClick(); });
  list_->installEventFilter(this);

  ListBox& model = form_.Bookmarks().ListMarkers;
  Chain<>(model.Changed, alive_, [this] { QueueSync(); });
  Chain<bool>(form_.fraMarcatoriVisible.Changed, alive_, [this](bool visible) { FollowVisible(visible); });
  Chain<bool>(form_.frmImpExp.Visible.Changed, alive_, [this](bool visible) { FollowChooser(visible); });

  // The panel lies exactly over the browser; the browser keeps its place in
  // the window's layout while the panel covers it.
  if (browserArea_) {
    QSizePolicy policy = browserArea_->sizePolicy();
    policy.setRetainSizeWhenHidden(true);
    browserArea_->setSizePolicy(policy);
  }
  if (parent) parent->installEventFilter(this);
  Sync();
  FollowChooser(form_.frmImpExp.Visible);
  setVisible(form_.fraMarcatoriVisible);
  if (form_.fraMarcatoriVisible) Place();
  PlaceControls();
}

MarcatoriPanel::~MarcatoriPanel() {
  // The models may outlive the panel; the handlers chained onto them check
  // this first.
  *alive_ = false;
}

void MarcatoriPanel::QueueSync() {
  if (syncQueued_) return;
  syncQueued_ = true;
  QTimer::singleShot(0, this, [this] {
    if (syncQueued_) Sync();
  });
}

void MarcatoriPanel::Sync() {
  syncQueued_ = false;
  const ListBox& model = form_.Bookmarks().ListMarkers;
  following_ = true;
  SyncLines();
  SyncTabStops();
  const int index = model.ListIndex();
  if (list_->currentRow() != index) {
    if (index < 0) {
      list_->setCurrentRow(-1);
      list_->clearSelection();
    } else {
      list_->setCurrentRow(index);
    }
  }
  following_ = false;
  const QString tip = Q(model.ToolTipText);
  if (list_->toolTip() != tip) {
    list_->setToolTip(tip);
    list_->setAccessibleDescription(tip);
  }
}

void MarcatoriPanel::SyncLines() {
  const std::vector<std::string>& lines = form_.Bookmarks().ListMarkers.Items();
  if (lines == shown_) return;
  // Lines added at the end (a bookmark added, a load in progress) are added;
  // anything else shows the list again from the top.
  const bool appended =
      lines.size() > shown_.size() && std::equal(shown_.begin(), shown_.end(), lines.begin());
  if (!appended) {
    list_->clear();
    shown_.clear();
  }
  for (std::size_t i = shown_.size(); i < lines.size(); ++i) {
    auto* item = new QListWidgetItem(Q(lines[i]));
    item->setData(Qt::AccessibleTextRole, SpokenLine(lines[i]));
    list_->addItem(item);
  }
  shown_ = lines;
}

void MarcatoriPanel::SyncTabStops() {
  if (delegate_->SetStops(form_.Bookmarks().ListMarkers.TabStops())) list_->viewport()->update();
}

void MarcatoriPanel::ReaderMadeCurrent(int row) {
  if (following_ || row < 0) return;
  ListBox& model = form_.Bookmarks().ListMarkers;
  if (shown_ != model.Items()) {
    // The reader moved in lines the model no longer has.
    Sync();
    return;
  }
  if (row != model.ListIndex())
    Guarded(form_.report(), "ListMarkers_Click", [&] { model.SetListIndex(row); });
}

void MarcatoriPanel::MakeCurrent(int row) {
  list_->setFocus(Qt::OtherFocusReason);
  if (list_->currentRow() == row)
    ReaderMadeCurrent(row);
  else
    list_->setCurrentRow(row);
}

void MarcatoriPanel::FollowVisible(bool visible) {
  if (visible == !isHidden()) return;
  if (visible) {
    Sync();
    focusBefore_ = QApplication::focusWidget();
    // The first line becomes current once the list has the keyboard, so a
    // screen reader hears the list and then the line. (Cleared this way, the
    // list does not pick a line by itself as the keyboard arrives, before
    // the list is announced.)
    following_ = true;
    list_->setCurrentIndex(QModelIndex());
    following_ = false;
    Place();
    show();
    if (browserArea_) browserArea_->hide();
    if (form_.frmImpExp.Visible) {
      chooser_->FocusStart();
      return;
    }
    list_->setFocus(Qt::OtherFocusReason);
    ListBox& model = form_.Bookmarks().ListMarkers;
    if (model.ListCount() > 0) Guarded(form_.report(), "ListMarkers_Click", [&] { model.SetListIndex(0); });
    Sync();
    return;
  }
  const bool hadFocus = isAncestorOf(QApplication::focusWidget());
  if (browserArea_) browserArea_->show();
  hide();
  if (!hadFocus) return;
  if (focusBefore_ && !isAncestorOf(focusBefore_) && focusBefore_->isVisible())
    focusBefore_->setFocus(Qt::OtherFocusReason);
  else if (browserArea_)
    browserArea_->setFocus(Qt::OtherFocusReason);
}

void MarcatoriPanel::Place() {
  if (browserArea_)
    setGeometry(browserArea_->geometry());
  else if (QWidget* parent = parentWidget())
    setGeometry(parent->rect());
}

void MarcatoriPanel::resizeEvent(QResizeEvent* event) {
  QGroupBox::resizeEvent(event);
  PlaceControls();
}

void MarcatoriPanel::PlaceControls() {
  // The rules make the panel the browser's size, the browser the window's
  // less 300 twips across and 600 down: the window that gives this panel
  // its size lays out everything inside it.
  const double dpi = TwipDpi(*this);
  FormLayout layout;
  layout.Form_Resize(PixelsToTwips(width(), dpi) + 300, PixelsToTwips(height(), dpi) + 600, false);
  panelview::PlaceAt(list_, layout[C::ListMarkers], dpi);
  // The buttons were drawn side by side, each a little too narrow for its
  // caption at any font but the old one. They keep the drawn row, from the
  // first one's place, each as wide as drawn or as its caption needs; a row
  // too long for the frame moves left, as far as the list's edge.
  const PixelRect row = ToPixels(layout[kPanelButtons[0].second], dpi);
  std::array<int, kPanelButtons.size()> widths{};
  int total = 0;
  for (std::size_t i = 0; i < kPanelButtons.size(); ++i) {
    widths[i] =
        std::max(ToPixels(layout[kPanelButtons[i].second], dpi).width, buttons_[i]->sizeHint().width());
    total += widths[i];
  }
  int left = std::max(list_->x(), std::min(row.left, width() - list_->x() - total));
  for (std::size_t i = 0; i < kPanelButtons.size(); ++i) {
    buttons_[i]->setGeometry(left, row.top, widths[i], row.height);
    left += widths[i];
  }
  panelview::PlaceAt(chooser_, layout[C::frmImpExp], dpi);
  chooser_->PlaceControls(layout, dpi);
}

QPushButton* MarcatoriPanel::Button(int index) const {
  for (std::size_t i = 0; i < kPanelButtons.size(); ++i)
    if (kPanelButtons[i].first == index) return buttons_[i];
  return chooser_->Button(index);
}

void MarcatoriPanel::FollowChooser(bool visible) {
  if (visible) {
    chooser_->FollowVisible(true);
    list_->hide();
    for (QPushButton* button : buttons_) button->hide();
    if (!isHidden()) chooser_->FocusStart();
    return;
  }
  const bool hadFocus = chooser_->isAncestorOf(QApplication::focusWidget());
  list_->show();
  for (QPushButton* button : buttons_) button->show();
  // The keyboard goes back before the chooser hides, so that it does not
  // wander to whatever control comes next.
  if (hadFocus) {
    if (opener_)
      opener_->setFocus(Qt::OtherFocusReason);
    else
      list_->setFocus(Qt::OtherFocusReason);
  }
  chooser_->FollowVisible(false);
}

bool MarcatoriPanel::eventFilter(QObject* watched, QEvent* event) {
  if (watched == list_ && event->type() == QEvent::KeyPress) {
    // The window's key filter has already run the key map; the list's own
    // handler comes next, and the list then moves or does nothing as usual.
    const auto& key = *static_cast<QKeyEvent*>(event);
    if (const std::int16_t code = KeyPreviewFilter::VirtualKeyOf(key); code != 0) {
      form_.ListMarkers_KeyDown(code, KeyPreviewFilter::MaskOf(key));
      QueueSync();
    }
  } else if (watched == parentWidget() && event->type() == QEvent::Resize && !isHidden()) {
    Place();
  } else if (watched == parentWidget() && event->type() == QEvent::FontChange) {
    // The captions' sizes changed, and the twip's with them.
    PlaceControls();
  }
  return QGroupBox::eventFilter(watched, event);
}

// --- What a reader does, for scripts.

void MarcatoriPanel::SelectLine(int number) {
  if (isHidden()) throw std::runtime_error("the bookmark list is hidden");
  Sync();
  if (number < 1 || number > list_->count())
    throw std::runtime_error("the bookmark list has no line " + std::to_string(number));
  MakeCurrent(number - 1);
}

void MarcatoriPanel::SelectLineContaining(const std::string& text) {
  if (isHidden()) throw std::runtime_error("the bookmark list is hidden");
  Sync();
  for (std::size_t i = 0; i < shown_.size(); ++i)
    if (shown_[i].find(text) != std::string::npos) return MakeCurrent(static_cast<int>(i));
  throw std::runtime_error("no line of the bookmark list contains \"" + text + "\"");
}

void MarcatoriPanel::PressButton(const std::string& indexOrCaption) {
  QPushButton* button = nullptr;
  for (int index = 0; index < static_cast<int>(FrmImpExp::kButtonCaptions.size()); ++index) {
    const std::string_view caption = FrmImpExp::kButtonCaptions[static_cast<std::size_t>(index)];
    if (indexOrCaption == std::to_string(index) || indexOrCaption == caption ||
        Q(indexOrCaption) == panelview::SpokenCaption(caption))
      button = Button(index);
  }
  if (!button) throw std::runtime_error("the bookmark panel has no button \"" + indexOrCaption + "\"");
  if (!button->isVisible())
    throw std::runtime_error("the button \"" + indexOrCaption + "\" is not on screen");
  button->setFocus(Qt::OtherFocusReason);
  button->click();
}

// --- Script actions.

void AddMarcatoriScriptActions(ScriptActions& actions) {
  actions.Add({"bookmark-select",
               "bookmark-select N|TEXT  (make a line of the bookmark list current: line N from 1, or the "
               "first line containing TEXT)",
               1, 1,
               [](const ScriptArgs& a) {
                 if (a[0].empty()) return std::string("expected a line number or a text");
                 return IsLineNumber(a[0]) && std::stoi(a[0]) < 1 ? std::string("lines are numbered from 1")
                                                                  : std::string();
               },
               nullptr});
  actions.Add(
      {"bookmark-button",
       "bookmark-button N|CAPTION  (press a button of the bookmark panel or its file chooser: 0 "
       "\"&Esporta Marcatori\", 1 \"&Importa Marcatori\", 2 \"&OK\", 3 \"&Annulla\", 4 \"&Chiudi\"; the "
       "caption also without its &)",
       1, 1, nullptr, nullptr});
  actions.Add({"chooser-folder",
               "chooser-folder LINE  (open a folder of the file chooser's folder list: a folder's name, or "
               "\"..\" for the one above)",
               1, 1, nullptr, nullptr});
  actions.Add({"chooser-file",
               "chooser-file NAME [double]  (click a file of the file chooser's list, copying its name; "
               "\"double\": double-click it, which confirms)",
               1, 2,
               [](const ScriptArgs& a) {
                 return a.size() < 2 || a[1] == "double" ? std::string() : std::string("expected \"double\"");
               },
               nullptr});
  actions.Add({"chooser-name", "chooser-name TEXT  (type the name of the file to export in the file chooser)",
               1, 1, nullptr, nullptr});
}

void BindMarcatoriScriptActions(ScriptActions& actions, MarcatoriPanel& panel) {
  QPointer<MarcatoriPanel> p(&panel);
  const auto live = [p]() -> MarcatoriPanel& {
    if (!p) throw std::runtime_error("the bookmark panel is gone");
    return *p;
  };
  actions.Bind("bookmark-select", [live](const ScriptArgs& a) {
    if (IsLineNumber(a[0]))
      live().SelectLine(std::stoi(a[0]));
    else
      live().SelectLineContaining(a[0]);
  });
  actions.Bind("bookmark-button", [live](const ScriptArgs& a) { live().PressButton(a[0]); });
  actions.Bind("chooser-folder", [live](const ScriptArgs& a) { live().Chooser()->OpenFolder(a[0]); });
  actions.Bind("chooser-file",
               [live](const ScriptArgs& a) { live().Chooser()->ChooseFile(a[0], a.size() > 1); });
  actions.Bind("chooser-name", [live](const ScriptArgs& a) { live().Chooser()->TypeName(a[0]); });
}

}  // namespace orva
