// The configuration panel on the offscreen platform, over the main window's
// core with a fake browser and media engine.
#include "backends/qt/panels/configurazione_panel.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <string>
#include <vector>

#include "backends/qt/panels/testing/panels_test_world.h"
#include "common/automation/script.h"
#include "common/automation/testing/captured_trace.h"

namespace orva::testing {
namespace {

struct ConfigurazionePanelTest : ::testing::Test, MainWindowWorld {
  FrameVisible visible{Frmconfigurazione::kName, Frmconfigurazione::kCaption};
  ConfigurazionePanel* panel = nullptr;

  void Build() {
    Start();
    panel = new ConfigurazionePanel(form, visible, &window);
  }
  template <class W = QWidget>
  W* Control(const char* name) {
    auto* w = panel->findChild<W*>(name);
    EXPECT_NE(w, nullptr) << name;
    return w;
  }
  QLineEdit* Field(const char* name) { return Control<QLineEdit>(name); }
  static void Settle() { QApplication::processEvents(); }
  // How many times a setting was written since the trace began.
  static int Writes(const CapturedTrace& trace, const std::string& key) {
    int n = 0;
    for (const auto& line : trace.Lines())
      n += line.find(R"("ev":"setting")") != std::string::npos &&
           line.find(R"("key":")" + key + '"') != std::string::npos;
    return n;
  }
};

TEST_F(ConfigurazionePanelTest, EveryControlShowsItsCaptionAndIsNamedForScreenReaders) {
  Build();
  EXPECT_EQ(panel->title(), "Configurazione");
  EXPECT_EQ(panel->accessibleName(), "Configurazione");
  const struct {
    const char* name;
    const char* text;        // caption, or "" for a field
    const char* accessible;  // its caption or label
  } controls[] = {
      {"chkSavePos", "Riparti dal punto di uscita", "Riparti dal punto di uscita"},
      {"chkAudioOff", "Lettore spento", "Lettore spento"},
      {"CheckVideoFull", "Video a tutto schermo", "Video a tutto schermo"},
      {"chkVoce", "Voce del programma", "Voce del programma"},
      {"optPlayer1", "Versione 9", "Versione 9"},
      {"optPlayer0", "Altre", "Altre"},
      {"TextAvantiIndietro", "", "Avanzamento audio"},
      {"TextVolume", "", "Volume"},
      {"TextRate", "", "Velocità di Lettura"},
      {"cmdSetupClose", "Chiudi", "Chiudi"},
  };
  for (const auto& c : controls) {
    SCOPED_TRACE(c.name);
    QWidget* w = Control(c.name);
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->accessibleName(), QString::fromUtf8(c.accessible));
    if (auto* button = qobject_cast<QAbstractButton*>(w)) {
      EXPECT_EQ(button->text(), QString::fromUtf8(c.text));
    }
  }
  EXPECT_EQ(Field("TextAvantiIndietro")->accessibleDescription(), "secondi");
  // The labels on screen, each named too, and each field's label points at it.
  QStringList labels;
  for (QLabel* label : panel->findChildren<QLabel*>()) {
    EXPECT_EQ(label->accessibleName(), label->text());
    labels << label->text();
    if (label->buddy()) {
      EXPECT_EQ(label->buddy()->accessibleName(), label->text());
    }
  }
  labels.sort();
  EXPECT_EQ(labels, (QStringList{"Avanzamento audio", "Velocità di Lettura", "Volume", "secondi"}));
}

TEST_F(ConfigurazionePanelTest, ShowingTakesTheFocusAndChiudiHidesThePanelAndGivesItBack) {
  Build();
  auto* before = new QLineEdit(&window);  // stands for the page
  before->show();
  before->setFocus();
  Settle();
  EXPECT_FALSE(panel->isVisible());

  visible = !visible;  // as the command key does
  EXPECT_TRUE(panel->isVisible());
  EXPECT_EQ(QApplication::focusWidget(), Control("chkSavePos"));
  EXPECT_TRUE(window.rect().contains(panel->geometry()));

  Control<QPushButton>("cmdSetupClose")->click();
  EXPECT_FALSE(panel->isVisible());
  EXPECT_FALSE(visible);
  EXPECT_EQ(QApplication::focusWidget(), before);
}

TEST_F(ConfigurazionePanelTest, TheReadersEditsRunTheHandlersAndWriteTheSettings) {
  Store("AvantiIndietro", "10");
  Store("Volume", "100");
  Build();
  visible = true;
  EXPECT_EQ(Field("TextAvantiIndietro")->text(), "10");
  EXPECT_EQ(Field("TextVolume")->text(), "100");
  EXPECT_TRUE(Control<QRadioButton>("optPlayer1")->isChecked());

  // The fields and boxes the reader sets from a script are checked on the
  // real program by the panel's end-to-end test.
  panel->TypeInField("Volume", "40");  // by its label
  EXPECT_EQ(Stored("Volume"), "40");

  // A seek step that is not a number: the stored one comes back into the
  // field once the edit is over.
  panel->TypeInField("TextAvantiIndietro", "");
  Settle();
  EXPECT_EQ(Field("TextAvantiIndietro")->text(), "10");
  EXPECT_EQ(form.TextAvantiIndietro.Text(), "10");
  EXPECT_EQ(Stored("AvantiIndietro"), "10");

  // The other engine: the window switches and stores it, the buttons follow.
  panel->ChooseOption(0);
  EXPECT_EQ(In::Player(form)->Versione(), 0);
  EXPECT_TRUE(Control<QRadioButton>("optPlayer0")->isChecked());

  // Lettore spento goes through SetAudioOff to the player.
  panel->SetCheck("Lettore spento", 1);
  EXPECT_TRUE(In::Player(form)->AudioOff());
  EXPECT_TRUE(dialogs.ErrorReports().empty());
}

TEST_F(ConfigurazionePanelTest, WhatTheProgramSetsShowsWithoutRunningTheHandlerAgain) {
  Build();
  visible = true;
  CapturedTrace trace;
  form.TextVolume.SetText("70");
  form.SetAudioOff(true);
  form.chkSavePos.SetValue(1);
  form.optPlayer.SetValue(0, true);  // as the engine key does, through the option's handler

  EXPECT_EQ(Field("TextVolume")->text(), "70");
  EXPECT_TRUE(Control<QCheckBox>("chkAudioOff")->isChecked());
  EXPECT_TRUE(Control<QCheckBox>("chkSavePos")->isChecked());
  EXPECT_TRUE(Control<QRadioButton>("optPlayer0")->isChecked());
  EXPECT_EQ(Writes(trace, "Volume"), 1);
  EXPECT_EQ(Writes(trace, "SavePos"), 1);
  EXPECT_EQ(Writes(trace, "Versione"), 1);
}

TEST_F(ConfigurazionePanelTest, TheProgramsVoiceIsOffBesideAScreenReaderAndSaysWhatTheDisplayShows) {
  const struct {
    const char* name;
    const char* stored;  // null: nothing stored, which stays so
    bool screenReader;
    bool on;
  } cases[] = {
      {"nothing stored, no screen reader", nullptr, false, true},
      {"nothing stored, a screen reader", nullptr, true, false},
      {"ticked beside a screen reader", "True", true, true},
      {"cleared without one", "False", false, false},
      {"unreadable, no screen reader", "forse", false, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    MainWindowWorld w;
    w.core.screenReader.running = c.screenReader;
    if (c.stored) w.Store("VoceProgramma", c.stored);
    w.Start();
    ConfigurazionePanel shown(w.form, w.form.frmconfigurazioneVisible, &w.window);
    EXPECT_EQ(shown.findChild<QCheckBox*>("chkVoce")->isChecked(), c.on);
    w.form.OSD("Lettura più veloce", false);
    const std::vector<std::string> spoken{"cancel", "message: Lettura più veloce"};
    EXPECT_EQ(w.core.speech.calls, c.on ? spoken : std::vector<std::string>{});
    EXPECT_EQ(w.Stored("VoceProgramma"), c.stored ? c.stored : "<missing>");
  }

  // Ticked by the reader: stored; each text cuts off the one before, and an
  // error report is important. Cleared: silent at once.
  core.screenReader.running = true;
  Build();
  visible = true;
  panel->SetCheck("Voce del programma", 1);
  EXPECT_EQ(Stored("VoceProgramma"), "True");
  form.OSD("Pausa", false);
  core.report.MostraErrore("TextRate_Change", "", {13, "Tipo non corrispondente"});
  panel->SetCheck("chkVoce", 0);
  form.OSD("Play", false);
  EXPECT_EQ(core.speech.calls,
            (std::vector<std::string>{"cancel", "message: Pausa", "cancel",
                                      "important: Errore! Tipo non corrispondente. Codice: 13", "cancel"}));
  EXPECT_EQ(Stored("VoceProgramma"), "False");
}

TEST_F(ConfigurazionePanelTest, ScriptActionsCheckTheirArgumentsAndReachOnlyAShownPanel) {
  ScriptActions actions;
  AddConfigurazioneScriptActions(actions);
  const struct {
    const char* action;
    ScriptArgs args;
    bool good;
  } checks[] = {
      {"panel", {"open"}, false},
      {"check", {"chkSavePos", "yes"}, false},
      {"option", {"0"}, true},
      {"option", {"9"}, false},
  };
  for (const auto& c : checks) {
    SCOPED_TRACE(c.action);
    const ScriptActionSpec* spec = actions.Find(c.action);
    ASSERT_NE(spec, nullptr);
    EXPECT_EQ(!spec->check || spec->check(c.args).empty(), c.good);
  }
  Build();
  BindConfigurazioneScriptActions(actions, *panel);
  // A reader cannot reach the controls of a hidden panel.
  EXPECT_THROW(actions.Find("field")->run({"TextVolume", "5"}), std::runtime_error);
  EXPECT_THROW(actions.Find("panel")->run({"hide"}), std::runtime_error);
  actions.Find("panel")->run({"show"});
  EXPECT_THROW(actions.Find("check")->run({"chkNessuno", "1"}), std::runtime_error);
  EXPECT_TRUE(panel->isVisible());
}

}  // namespace
}  // namespace orva::testing
