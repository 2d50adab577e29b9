#pragma once
// The configuration panel of the main window: a frame, hidden in normal
// reading, where the reader sets the playback options. The playback fields
// and their handlers belong to the main window (FrmBrowser); the panel adds
// its caption and labels, the full-screen box that nothing reads, its
// visibility and its close button.

#include <functional>
#include <string>
#include <string_view>

#include "common/controls/controls.h"

namespace orva {

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

}  // namespace orva
