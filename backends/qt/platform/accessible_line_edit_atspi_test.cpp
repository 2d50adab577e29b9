// A text field as a screen reader reads it over a real accessibility bus
// (run through run_with_atspi.sh): its whole text, one run of formatting
// over all of it at every position (the reader splits the text by the
// runs), and its caret, selection and text set from the bus.
#include <gtest/gtest.h>

#include <QLineEdit>

#include "backends/qt/panels/testing/atspi_listener.h"
#include "backends/qt/platform/accessible_line_edit.h"

namespace orva::testing {
namespace {

TEST(LineEditOnTheAccessibilityBus, IsReadWholeAndItsCaretSelectionAndTextFollowTheBus) {
  InstallLineEditAccessibility();
  QWidget window;
  auto* edit = new QLineEdit(&window);
  edit->setAccessibleName(QStringLiteral("Volume"));
  AtSpiListener reader;
  ASSERT_TRUE(reader.Listen());
  window.show();
  window.activateWindow();
  edit->setFocus();
  ASSERT_TRUE(RunEventsUntil([&] { return !reader.focused.empty(); })) << "the field never took the keyboard";
  const AtSpiListener::Showing field = reader.focused.back();
  EXPECT_EQ(reader.Role(field).toStdString(), "text");

  QDBusConnection bus = QDBusConnection::connectToBus(AccessibilityBusAddress(), QStringLiteral("orva-text"));
  const auto ask = [&](const char* interface, const char* member, const QVariantList& args) {
    QDBusMessage call = QDBusMessage::createMethodCall(
        field.sender, field.path, QStringLiteral("org.a11y.atspi.") + interface, QString::fromLatin1(member));
    call.setArguments(args);
    return bus.call(call, QDBus::BlockWithGui, 5000).arguments();
  };
  for (const QString& text : {QStringLiteral("100"), QStringLiteral("1,1")}) {
    SCOPED_TRACE(text.toStdString());
    edit->setText(text);
    const int n = static_cast<int>(text.size());
    EXPECT_EQ(ask("Text", "GetText", {0, -1}).value(0).toString(), text);
    for (int at = 0; at < n; ++at)
      for (const QVariantList& run :
           {ask("Text", "GetAttributeRun", {at, false}), ask("Text", "GetAttributes", {at})})
        EXPECT_EQ(std::make_pair(run.value(1).toInt(), run.value(2).toInt()), std::make_pair(0, n))
            << "at " << at;
    ask("Text", "SetCaretOffset", {1});
    EXPECT_EQ(edit->cursorPosition(), 1);
    ask("Text", "SetSelection", {0, 1, n});
    EXPECT_EQ(edit->selectedText(), text.mid(1));
    const QVariantList selection = ask("Text", "GetSelection", {0});
    EXPECT_EQ(std::make_pair(selection.value(0).toInt(), selection.value(1).toInt()), std::make_pair(1, n));
    ask("EditableText", "InsertText", {n, QStringLiteral("0"), 1});
    EXPECT_EQ(edit->text(), text + "0");
  }
  QDBusConnection::disconnectFromBus(QStringLiteral("orva-text"));
}

}  // namespace
}  // namespace orva::testing

int main(int argc, char** argv) { return orva::testing::RunOnAccessibilityBus(argc, argv); }
