#include "backends/qt/platform/accessible_line_edit.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QFontMetrics>
#include <QLineEdit>
#include <algorithm>

namespace orva {
namespace {

// A one-line field to assistive technology: editable text whose value is
// what the field shows, with its selection, caret, character geometry and
// editing. Offsets count UTF-16 units of the text, as Qt's do.
class LineEditAccessible : public QAccessibleWidget,
                           public QAccessibleTextInterface,
                           public QAccessibleEditableTextInterface {
 public:
  explicit LineEditAccessible(QLineEdit* edit) : QAccessibleWidget(edit, QAccessible::EditableText) {}

  void* interface_cast(QAccessible::InterfaceType type) override {
    if (type == QAccessible::TextInterface) return static_cast<QAccessibleTextInterface*>(this);
    if (type == QAccessible::EditableTextInterface)
      return static_cast<QAccessibleEditableTextInterface*>(this);
    return QAccessibleWidget::interface_cast(type);
  }

  QAccessible::State state() const override {
    QAccessible::State state = QAccessibleWidget::state();
    state.readOnly = Edit()->isReadOnly();
    state.editable = !state.readOnly;
    state.passwordEdit = Edit()->echoMode() != QLineEdit::Normal;
    state.selectableText = true;
    return state;
  }

  QString text(QAccessible::Text t) const override {
    if (t == QAccessible::Value) return Shown();
    QString text = QAccessibleWidget::text(t);
    // An empty field is described by the hint it shows.
    if (text.isEmpty() && t == QAccessible::Description) text = Edit()->placeholderText();
    return text;
  }

  void setText(QAccessible::Text t, const QString& text) override {
    if (t == QAccessible::Value) Replace(0, characterCount(), text);
  }

  // The selection: a field has one at most.
  void selection(int index, int* start, int* end) const override {
    *start = *end = 0;
    if (index != 0 || !Edit()->hasSelectedText()) return;
    *start = Edit()->selectionStart();
    *end = Edit()->selectionEnd();
  }
  int selectionCount() const override { return Edit()->hasSelectedText() ? 1 : 0; }
  void addSelection(int start, int end) override { setSelection(0, start, end); }
  void removeSelection(int index) override {
    if (index == 0) Edit()->deselect();
  }
  void setSelection(int index, int start, int end) override {
    if (index != 0) return;
    start = Clamped(start);
    end = Clamped(end);
    Edit()->setSelection(start, end - start);
  }

  int cursorPosition() const override { return Edit()->cursorPosition(); }
  void setCursorPosition(int position) override { Edit()->setCursorPosition(Clamped(position)); }

  // `end` -1 (or past the text) is the end of the text, as the bus asks
  // for all of it.
  QString text(int start, int end) const override {
    const QString shown = Shown();
    if (end < 0 || end > shown.size()) end = static_cast<int>(shown.size());
    start = std::clamp(start, 0, end);
    return shown.mid(start, end - start);
  }
  int characterCount() const override { return static_cast<int>(Shown().size()); }

  // Where a character is painted, in screen coordinates: measured from the
  // caret, whose place Qt gives after the field's margins, alignment and
  // scrolling.
  QRect characterRect(int offset) const override {
    QLineEdit* edit = Edit();
    const QString painted = edit->displayText();
    if (offset < 0 || offset >= painted.size()) return QRect();
    const QFontMetrics metrics(edit->font());
    const QRect caret = edit->inputMethodQuery(Qt::ImCursorRectangle).toRect();
    const int x = caret.center().x() + metrics.horizontalAdvance(painted.left(offset)) -
                  metrics.horizontalAdvance(painted.left(edit->cursorPosition()));
    const QPoint topLeft = edit->mapToGlobal(QPoint(x, caret.top()));
    return QRect(topLeft, QSize(metrics.horizontalAdvance(painted.mid(offset, 1)), caret.height()));
  }
  int offsetAtPoint(const QPoint& point) const override {
    QLineEdit* edit = Edit();
    const QPoint local = edit->mapFromGlobal(point);
    return edit->rect().contains(local) ? edit->cursorPositionAt(local) : -1;
  }

  // Both ends brought into view, the caret left at the start.
  void scrollToSubstring(int start, int end) override {
    Edit()->setCursorPosition(Clamped(end));
    Edit()->setCursorPosition(Clamped(start));
  }

  // The whole text is one run, without attributes, wherever it is asked.
  QString attributes(int, int* start, int* end) const override {
    *start = 0;
    *end = characterCount();
    return QString();
  }

  void deleteText(int start, int end) override { Replace(start, end, QString()); }
  void insertText(int offset, const QString& text) override { Replace(offset, offset, text); }
  void replaceText(int start, int end, const QString& text) override { Replace(start, end, text); }

 private:
  QLineEdit* Edit() const { return static_cast<QLineEdit*>(widget()); }

  int Clamped(int offset) const { return std::clamp(offset, 0, static_cast<int>(Edit()->text().size())); }

  // The text as a reader may hear it: a password's characters are masked,
  // and a field that shows nothing says nothing.
  QString Shown() const {
    switch (Edit()->echoMode()) {
      case QLineEdit::Normal: return Edit()->text();
      case QLineEdit::NoEcho: return QString();
      default: return QString(Edit()->text().size(), QLatin1Char('*'));
    }
  }

  // As if the reader had selected the range and typed: the change can be
  // undone, the field's validator and maximum length hold, and the program
  // hears of it as of any edit by the reader (textEdited), so what it keeps
  // of the field follows. A read-only field refuses.
  void Replace(int start, int end, const QString& text) {
    QLineEdit* edit = Edit();
    if (edit->isReadOnly()) return;
    start = Clamped(start);
    end = std::max(start, Clamped(end));
    if (end > start)
      edit->setSelection(start, end - start);
    else
      edit->setCursorPosition(start);
    if (text.isEmpty()) {
      if (end > start) edit->del();
    } else {
      edit->insert(text);
    }
  }
};

QAccessibleInterface* LineEditFactory(const QString& className, QObject* object) {
  // Asked once per class from the object's own up: answering for the
  // field's class alone keeps a subclass's own interface first.
  if (className != QLatin1String("QLineEdit")) return nullptr;
  auto* edit = qobject_cast<QLineEdit*>(object);
  // A spin box's field is spoken for by its spin box.
  if (!edit || edit->objectName() == QLatin1String("qt_spinbox_lineedit")) return nullptr;
  return new LineEditAccessible(edit);
}

}  // namespace

void InstallLineEditAccessibility() {
  static const bool installed = [] {
    QAccessible::installFactory(LineEditFactory);
    return true;
  }();
  (void)installed;
}

}  // namespace orva
