#include "player/playback/oMoxPlayer.h"

#include <utility>

#include "common/runtime/conversions.h"
#include "common/runtime/vb_error.h"
#include "player/panels/handler_guard.h"
#include "player/playback/frmWMP6.h"
#include "player/playback/frmWMP9.h"

namespace orva {

namespace {
// The old runtime's Trim: blanks only.
bool IsBlank(const std::string& text) { return text.find_first_not_of(' ') == std::string::npos; }
}  // namespace

oMoxPlayer::oMoxPlayer(EventLoop& loop, MdlMain& report, MediaEngineFactory engines)
    : loop_(loop), report_(report), engines_(std::move(engines)) {}

oMoxPlayer::~oMoxPlayer() {
  *alive_ = false;
  // Class_Terminate: the current player first, then the version-6 host, then
  // o9. Unloading a host that is not loaded is nothing.
  player_ = nullptr;
  IgnoringErrors([&] { Unload6(); });
  IgnoringErrors([&] { Unload9(); });
}

PlayerHost& oMoxPlayer::Player() const {
  if (player_ == nullptr) throw VbError(vberr::kObjectNotSet);
  return *player_;
}

void oMoxPlayer::Unload9() {
  if (o9_) {
    o9_->PlayStateChange = nullptr;
    o9_->PlayMessage = nullptr;
  }
  o9_.reset();
}

void oMoxPlayer::Unload6() {
  if (wmp6_) {
    wmp6_->PlayStateChange = nullptr;
    wmp6_->PlayMessage = nullptr;
  }
  wmp6_.reset();
}

float oMoxPlayer::Rate() {
  return Guarded(report_, "oPl - Get Rate", 0.0F, [&]() -> float {
    switch (versione_) {
      case 0:
        if (!wmp6_) throw VbError(vberr::kObjectNotSet);
        return wmp6_->Rate();
      case 1:
        if (!o9_) throw VbError(vberr::kObjectNotSet);
        return o9_->Rate();
      default: return 0.0F;
    }
  });
}

void oMoxPlayer::SetRate(float value) {
  Guarded(report_, "oPl - Let Rate", [&] {
    switch (versione_) {
      case 0:
        if (!wmp6_) throw VbError(vberr::kObjectNotSet);
        wmp6_->SetRate(value);
        break;
      case 1:
        if (!o9_) throw VbError(vberr::kObjectNotSet);
        o9_->SetRate(value);
        break;
      default: break;
    }
  });
}

bool oMoxPlayer::AutoStart() {
  return Guarded(report_, "oPl - Get AutoStart", false, [&]() -> bool {
    switch (versione_) {
      case 0:
        if (!wmp6_) throw VbError(vberr::kObjectNotSet);
        return wmp6_->AutoStart();
      case 1:
        if (!o9_) throw VbError(vberr::kObjectNotSet);
        return o9_->AutoStart();
      default: return false;
    }
  });
}

void oMoxPlayer::SetAutoStart(bool value) {
  Guarded(report_, "oPl - Let AutoStart", [&] {
    autoStart_ = value;
    Player().SetAutoStart(value);
  });
}

bool oMoxPlayer::FullScreen() {
  return Guarded(report_, "oPl - Get FullScreen", false, [&] { return Player().FullScreen(); });
}

void oMoxPlayer::SetFullScreen(bool value) {
  Guarded(report_, "oPl - Let FullScreen", [&] {
    fullScreen_ = value;
    Player().SetFullScreen(value);
  });
}

bool oMoxPlayer::AudioOff() {
  return Guarded(report_, "oPl - Get AudioOff", false, [&] { return Player().AudioOff(); });
}

void oMoxPlayer::SetAudioOff(bool value) {
  Guarded(report_, "oPl - Let AudioOff", [&] {
    audioOff_ = value;
    PlayerHost& player = Player();
    const std::shared_ptr<bool> alive = alive_;
    player.SetAudioOff(value);
    if (*alive && audioOff_) Player().Stop_Player();
  });
}

std::string oMoxPlayer::FileName() {
  return Guarded(report_, "oPl - Get FileName", std::string(), [&] { return Player().FileName(); });
}

void oMoxPlayer::SetFileName(const std::string& vNewValue) {
  Guarded(report_, "oPl - Let FileName", [&] {
    const std::shared_ptr<bool> alive = alive_;
    if (Player().FileName() != vNewValue && PlayFileChange) {
      PlayFileChange(vNewValue);
      // The handler may have released this facade.
      if (!*alive) return;
    }
    Player().SetFileName(vNewValue);
  });
}

void oMoxPlayer::Stop_Player() {
  Guarded(report_, "oPl - Stop_Player", [&] { Player().Stop_Player(); });
}

void oMoxPlayer::Play_Player() {
  Guarded(report_, "oPl - Play_Player", [&] { Player().Play_Player(); });
}

double oMoxPlayer::CurrentPosition() {
  return Guarded(report_, "oPl - Get CurrentPosition", 0.0, [&] {
    const std::shared_ptr<bool> alive = alive_;
    if (FileName().empty() || !*alive) return 0.0;
    return Player().CurrentPosition();
  });
}

void oMoxPlayer::SetCurrentPosition(double seconds) {
  Guarded(report_, "oPl - Let CurrentPosition", [&] { Player().SetCurrentPosition(seconds); });
}

double oMoxPlayer::Duration() {
  return Guarded(report_, "oPl - Get Duration", 0.0, [&] {
    if (IsBlank(Player().FileName())) return 0.0;
    return Player().Duration();
  });
}

void oMoxPlayer::StopPlay() {
  Guarded(report_, "oPl - StopPlay", [&] { Player().StopPlay(); });
}

std::int32_t oMoxPlayer::Volume() {
  return Guarded(report_, "oPl - Get Volume", std::int32_t{0}, [&] { return Player().Volume(); });
}

void oMoxPlayer::SetVolume(double value) {
  Guarded(report_, "oPl - Let Volume", [&] { Player().SetVolume(value); });
}

void oMoxPlayer::SetVolume(const std::string& text) {
  Guarded(report_, "oPl - Let Volume", [&] {
    PlayerHost& player = Player();
    player.SetVolume(CDbl(text));
  });
}

bool oMoxPlayer::IsPlaying() {
  return Guarded(report_, "oPl - IsPlaying", false, [&] { return Player().IsPlaying(); });
}

void oMoxPlayer::Pause_Player() {
  Guarded(report_, "oPl - Pause_Player", [&] { Player().Pause_Player(); });
}

bool oMoxPlayer::Versione9Presente() {
  const ErrObject err = IgnoringErrors([&] { static_cast<void>(Player().WMP().versionInfo()); });
  return err.Number == 0;
}

void oMoxPlayer::o9_PlayStateChange(std::int32_t NewMode) {
  if (PlayStateChange) PlayStateChange(NewMode);
}

void oMoxPlayer::o9_PlayMessage(const std::string& Text) {
  if (PlayMessage) PlayMessage(Text);
}

void oMoxPlayer::SetVersione(std::int16_t v) {
  versione_ = v;
  if (v != 0 && v != 1) return;
  player_ = nullptr;
  if (v == 1) {
    IgnoringErrors([&] { Unload6(); });
    // A second switch to 1 replaces the host rather than leaving a second
    // engine playing unseen.
    IgnoringErrors([&] { Unload9(); });
  } else {
    IgnoringErrors([&] { Unload9(); });
    IgnoringErrors([&] { Unload6(); });
  }
  Guarded(report_, "oPl - MoxPlayer: Versione:", [&] {
    std::unique_ptr<MediaEngine> engine = engines_ ? engines_() : nullptr;
    if (!engine) throw VbError(vberr::kObjectRequired);
    if (v == 1) {
      o9_ = std::make_unique<frmWMP9>(loop_, report_, std::move(engine));
      o9_->PlayStateChange = [this](std::int32_t mode) { o9_PlayStateChange(mode); };
      o9_->PlayMessage = [this](const std::string& text) { o9_PlayMessage(text); };
      o9_->Form_Load();
      player_ = o9_.get();
    } else {
      wmp6_ = std::make_unique<frmWMP6>(loop_, report_, std::move(engine));
      wmp6_->PlayStateChange = [this](std::int32_t mode) { o9_PlayStateChange(mode); };
      wmp6_->PlayMessage = [this](const std::string& text) { o9_PlayMessage(text); };
      wmp6_->Form_Load();
      player_ = wmp6_.get();
    }
  });
}

}  // namespace orva
