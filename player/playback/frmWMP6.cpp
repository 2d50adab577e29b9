#include "player/playback/frmWMP6.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "common/runtime/vb_error.h"
#include "player/panels/handler_guard.h"

namespace orva {

frmWMP6::frmWMP6(EventLoop& loop, MdlMain& report, std::unique_ptr<MediaEngine> engine)
    : frmWMP9(loop, report, std::move(engine), "oWMP6") {}

std::int32_t frmWMP6::EngineVolumeFor(std::int32_t hundredthsOfDb) {
  const std::int32_t level = std::clamp(hundredthsOfDb, kVolumeMin, kVolumeMax);
  // The level is an amplitude ratio of 10^(dB/20); the engine's scale gives
  // an amplitude of (volume/100)^3.
  const double amplitude = std::pow(10.0, level / 2000.0);
  return static_cast<std::int32_t>(std::lround(100.0 * std::cbrt(amplitude)));
}

void frmWMP6::Form_Load() {
  frmWMP9::Form_Load();
  Guarded(Report(), ReportName("Form_Load"),
          [&] { WMPEngine().SetSettingsVolume(EngineVolumeFor(volume_)); });
}

std::int32_t frmWMP6::Volume() {
  return Guarded(Report(), ReportName("Get Volume"), std::int32_t{0}, [&] {
    // The engine must still answer, as the control would have.
    static_cast<void>(WMPEngine().settingsVolume());
    return volume_;
  });
}

void frmWMP6::SetVolume(double value) {
  Guarded(Report(), ReportName("Let Volume"), [&] {
    if (!std::isfinite(value)) throw VbError(vberr::kOverflow);
    const double clamped = std::clamp(value, double{kVolumeMin}, double{kVolumeMax});
    const auto level = static_cast<std::int32_t>(std::nearbyint(clamped));
    WMPEngine().SetSettingsVolume(EngineVolumeFor(level));
    volume_ = level;
  });
}

MediaEngine& frmWMP6::WMP() { throw VbError(vberr::kNotSupported); }

}  // namespace orva
