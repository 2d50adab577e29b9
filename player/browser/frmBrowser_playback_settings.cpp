// The playback fields of the configuration panel, the switch between player
// engines with their volume scales, and the stored reading speed. The fields
// write their settings from their own change handlers, so setting a field
// from code stores it too.

#include "common/runtime/conversions.h"
#include "player/browser/frmBrowser.h"
#include "player/panels/handler_guard.h"

namespace orva {

namespace {

constexpr std::string_view kUnsupportedPlayer =
    "Versione Media Player non supportata! Verrà reimpostata la versione precedente!";

}  // namespace

void FrmBrowser::chkAudioOff_Click() {
  Guarded(report_, "chkAudioOff_Click", [&] { SetAudioOff(chkAudioOff.Value() == 1); });
}

void FrmBrowser::SetAudioOff(bool value) {
  Guarded(report_, "SetAudioOff", [&] {
    state.AudioOffState = value;
    if (!oPlayer) RaiseVbError(vberr::kObjectNotSet);
    oPlayer->SetAudioOff(value);
    // The box's click handler comes back here with the same value only when
    // the box changes.
    chkAudioOff.SetValue(value ? 1 : 0);
  });
}

void FrmBrowser::chkSavePos_Click() {
  Guarded(report_, "chkSavePos_Click",
          [&] { SaveSetting(kPlayerSection, "SavePos", CStr(chkSavePos.Value())); });
}

void FrmBrowser::optPlayer_Click(std::int16_t Index) {
  Guarded(report_, "optPlayer_Click", [&] { SetPlayer(Index); });
}

void FrmBrowser::SetPlayer(std::int16_t Index) {
  std::int16_t previous = -1;
  try {
    if (!oPlayer) RaiseVbError(vberr::kObjectNotSet);
    const std::string file = oPlayer->FileName();
    // Stopping, making the new player and handing it the file each let
    // queued events run; one of them may close the window and release the
    // player under the switch.
    auto closed = [this] { return unloaded_ || !oPlayer; };
    oPlayer->Stop_Player();
    if (closed()) return;
    previous = oPlayer->Versione();
    NewPlayer();
    if (closed()) return;
    if (Index == 1 || Index == 0) {
      oPlayer->SetVersione(Index);
      state.SetVolumeScale(Index == 1 ? kVolumeScale9 : kVolumeScale6);
      oPlayer->SetFileName(file);
      if (closed()) return;
      oPlayer->Play_Player();
    }
    // There is no option button of any other number.
    if (Index != 1 && Index != 0) RaiseVbError(vberr::kSubscriptOutOfRange);
    optPlayer.SetValue(Index, true);
    SaveSetting(kPlayerSection, "Versione", CStr(oPlayer->Versione()));
  } catch (...) {
    report_.MostraErrore("SetPlayer", std::string(kUnsupportedPlayer),
                         ErrFromException(std::current_exception()));
    // Only the engine goes back; the buttons, the scale and the stored choice
    // keep what the failed attempt left.
    if ((previous == 0 || previous == 1) && oPlayer) oPlayer->SetVersione(previous);
  }
}

void FrmBrowser::TextAvantiIndietro_Change() {
  Guarded(report_, "TextAvantiIndietro_Change", [&] {
    if (IsNumeric(TextAvantiIndietro.Text()))
      SaveSetting(kPlayerSection, "AvantiIndietro", TextAvantiIndietro.Text());
    else
      TextAvantiIndietro.SetText(GetSetting(kPlayerSection, "AvantiIndietro", "10"));
  });
}

void FrmBrowser::TextRate_Change() {
  Guarded(report_, "TextRate_Change", [&] { SetPlayerRate(CSng(TextRate.Text())); });
}

void FrmBrowser::TextVolume_Change() {
  Guarded(report_, "TextVolume_Change", [&] { SaveSetting(kPlayerSection, "Volume", TextVolume.Text()); });
}

float FrmBrowser::PlayerRate() {
  return Guarded(report_, "PlayerRate", 0.0f, [&] { return CSng(GetSetting(kPlayerSection, "Rate", "1")); });
}

void FrmBrowser::SetPlayerRate(float value) {
  Guarded(report_, "let PlayerRate", [&] { SaveSetting(kPlayerSection, "Rate", CStr(value)); });
}

double FrmBrowser::RateChange(double rate, bool faster) {
  if (faster) return rate < 2 ? rate + 0.1 : 0.5;
  return rate > 0.6 ? rate - 0.1 : 2;
}

}  // namespace orva
