// The keys that act on the audio being read: seek back and forward by the
// skip step (crossing into the page's previous or next audio), stop, pause
// and resume, volume, reading speed and its presets, audio off and on, and
// the configuration and debug panels.

#include "common/runtime/conversions.h"
#include "player/keys/key_commands.h"
#include "player/panels/handler_guard.h"
#include "player/panels/strtempo.h"

namespace orva::keys {

namespace {

// Seek back crosses into the previous audio at 10 s or less into this one.
constexpr double kSeekBackThreshold = 10;
// Seek forward past the end of the last audio plays on from this far before
// its end.
constexpr double kSeekForwardEndMargin = 3;
// The speed presets of Ctrl+9, in single precision.
constexpr float kNormalRate = 1.0f;
constexpr float kFastRate = 1.4f;
constexpr float kSlowRate = 0.7f;
// How long seek back waits for an engine still opening the previous audio
// to know its length, in slices that let the engine's events in.
constexpr std::int64_t kOpenWaitMs = 2000;
constexpr int kOpenWaitSliceMs = 10;

}  // namespace

oMoxPlayer& KeyCommands::Player() {
  oMoxPlayer* player = form_.KeyPlayer();
  if (player == nullptr) RaiseVbError(vberr::kObjectNotSet);
  return *player;
}

std::string KeyCommands::PositionText() { return strtempo(CLng(Player().CurrentPosition())); }

double KeyCommands::SkipStep() { return CDbl(form_.Fields().skipStep.Text()); }

void KeyCommands::Show(std::string text, bool keep) {
  shown_ = text;
  form_.OSD(shown_, keep);
}

double KeyCommands::OpenedDuration() {
  // An engine that opens files in the background knows the length only once
  // the file is open; until then it reads 0, and the audio would start from
  // its beginning instead of its end.
  EventLoop& loop = form_.loop();
  const std::int64_t start = loop.NowMs();
  double duration = Player().Duration();
  while (duration <= 0 && loop.NowMs() - start < kOpenWaitMs) {
    loop.Sleep(kOpenWaitSliceMs);
    loop.DoEvents();
    duration = Player().Duration();
  }
  return duration;
}

Flow KeyCommands::SeekBack() {
  Guarded(form_.report(), "Form_KeyDown Indietro - " + trail_.Label(), [&] {
    oMoxPlayer& player = Player();
    if (player.IsPlaying()) {
      if (player.CurrentPosition() - kSeekBackThreshold > 0) {
        // A step longer than the threshold may give a negative position:
        // the engine decides what that means.
        player.SetCurrentPosition(player.CurrentPosition() - SkipStep());
      } else if (form_.Playaudio("", false, true)) {
        // The previous audio (or this one again, at the page's first),
        // from one step before its end.
        Player().SetCurrentPosition(OpenedDuration() - SkipStep());
      } else {
        Player().SetCurrentPosition(0);
        Player().Play_Player();
      }
    }
    Show("INDIETRO " + PositionText());
  });
  return Flow::kGoOn;
}

Flow KeyCommands::SeekForward() {
  Guarded(form_.report(), "Form_KeyDown Avanti - " + trail_.Label(), [&] {
    oMoxPlayer& player = Player();
    if (player.IsPlaying()) {
      if (player.Duration() < player.CurrentPosition() + SkipStep()) {
        // Past the end: the next audio, or the next page, which binds its
        // own audio when it has loaded; meanwhile this audio plays its end.
        if (!form_.Playaudio("", true, false)) {
          Player().SetCurrentPosition(Player().Duration() - kSeekForwardEndMargin);
          Player().Play_Player();
        }
      } else {
        player.SetCurrentPosition(player.CurrentPosition() + SkipStep());
      }
    }
    Show("AVANTI " + PositionText());
  });
  return Flow::kGoOn;
}

Flow KeyCommands::Stop() {
  Player().Stop_Player();
  Player().SetCurrentPosition(0);
  Show("STOP " + PositionText());
  return Flow::kGoOn;
}

Flow KeyCommands::PlayPause() {
  Player().StopPlay();
  if (Player().IsPlaying())
    Show("PLAY " + PositionText());
  else
    // Kept until the next message, so a paused reader hears where they are.
    Show("PAUSA " + PositionText() + " premere ctrl+3", true);
  return Flow::kGoOn;
}

Flow KeyCommands::ChangeVolume(bool louder) {
  BrowserWindowState& state = form_.SharedState();
  oMoxPlayer& player = Player();
  const double volume = player.Volume();
  state.VolumeLevel = CInt(louder ? volume + state.VolumeStep : volume - state.VolumeStep);
  if (louder)
    player.SetVolume(
        static_cast<double>(state.VolumeLevel <= state.VolumeMax ? state.VolumeLevel : state.VolumeMax));
  else
    player.SetVolume(
        static_cast<double>(state.VolumeLevel >= state.VolumeMin ? state.VolumeLevel : state.VolumeMin));
  Show("Volume - " + CStr(player.Volume()));
  // The field's change handler stores the volume.
  form_.Fields().volume.SetText(CStr(player.Volume()));
  return Flow::kGoOn;
}

Flow KeyCommands::Louder() { return ChangeVolume(true); }
Flow KeyCommands::Softer() { return ChangeVolume(false); }

Flow KeyCommands::ChangeSpeed(bool faster) {
  oMoxPlayer& player = Player();
  // The step compares in double precision what the player holds in single
  // precision: from the player's 0.6 one step down gives 0.5.
  player.SetRate(CSng(form_.RateChange(player.Rate(), faster)));
  form_.SetPlayerRate(player.Rate());
  Show((faster ? "Lettura più veloce - Rate " : "Lettura più lenta - Rate ") + CStr(player.Rate()));
  return Flow::kGoOn;
}

Flow KeyCommands::Slower() { return ChangeSpeed(false); }
Flow KeyCommands::Faster() { return ChangeSpeed(true); }

Flow KeyCommands::SpeedPresets() {
  trail_.Step("Form KeyDown: Ctrl+9");
  oMoxPlayer& player = Player();
  const float rate = player.Rate();
  if (rate == kNormalRate) {
    player.SetRate(kFastRate);
    Show("Lettura veloce - Rate " + CStr(player.Rate()));
  } else if (rate == kFastRate) {
    player.SetRate(kSlowRate);
    Show("Lettura lenta - Rate " + CStr(player.Rate()));
  } else {
    // Any speed the step keys reached goes back to normal.
    player.SetRate(kNormalRate);
    Show("Lettura normale - Rate " + CStr(player.Rate()));
  }
  form_.SetPlayerRate(player.Rate());
  return Flow::kGoOn;
}

Flow KeyCommands::ConfigurationPanel() {
  trail_.Step("Form KeyDown: Ctrl+8");
  Show("Pannello configurazione");
  FrameVisible& panel = form_.Fields().configurationPanel;
  panel = !panel;
  // The field's change handler stores the speed again.
  form_.Fields().rate.SetText(CStr(form_.PlayerRate()));
  return Flow::kGoOn;
}

Flow KeyCommands::AudioOnOff() {
  trail_.Step("Form KeyDown: Ctrl+0");
  form_.SetAudioOff(!form_.SharedState().AudioOffState);
  form_.SaveSetting(kPlayerSection, "AudioOff", CStr(form_.SharedState().AudioOffState));
  Show(form_.SharedState().AudioOffState ? "Lettura disattivata" : "Lettura attiva");
  return Flow::kGoOn;
}

Flow KeyCommands::DebugFrame() {
  FrameVisible& debugFrame = form_.Fields().debugFrame;
  debugFrame = !debugFrame;
  return Flow::kGoOn;
}

}  // namespace orva::keys
