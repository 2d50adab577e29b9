#pragma once
// The host of the older engine choice ("Altre"). It plays through the same
// media engine as the version-9 host and behaves the same way, with two
// differences:
//  - Volume is in hundredths of a decibel, -4000 (quietest) to 0 (full);
//    values outside are clamped. It is converted to the engine's 0 to 100
//    scale, which is cubic in amplitude.
//  - It has no version-9 control: WMP fails with error 438, so the facade's
//    Versione9Presente is False while it is active.
// Reports carry the name "oWMP6".
//
// Play states it raises through PlayStateChange: only 8, the end of a file,
// 1 ms after the engine reported it (Stop_Player in between drops it), like
// the version-9 host, so the main window goes on reading either way.

#include <cstdint>
#include <memory>

#include "player/playback/frmWMP9.h"

namespace orva {

class frmWMP6 final : public frmWMP9 {
 public:
  static constexpr std::int32_t kVolumeMin = -4000;
  static constexpr std::int32_t kVolumeMax = 0;

  frmWMP6(EventLoop& loop, MdlMain& report, std::unique_ptr<MediaEngine> engine);

  // Also puts the engine at full volume, where this scale starts.
  void Form_Load() override;
  std::int32_t Volume() override;
  void SetVolume(double value) override;
  MediaEngine& WMP() override;

  // The engine volume (0 to 100) for a level in hundredths of a decibel.
  static std::int32_t EngineVolumeFor(std::int32_t hundredthsOfDb);

 private:
  std::int32_t volume_ = kVolumeMax;
};

}  // namespace orva
