#pragma once
// The configuration panel of the main window: a frame, hidden in normal
// reading, where the reader sets the playback options. The playback fields
// and their handlers belong to the main window (FrmBrowser); the panel adds
// its caption and labels, the full-screen box that nothing reads, its
// visibility and its close button. The program's own voice, whose box the
// panel shows, is here too.

#include <functional>
#include <string>
#include <string_view>

#include "common/controls/controls.h"
#include "common/platform/speech.h"

namespace orva {

class MdlMain;

// The Visible property of a frame, read and assigned like the old Boolean
// (`panel.Visible = !panel.Visible`). A change is traced as the frame being
// shown or hidden and then told to the view through Changed; assigning the
// value it already has does nothing.
class FrameVisible {
 public:
  FrameVisible(std::string_view name, std::string_view caption) : name_(name), caption_(caption) {}
  FrameVisible(const FrameVisible&) = delete;
  FrameVisible& operator=(const FrameVisible&) = delete;

  operator bool() const { return visible_; }
  FrameVisible& operator=(bool visible);

  std::function<void(bool visible)> Changed;

 private:
  std::string name_;
  std::string caption_;
  bool visible_ = false;
};

// The panel over its Visible property, which the main window keeps so that
// its command keys can show and hide it.
class Frmconfigurazione {
 public:
  static constexpr std::string_view kName = "frmconfigurazione";
  static constexpr std::string_view kCaption = "Configurazione";
  // The labels of the text fields, and the unit after the seek step.
  static constexpr std::string_view kAvantiIndietroLabel = "Avanzamento audio";
  static constexpr std::string_view kAvantiIndietroUnit = "secondi";
  static constexpr std::string_view kVolumeLabel = "Volume";
  static constexpr std::string_view kRateLabel = "Velocità di Lettura";
  static constexpr std::string_view kCloseCaption = "Chiudi";

  explicit Frmconfigurazione(FrameVisible& visible) : Visible(visible) {}
  Frmconfigurazione(const Frmconfigurazione&) = delete;
  Frmconfigurazione& operator=(const Frmconfigurazione&) = delete;

  // Hidden when the window starts.
  FrameVisible& Visible;
  // Shown and kept, but nothing reads it.
  CheckBox CheckVideoFull{"Video a tutto schermo"};

  // The close button hides the panel. It has no trap: hiding cannot fail.
  void cmdSetupClose_Click() { Visible = false; }
};

// The panel's "Voce del programma" box and what it does: while it is
// ticked, every message of the on-screen display is spoken by the
// program's own voice, and every error report too, as important. Each text
// cuts off whatever the voice is still saying, so it never talks over
// itself. The main window keeps it, so that it holds its value and speaks
// whether or not the panel is on screen.
class ProgramVoice {
 public:
  static constexpr std::string_view kCaption = "Voce del programma";
  // Its value in section "Player": "True" or "False".
  static constexpr std::string_view kKey = "VoceProgramma";

  // `speech` null: there is no voice (the box still shows and is stored).
  // `screenReader` null: none is ever seen. `save` stores the box's value
  // under kKey. Speaks the error reports of `report` while it lives.
  ProgramVoice(MdlMain& report, Speech* speech, const ScreenReaderStatus* screenReader,
               std::function<void(std::string_view value)> save);
  ~ProgramVoice();
  ProgramVoice(const ProgramVoice&) = delete;
  ProgramVoice& operator=(const ProgramVoice&) = delete;

  CheckBox chkVoce{std::string(kCaption)};

  // Shows the stored value in the box without storing it again. Nothing
  // stored (or a value that is no Boolean) gives the default, decided
  // afresh at each start: off while a screen reader is running, which
  // already speaks the display, on otherwise.
  void Load(const std::string& stored);
  // Speaks `text` while the box is ticked, cutting off what is still being
  // said.
  void Say(const std::string& text, SpeechPriority priority);

 private:
  void chkVoce_Click();

  MdlMain& report_;
  Speech* speech_;
  const ScreenReaderStatus* screenReader_;
  std::function<void(std::string_view)> save_;
  bool loading_ = false;
};

}  // namespace orva
